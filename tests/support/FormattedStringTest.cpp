#include "TestSupport.h"
#include "support/FormattedString.h"

namespace tessel {
namespace {

TEST(FormattedStringTest, FillsEveryPlaceholderTheProgramUses) {
    EXPECT_EQ(formattedString(QStringLiteral("%i/%i - %@"), 3, 12, QStringLiteral("Song")),
              QStringLiteral("3/12 - Song"));
    EXPECT_EQ(formattedString(QStringLiteral("%i/%lu "), 5, qulonglong(12)),
              QStringLiteral("5/12 "));
    EXPECT_EQ(formattedString(QStringLiteral("%d %li %ld %lu"), -1, qint64(1) << 40, -2, 7u),
              QStringLiteral("-1 1099511627776 -2 7"));
    EXPECT_EQ(formattedString(QStringLiteral("%.2f MB, %.1f, %0.1f"), 3.14159, 2.24, 9.96),
              QStringLiteral("3.14 MB, 2.2, 10.0"));
    EXPECT_EQ(formattedString(QStringLiteral("100%% of %s"), QStringLiteral("it")),
              QStringLiteral("100% of it"));
    EXPECT_EQ(formattedString(QStringLiteral("%@ %i"), QStringLiteral("Build:"), 345),
              QStringLiteral("Build: 345"));
    EXPECT_EQ(formattedString(QStringLiteral("%p"), quintptr(255)), QStringLiteral("0xff"));
}

TEST(FormattedStringTest, KeepsUnicodeAndOddFormatsIntact) {
    EXPECT_EQ(
        formattedString(
            QStringLiteral("Checked tracks of these %li tracks will get their tag '%@' changed:"),
            qint64(25), QStringLiteral("artist")),
        QStringLiteral("Checked tracks of these 25 tracks will get their tag 'artist' changed:"));
    EXPECT_EQ(formattedString(QStringLiteral("„%@“ – %@"), QStringLiteral("Ümlaut"),
                              QStringLiteral("日本")),
              QStringLiteral("„Ümlaut“ – 日本"));
    // Missing values and unknown placeholders are copied as they stand.
    EXPECT_EQ(formattedString(QStringLiteral("%@ and %@"), QStringLiteral("one")),
              QStringLiteral("one and %@"));
    EXPECT_EQ(formattedString(QStringLiteral("50%"), 1), QStringLiteral("50%"));
    EXPECT_EQ(formattedString(QStringLiteral("%@"), QVariant()), QString());
    EXPECT_EQ(formattedString(QStringLiteral("%@"), 12), QStringLiteral("12"));
}

}  // namespace
}  // namespace tessel
