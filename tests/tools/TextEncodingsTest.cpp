#include "TestSupport.h"
#include "tools/TextEncodings.h"

namespace tessel {
namespace {

using E = TextEncoding;

TEST(TextEncodingsTest, EveryEncodingRoundTripsTextItCanHold) {
    struct Row {
        E encoding;
        QString text;
    };
    const QString wide = QStringLiteral("Ünïcödé 😀 東京 \\ \u0000 end");
    const Row rows[] = {
        {E::Ascii, "Plain, ASCII 123 ~\\"},
        {E::Utf8, wide},
        {E::Latin1, "Café Noël ÿ ©"},
        {E::NonLossyAscii, wide},
        {E::Latin2, "Łódź Žluťoučký kůň"},
        {E::Windows1251, "Москва, Київ"},
        {E::Windows1252, "Café € “quoted”"},
        {E::Windows1253, "Αθήνα"},
        {E::Windows1254, "İstanbul ğüşiöç"},
        {E::Windows1250, "Łódź Žluťoučký"},
        {E::Iso2022Jp, "東京タワー ABC"},
        {E::MacRoman, "Café ™ ƒ"},
        {E::Utf16, wide},
        {E::Utf32, wide},
    };
    ASSERT_EQ(std::size(rows), size_t(kTextEncodingCount));
    for (int i = 0; i < kTextEncodingCount; ++i) {
        const Row& row = rows[i];
        ASSERT_EQ(textEncodingAt(i), row.encoding);
        const auto back = decodeStrict(encodeLossy(row.text, row.encoding), row.encoding);
        ASSERT_TRUE(back) << i;
        EXPECT_EQ(*back, row.text) << i;
    }
    EXPECT_FALSE(textEncodingAt(-1));
    EXPECT_FALSE(textEncodingAt(kTextEncodingCount));
}

TEST(TextEncodingsTest, LossyEncodingApproximatesAndNeverFails) {
    struct Row {
        const char* name;
        E encoding;
        QString text;
        QByteArray expected;
    };
    const Row rows[] = {
        {"accents dropped", E::Ascii, "Café Noël", "Cafe Noel"},
        {"no nearer form", E::Ascii, "ß€—", "???"},
        {"ligature spelled out", E::Ascii, "ﬁne", "fine"},
        {"combining mark dropped", E::Ascii, "e\u0301!", "e!"},
        {"unpaired surrogate", E::Ascii, QString(QChar(0xD800)) + "x", "?x"},
        {"Latin-1 without the oe ligature", E::Latin1, "Œuvre é", "?uvre \xE9"},
        {"Cyrillic code page", E::Windows1251, "Жé",
         "\xC6"
         "e"},
        {"Japanese", E::Iso2022Jp, "aé東", "ae\x1B$BEl\x1B(B"},
        {"UTF-16 little-endian after its mark", E::Utf16, "a😀",
         QByteArray("\xFF\xFE"
                    "a\0"
                    "=\xD8"
                    "\0\xDE",
                    8)},
        {"UTF-32 little-endian after its mark", E::Utf32, "a",
         QByteArray("\xFF\xFE\0\0a\0\0\0", 8)},
        {"UTF-16 of empty text is the mark", E::Utf16, "", "\xFF\xFE"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(encodeLossy(row.text, row.encoding), row.expected) << row.name;
}

TEST(TextEncodingsTest, StrictDecodingRefusesInvalidBytes) {
    struct Row {
        const char* name;
        E encoding;
        QByteArray bytes;
        std::optional<QString> expected;
    };
    const Row rows[] = {
        {"high byte in ASCII", E::Ascii, "caf\xC3\xA9", std::nullopt},
        {"broken UTF-8", E::Utf8, "caf\xE9", std::nullopt},
        {"UTF-8 surrogate", E::Utf8, "\xED\xA0\x80", std::nullopt},
        {"odd UTF-16 length", E::Utf16,
         "\xFF\xFE"
         "a",
         std::nullopt},
        {"unpaired UTF-16 surrogate", E::Utf16, QByteArray("\xD8\0\0a", 4), std::nullopt},
        {"UTF-32 beyond Unicode", E::Utf32, QByteArray("\0\x11\0\0", 4), std::nullopt},
        {"high byte in ISO-2022-JP", E::Iso2022Jp, "\xC3", std::nullopt},
        {"UTF-16 without a mark is big-endian", E::Utf16, QByteArray("\0a\0b", 4), "ab"},
        {"UTF-16 big-endian mark", E::Utf16, QByteArray("\xFE\xFF\0a", 4), "a"},
        {"UTF-32 without a mark is big-endian", E::Utf32, QByteArray("\0\0\0a", 4), "a"},
        {"Latin-1 takes every byte", E::Latin1, "\xC3\xA9", "Ã©"},
        {"empty", E::Utf8, "", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(decodeStrict(row.bytes, row.encoding), row.expected) << row.name;
}

TEST(TextEncodingsTest, NonLossyFormEscapesWithBackslashes) {
    const QString text = QStringLiteral("é\\😀x") + QChar(0xDC00);
    const QByteArray escaped = "\\u00e9\\\\\\U0001f600x\\udc00";
    EXPECT_EQ(nonLossyAsciiEncoded(text), escaped);
    EXPECT_EQ(nonLossyAsciiDecoded(escaped), text);
    EXPECT_EQ(nonLossyAsciiDecoded("\\u00C9\\U0001F600"), QStringLiteral("É😀"));
    EXPECT_EQ(nonLossyAsciiDecoded("\\ud83d\\ude00"), QStringLiteral("😀"));

    const QByteArray invalid[] = {"caf\xC3\xA9", "C:\\Music",   "\\u12",      "\\u12g4",
                                  "end\\",       "\\U00110000", "\\U0000D800"};
    for (const QByteArray& bytes : invalid)
        EXPECT_FALSE(nonLossyAsciiDecoded(bytes)) << bytes.toStdString();
}

}  // namespace
}  // namespace tessel
