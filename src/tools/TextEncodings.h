// The fourteen text encodings of the encoding converter: text turned into bytes and bytes read
// back as text. Encoding never fails (what an encoding cannot hold is approximated);
// decoding fails on bytes that are not valid in the encoding.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tessel {

/// In menu order: the number of each is its position in both encoding menus.
enum class TextEncoding : int {
    Ascii,  // US-ASCII, 7 bits
    Utf8,
    Latin1,         // ISO 8859-1
    NonLossyAscii,  // 7 bits, other characters as backslash escapes (below)
    Latin2,         // ISO 8859-2
    Windows1251,    // Cyrillic
    Windows1252,    // Western
    Windows1253,    // Greek
    Windows1254,    // Turkish
    Windows1250,    // Central European
    Iso2022Jp,
    MacRoman,
    Utf16,  // with a byte-order mark
    Utf32,  // with a byte-order mark
};

inline constexpr int kTextEncodingCount = 14;

/// The encoding at a menu position; absent outside 0 to 13.
std::optional<TextEncoding> textEncodingAt(int index);

/// The text as bytes in the encoding. A character the encoding cannot hold becomes its nearest
/// form without accents or other marks when the encoding holds that ("é" gives "e", "ﬁ" gives
/// "fi"), else "?"; a combining mark alone is dropped. UTF-16 and UTF-32 start with a
/// byte-order mark and are little-endian; an unpaired surrogate becomes U+FFFD.
QByteArray encodeLossy(const QString& text, TextEncoding encoding);

/// The bytes read as text in the encoding; absent when they are not valid in it (bytes above
/// 127 in ASCII, a broken UTF-8 sequence, a truncated UTF-16 unit, an unknown escape).
/// UTF-16 and UTF-32 honour a byte-order mark and drop it; without one they are big-endian.
std::optional<QString> decodeStrict(const QByteArray& bytes, TextEncoding encoding);

/// The non-lossy 7-bit form: ASCII characters stand for themselves except the backslash,
/// written "\\"; every other UTF-16 unit of the basic plane is "\uXXXX" and every character
/// beyond it "\UXXXXXXXX" (hexadecimal digits, written in lower case, read in either case).
/// Decoding the encoded form gives the text back exactly, unpaired surrogates included.
QByteArray nonLossyAsciiEncoded(const QString& text);
std::optional<QString> nonLossyAsciiDecoded(const QByteArray& bytes);

}  // namespace tessel
