#include "AllPlaylistsExport.h"

#include "support/FormattedString.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace tessel {

namespace playlistfiles {

namespace {

// File systems take 255 bytes per name; room is left for " (n)" and the extension.
constexpr int kMaxNameBytes = 200;

QString shortened(QString name) {
    while (name.toUtf8().size() > kMaxNameBytes) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
    }
    return name;
}

}  // namespace

QString safeFileName(const QString& name, const QString& extension) {
    QString safe = name;
    for (QChar& c : safe) {
        if (c == u'/' || c == u'\\')
            c = u'-';
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u' ';
    }
    // A leading dot hides the file; "." and ".." are no names at all.
    while (!safe.isEmpty() && (safe.front() == u'.' || safe.front().isSpace()))
        safe.remove(0, 1);
    safe = shortened(safe.trimmed());
    if (safe.isEmpty())
        safe = QStringLiteral("Playlist");
    return safe + u'.' + extension;
}

QStringList distinctFileNames(const QStringList& names, const QString& extension) {
    QStringList files;
    QSet<QString> taken;
    for (const QString& name : names) {
        const QString first = safeFileName(name, extension);
        QString file = first;
        for (int n = 2; taken.contains(file.toCaseFolded()); ++n) {
            const QString stem = first.chopped(extension.size() + 1);
            file =
                stem + QStringLiteral(" (") + QString::number(n) + QStringLiteral(").") + extension;
        }
        taken.insert(file.toCaseFolded());
        files.append(file);
    }
    return files;
}

}  // namespace playlistfiles

namespace {

// The inner per-track lines would hide which playlist is being written.
class QuietProgress : public ProgressSink {
  public:
    void setProgress(const QString&) override {}
};

bool isInside(const QString& id, const QString& folderId, const QHash<QString, QString>& parents) {
    QString parent = parents.value(id);
    for (int depth = 0; !parent.isEmpty() && depth < parents.size(); ++depth) {
        if (parent.compare(folderId, Qt::CaseInsensitive) == 0)
            return true;
        parent = parents.value(parent);
    }
    return false;
}

}  // namespace

AllPlaylistsExport::AllPlaylistsExport(Options options) : options_(std::move(options)) {}

std::optional<AlertRequest> AllPlaylistsExport::validate() const {
    if (auto alert = PlaylistExport(options_.format).validate())
        return alert;
    if (!QFileInfo(options_.saveFolder).isDir())
        return okAlert(QStringLiteral("No Folder"),
                       formattedString(QStringLiteral("The folder “%@” does not exist."),
                                       options_.saveFolder));
    return std::nullopt;
}

AllPlaylistsExport::Summary AllPlaylistsExport::run(itunes::Application& application,
                                                    ProgressSink& progress) const {
    Summary summary;
    try {
        const QList<itunes::PlaylistPtr> playlists = chosenPlaylists(application);
        QStringList names;
        for (const itunes::PlaylistPtr& playlist : playlists)
            names.append(playlist->name());
        const QStringList files =
            playlistfiles::distinctFileNames(names, PlaylistExport(options_.format).fileType());
        const QDir folder(options_.saveFolder);
        for (int i = 0; i < playlists.size(); ++i) {
            progress.setProgress(formattedString(QStringLiteral("%i/%i - %@"), i + 1,
                                                 int(playlists.size()), names.at(i)));
            exportOne(*playlists.at(i), folder.filePath(files.at(i)), summary);
        }
    } catch (const TesselError& error) {
        summary.stoppedBy = error;
    }
    return summary;
}

// The editable playlists; when the chosen playlist is a folder, those inside it at any depth.
QList<itunes::PlaylistPtr> AllPlaylistsExport::chosenPlaylists(
    itunes::Application& application) const {
    const auto sources = application.sources();
    if (sources.isEmpty())
        throw itunes::scriptingError(QStringLiteral("The music library has no sources."));
    const QList<itunes::PlaylistPtr> all = sources.first()->userPlaylists();
    QHash<QString, QString> parents;
    QString folderId;
    for (const itunes::PlaylistPtr& playlist : all) {
        parents.insert(playlist->persistentId().toUpper(), playlist->folderId().toUpper());
        if (playlist->isFolder() &&
            playlist->persistentId().compare(options_.chosenPlaylistId, Qt::CaseInsensitive) == 0)
            folderId = playlist->persistentId().toUpper();
    }
    QList<itunes::PlaylistPtr> chosen;
    for (const itunes::PlaylistPtr& playlist : all) {
        if (playlist->smart())
            continue;
        if (folderId.isEmpty() || isInside(playlist->persistentId().toUpper(), folderId, parents))
            chosen.append(playlist);
    }
    return chosen;
}

void AllPlaylistsExport::exportOne(const itunes::Playlist& playlist, const QString& path,
                                   Summary& summary) const {
    PlaylistExport::Options options = options_.format;
    options.playlistName = playlist.name();
    const PlaylistExport tool(options);
    QList<MusicTrack> tracks;
    for (const itunes::TrackPtr& track : playlist.tracks())
        tracks.append(MusicTrack::withTrack(track));
    QuietProgress quiet;
    const PlaylistExport::Result result = tool.collectTracks(tracks, quiet);
    if (result.stoppedBy)
        throw *result.stoppedBy;
    const PlaylistText document = tool.document(result, path);
    PlaylistExport::save(path, document.text);
    ++summary.playlists;
    summary.entries += document.entries;
    summary.leftOut += document.leftOut;
}

}  // namespace tessel
