#include "TestSupport.h"
#include "foundation/TextDiff.h"

namespace tessel {
namespace {

using Spans = QList<TextSpan>;

struct DiffRow {
    const char* name;
    QString before;
    QString after;
    Spans removed;
    Spans inserted;
};

TEST(TextDiffTest, MarksOnlyTheEditedParts) {
    const DiffRow rows[] = {
        {"same text", "Hello World", "Hello World", {}, {}},
        {"replacement in the middle", "The Long Road", "The Short Road", {{4, 4}}, {{4, 5}}},
        {"insertion only", "Song", "Song (Live)", {}, {{4, 7}}},
        {"deletion only", "01 Song", "Song", {{0, 3}}, {}},
        {"two far apart edits stay apart",
         "hello big world",
         "Hello big World",
         {{0, 1}, {10, 1}},
         {{0, 1}, {10, 1}}},
        {"close edits read as one", "abcdef", "aXcYef", {{1, 3}}, {{1, 3}}},
        {"everything new", "", "New", {}, {{0, 3}}},
        {"everything gone", "Old", "", {{0, 3}}, {}},
        {"surrogate pair kept whole", "a\U0001F600b", "a\U0001F601b", {{1, 2}}, {{1, 2}}},
    };
    for (const auto& row : rows) {
        const TextDiff diff = diffText(row.before, row.after);
        EXPECT_EQ(diff.removed, row.removed) << row.name;
        EXPECT_EQ(diff.inserted, row.inserted) << row.name;
    }
}

TEST(TextDiffTest, LongValuesStayExactAndCheap) {
    const QString left(100, u'x'), right(100, u'y');
    const TextDiff middle = diffText(left + "Beatles" + right, left + "Stones" + right);
    ASSERT_EQ(middle.removed.size(), 1);
    EXPECT_GE(middle.removed.first().start, 100);
    EXPECT_LE(middle.removed.first().start + middle.removed.first().length, 107);

    // Two unrelated long texts are too much to compare one by one: marked whole.
    QString a, b;
    for (int i = 0; i < 2000; ++i) {
        a.append(QChar(u'a' + i % 26));
        b.append(QChar(u'A' + i % 26));
    }
    const TextDiff whole = diffText(a, b);
    EXPECT_EQ(whole.removed, (Spans{{0, 2000}}));
    EXPECT_EQ(whole.inserted, (Spans{{0, 2000}}));
}

}  // namespace
}  // namespace tessel
