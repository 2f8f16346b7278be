#include "TextEncodings.h"

#include "support/TesselError.h"

#include <QList>

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>
#include <unicode/uset.h>

#include <memory>

namespace tessel {

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

struct SetCloser {
    void operator()(USet* set) const { uset_close(set); }
};
using UnicodeSet = std::unique_ptr<USet, SetCloser>;

const UChar* icuText(const QString& text) {
    return reinterpret_cast<const UChar*>(text.utf16());
}

void check(UErrorCode status, const char* what) {
    if (U_FAILURE(status)) {
        throw TesselError(
            QStringLiteral("Text Encoding Failed"),
            QStringLiteral("%1: %2").arg(QLatin1String(what), QLatin1String(u_errorName(status))));
    }
}

// The ICU converter of an encoding; for the two wide forms the one that reads them (it honours
// a byte-order mark). They are written little-endian after an explicit mark instead, so the
// bytes are the same on every machine.
const char* converterName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Ascii:
            return "US-ASCII";
        case TextEncoding::Utf8:
            return "UTF-8";
        case TextEncoding::Latin1:
            return "ISO-8859-1";
        case TextEncoding::Latin2:
            return "ISO-8859-2";
        case TextEncoding::Windows1251:
            return "windows-1251";
        case TextEncoding::Windows1252:
            return "windows-1252";
        case TextEncoding::Windows1253:
            return "windows-1253";
        case TextEncoding::Windows1254:
            return "windows-1254";
        case TextEncoding::Windows1250:
            return "windows-1250";
        case TextEncoding::Iso2022Jp:
            return "ISO-2022-JP";
        case TextEncoding::MacRoman:
            return "macintosh";
        case TextEncoding::Utf16:
            return "UTF-16";
        case TextEncoding::Utf32:
            return "UTF-32";
        case TextEncoding::NonLossyAscii:
            break;
    }
    return nullptr;
}

Converter openConverter(const char* name) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status));
    check(status, name);
    return converter;
}

