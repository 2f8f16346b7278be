#include "PlaylistDocument.h"

#include "tags/TagValue.h"

#include <QDir>
#include <QUrl>
#include <QXmlStreamWriter>

#include <cmath>

namespace tessel::playlistdocument {

namespace {

// XML 1.0 cannot carry most control characters, and an M3U line ends at a line break: both
// become spaces in titles and names.
QString printable(const QString& text) {
    QString clean = text;
    for (QChar& c : clean) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u' ';
    }
    return clean;
}

bool holdsLineBreak(const QString& text) {
    return text.contains(u'\n') || text.contains(u'\r');
}

// The entry's place for a player: the stream's address or the file's path; absent for a dead
// track.
std::optional<QString> entryPlace(const PlaylistEntry& entry, const QString& base) {
    if (entry.stream)
        return *entry.stream;
    if (!entry.location)
        return std::nullopt;
    return entryPath(*entry.location, base);
}

QString fileUrl(const QString& path, bool relative) {
    const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(path, "/"));
    return relative ? encoded : QStringLiteral("file://") + encoded;
}

// A library keeps 0 for a duration it does not know.
bool knownDuration(const QVariant& duration) {
    return !isAbsent(duration) && duration.toDouble() > 0;
}

qint64 wholeNumber(const QVariant& value) {
    return isAbsent(value) ? 0 : value.toLongLong();
}

void writeText(QXmlStreamWriter& xml, const QString& element, const QString& text) {
    if (!text.isEmpty())
        xml.writeTextElement(element, printable(text));
}

}  // namespace

QString entryPath(const QString& file, const QString& base) {
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(file));
    if (base.isEmpty())
        return clean;
    return QDir(base).relativeFilePath(clean);
}

PlaylistText m3u8(const QList<PlaylistEntry>& entries, const QString& base) {
    PlaylistText result;
    result.text = QStringLiteral("#EXTM3U\n");
    for (const PlaylistEntry& entry : entries) {
        const std::optional<QString> place = entryPlace(entry, base);
        if (!place || holdsLineBreak(*place)) {
            ++result.leftOut;
            continue;
        }
        const qint64 seconds =
            knownDuration(entry.duration) ? std::llround(entry.duration.toDouble()) : -1;
        const QString name = entry.artist.isEmpty()
                                 ? entry.title
                                 : entry.artist + QStringLiteral(" - ") + entry.title;
        result.text += QStringLiteral("#EXTINF:") + QString::number(seconds) + u',' +
                       printable(name) + u'\n' + *place + u'\n';
        ++result.entries;
    }
    return result;
}

PlaylistText xspf(const QString& name, const QList<PlaylistEntry>& entries, const QString& base) {
    PlaylistText result;
    QXmlStreamWriter xml(&result.text);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("playlist"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    xml.writeDefaultNamespace(QStringLiteral("http://xspf.org/ns/0/"));
    writeText(xml, QStringLiteral("title"), name);
    xml.writeStartElement(QStringLiteral("trackList"));
    for (const PlaylistEntry& entry : entries) {
        const std::optional<QString> place = entryPlace(entry, base);
        if (!place) {
            ++result.leftOut;
            continue;
        }
        xml.writeStartElement(QStringLiteral("track"));
        xml.writeTextElement(QStringLiteral("location"),
                             entry.stream ? *place : fileUrl(*place, !base.isEmpty()));
        writeText(xml, QStringLiteral("title"), entry.title);
        writeText(xml, QStringLiteral("creator"), entry.artist);
        writeText(xml, QStringLiteral("album"), entry.album);
        if (knownDuration(entry.duration))
            xml.writeTextElement(QStringLiteral("duration"),
                                 QString::number(std::llround(entry.duration.toDouble() * 1000)));
        if (wholeNumber(entry.number) > 0)
            xml.writeTextElement(QStringLiteral("trackNum"),
                                 QString::number(wholeNumber(entry.number)));
        xml.writeEndElement();
        ++result.entries;
    }
    xml.writeEndDocument();
    return result;
}

}  // namespace tessel::playlistdocument
