// Re-links DEAD tracks of an imported library against a folder of FILES music files (each a
// copy of one small tagged MP3 with its own title, artist and album written in), the way the
// re-link button does: the playlist scan, the folder read once, one search per dead track, and
// applying the new locations. Prints the times; target on the development machine: under 5 s
// from the end of the folder's reading to the change list.
#include "app/AppDelegate.h"
#include "itunes/Connection.h"
#include "itunes/LibraryImport.h"
#include "itunes/MusicLibrary.h"
#include "support/Presenter.h"
#include "tools/RelinkIndex.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUrl>

#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <cstdio>

namespace {

using namespace tessel;

// Answers the folder chooser and every alert; counts what it was shown.
class BenchPresenter : public Presenter {
  public:
    explicit BenchPresenter(QUrl folder) : folder_(std::move(folder)) {}
    int presentAlert(const AlertRequest& request) override {
        std::printf("alert: %s\n", qPrintable(request.title));
        return kAlertDefault;
    }
    void endEditing() override {}
    void showProgressSheet() override {}
    void hideProgressSheet() override {}
    void showChangePanel(const QString& infoLine, const QString&, bool) override {
        std::printf("panel: %s\n", qPrintable(infoLine));
    }
    void hideChangePanel() override {}
    std::optional<QUrl> chooseFolder(const QString&, const QUrl&) override { return folder_; }

  private:
    QUrl folder_;
};

TagLib::String text(const QString& value) {
    return TagLib::String(value.toStdString(), TagLib::String::UTF8);
}

// File i holds title "Title i", artist "Artist i%300", album "Album i%1000".
void writeFiles(const QString& folder, int count) {
    const QString source = QStringLiteral(TESSEL_TEST_DATA "/tagged.mp3");
    for (int i = 0; i < count; ++i) {
        const QString dir = QStringLiteral("%1/Artist %2").arg(folder).arg(i % 300);
        QDir().mkpath(dir);
        const QString path = QStringLiteral("%1/%2.mp3").arg(dir).arg(i);
        QFile::copy(source, path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        TagLib::FileRef file(QFile::encodeName(path).constData(), false);
        file.tag()->setTitle(text(QStringLiteral("Title %1").arg(i)));
        file.tag()->setArtist(text(QStringLiteral("Artist %1").arg(i % 300)));
        file.tag()->setAlbum(text(QStringLiteral("Album %1").arg(i % 1000)));
        file.save();
    }
}

// Dead track t stands for file t * 5 (so they spread over the folder), at an old machine's
// path, all in one playlist.
void writeExport(const QString& path, int dead) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QTextStream out(&file);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>\n"
           "<key>Tracks</key><dict>\n";
    for (int t = 1; t <= dead; ++t) {
        const int i = (t - 1) * 5;
        out << "<key>" << t << "</key><dict><key>Track ID</key><integer>" << t << "</integer>"
            << "<key>Name</key><string>Title " << i << "</string>"
            << "<key>Artist</key><string>Artist " << i % 300 << "</string>"
            << "<key>Album</key><string>Album " << i % 1000 << "</string>"
            << "<key>Play Count</key><integer>" << t % 40 << "</integer>"
            << "<key>Persistent ID</key><string>"
            << QStringLiteral("%1").arg(t, 16, 16, QChar(u'0'))
            << "</string><key>Track Type</key><string>File</string>"
            << "<key>Location</key><string>file://localhost/Users/old/Music/" << i
            << ".mp3</string></dict>\n";
    }
    out << "</dict><key>Playlists</key><array><dict><key>Name</key><string>Moved</string>"
           "<key>Playlist Persistent ID</key><string>00000000000000F1</string>"
           "<key>Playlist Items</key><array>\n";
    for (int t = 1; t <= dead; ++t)
        out << "<dict><key>Track ID</key><integer>" << t << "</integer></dict>\n";
    out << "</array></dict></array></dict></plist>\n";
}

double seconds(qint64 nanoseconds) {
    return nanoseconds / 1e9;
}

// Runs an action of the controller until the run it started has ended.
void runToEnd(AppDelegate& delegate, const std::function<void()>& action) {
    QEventLoop loop;
    bool ended = false;
    QObject::connect(&delegate, &AppDelegate::runEnded, &loop, [&] {
        ended = true;
        loop.quit();
    });
    action();
    if (!ended)
        loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int dead = argc > 2 ? std::min(std::atoi(argv[2]), files / 5) : 2000;

    QTemporaryDir temp;
    const QString music = temp.filePath(QStringLiteral("music"));
    QElapsedTimer timer;
    timer.start();
    writeFiles(music, files);
    std::printf("wrote %d files: %.1f s\n", files, seconds(timer.nsecsElapsed()));

    const QString xml = temp.filePath(QStringLiteral("Library.xml"));
    writeExport(xml, dead);
    const QString library = temp.filePath(QStringLiteral("library.sqlite"));
    itunes::importLibraryXml(*itunes::Connection::open(library), xml);

    timer.restart();
    const int read = RelinkIndex::build(music).size();
    std::printf("reading the folder alone: %.2f s (%d files)\n", seconds(timer.nsecsElapsed()),
                read);

    BenchPresenter presenter(QUrl::fromLocalFile(music));
    AppDelegate delegate(itunes::libraryProvider(library), presenter);
    delegate.setAsksForRating(false);
    delegate.applicationDidFinishLaunching();
    delegate.setProperty("selectedPlaylist", 0);

    // The first "[n left]" line marks the folder read: the searches start answering.
    qint64 indexed = -1;
    QObject::connect(&delegate, &AppDelegate::currentProgressDetailChanged, &delegate, [&] {
        if (indexed < 0 && delegate.currentProgressDetail().endsWith(QStringLiteral(" left]")))
            indexed = timer.nsecsElapsed();
    });
    timer.restart();
    runToEnd(delegate, [&] { delegate.performFix(); });
    const qint64 total = timer.nsecsElapsed();
    const int found = delegate.changes() ? int(delegate.changes()->records.size()) : 0;
    std::printf(
        "relink %d dead tracks against %d files: %.2f s in all; folder read after "
        "%.2f s, then %.2f s for the searches (%d re-linked)\n",
        dead, files, seconds(total), seconds(indexed), seconds(total - indexed), found);

    timer.restart();
    runToEnd(delegate, [&] { delegate.applyChanges(); });
    std::printf("apply %d new locations: %.2f s\n", found, seconds(timer.nsecsElapsed()));
    return found == dead ? 0 : 1;
}
