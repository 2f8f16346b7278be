#include "PlaylistExport.h"

#include "support/FormattedString.h"
#include "tags/TagValue.h"

#include <QDebug>
#include <QSaveFile>

#include <cmath>

namespace tessel {

namespace {

const QString kName = QStringLiteral("name");
const QString kArtist = QStringLiteral("artist");
const QString kAlbum = QStringLiteral("album");
const QString kDuration = QStringLiteral("duration");

}  // namespace

PlaylistExport::PlaylistExport(Options options) : options_(std::move(options)) {}

std::optional<AlertRequest> PlaylistExport::validate() const {
    if (options_.format != kText && options_.format != kXml)
        return okAlert(QStringLiteral("Invalid Format"),
                       QStringLiteral("Playlists can be exported as text or as XML."));
    return std::nullopt;
}

QString PlaylistExport::fileType() const {
    return options_.format == kText ? QStringLiteral("txt") : QStringLiteral("xml");
}

PlaylistExport::Result PlaylistExport::collect(const TrackGatherer& gather,
                                               ProgressSink& progress) const {
    Result result;
    const std::optional<GatheredTracks> gathered = gather();
    if (!gathered)
        return result;
    result.gathered = true;
    const bool xml = options_.format == kXml;
    if (xml)
        result.text = QStringLiteral("<?xml version=\"1.0\"?>\n<playlist name='") +
                      attributeText(options_.playlistName) + QStringLiteral("'>\n");
    const QStringList tags{kName, kAlbum, kArtist, kDuration};
    const auto count = static_cast<int>(gathered->tracks.size());
    for (int i = 0; i < count; ++i) {
        try {
            const QVariantMap values = gathered->tracks.at(i).valuesForTags(tags);
            const QString title = valueText(values.value(kName));
            progress.setProgress(
                formattedString(QStringLiteral("%i/%i - %@"), i + 1, count, title));
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
