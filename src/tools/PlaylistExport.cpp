#include "PlaylistExport.h"

#include "support/FormattedString.h"
#include "tags/TagValue.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cmath>

namespace tessel {

namespace {

const QString kName = QStringLiteral("name");
const QString kArtist = QStringLiteral("artist");
const QString kAlbum = QStringLiteral("album");
const QString kDuration = QStringLiteral("duration");
const QString kLibraryNumber = QStringLiteral("trackNumber");
const QString kFileNumber = QStringLiteral("number");

}  // namespace

PlaylistExport::PlaylistExport(Options options) : options_(std::move(options)) {}

std::optional<AlertRequest> PlaylistExport::validate() const {
    if (options_.format < kText || options_.format > kXspf)
        return okAlert(QStringLiteral("Invalid Format"),
                       QStringLiteral("Playlists can be exported as text, XML, M3U8 or XSPF."));
    if (isPlaylistFile() && options_.pathStyle == kRelativeToFolder &&
        !QDir::isAbsolutePath(options_.folder))
        return okAlert(QStringLiteral("No Music Folder"),
                       QStringLiteral("Choose the folder the playlist's paths are to be relative "
                                      "to: the music folder of the player that will read it."));
    return std::nullopt;
}

QString PlaylistExport::fileType() const {
    switch (options_.format) {
        case kText:
            return QStringLiteral("txt");
        case kM3u8:
            return QStringLiteral("m3u8");
        case kXspf:
            return QStringLiteral("xspf");
        default:
            return QStringLiteral("xml");
    }
}

PlaylistExport::Result PlaylistExport::collect(const TrackGatherer& gather,
                                               ProgressSink& progress) const {
    const std::optional<GatheredTracks> gathered = gather();
    if (!gathered)
        return {};
    return collectTracks(gathered->tracks, progress);
}

PlaylistExport::Result PlaylistExport::collectTracks(const QList<MusicTrack>& tracks,
                                                     ProgressSink& progress) const {
    Result result;
    result.gathered = true;
    const bool xml = options_.format == kXml;
    if (xml)
        result.text = QStringLiteral("<?xml version=\"1.0\"?>\n<playlist name='") +
                      attributeText(options_.playlistName) + QStringLiteral("'>\n");
    const auto count = static_cast<int>(tracks.size());
    for (int i = 0; i < count; ++i) {
        try {
            const MusicTrack& track = tracks.at(i);
            QStringList tags{kName, kAlbum, kArtist, kDuration};
            if (isPlaylistFile())
                tags.append(track.isLibraryTrack() ? kLibraryNumber : kFileNumber);
            const QVariantMap values = track.valuesForTags(tags);
            const QString title = valueText(values.value(kName));
            progress.setProgress(
                formattedString(QStringLiteral("%i/%i - %@"), i + 1, count, title));
            if (isPlaylistFile())
                result.entries.append(entry(track, values));
            else
                result.text += trackText(valueText(values.value(kArtist)), title,
                                         valueText(values.value(kAlbum)), values.value(kDuration));
            ++result.tracks;
        } catch (const TesselError& error) {
            qWarning().noquote() << error.description();
            result.stoppedBy = error;
            break;
        }
    }
    if (xml)
        result.text += QStringLiteral("</playlist>\n");
    return result;
}

PlaylistEntry PlaylistExport::entry(const MusicTrack& track, const QVariantMap& values) const {
    PlaylistEntry entry{valueText(values.value(kArtist)), valueText(values.value(kName)),
                        valueText(values.value(kAlbum)), values.value(kDuration),
                        values.value(track.isLibraryTrack() ? kLibraryNumber : kFileNumber)};
    entry.stream = track.streamAddress();
    if (!entry.stream)
        entry.location = track.location();
    return entry;
}

PlaylistText PlaylistExport::document(const Result& result, const QString& path) const {
    if (!isPlaylistFile())
        return {result.text, result.tracks, 0};
    QString base;
    if (options_.pathStyle == kRelativeToFolder)
        base = options_.folder;
    else if (options_.pathStyle == kRelativeToPlaylist)
        base = QFileInfo(path).absolutePath();
    if (options_.format == kM3u8)
        return playlistdocument::m3u8(result.entries, base);
    return playlistdocument::xspf(options_.playlistName, result.entries, base);
}

QString PlaylistExport::trackText(const QString& artist, const QString& title, const QString& album,
                                  const QVariant& duration) const {
    if (options_.format == kText)
        return artist + u'\t' + title + u'\t' + album + u'\t' + durationText(duration) + u'\n';
    return QStringLiteral("<track artist='") + attributeText(artist) + QStringLiteral("' title='") +
           attributeText(title) + QStringLiteral("' album='") + attributeText(album) +
           QStringLiteral("' duration='") + durationText(duration) + QStringLiteral("' />\n");
}

QString PlaylistExport::durationText(const QVariant& duration) {
    const float seconds = isAbsent(duration) ? 0.0f : duration.toFloat();
    return formattedString(QStringLiteral("%0.1f"), double(seconds));
}

QString PlaylistExport::attributeText(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'&')
            escaped += QStringLiteral("&amp;");
        else if (c == u'<')
            escaped += QStringLiteral("&lt;");
        else if (c == u'\'')
            escaped += QStringLiteral("&apos;");
        else
            escaped += c;
    }
    return escaped;
}

void PlaylistExport::save(const QString& path, const QString& text) {
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!written) {
        const QString why = file.errorString();
        file.cancelWriting();
        throw TesselError(
            QStringLiteral("Export Failed"),
            formattedString(QStringLiteral("The file “%@” could not be written: %@"), path, why));
    }
}

}  // namespace tessel
