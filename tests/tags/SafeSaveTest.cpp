// Where a save that moves the audio leaves the file: through a link, with its permissions,
// and with a second name.
#include "TestSupport.h"
#include "tags/FileTags.h"
#include "tags/SafeSaveStream.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace tessel {
namespace {

const QString kLong(20000, u'l');

QString titleOf(const QString& path) {
    return filetags::read(path, {"name"}).value("name").toString();
}

QStringList copiesIn(const QString& folder) {
    QStringList copies;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        if (filetags::isUnfinishedSaveName(name))
            copies.append(name);
    }
    return copies;
}

TEST(SafeSaveTest, AGrowingSaveReplacesTheFileItselfAndKeepsItsPermissions) {
    test::TempFolder temp;
    const QString file = temp.copyFixture("tagged.mp3", "real/song.mp3");
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0640), 0);
    const QString link = temp.filePath("link.mp3");
    ASSERT_TRUE(QFile::link(file, link));

    filetags::write(link, "name", kLong);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(titleOf(file), kLong);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_TRUE(copiesIn(temp.filePath("real")).isEmpty());
    EXPECT_TRUE(copiesIn(temp.path()).isEmpty());
}

TEST(SafeSaveTest, AFileWithASecondNameIsSavedInPlace) {
    test::TempFolder temp;
    const QString file = temp.copyFixture("tagged.flac", "song.flac");
    const QString second = temp.filePath("second.flac");
    ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(second).constData()),
              0);
    filetags::write(file, "name", kLong);
    EXPECT_EQ(titleOf(second), kLong);  // still one file under two names
    EXPECT_TRUE(copiesIn(temp.path()).isEmpty());
}

}  // namespace
}  // namespace tessel
