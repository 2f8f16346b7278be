// The tag identifiers the program knows, as the six ordered lists the tools index into.
// Position i of a list and of its readable twin name the same tag.
#pragma once

#include <QString>
#include <QStringList>

namespace tessel::catalogue {

/// The eight text tags: "name", "artist", "album", "lyrics", "genre", "comment", "composer",
/// "albumArtist".
const QStringList& tags();
const QStringList& readableTags();
/// The ten integer tags: "playedCount" ... "discCount".
const QStringList& integerTags();
const QStringList& readableIntegerTags();
/// tags, then integerTags, then "cover" (19).
const QStringList& allTags();
/// readableTags, then readableIntegerTags, then "EmbeddedCover" (19).
const QStringList& allReadableTags();

/// The readable name of an identifier of allTags; the identifier itself for others.
QString readableName(const QString& identifier);

/// The identifier of allTags whose identifier or readable name equals text, ignoring case;
/// empty when there is none.
QString identifierFor(const QString& text);

}  // namespace tessel::catalogue
