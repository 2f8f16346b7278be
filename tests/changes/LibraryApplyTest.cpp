// Tag changes carried out on library tracks of a real library database whose tracks have
// files: the guard reads, checks and writes in one transaction, and checks the file too.
#include "../app/MemoryLibrary.h"
#include "TestSupport.h"
#include "changes/ApplyEngine.h"
#include "itunes/Connection.h"
#include "itunes/LibraryImport.h"
#include "itunes/MusicLibrary.h"

#include <QFileInfo>
#include <QProcess>

namespace tessel {
namespace {

using Outcome = ApplyResult::Outcome;

struct NullSink : ProgressSink {
    void setProgress(const QString&) override {}
};

class LibraryApplyTest : public test::TesselTest {
  protected:
    // A library whose playlist "Music" holds count tracks, "Track 1" …, each with its file.
    void makeLibrary(int count) {
        for (int i = 1; i <= count; ++i) {
            const QString path = temp.copyFixture(
                "tagged.mp3", QStringLiteral("music/%1.mp3").arg(i, 3, 10, QChar(u'0')));
            MusicTrack::withPath(path).setTag("name", QStringLiteral("Track %1").arg(i));
        }
        const auto connection = itunes::Connection::open(libraryFile());
        itunes::importFolder(*connection, temp.filePath("music"), QStringLiteral("Music"));
        library = itunes::libraryProvider(libraryFile());
    }

    QString libraryFile() const { return temp.filePath("library.sqlite"); }

    QList<itunes::TrackPtr> tracks() const {
        return test::playlistNamed(*library(), QStringLiteral("Music"))->tracks();
    }

    // Changes the comment of every track from what it holds now to value.
    ChangeList commentsTo(const QString& value) const {
        ChangeList list;
        for (const itunes::TrackPtr& track : tracks()) {
            const MusicTrack music = MusicTrack::withTrack(track);
            list.records.append(tagChange(music, music.title(), music.artist(), "comment",
                                          music.valueForTag("comment"), value));
        }
        return list;
    }

    static QVariant fileComment(const itunes::TrackPtr& track) {
        return MusicTrack::withPath(*track->location()).valueForTag("comment");
    }

    itunes::ApplicationProvider library;
    NullSink progress;
};

TEST_F(LibraryApplyTest, TheChangedTagsOwnValueChangedBehindTesselsBackCancels) {
    makeLibrary(3);
    // Another tagger changed the second file; the library still holds the old comment.
    ChangeList list = commentsTo("Mine");
    MusicTrack::withPath(*tracks().at(1)->location()).setTag("comment", "Theirs");
    ApplyResult result = applyTagChanges(list, progress);
    EXPECT_EQ(result.outcome, Outcome::Cancelled);
    EXPECT_EQ(result.done, 1);
    EXPECT_EQ(result.trackName, QStringLiteral("Track 2"));
    EXPECT_EQ(tracks().at(0)->property("comment"), QStringLiteral("Mine"));
    EXPECT_EQ(fileComment(tracks().at(0)), QStringLiteral("Mine"));
    EXPECT_EQ(tracks().at(1)->property("comment"), QStringLiteral("Note"));
    EXPECT_EQ(fileComment(tracks().at(1)), QStringLiteral("Theirs"));

    // Another process changed the third track's comment in the library only.
    list = commentsTo("Again");
    list.records.removeAt(1);
    itunes::Connection::open(libraryFile())->locked([](sql::Database& db) {
        db.exec("UPDATE tracks SET comment = 'Elsewhere' WHERE name = 'Track 3'");
    });
    result = applyTagChanges(list, progress);
    EXPECT_EQ(result.outcome, Outcome::Cancelled);
    EXPECT_EQ(result.done, 1);
    EXPECT_EQ(tracks().at(2)->property("comment"), QStringLiteral("Elsewhere"));
    EXPECT_EQ(fileComment(tracks().at(2)), QStringLiteral("Note"));
}

struct HelperRun {
    QString outcome;
    int done = -1;
};

TEST_F(LibraryApplyTest, TwoProcessesApplyingAtOnceLoseNoWrite) {
    constexpr int kTracks = 30;
    makeLibrary(kTracks);
    for (int round = 0; round < 2; ++round) {
        const QString go = temp.filePath(QStringLiteral("go-%1").arg(round));
        const QStringList values{QStringLiteral("First %1").arg(round),
                                 QStringLiteral("Second %1").arg(round)};
        QList<std::shared_ptr<QProcess>> helpers;
        for (const QString& value : values) {
            auto helper = std::make_shared<QProcess>();
            helper->start(QStringLiteral(TESSEL_APPLY_HELPER),
                          {libraryFile(), "Music", "comment", value, go});
            ASSERT_TRUE(helper->waitForReadyRead(30000)) << "the helper never got ready";
            EXPECT_EQ(helper->readLine().trimmed(), "ready");
            helpers.append(helper);
        }
        temp.writeFile(QFileInfo(go).fileName());
        QList<HelperRun> runs;
        for (const auto& helper : helpers) {
            ASSERT_TRUE(helper->waitForFinished(120000));
            const QList<QByteArray> lines = helper->readAllStandardOutput().trimmed().split('\n');
            ASSERT_EQ(lines.size(), 2) << helper->readAllStandardError().toStdString();
            runs.append({QString::fromUtf8(lines.at(0)), lines.at(1).toInt()});
        }
        // The first to reach the first track writes them all; the other finds it changed.
        const int winner = runs.at(0).outcome == u"finished" ? 0 : 1;
        EXPECT_EQ(runs.at(winner).outcome, QStringLiteral("finished"));
        EXPECT_EQ(runs.at(winner).done, kTracks);
        EXPECT_EQ(runs.at(1 - winner).outcome, kDoNotTouchMessage);
        EXPECT_EQ(runs.at(1 - winner).done, 0);
        for (const itunes::TrackPtr& track : tracks()) {
            EXPECT_EQ(track->property("comment"), values.at(winner));
            EXPECT_EQ(fileComment(track), values.at(winner));
        }
    }
}

}  // namespace
}  // namespace tessel
