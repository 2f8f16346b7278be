// Reading an XML property list (the format of a music library's "Library.xml" export) into
// values: dict → QVariantMap, array → QVariantList, string and key → QString, integer →
// qint64, real → double, date → QDateTime (UTC), data → QByteArray, true/false → bool.
// The reader never fetches the document type or expands external entities.
#pragma once

#include <QIODevice>
#include <QVariant>

namespace tessel::itunes::plist {

/// The document's one top-level value. Throws a TesselError named "Import Failed" whose
/// reason names the line of the first problem for a document that is not well-formed, is
/// truncated, or is not a property list.
QVariant read(QIODevice& device, const QString& fileName);

}  // namespace tessel::itunes::plist
