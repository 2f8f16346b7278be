#include "LibraryFixture.h"

#include "itunes/Connection.h"

#include <QDir>
#include <QUrl>

namespace tessel::test {

QString libraryDataFolder() {
    return QStringLiteral(TESSEL_ITUNES_DATA);
}

LibraryTest::LibraryTest()
    : libraryFile(temp.filePath(QStringLiteral("library.sqlite"))),
      livingTrack(temp.copyFixture(QStringLiteral("tagged.mp3"),
                                   QStringLiteral("music/Living Track.mp3"))) {}

QString LibraryTest::writeExport(const QString& name,
                                 const QList<std::pair<QString, QString>>& replacements) const {
    QString text = QString::fromUtf8(
        fileBytes(QDir(libraryDataFolder()).filePath(QStringLiteral("Library.xml"))));
    text.replace(QStringLiteral("__LIVING_TRACK__"),
                 QUrl::fromLocalFile(livingTrack).toString(QUrl::FullyEncoded));
    for (const auto& [from, to] : replacements)
        text.replace(from, to);
    return temp.writeFile(name, text.toUtf8());
}

itunes::XmlImportSummary LibraryTest::importFixture() {
    auto connection = itunes::Connection::open(libraryFile);
    return itunes::importLibraryXml(*connection, writeExport());
}

std::shared_ptr<itunes::LibraryApplication> LibraryTest::open() const {
    return std::make_shared<itunes::LibraryApplication>(itunes::Connection::open(libraryFile));
}

itunes::PlaylistPtr LibraryTest::playlist(const QString& name, int index) const {
    const auto matches =
        open()->sources().first()->userPlaylists(itunes::PlaylistFilter::named(name));
    if (index >= matches.size())
        throw std::runtime_error("no playlist " + name.toStdString());
    return matches.at(index);
}

QStringList LibraryTest::namesOf(const QList<itunes::TrackPtr>& tracks) {
    QStringList names;
    for (const auto& track : tracks)
        names.append(track->property(QStringLiteral("name")).toString());
    return names;
}

}  // namespace tessel::test
