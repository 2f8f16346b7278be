// A file in which TagLib finds no audio is no music file, whatever its name says: it reads as
// absent values and is never written, though TagLib opens some of these formats leniently.
#include "TestSupport.h"
#include "support/TesselError.h"
#include "tags/FileTags.h"
#include "tags/TagValue.h"

#include <QDir>
#include <QFile>

#include <functional>

namespace tessel {
namespace {

const QByteArray kText("Shopping list\nbread, milk, two lemons\nand something for the weekend\n");

const QStringList kReadable{"name", "artist", "album",    "comment", "genre",
                            "year", "number", "duration", "bitRate"};

class NoAudioTest : public test::TesselTest {
  protected:
    // Each write must fail with the reason and leave the file's bytes as they were.
    void expectRefused(const QString& path, const QByteArray& bytes, const char* what,
                       const std::function<void()>& write) {
        SCOPED_TRACE(what);
        try {
            write();
            ADD_FAILURE() << "the write passed";
        } catch (const TesselError& error) {
            EXPECT_EQ(error.name(), errors::kTagWrite);
            EXPECT_EQ(error.reason(), QStringLiteral("The file “%1” holds no audio.").arg(path));
        }
        EXPECT_TRUE(test::fileBytes(path) == bytes) << "the file changed";
    }

    void expectNoMusicFile(const QString& path) {
        const QByteArray bytes = test::fileBytes(path);
        const QVariantMap values = filetags::read(path, kReadable + QStringList{"location"});
        for (const QString& tag : kReadable)
            EXPECT_TRUE(isAbsent(values.value(tag))) << tag.toStdString();
        EXPECT_EQ(values.value(QStringLiteral("location")), QVariant(path));
        EXPECT_TRUE(filetags::readForLibrary(path).isEmpty());

        expectRefused(path, bytes, "write",
                      [&] { filetags::write(path, QStringLiteral("name"), QStringLiteral("T")); });
        bool checked = false;
        expectRefused(path, bytes, "writeIf", [&] {
            filetags::writeIf(
                path, {QStringLiteral("name")},
                [&](const QVariantMap& found) {
                    checked = true;
                    return isAbsent(found.value(QStringLiteral("name")));
                },
                QStringLiteral("name"), QStringLiteral("T"));
        });
        EXPECT_TRUE(checked);
        expectRefused(path, bytes, "writeField title", [&] {
            filetags::writeField(path, QStringLiteral("name"), QStringLiteral("T"));
        });
        expectRefused(path, bytes, "writeField composer", [&] {
            filetags::writeField(path, QStringLiteral("composer"), QStringLiteral("C"));
        });
    }
};

class TextNamedAsMusicTest : public NoAudioTest,
                             public ::testing::WithParamInterface<const char*> {};

TEST_P(TextNamedAsMusicTest, IsNoMusicFile) {
    expectNoMusicFile(temp.writeFile(QString::fromLatin1(GetParam()), kText));
}

// Names of the formats TagLib opens without finding anything it knows in the file.
INSTANTIATE_TEST_SUITE_P(Names, TextNamedAsMusicTest,
                         ::testing::Values("x.mp3", "X.MP3", "x.wav", "x.aiff", "x.wv", "x.ape",
                                           "x.tta", "x.mpc"));

TEST_F(NoAudioTest, AnMp3HoldingOnlyATagIsNoMusicFile) {
    // The ID3v2 tag of tagged.mp3 and nothing after it, as a cut-off download leaves it.
    QByteArray bytes = test::fileBytes(QDir(test::fixtureFolder()).filePath("tagged.mp3"));
    ASSERT_TRUE(bytes.startsWith("ID3"));
    const auto byte = [&](int i) { return int(static_cast<uchar>(bytes[i])); };
    const int size = (byte(6) << 21) | (byte(7) << 14) | (byte(8) << 7) | byte(9);
    bytes.truncate(10 + size);
    expectNoMusicFile(temp.writeFile(QStringLiteral("cut.mp3"), bytes));
}

TEST_F(NoAudioTest, MusicFilesTagLibMeasuresOnlyInPartStillCount) {
    const QString corpus = test::corpusFolder();
    if (corpus.isEmpty())
        GTEST_SKIP() << "no corpus folder";
    // Tracker modules give neither a sample rate nor a length; the oldest Musepack headers
    // begin with no mark of their format.
    for (const char* name :
         {"test.mod", "test.s3m", "test.xm", "test.it", "sv4_header.mpc", "sv5_header.mpc"}) {
        SCOPED_TRACE(name);
        const QString path = temp.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(
            QFile::copy(QDir(corpus).filePath(QStringLiteral("taglib-tests/") + name), path));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        EXPECT_FALSE(filetags::readForLibrary(path).isEmpty());
        filetags::write(path, QStringLiteral("name"), QStringLiteral("Still music"));
        EXPECT_EQ(filetags::read(path, {QStringLiteral("name")}).value(QStringLiteral("name")),
                  QVariant(QStringLiteral("Still music")));
    }
}

}  // namespace
}  // namespace tessel
