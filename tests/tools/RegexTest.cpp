#include "TestSupport.h"
#include "support/TesselError.h"
#include "tools/Regex.h"

#include <QElapsedTimer>

namespace tessel {
namespace {

TEST(RegexTest, RefusesEmptyAndInvalidPatterns) {
    EXPECT_FALSE(Regex::compile(QString(), false));
    EXPECT_FALSE(Regex::compile(QStringLiteral("("), false));
    EXPECT_FALSE(Regex::compile(QStringLiteral("[a-"), true));
    EXPECT_TRUE(Regex::compile(QStringLiteral("(a)"), false));
}

TEST(RegexTest, ReplacesWithGroupsEscapesAndLineAnchors) {
    const auto swap = Regex::compile(QStringLiteral("^(.*) - (.*)$"), false);
    ASSERT_TRUE(swap);
    EXPECT_EQ(swap->replaceAll(QStringLiteral("Artist - Title"), QStringLiteral("$2 - $1")),
              QStringLiteral("Title - Artist"));
    EXPECT_EQ(swap->replaceAll(QStringLiteral("a - b\nc - d"), QStringLiteral("$2/$1")),
              QStringLiteral("b/a\nd/c"));
    const auto brackets = Regex::compile(QStringLiteral("(.*)\\[(.*)\\](.*)"), false);
    EXPECT_EQ(brackets->replaceAll(QStringLiteral("Song [Live] 2"), QStringLiteral("$1($2)$3")),
              QStringLiteral("Song (Live) 2"));
    const auto digits = Regex::compile(QStringLiteral("\\d+"), false);
    EXPECT_EQ(digits->replaceAll(QStringLiteral("a1b22"), QStringLiteral("\\$")),
              QStringLiteral("a$b$"));
    EXPECT_EQ(digits->concatenatedMatches(QStringLiteral("Track 01 of 12")),
              QStringLiteral("0112"));
    EXPECT_EQ(digits->concatenatedMatches(QStringLiteral("none")), QString());
}

TEST(RegexTest, ATemplateIsCheckedAgainstTheGroupsOfItsExpression) {
    const auto one = Regex::compile(QStringLiteral("(X)"), false);
    const auto named = Regex::compile(QStringLiteral("(?<word>\\w+) (\\d)"), false);
    const auto none = Regex::compile(QStringLiteral("X"), false);
    ASSERT_TRUE(one && named && none);
    // Every template ICU would take passes; every one it would refuse has its reason in words.
    const struct {
        const Regex& regex;
        const char* replacement;
        const char* problem;  // empty: usable
    } rows[] = {
        {*one, "$0 $1 \\$2 costs \\$5", ""},
        {*one, "$12", ""},  // group 1, then the digit 2
        {*one, "", ""},
        {*one, "$2", "“$2” refers to group 2, but the expression has only 1 group."},
        {*one, "price: $",
         "a “$” must be followed by a group number or a {name}; write “\\$” "
         "for a dollar sign."},
        {*one, "$x",
         "a “$” must be followed by a group number or a {name}; write “\\$” for a "
         "dollar sign."},
        {*named, "${word}-$2", ""},
        {*named, "${other}", "the expression has no group named “other”."},
        {*named, "${word", "a “${” is not closed by “}”."},
        {*none, "$1", "“$1” refers to group 1, but the expression has no groups."},
    };
    for (const auto& row : rows) {
        const auto problem = row.regex.replacementProblem(QString::fromUtf8(row.replacement));
        EXPECT_EQ(problem.value_or(QString()), QString::fromUtf8(row.problem)) << row.replacement;
        if (problem)  // what ICU itself makes of it: an error, never a value
            EXPECT_THROW(
                row.regex.replaceAll(QStringLiteral("X y 1"), QString::fromUtf8(row.replacement)),
                TesselError)
                << row.replacement;
        else
            EXPECT_NO_THROW(
                row.regex.replaceAll(QStringLiteral("X y 1"), QString::fromUtf8(row.replacement)))
                << row.replacement;
    }
}

TEST(RegexTest, CaseInsensitivityIsAnOption) {
    EXPECT_FALSE(
        Regex::compile(QStringLiteral("intro"), false)->matchesAnywhere(QStringLiteral("INTRO")));
    EXPECT_TRUE(
        Regex::compile(QStringLiteral("intro"), true)->matchesAnywhere(QStringLiteral("INTRO")));
    EXPECT_TRUE(Regex::compile(QStringLiteral("^Intro"), true)
                    ->matchesAnywhere(QStringLiteral("x\nintro")));
    EXPECT_EQ(Regex::compile(QStringLiteral("é"), true)
                  ->replaceAll(QStringLiteral("CAFÉ"), QStringLiteral("e")),
              QStringLiteral("CAFe"));
}

TEST(RegexTest, RunawayPatternsAreStoppedNotHung) {
    const auto runaway = Regex::compile(QStringLiteral("(a+)+$"), false);
    ASSERT_TRUE(runaway);
    const QString hostile = QString(40, u'a') + u'!';
    QElapsedTimer timer;
    timer.start();
    try {
        runaway->replaceAll(hostile, QStringLiteral("x"));
        ADD_FAILURE() << "the runaway match was not stopped";
    } catch (const TesselError& error) {
        EXPECT_EQ(error.name(), kRegexTimeoutError);
        EXPECT_TRUE(error.reason().contains(hostile));
    }
    EXPECT_THROW(runaway->matchesAnywhere(hostile), TesselError);
    EXPECT_LT(timer.elapsed(), 60000);
}

}  // namespace
}  // namespace tessel
