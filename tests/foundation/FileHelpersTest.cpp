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
    const auto urls = dirContents(QUrl::fromLocalFile(temp.path()));
    ASSERT_TRUE(urls);
    EXPECT_EQ(urls->size(), 3);
    EXPECT_TRUE(std::all_of(urls->begin(), urls->end(), [&](const QUrl& url) {
        return url.isLocalFile() && url.toLocalFile().startsWith(temp.path() + u'/');
    }));
}

TEST(FileHelpersTest, GivesAbsentForMissingFoldersAndForeignUrls) {
    TempFolder temp;
    EXPECT_FALSE(dirContents(temp.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(dirContentsRecursive(temp.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(dirContents(QUrl(QStringLiteral("https://example.org/music"))));
    EXPECT_FALSE(dirContentsRecursive(QUrl(QStringLiteral("https://example.org/music"))));
    EXPECT_FALSE(dirContents(temp.writeFile(QStringLiteral("file.txt"))));
    EXPECT_FALSE(dirContents(QString()));
}

TEST(FileHelpersTest, ListsEveryDepthAsRelativePathsAndUrls) {
    TempFolder temp;
    temp.writeFile(QStringLiteral("top.mp3"));
    temp.writeFile(QStringLiteral("one/two/deep.flac"));

    EXPECT_EQ(sorted(*dirContentsRecursive(temp.path())),
              (QStringList{"one", "one/two", "one/two/deep.flac", "top.mp3"}));
    const auto urls = dirContentsRecursive(QUrl::fromLocalFile(temp.path()));
    ASSERT_TRUE(urls);
    EXPECT_TRUE(
        urls->contains(QUrl::fromLocalFile(temp.filePath(QStringLiteral("one/two/deep.flac")))));
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

TEST(FileHelpersTest, FileExistsOnPathsAndUrls) {
    TempFolder temp;
    const QString file = temp.writeFile(QStringLiteral("x.mp3"));
    EXPECT_TRUE(fileExists(file));
    EXPECT_TRUE(fileExists(temp.path()));
    EXPECT_TRUE(fileExists(QUrl::fromLocalFile(file)));
    EXPECT_FALSE(fileExists(temp.filePath(QStringLiteral("nothing"))));
    EXPECT_FALSE(fileExists(QUrl(QStringLiteral("https://example.org") + file)));
    ASSERT_TRUE(QFile::link(temp.filePath(QStringLiteral("gone")),
                            temp.filePath(QStringLiteral("dangling"))));
    EXPECT_FALSE(fileExists(temp.filePath(QStringLiteral("dangling"))));
}

}  // namespace
}  // namespace tessel
