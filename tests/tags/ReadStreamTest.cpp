// A parse through the read stream must see each file exactly as TagLib's own file stream
// does, malformed files included: the same type, tags and audio properties.
#include "TestSupport.h"
#include "tags/ReadStream.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>

namespace tessel::filetags {
namespace {

// What a parse found, in words: null, or the tags and the audio properties.
QString parsed(const TagLib::FileRef& ref) {
    if (ref.isNull())
        return QStringLiteral("null");
    QString text = QString::fromStdString(ref.file()->properties().toString().to8Bit(true));
    if (const TagLib::AudioProperties* audio = ref.audioProperties()) {
        text += QStringLiteral("|%1 ms %2 kb/s %3 Hz %4 ch")
                    .arg(audio->lengthInMilliseconds())
                    .arg(audio->bitrate())
                    .arg(audio->sampleRate())
                    .arg(audio->channels());
    }
    return text;
}

QStringList filesToCompare() {
    QStringList files;
    for (const QString& folder : {QStringLiteral(TESSEL_TEST_DATA), test::corpusFolder()}) {
        if (folder.isEmpty())
            continue;
        QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
    }
    return files;
}

TEST(ReadStreamTest, ParsesEveryFileAsTagLibsOwnStreamDoes) {
    const QStringList files = filesToCompare();
    ASSERT_GT(files.size(), 5);
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        for (const bool audio : {false, true}) {
            const TagLib::FileRef own(QFile::encodeName(path).constData(), audio);
            ReadStream stream(path);
            ASSERT_TRUE(stream.isOpen());
            const TagLib::FileRef through(&stream, audio);
            EXPECT_EQ(parsed(through), parsed(own));
        }
    }
}

TEST(ReadStreamTest, ReadsSeeksAndEndsLikeAFile) {
    test::TempFolder temp;
    const QString path = temp.writeFile(QStringLiteral("f.bin"), "0123456789");
    ReadStream stream(path);
    EXPECT_EQ(stream.length(), 10);
    EXPECT_EQ(stream.readBlock(4), TagLib::ByteVector("0123"));
    stream.seek(-2, TagLib::IOStream::Current);
    EXPECT_EQ(stream.readBlock(3), TagLib::ByteVector("234"));
    stream.seek(-3, TagLib::IOStream::End);
    EXPECT_EQ(stream.readBlock(100), TagLib::ByteVector("789"));
    EXPECT_EQ(stream.tell(), 10);
    EXPECT_TRUE(stream.readBlock(5).isEmpty());
    stream.seek(-20);  // before the start: refused, the position stays
    EXPECT_EQ(stream.tell(), 10);
    stream.seek(20);  // past the end: allowed, nothing to read there
    EXPECT_TRUE(stream.readBlock(1).isEmpty());

    EXPECT_FALSE(ReadStream(temp.filePath(QStringLiteral("missing"))).isOpen());
}

}  // namespace
}  // namespace tessel::filetags
