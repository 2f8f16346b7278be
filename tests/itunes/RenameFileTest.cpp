// Renaming a music file through the library: its file tracks follow in the same step, a taken
// name moves nothing and changes nothing, and a library that cannot be written still lets files
// it does not hold be renamed.
#include "LibraryFixture.h"
#include "itunes/Connection.h"

#include <QDir>
#include <QFile>

namespace tessel {
namespace {

using test::LibraryTest;

class RenameFileTest : public LibraryTest {
  protected:
    RenameFileTest() {
        held = temp.copyFixture("tagged.mp3", "real/held.mp3");
        loose = temp.copyFixture("tagged.flac", "elsewhere/loose.flac");
        auto connection = itunes::Connection::open(libraryFile);
        itunes::importFolder(*connection, temp.filePath("real"), QStringLiteral("Mix"));
    }

    std::optional<QString> mixLocation() const {
        return playlist(QStringLiteral("Mix"))->tracks().first()->location();
    }

    QString held;
    QString loose;
};

TEST_F(RenameFileTest, TheTrackFollowsItsFileEvenThroughALink) {
    open()->renameFile(held, temp.filePath("real/Song.mp3"));
    EXPECT_FALSE(QFileInfo::exists(held));
    EXPECT_EQ(mixLocation(), temp.filePath("real/Song.mp3"));

    // Named through a link to its folder, the file is still the one the library holds.
    ASSERT_TRUE(QFile::link(temp.filePath("real"), temp.filePath("link")));
    open()->renameFile(temp.filePath("link/Song.mp3"), temp.filePath("link/Other.mp3"));
    EXPECT_EQ(mixLocation(), temp.filePath("real/Other.mp3"));

    open()->renameFile(loose, temp.filePath("elsewhere/moved.flac"));
    EXPECT_TRUE(QFileInfo::exists(temp.filePath("elsewhere/moved.flac")));
}

TEST_F(RenameFileTest, ATakenNameMovesNothingAndChangesNothing) {
    const QString taken = temp.copyFixture("tagged-v1.mp3", "real/taken.mp3");
    const QByteArray bytes = test::fileBytes(taken);
    try {
        open()->renameFile(held, taken);
        ADD_FAILURE() << "a file was renamed over another";
    } catch (const TesselError& error) {
        EXPECT_EQ(error.name(), "Rename Failed");
        EXPECT_TRUE(error.reason().contains("held.mp3")) << error.reason().toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(held));
    EXPECT_EQ(test::fileBytes(taken), bytes);
    EXPECT_EQ(mixLocation(), held);
}

TEST_F(RenameFileTest, AReadOnlyLibraryRenamesOnlyWhatItDoesNotHold) {
    itunes::LibraryApplication reading(
        itunes::Connection::open(libraryFile, itunes::Connection::Use::Reading));
    EXPECT_THROW(reading.renameFile(held, temp.filePath("real/Song.mp3")), TesselError);
    EXPECT_TRUE(QFileInfo::exists(held));
    EXPECT_EQ(mixLocation(), held);

    reading.renameFile(loose, temp.filePath("elsewhere/moved.flac"));
    EXPECT_TRUE(QFileInfo::exists(temp.filePath("elsewhere/moved.flac")));
}

}  // namespace
}  // namespace tessel
