// A process killed while it saves a tag that no longer fits leaves each file whole: it
// parses, its audio is byte for byte what it was, and its tag is the old one or the new one.
// The copies such a kill leaves behind are removed at the next start.
#include "TestSupport.h"
#include "tags/FileTags.h"
#include "tags/SafeSaveStream.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

#include <csignal>
#include <random>

namespace tessel {
namespace {

quint32 bigEndian(const QByteArray& bytes, qsizetype at, int size) {
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

// Where the audio starts: after an MP3's ID3v2 tag, after a FLAC's metadata blocks.
qsizetype audioStart(const QByteArray& bytes) {
    if (bytes.startsWith("fLaC")) {
        qsizetype at = 4;
        for (bool last = false; !last && at + 4 <= bytes.size();) {
            last = quint8(bytes.at(at)) & 0x80;
            at += 4 + bigEndian(bytes, at + 1, 3);
        }
        return at;
    }
    if (!bytes.startsWith("ID3"))
        return 0;
    quint32 size = 0;
    for (int i = 6; i < 10; ++i)
        size = (size << 7) | (quint8(bytes.at(i)) & 0x7f);
    return 10 + qsizetype(size);
}

QByteArray audioOf(const QString& path) {
    const QByteArray bytes = test::fileBytes(path);
    return bytes.mid(audioStart(bytes));
}

bool run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

class KillDuringSaveTest : public test::TesselTest {
  protected:
    // A 32 MB MP3 (one short encoding repeated) and a 15 MB FLAC of noise, each titled "Old".
    QStringList makeFiles() {
        const QString shortMp3 = temp.filePath("short.mp3");
        const QString flac = temp.filePath("noise.flac");
        if (!run("ffmpeg",
                 {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=440:duration=10", "-ac",
                  "2", "-b:a", "128k", "-id3v2_version", "0", "-write_xing", "0", shortMp3}) ||
            !run("sox", {"-n", "-r", "44100", "-c", "2", "-b", "16", flac, "synth", "160",
                         "whitenoise", "vol", "0.5"}))
            return {};
        const QByteArray frames = test::fileBytes(shortMp3);
        const QString mp3 = temp.writeFile("large.mp3", frames.repeated(200));
        for (const QString& path : {mp3, flac})
            filetags::write(path, "name", "Old");
        return {mp3, flac};
    }

    static QString titleOf(const QString& path) {
        return filetags::read(path, {"name"}).value("name").toString();
    }

    // Starts the helper writing title into path; returns how long a whole save took, or
    // kills it after the given time.
    static qint64 save(const QString& path, const QString& title, qint64 killAfterMs = -1) {
        QProcess helper;
        QElapsedTimer clock;
        clock.start();
        helper.start(QStringLiteral(TESSEL_SAVE_HELPER), {path, title});
        helper.waitForStarted();
        if (killAfterMs >= 0 && !helper.waitForFinished(int(killAfterMs)))
            ::kill(pid_t(helper.processId()), SIGKILL);
        helper.waitForFinished(120000);
        return clock.elapsed();
    }
};

TEST_F(KillDuringSaveTest, AKilledSaveLeavesTheOldFileOrTheNewOne) {
    const QStringList files = makeFiles();
    if (files.isEmpty())
        GTEST_SKIP() << "ffmpeg and sox make the test files";
    const QString grown = QString(20000, u'n');
    std::mt19937 random(20261208);
    for (const QString& original : files) {
        const QByteArray audio = audioOf(original);
        const QByteArray before = test::fileBytes(original);
        const QString work = temp.filePath("work-" + QFileInfo(original).fileName());
        QFile::copy(original, work);
        const qint64 whole = save(work, grown);
        ASSERT_EQ(titleOf(work), grown);
        ASSERT_EQ(audioOf(work), audio);
        int killedHalfway = 0;
        for (int kill = 0; kill < 12; ++kill) {
            QFile::remove(work);
            QFile::copy(original, work);
            save(work, grown, std::uniform_int_distribution<qint64>(0, whole)(random));
            const QString title = titleOf(work);
            EXPECT_TRUE(title == u"Old" || title == grown) << kill << ": " << title.size();
            EXPECT_EQ(audioOf(work), audio) << kill;
            killedHalfway += title == u"Old" ? 1 : 0;
        }
        EXPECT_EQ(test::fileBytes(original), before);
        RecordProperty(QFileInfo(original).suffix().toStdString() + "_killed_before_done",
                       killedHalfway);
    }
    // The copies the kills left are removed at the next start, and nothing else is.
    filetags::removeUnfinishedSaves();
    for (const QString& name : QDir(temp.path()).entryList(QDir::Files | QDir::Hidden))
        EXPECT_FALSE(filetags::isUnfinishedSaveName(name)) << name.toStdString();
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden).size(), 5);
}

TEST_F(KillDuringSaveTest, OnlyTheNamesOfCopiesAreTakenForThem) {
    EXPECT_TRUE(filetags::isUnfinishedSaveName(".song.mp3.tessel-save-a1B2c3"));
    EXPECT_FALSE(filetags::isUnfinishedSaveName("song.mp3.tessel-save-a1B2c3"));
    EXPECT_FALSE(filetags::isUnfinishedSaveName(".song.mp3.tessel-save-a1B2"));
    EXPECT_FALSE(filetags::isUnfinishedSaveName(".song.mp3"));
}

}  // namespace
}  // namespace tessel
