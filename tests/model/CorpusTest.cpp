// Real-world files, many of them malformed: reading every tag and writing a title must not
// crash or hang, and a file whose write is refused is left as it was.
#include "TestSupport.h"
#include "model/MusicTrack.h"
#include "model/TrackGathering.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace tessel {
namespace {

using CorpusTest = test::TesselTest;

TEST_F(CorpusTest, ReadsAndWritesEveryFileWithoutDamage) {
    const QString corpus = test::corpusFolder();
    if (corpus.isEmpty())
        GTEST_SKIP() << "no corpus folder";
    QDirIterator it(corpus, QDir::Files, QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        const QString source = it.next();
        const QString copy = temp.filePath(QStringLiteral("c%1-").arg(files++) + it.fileName());
        ASSERT_TRUE(QFile::copy(source, copy));
        QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    ASSERT_GT(files, 0);

    const auto tracks = folderTracks(QUrl::fromLocalFile(temp.path())).tracks;
    const QStringList readable{"name",   "artist",   "album",   "comment", "genre",   "year",
                               "number", "duration", "bitRate", "cover",   "location"};
    for (const MusicTrack& track : tracks) {
        SCOPED_TRACE(track.path().toStdString());
        const QVariantMap values = track.valuesForTags(readable);
        const QByteArray before = test::fileBytes(track.path());
        try {
            track.setTag(QStringLiteral("name"), QStringLiteral("Tessel Test"));
            // A file with real audio keeps what was written; TagLib may repair a broken
            // container without audio so that its tag no longer reads back.
            if (values.value("bitRate").toInt() > 0) {
                EXPECT_EQ(track.title(), QStringLiteral("Tessel Test"));
            }
        } catch (const TesselError& error) {
            EXPECT_EQ(error.name(), errors::kTagWrite);
            EXPECT_EQ(test::fileBytes(track.path()), before);
        }
    }
    EXPECT_TRUE(presenter().alerts.isEmpty());
}

}  // namespace
}  // namespace tessel
