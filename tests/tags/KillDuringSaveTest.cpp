// A process killed while it saves a tag that no longer fits leaves each file whole: it
// parses, its audio is byte for byte what it was, and its tag is the old one or the new one.
// The copies such a kill leaves behind are removed at the next start.
#include "LargeAudio.h"
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

class KillDuringSaveTest : public test::TesselTest {
  protected:
    // Two large files, each titled "Old".
    QStringList makeFiles() {
        const QStringList files = test::makeLargeAudio(temp, ".");
        for (const QString& path : files)
            filetags::write(path, "name", "Old");
        return files;
    }

    static QString titleOf(const QString& path) {
        return filetags::read(path, {"name"}).value("name").toString();
    }

    // Starts the helper writing title into path; returns how long a whole save took, or
    // kills it after the given time. The waits are long: a loaded machine makes it slow.
    static qint64 save(const QString& path, const QString& title, qint64 killAfterMs = -1) {
        QProcess helper;
        QElapsedTimer clock;
        clock.start();
        helper.start(QStringLiteral(TESSEL_SAVE_HELPER), {path, title});
        if (!helper.waitForStarted(60000)) {
            ADD_FAILURE() << "the helper did not start";
            return 0;
        }
        const pid_t pid = pid_t(helper.processId());
        if (killAfterMs >= 0 && !helper.waitForFinished(int(killAfterMs)))
            ::kill(pid, SIGKILL);
        EXPECT_TRUE(helper.state() == QProcess::NotRunning || helper.waitForFinished(300000))
            << "the helper did not end";
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
        const QByteArray audio = test::audioOf(original);
        const QByteArray before = test::fileBytes(original);
        const QString work = temp.filePath("work-" + QFileInfo(original).fileName());
        QFile::copy(original, work);
        const qint64 whole = save(work, grown);
        ASSERT_EQ(titleOf(work), grown);
        ASSERT_EQ(test::audioOf(work), audio);
        int killedHalfway = 0;
        for (int kill = 0; kill < 12; ++kill) {
            QFile::remove(work);
            QFile::copy(original, work);
            save(work, grown, std::uniform_int_distribution<qint64>(0, whole)(random));
            const QString title = titleOf(work);
            EXPECT_TRUE(title == u"Old" || title == grown) << kill << ": " << title.size();
            EXPECT_EQ(test::audioOf(work), audio) << kill;
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
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden).size(), 4);
}

TEST_F(KillDuringSaveTest, OnlyTheNamesOfCopiesAreTakenForThem) {
    EXPECT_TRUE(filetags::isUnfinishedSaveName(".song.mp3.tessel-save-a1B2c3"));
    EXPECT_FALSE(filetags::isUnfinishedSaveName("song.mp3.tessel-save-a1B2c3"));
    EXPECT_FALSE(filetags::isUnfinishedSaveName(".song.mp3.tessel-save-a1B2"));
    EXPECT_FALSE(filetags::isUnfinishedSaveName(".song.mp3"));
}

}  // namespace
}  // namespace tessel
