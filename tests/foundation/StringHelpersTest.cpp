#include "TestSupport.h"
#include "foundation/StringHelpers.h"

#include <QUrl>
#include <QUrlQuery>

#include <limits>

namespace tessel {
namespace {

TEST(ClampTest, KeepsShortTextAndCutsLongText) {
    const QString text400(400, u'x');
    EXPECT_EQ(clamp(text400, 400), text400);
    EXPECT_EQ(clamp(text400 + u'y', 400), text400);
    EXPECT_EQ(clamp(QStringLiteral("Beatles"), 3), QStringLiteral("Bea"));
    EXPECT_EQ(clamp(QStringLiteral("abc"), 0), QString());
    // Counted in UTF-16 code units: a character outside the BMP is two of them.
    EXPECT_EQ(clamp(QStringLiteral("😀abc"), 2), QStringLiteral("😀"));
}

TEST(LinesTest, SplitAtEverySeparator) {
    EXPECT_EQ(lines(QStringLiteral("one\r\ntwo")), (QStringList{"one", "", "two"}));
    EXPECT_EQ(lines(QStringLiteral("a\u2028b\u0085c")), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(lines(QString()).size(), 1);
}

TEST(TrimmingTest, TrimsLettersFromEitherEnd) {
    const auto isLetter = [](QChar c) { return c.isLetter(); };
    const QString name = QStringLiteral("Equalto12ValueTransformer");
    EXPECT_EQ(trimmedLeading(name, isLetter), QStringLiteral("12ValueTransformer"));
    EXPECT_EQ(trimmedTrailing(trimmedLeading(name, isLetter), isLetter), QStringLiteral("12"));
    EXPECT_EQ(trimmedLeading(QStringLiteral("Letters"), isLetter), QString());
    EXPECT_EQ(trimmedTrailing(QStringLiteral("Letters"), isLetter), QString());
    EXPECT_EQ(trimmedTrailing(QStringLiteral("ab12"), isLetter), QStringLiteral("ab12"));
}

TEST(MultipleReplacementTest, DoesNotRescanInsertedText) {
    const ReplacementTable table{{"a", "b"}, {"b", "c"}};
    EXPECT_EQ(stringByReplacingMultipleStrings(QStringLiteral("ab"), table), QStringLiteral("bc"));
    EXPECT_EQ(stringByReplacingMultipleStrings(QStringLiteral("aaa"), {{"a", "aa"}}),
              QStringLiteral("aaaaaa"));
    EXPECT_EQ(stringByReplacingMultipleStrings(QStringLiteral("xyz"), {{"", "q"}}),
              QStringLiteral("xyz"));
}

TEST(MultipleReplacementTest, AdjacentKeysDependOnTableOrder) {
    const QString text = QStringLiteral("Out Of The Blue");
    const ReplacementTable ofFirst{{" Of ", " of "}, {" The ", " the "}};
    const ReplacementTable theFirst{{" The ", " the "}, {" Of ", " of "}};
    EXPECT_EQ(stringByReplacingMultipleStrings(text, ofFirst), QStringLiteral("Out of The Blue"));
    EXPECT_EQ(stringByReplacingMultipleStrings(text, theFirst), QStringLiteral("Out of the Blue"));
}

TEST(IntValueTest, ReadsLikeTheProgramEverywhere) {
    struct Row {
        const char* text;
        qint32 expected;
    };
    const Row rows[] = {
        {"42", 42},
        {"  \t 42abc", 42},
        {"-7", -7},
        {"+3", 3},
        {"abc", 0},
        {"", 0},
        {"1.2.3", 1},
        {"- 3", 0},
        {"99999999999999999999", 2147483647},
        {"-2147483648", std::numeric_limits<qint32>::min()},
        {"-99999999999", std::numeric_limits<qint32>::min()},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
    };
    for (const Row& row : rows)
        EXPECT_EQ(intValue(QString::fromUtf8(row.text)), row.expected) << row.text;
}

TEST(IntValueTest, ReadsValuesOfEveryKind) {
    EXPECT_EQ(intValue(QVariant()), 0);
    EXPECT_EQ(intValue(QVariant(QStringLiteral("12 bars"))), 12);
    EXPECT_EQ(intValue(QVariant(7.9)), 7);
    EXPECT_EQ(intValue(QVariant(-7.9)), -7);
    EXPECT_EQ(intValue(QVariant(qint64(1) << 40)), std::numeric_limits<qint32>::max());
    EXPECT_EQ(stringValue(QVariant(1999)), QStringLiteral("1999"));
    EXPECT_EQ(stringValue(QVariant(3.0)), QStringLiteral("3"));
    EXPECT_TRUE(stringValue(QVariant()).isNull());
}

TEST(EscapedTest, EscapesEverythingButUnreservedCharacters) {
    EXPECT_EQ(escaped(QStringLiteral("Tessel v1 & more")),
              QStringLiteral("Tessel%20v1%20%26%20more"));
    EXPECT_EQ(escaped(QStringLiteral("a=b#c%d?e/f:g@h+i")),
              QStringLiteral("a%3Db%23c%25d%3Fe%2Ff%3Ag%40h%2Bi"));
    EXPECT_EQ(escaped(QStringLiteral("x\ny\r")), QStringLiteral("x%0Ay%0D"));
    EXPECT_EQ(escaped(QStringLiteral("é😀")), QStringLiteral("%C3%A9%F0%9F%98%80"));
    EXPECT_EQ(escaped(QStringLiteral("Az09-._~")), QStringLiteral("Az09-._~"));
}

// A query value holding the address's own separators must come back whole from a URL parser.
TEST(EscapedTest, AQueryValueSurvivesAUrlParser) {
    const QString subject = QStringLiteral("Rock & Roll = 100% #1");
    const QString body = QStringLiteral("a&b=c#d%e\nsecond line é\n&body=injected");
    const QUrl url(QStringLiteral("mailto:someone@example.org?subject=") + escaped(subject) +
                       QStringLiteral("&body=") + escaped(body),
                   QUrl::StrictMode);
    ASSERT_TRUE(url.isValid()) << url.errorString().toStdString();
    EXPECT_EQ(url.path(), QStringLiteral("someone@example.org"));
    EXPECT_FALSE(url.hasFragment());
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItems().size(), 2);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), subject);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded), body);
}

TEST(StartsWithFoldedTest, IgnoresCaseAndDiacritics) {
    struct Row {
        const char* text;
        bool expected;
    };
    const Row rows[] = {
        {"Tessel_2024.txt", true}, {"TESSEL-crash", true}, {"tèssél log", true},
        {"Tessel", true},          {"Tesse", false},       {"xTessel", false},
        {"Other.txt", false},      {"Te\u0301ssel", true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(startsWithFolded(QString::fromUtf8(row.text), QStringLiteral("Tessel")),
                  row.expected)
            << row.text;
}

}  // namespace
}  // namespace tessel
