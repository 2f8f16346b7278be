// Reading and writing the tags of one music file through TagLib. A read opens and parses the
// file once; a write opens, changes one field and saves once.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace tessel::filetags {

/// The identifiers a music file can give: the text tags it holds, "year", "number",
/// "duration", "bitRate", "cover" and "location".
bool isReadable(const QString& tag);
/// The identifiers a music file can take: "name"/"title", "artist", "album", "comment",
/// "genre" and "year".
bool isWritable(const QString& tag);

/// The values of readable tags, all from one parse of the file (the cover test and
/// "location" need no parse). A file that cannot be opened or has no tag gives absent values.
/// Every tag must be readable; the caller checks.
QVariantMap read(const QString& path, const QStringList& tags);

/// Writes one writable tag and saves. Throws a TesselError named errors::kTagWrite when the
/// file cannot be opened, has no tag, or cannot be saved; nothing is written then.
/// MPEG files keep the tag types they already have and their ID3v2 version.
void write(const QString& path, const QString& tag, const QVariant& value);

/// True when the bytes "image/" (the start of an embedded picture's type) occur anywhere in
/// the file; false for a file that cannot be read.
bool hasEmbeddedCover(const QString& path);

}  // namespace tessel::filetags
