// Tag changes carried out on library tracks of a real library database whose tracks have
// files: the guard reads, checks and writes in one transaction, and checks the file too.
#include "../app/MemoryLibrary.h"
#include "LargeAudio.h"
#include "TestSupport.h"
#include "changes/ApplyEngine.h"
#include "itunes/Connection.h"
#include "itunes/LibraryImport.h"
#include "itunes/MusicLibrary.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <csignal>
#include <random>

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
            ASSERT_TRUE(helper->waitForReadyRead(120000)) << "the helper never got ready";
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

QStringList& warnings() {
    static QStringList lines;
    return lines;
}

void recordWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg)
        warnings().append(message);
}

TEST_F(LibraryApplyTest, PendingChangesOfAnEndedWriterAreSettledFromTheFiles) {
    makeLibrary(3);
    // As a killed writer leaves them: the library holds the new value, the journal a pending
    // entry; the first file took the change, the second did not, the third is gone.
    const QList<itunes::TrackPtr> all = tracks();
    MusicTrack::withPath(*all.at(0)->location()).setTag("comment", "New");
    const QString gone = *all.at(2)->location();
    itunes::Connection::open(libraryFile())->locked([](sql::Database& db) {
        db.exec(
            "UPDATE tracks SET comment = 'New';"
            "INSERT INTO write_journal (track_id, tag, old_value, new_value, writer) "
            "SELECT id, 'comment', 'Note', 'New', 999999999 FROM tracks");
    });
    QFile::remove(gone);
    warnings().clear();
    qInstallMessageHandler(recordWarning);
    const auto connection = itunes::Connection::open(libraryFile());
    qInstallMessageHandler(nullptr);

    EXPECT_EQ(all.at(0)->property("comment"), QStringLiteral("New"));
    EXPECT_EQ(all.at(1)->property("comment"), QStringLiteral("Note"));
    EXPECT_EQ(all.at(2)->property("comment"), QStringLiteral("New"));
    const auto states = connection->locked([](sql::Database& db) {
        sql::Statement statement(db, "SELECT state FROM write_journal ORDER BY track_id");
        QStringList list;
        while (statement.step())
            list.append(statement.text(0));
        return list;
    });
    EXPECT_EQ(states, (QStringList{"written", "failed"}));
    ASSERT_EQ(warnings().size(), 1);
    EXPECT_TRUE(warnings().first().contains(u"could not be checked"))
        << warnings().first().toStdString();
}

// Runs the helper on the playlist "Music" of library; kills it killAfterMs after it is ready
// (never when negative). Returns the milliseconds from ready to its end. The waits are long: a
// loaded machine makes it slow.
qint64 applyInHelper(const QString& library, const QString& value, const QString& go,
                     qint64 killAfterMs = -1) {
    QProcess helper;
    helper.start(QStringLiteral(TESSEL_APPLY_HELPER), {library, "Music", "comment", value, go});
    if (!helper.waitForReadyRead(120000)) {
        ADD_FAILURE() << "the helper never got ready";
        return 0;
    }
    const pid_t pid = pid_t(helper.processId());
    QElapsedTimer clock;
    clock.start();
    if (killAfterMs >= 0 && !helper.waitForFinished(int(killAfterMs)))
        ::kill(pid, SIGKILL);
    EXPECT_TRUE(helper.state() == QProcess::NotRunning || helper.waitForFinished(300000))
        << "the helper did not end";
    return clock.elapsed();
}

TEST_F(LibraryApplyTest, AKillWhileApplyingIsSettledAtTheNextStart) {
    const QStringList files = test::makeLargeAudio(temp, "music");
    if (files.isEmpty())
        GTEST_SKIP() << "ffmpeg and sox make the test files";
    QList<QByteArray> audio;
    for (const QString& file : files)
        audio.append(test::audioOf(file));
    itunes::importFolder(*itunes::Connection::open(libraryFile()), temp.filePath("music"),
                         QStringLiteral("Music"));
    library = itunes::libraryProvider(libraryFile());
    const QString go = temp.writeFile("go");
    const qint64 whole = applyInHelper(libraryFile(), QString(20000, u'c'), go);
    ASSERT_EQ(tracks().first()->property("comment"), QString(20000, u'c'));

    std::mt19937 random(20261208);
    QStringList held{QString(20000, u'c'), QString(20000, u'c')};
    for (int kill = 0; kill < 10; ++kill) {
        const QString value(25000 + 5000 * kill, u'c');
        applyInHelper(libraryFile(), value, go,
                      std::uniform_int_distribution<qint64>(0, whole)(random));
        itunes::Connection::open(libraryFile());  // the next start settles what the kill left
        const QList<itunes::TrackPtr> now = tracks();
        ASSERT_EQ(now.size(), 2);
        for (int i = 0; i < 2; ++i) {
            const QString inLibrary = now.at(i)->property("comment").toString();
            EXPECT_EQ(fileComment(now.at(i)).toString().size(), inLibrary.size()) << kill;
            EXPECT_TRUE(inLibrary == value || inLibrary == held.at(i)) << kill;
            EXPECT_EQ(test::audioOf(*now.at(i)->location()), audio.at(i)) << kill;
            held[i] = inLibrary;
        }
        const qint64 pending =
            itunes::Connection::open(libraryFile())->locked([](sql::Database& db) {
                sql::Statement statement(
                    db, "SELECT count(*) FROM write_journal WHERE state <> 'written'");
                statement.step();
                return statement.integer(0);
            });
        EXPECT_EQ(pending, 0) << kill;
    }
}

}  // namespace
}  // namespace tessel