// The text in the converter's encoding; absent when the converter stops at a character it
// cannot hold.
std::optional<QByteArray> fromUnicode(UConverter* converter, const QString& text) {
    const auto length = static_cast<int32_t>(text.size());
    const int32_t capacity = UCNV_GET_MAX_BYTES_FOR_STRING(length, ucnv_getMaxCharSize(converter));
    QByteArray bytes(capacity, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t written =
        ucnv_fromUChars(converter, bytes.data(), capacity, icuText(text), length, &status);
    if (status == U_INVALID_CHAR_FOUND || status == U_ILLEGAL_CHAR_FOUND)
        return std::nullopt;
    check(status, "encoding");
    bytes.truncate(written);
    return bytes;
}

QByteArray encodedWith(const char* name, const QString& text) {
    // The Unicode forms hold every character; an unpaired surrogate becomes U+FFFD.
    const std::optional<QByteArray> bytes = fromUnicode(openConverter(name).get(), text);
    check(bytes ? U_ZERO_ERROR : U_INVALID_CHAR_FOUND, name);
    return *bytes;
}

bool isAscii(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// A character the encoding cannot hold: its compatibility decomposition without marks when
// the encoding holds all of that, nothing for a lone mark, else "?".
QString nearestForm(UChar32 c, const USet* holdable) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfkd = icu::Normalizer2::getNFKDInstance(status);
    check(status, "decomposition");
    const icu::UnicodeString decomposed = nfkd->normalize(icu::UnicodeString(c), status);
    check(status, "decomposition");
    QString kept;
    for (int32_t i = 0; i < decomposed.length(); i = decomposed.moveIndex32(i, 1)) {
        const UChar32 part = decomposed.char32At(i);
        if (U_GET_GC_MASK(part) & U_GC_M_MASK)
            continue;
        if (!uset_contains(holdable, part))
            return QStringLiteral("?");
        kept.append(QString::fromUcs4(reinterpret_cast<const char32_t*>(&part), 1));
    }
    return kept;
}

QString approximated(const QString& text, UConverter* converter) {
    if (isAscii(text))  // every table encoding but the wide ones holds ASCII
        return text;
    UnicodeSet holdable(uset_openEmpty());
    UErrorCode status = U_ZERO_ERROR;
    ucnv_getUnicodeSet(converter, holdable.get(), UCNV_ROUNDTRIP_SET, &status);
    check(status, "encoding");
    QString result;
    for (const char32_t c : text.toUcs4()) {
        if (uset_contains(holdable.get(), static_cast<UChar32>(c)))
            result.append(QString::fromUcs4(&c, 1));
        else
            result.append(nearestForm(static_cast<UChar32>(c), holdable.get()));
    }
    return result;
}

std::optional<QString> toUnicode(UConverter* converter, const QByteArray& bytes) {
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    check(status, "decoding");
    // No encoding of the table gives more than two UTF-16 units for one byte.
    const auto capacity = static_cast<int32_t>(bytes.size() * 2 + 1);
    QString text(capacity, Qt::Uninitialized);
    const int32_t length =
        ucnv_toUChars(converter, reinterpret_cast<UChar*>(text.data()), capacity, bytes.constData(),
                      static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    text.truncate(length);
    return text;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<char32_t> hexNumber(const QByteArray& bytes, qsizetype from, int digits) {
    if (from + digits > bytes.size())
        return std::nullopt;
    char32_t value = 0;
    for (qsizetype i = from; i < from + digits; ++i) {
        const int digit = hexDigit(bytes.at(i));
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<char32_t>(digit);
    }
    return value;
}

// Reads the escape whose backslash is at `at`, appends what it stands for and returns the
// number of bytes it takes; 0 when it is not an escape of the form.
qsizetype readEscape(const QByteArray& bytes, qsizetype at, QString& text) {
    const char kind = at + 1 < bytes.size() ? bytes.at(at + 1) : '\0';
    if (kind == '\\') {
        text.append(u'\\');
        return 2;
    }
    if (kind == 'u') {
        const auto unit = hexNumber(bytes, at + 2, 4);
        if (!unit)
            return 0;
        text.append(QChar(static_cast<char16_t>(*unit)));
        return 6;
    }
    if (kind == 'U') {
        const auto c = hexNumber(bytes, at + 2, 8);
        if (!c || *c > 0x10FFFF || (*c >= 0xD800 && *c <= 0xDFFF))
            return 0;
        text.append(QString::fromUcs4(&*c, 1));
        return 10;
    }
    return 0;
}

QByteArray hexEscape(char prefix, char32_t value, int digits) {
    return QByteArray(1, '\\') + prefix + QByteArray::number(value, 16).rightJustified(digits, '0');
}

}  // namespace

std::optional<TextEncoding> textEncodingAt(int index) {
    if (index < 0 || index >= kTextEncodingCount)
        return std::nullopt;
    return static_cast<TextEncoding>(index);
}

QByteArray encodeLossy(const QString& text, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::NonLossyAscii:
            return nonLossyAsciiEncoded(text);
        case TextEncoding::Utf16:
            return QByteArray("\xFF\xFE", 2) + encodedWith("UTF-16LE", text);
        case TextEncoding::Utf32:
            return QByteArray("\xFF\xFE\0\0", 4) + encodedWith("UTF-32LE", text);
        case TextEncoding::Utf8:
            return encodedWith("UTF-8", text);
        default:
            break;
    }
    // Most values fit the encoding as they are; only the others are approximated.
    const Converter converter = openConverter(converterName(encoding));
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &status);
    check(status, "encoding");
    if (const auto exact = fromUnicode(converter.get(), text))
        return *exact;
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr,
                          nullptr, &status);
    ucnv_setSubstChars(converter.get(), "?", 1, &status);
    check(status, "encoding");
    const auto approximate = fromUnicode(converter.get(), approximated(text, converter.get()));
    check(approximate ? U_ZERO_ERROR : U_INVALID_CHAR_FOUND, "encoding");
    return *approximate;
}

std::optional<QString> decodeStrict(const QByteArray& bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::NonLossyAscii)
        return nonLossyAsciiDecoded(bytes);
    return toUnicode(openConverter(converterName(encoding)).get(), bytes);
}

QByteArray nonLossyAsciiEncoded(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        const bool pair =
            QChar::isHighSurrogate(unit) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        if (unit == u'\\')
            bytes.append("\\\\");
        else if (unit < 0x80)
            bytes.append(static_cast<char>(unit));
        else if (pair)
            bytes.append(hexEscape('U', QChar::surrogateToUcs4(unit, text.at(++i).unicode()), 8));
        else
            bytes.append(hexEscape('u', unit, 4));
    }
    return bytes;
}

std::optional<QString> nonLossyAsciiDecoded(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        if (byte >= 0x80)
            return std::nullopt;
        if (byte != '\\') {
            text.append(QChar(byte));
            ++i;
            continue;
        }
        const qsizetype taken = readEscape(bytes, i, text);
        if (taken == 0)
            return std::nullopt;
        i += taken;
    }
    return text;
}

}  // namespace tessel
