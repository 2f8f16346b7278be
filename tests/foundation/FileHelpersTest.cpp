#include "TestSupport.h"
#include "foundation/FileHelpers.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace tessel {
namespace {

using test::TempFolder;

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

TEST(FileHelpersTest, ListsDirectEntriesIncludingHiddenOnes) {
    TempFolder temp;
    temp.writeFile(QStringLiteral("a.mp3"));
    temp.writeFile(QStringLiteral(".hidden"));
    temp.writeFile(QStringLiteral("sub/b.mp3"));

    EXPECT_EQ(sorted(*dirContents(temp.path())), (QStringList{".hidden", "a.mp3", "sub"}));
}

TEST(FileHelpersTest, GivesAbsentForMissingFolders) {
    TempFolder temp;
    EXPECT_FALSE(dirContents(temp.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(dirContentsRecursive(temp.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(dirContents(temp.writeFile(QStringLiteral("file.txt"))));
    EXPECT_FALSE(dirContents(QString()));
}

TEST(FileHelpersTest, ListsEveryDepthAsRelativePaths) {
    TempFolder temp;
    temp.writeFile(QStringLiteral("top.mp3"));
    temp.writeFile(QStringLiteral("one/two/deep.flac"));

    EXPECT_EQ(sorted(*dirContentsRecursive(temp.path())),
              (QStringList{"one", "one/two", "one/two/deep.flac", "top.mp3"}));
}

TEST(FileHelpersTest, ARelativeFolderListsLikeItsAbsolutePath) {
    TempFolder temp;
    temp.writeFile(QStringLiteral("inner/deep/song.mp3"));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(temp.path());
    const auto entries = dirContentsRecursive(QStringLiteral("inner"));
    const auto dotted = dirContentsRecursive(QStringLiteral("./inner/../inner"));
    QDir::setCurrent(previous);
    ASSERT_TRUE(entries);
    EXPECT_EQ(sorted(*entries), (QStringList{"deep", "deep/song.mp3"}));
    ASSERT_TRUE(dotted);
    EXPECT_EQ(sorted(*dotted), sorted(*entries));
}

TEST(FileHelpersTest, SymlinkLoopsEndTheScan) {
    TempFolder temp;
    temp.writeFile(QStringLiteral("a/song.mp3"));
    ASSERT_TRUE(QFile::link(temp.path(), temp.filePath(QStringLiteral("a/loop"))));
    ASSERT_TRUE(
        QFile::link(temp.filePath(QStringLiteral("a")), temp.filePath(QStringLiteral("a/self"))));

    const auto entries = dirContentsRecursive(temp.path());
    ASSERT_TRUE(entries);
    EXPECT_EQ(sorted(*entries), (QStringList{"a", "a/loop", "a/self", "a/song.mp3"}));
}

}  // namespace
}  // namespace tessel
