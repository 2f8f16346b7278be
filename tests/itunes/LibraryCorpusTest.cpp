// Real-world files, many of them malformed, added to the library and written through: nothing
// may crash, and where a file refuses a value the library keeps its old one.
#include "LibraryFixture.h"
#include "itunes/Connection.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace tessel {
namespace {

using test::LibraryTest;

TEST_F(LibraryTest, MalformedFilesAreAddedAndWrittenThroughSafely) {
    const QString corpus = test::corpusFolder();
    if (corpus.isEmpty())
        GTEST_SKIP() << "no corpus folder";
    QDir().mkpath(temp.filePath(QStringLiteral("corpus")));
    QDirIterator it(corpus, QDir::Files, QDirIterator::Subdirectories);
    for (int n = 0; it.hasNext(); ++n) {
        const QString copy =
            temp.filePath(QStringLiteral("corpus/%1-").arg(n) + QFileInfo(it.next()).fileName());
        ASSERT_TRUE(QFile::copy(it.filePath(), copy));
        QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    auto connection = itunes::Connection::open(libraryFile);
    const auto added = itunes::importFolder(*connection, temp.filePath(QStringLiteral("corpus")),
                                            QStringLiteral("Corpus"));
    ASSERT_GT(added.tracksAdded, 0);

    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, auto&, auto&) {});
    const QList<std::pair<const char*, QVariant>> writes{
        {"albumArtist", "Tessel"}, {"trackCount", 9}, {"discNumber", 2},
        {"lyrics", "Words"},       {"bpm", 99},       {"name", "Tessel Test"}};
    int written = 0;
    for (const auto& track : playlist(QStringLiteral("Corpus"))->tracks()) {
        for (const auto& [name, value] : writes) {
            const QString key = QString::fromLatin1(name);
            const QVariant before = track->property(key);
            const std::string where = track->location().value_or(QString()).toStdString();
            try {
                track->setProperty(key, value);
                EXPECT_EQ(track->property(key).toString(), value.toString())
                    << where << " " << name;
                ++written;
            } catch (const TesselError& error) {
                EXPECT_EQ(error.name(), errors::kTagWrite) << where;
                EXPECT_EQ(track->property(key), before) << where << " " << name;
            }
        }
    }
    qInstallMessageHandler(previous);
    EXPECT_GT(written, 0);
}

}  // namespace
}  // namespace tessel
