// Letter-case rules on text: word capitalisation, title case and proper case. Case mapping is
// Unicode's full, locale-independent mapping (ß, ǆ, Greek and Cyrillic letters map correctly,
// and the same text gives the same result on every machine).
#pragma once

#include "StringHelpers.h"

#include <QString>

namespace tessel {

/// Every word with its first letter or digit in title case and the rest of the word in lower
/// case. A word is a run of characters between white space (spaces, tabs, line terminators);
/// punctuation at its start is passed over, so "(the" gives "(The" and "12TH" gives "12th".
/// Hyphens and apostrophes do not start a word ("rock-n-roll" gives "Rock-n-roll"). Characters
/// without case stay as they are.
QString capitalizedString(const QString& text);

/// capitalizedString, then every small word of smallWords() lowered where it stands between
/// two spaces: the first and last word of the value, and a word next to punctuation, keep
/// their capital ("the sound of music" gives "The Sound of Music").
QString titlecaseString(const QString& text);

/// The first character (code point) in upper case and every other in lower case; empty text
/// stays empty ("hello WORLD" gives "Hello world").
QString propercaseString(const QString& text);

/// The 22 small words of title case, capitalised form to lower-case form, each with one space
/// before and after. The order is fixed and decides which of two adjacent small words is
/// lowered: articles come first, then "It", the prepositions and the conjunctions, so the
/// second of a pair such as "Of The" or "In A" is usually visited first and both are lowered.
const ReplacementTable& smallWords();

}  // namespace tessel
