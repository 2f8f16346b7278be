// Reading and writing the tags of one music file through TagLib. A read opens and parses the
// file once; a write opens, changes one field and saves once. A file in which TagLib finds no
// audio (a text file named .mp3, a tag without the audio it belonged to) is no music file: it
// reads as one that cannot be opened does and is never written.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <functional>

namespace TagLib {
class File;
}

namespace tessel::filetags {

/// The identifiers a music file can give: the text tags it holds, "year", "number",
/// "duration", "bitRate", "cover" and "location".
bool isReadable(const QString& tag);
/// The identifiers a music file can take: "name"/"title", "artist", "album", "comment",
/// "genre" and "year".
bool isWritable(const QString& tag);

/// The values of readable tags, all from one parse of the file (the cover test and
/// "location" need no parse). A file that cannot be opened, is no music file or has no tag
/// gives absent values.
/// Every tag must be readable; the caller checks.
QVariantMap read(const QString& path, const QStringList& tags);

/// Writes one writable tag and saves. Throws a TesselError named errors::kTagWrite when the
/// file cannot be opened, is no music file ("holds no audio"), is read-only, has no tag, or
/// cannot be saved; nothing is written then.
/// An MP3 is saved with an ID3v2 tag, which holds the value whole: one that had none gets a
/// 2.4 tag starting with the values of its other tags. It keeps the ID3v1 and APE tags it
/// has, updated as far as they can hold the value, and gets none it did not have; an ID3v2.3
/// tag stays 2.3.
void write(const QString& path, const QString& tag, const QVariant& value);

/// Reads tags as read() does and, when proceed accepts their values, writes one writable tag
/// as write() does, all in one open of the file: one parse for the check and the write, and
/// nothing of this process can change the file in between. Returns false, having saved
/// nothing, when proceed refuses; throws as write() does once proceed has accepted.
bool writeIf(const QString& path, const QStringList& tags,
             const std::function<bool(const QVariantMap&)>& proceed, const QString& tag,
             const QVariant& value);

/// The fields a library track writes through to its file: those of isWritable plus
/// "albumArtist", "composer", "lyrics", "bpm", "trackNumber", "trackCount", "discNumber" and
/// "discCount".
bool isWritableThrough(const QString& tag);

/// Writes one such field and saves, the fields of isWritable exactly as write() does. An
/// empty text or a number of 0 removes the field; a track or disc number and its count share
/// one field ("3/12") unless the file keeps the count apart. Throws a TesselError named
/// errors::kTagWrite as write() does, and when the file cannot hold the field. An MP3 is
/// saved as write() saves it; its ID3v2 tag is the one that must hold the field.
void writeField(const QString& path, const QString& tag, const QVariant& value);

/// What a music library takes from a file, in one parse, keyed by the library's property
/// keys: the eight text tags, "year", "bpm", the track and disc numbers and counts (qint64, 0
/// when missing), "duration" (seconds, a double) and "bitRate" (kbit/s). Empty when the file
/// cannot be opened or is no music file.
QVariantMap readForLibrary(const QString& path);

/// What identifies a recording in a file's tags: each of its artists (a tag that holds several
/// gives them all), its title and its album.
struct FileIdentity {
    QStringList artists;
    QString title;
    QString album;
};

/// The identity of a music file from one parse (no audio properties are read); empty for a
/// file that cannot be opened, is no music file or has no tag.
FileIdentity readIdentity(const QString& path);

/// For the units of this folder that reach into a format's own tags: the music file opened
/// once, given to look; nothing is called for a file that cannot be opened or is no music file.
void inspect(const QString& path, const std::function<void(TagLib::File&)>& look);
/// Opens the music file once for writing and saves it (an MP3 as write() saves it, with an
/// ID3v2 tag) when change says it changed something. Throws as write() does.
void modify(const QString& path, const std::function<bool(TagLib::File&)>& change);

/// True when the bytes "image/" (the start of an embedded picture's type) occur anywhere in
/// the file; false for a file that cannot be read.
bool hasEmbeddedCover(const QString& path);

}  // namespace tessel::filetags
