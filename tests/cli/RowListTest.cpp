#include "TestSupport.h"
#include "cli/CommandLine.h"
#include "cli/RowList.h"

namespace tessel::cli {
namespace {

QString usageErrorOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const UsageError& error) {
        return error.message;
    }
    return {};
}

QList<int> rows(const QString& list, int count) {
    return RowList::parse(list, QStringLiteral("--rows")).rowsIn(count);
}

TEST(RowListTest, ASetOfRowsEachOnceAscending) {
    EXPECT_EQ(rows("2,5-7", 7), (QList<int>{1, 4, 5, 6}));
    EXPECT_EQ(rows("3,3,1-2", 3), (QList<int>{0, 1, 2}));
    EXPECT_EQ(rows("5-7, 2 ,6-6", 7), (QList<int>{1, 4, 5, 6}));
    EXPECT_EQ(rows("3,1-2,2-3", 3), (QList<int>{0, 1, 2}));
    EXPECT_EQ(RowList().rowsIn(0), QList<int>());
}

TEST(RowListTest, ARowPastTheEndIsNamed) {
    EXPECT_EQ(usageErrorOf([] { RowList::parse("2,9", "--uncheck").rowsIn(4); }),
              QStringLiteral("--uncheck: row 9 is past the last of the 4 rows"));
    // A huge range is refused before anything is expanded.
    EXPECT_EQ(usageErrorOf([] { RowList::parse("1-2000000000", "--uncheck").rowsIn(3); }),
              QStringLiteral("--uncheck: row 2000000000 is past the last of the 3 rows"));
    EXPECT_EQ(usageErrorOf([] { rows("1,4", 3); }),
              QStringLiteral("--rows: row 4 is past the last of the 3 rows"));
}

TEST(RowListTest, WhatIsNoRowOrRangeIsRefused) {
    for (const char* bad : {"0", "5-2", "a", "", "1,,2", "-3", "3-", "1-2-3", "99999999999"}) {
        const QString error =
            usageErrorOf([&] { RowList::parse(QString::fromUtf8(bad), "--rows"); });
        EXPECT_TRUE(error.startsWith(u"--rows: '")) << bad << ": " << error.toStdString();
    }
}

}  // namespace
}  // namespace tessel::cli
