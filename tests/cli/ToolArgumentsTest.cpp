#include "TestSupport.h"
#include "app/AppDelegate.h"
#include "cli/SearchReplaceCommand.h"
#include "cli/TerminalPresenter.h"
#include "cli/ToolArguments.h"

#include <QDir>

namespace tessel::cli {
namespace {

class ToolArgumentsTest : public test::TesselTest {
  protected:
    ToolArgumentsTest() : delegate(nullptr, presenter()) {}

    // Applies the parsed steps, as the subcommand does after start-up.
    void apply(const QStringList& arguments, const QList<Flag>& flags = {}) {
        for (const Step& step : parseToolArguments(arguments, flags).steps)
            step(delegate);
    }

    QVariant option(const char* name) const { return delegate.property(name); }

    static QString usageErrorOf(const std::function<void()>& parse) {
        try {
            parse();
        } catch (const UsageError& error) {
            return error.message;
        }
        return {};
    }

    AppDelegate delegate;
};

TEST_F(ToolArgumentsTest, SetReadsEachOptionByItsType) {
    struct Row {
        const char* assignment;
        const char* option;
        QVariant expected;
    };
    const Row rows[] = {
        {"selectedTag=3", "selectedTag", 3},
        {"selectedPlaylist=-1", "selectedPlaylist", -1},
        {"caseInsensitive=false", "caseInsensitive", false},
        {"useRegular=1", "useRegular", true},
        {"useRegular=TRUE", "useRegular", true},
        {"searchString=a=b", "searchString", QStringLiteral("a=b")},
        {"replaceString=", "replaceString", QStringLiteral("")},
        {"folderPath=/music/rock", "folderPath", QUrl::fromLocalFile("/music/rock")},
        {"numericString=2.5", "numericString", 2.5},
        {"numericString=", "numericString", QVariant()},
    };
    for (const Row& row : rows) {
        optionSetting(QString::fromUtf8(row.assignment))(delegate);
        EXPECT_EQ(option(row.option), row.expected) << row.assignment;
    }
    optionSetting(QStringLiteral("folderPath=music"))(delegate);
    EXPECT_EQ(option("folderPath"), QUrl::fromLocalFile(QDir::current().filePath("music")));
}

TEST_F(ToolArgumentsTest, SetRefusesWhatIsNotAnOptionValue) {
    for (const char* bad :
         {"selectedTag=x", "selectedTag=1.5", "caseInsensitive=yes", "nosuch=1", "tags=name",
          "playlists=a", "searchString", "=1", "numericString=abc"}) {
        EXPECT_FALSE(usageErrorOf([&] { optionSetting(QString::fromUtf8(bad)); }).isEmpty()) << bad;
    }
}

TEST_F(ToolArgumentsTest, RunFlags) {
    const ToolArguments parsed =
        parseToolArguments({"--apply", "--json", "--uncheck", "2,4-5", "--answer=3", "--library",
                            "lib.sqlite", "--selection"},
                           {});
    EXPECT_TRUE(parsed.apply);
    EXPECT_TRUE(parsed.json);
    EXPECT_FALSE(parsed.help);
    EXPECT_EQ(parsed.answer, 3);
    EXPECT_EQ(parsed.library, QDir::current().filePath("lib.sqlite"));
    EXPECT_EQ(parsed.uncheck.rowsIn(5), (QList<int>{1, 3, 4}));
    ASSERT_EQ(parsed.steps.size(), 1);
    parsed.steps.first()(delegate);
    EXPECT_EQ(option("selectedMethod"), 2);
}

TEST_F(ToolArgumentsTest, ToolFlagsAndSetApplyInCommandLineOrder) {
    const QList<Flag> flags = SearchReplaceCommand().toolFlags();
    apply({"--search", "a", "--set", "searchString=b"}, flags);
    EXPECT_EQ(option("searchString"), QStringLiteral("b"));
    apply({"--set", "searchString=b", "--search=a", "--replace", ""}, flags);
    EXPECT_EQ(option("searchString"), QStringLiteral("a"));
    EXPECT_EQ(option("replaceString"), QStringLiteral(""));

    apply({"--preset", "3", "--search", "x", "--case-sensitive"}, flags);
    EXPECT_EQ(option("searchString"), QStringLiteral("x"));
    EXPECT_EQ(option("replaceString"), QStringLiteral("$1, The"));
    EXPECT_EQ(option("useRegular"), true);
    EXPECT_EQ(option("caseInsensitive"), false);

    const QPair<const char*, int> tags[] = {{"Album Artist", 7}, {"title", 0}, {"COMMENT", 5}};
    for (const auto& [text, index] : tags) {
        apply({"--tag", text}, flags);
        EXPECT_EQ(option("selectedTag"), index) << text;
    }
    EXPECT_TRUE(usageErrorOf([&] { apply({"--tag", "year"}, flags); }).startsWith("--tag: 'year'"));
}

TEST_F(ToolArgumentsTest, UsageErrors) {
    const QStringList expected[][2] = {
        {{"loose"}, {"unknown argument 'loose'"}},
        {{"--answer", "4"}, {"--answer: the button must be 1, 2 or 3"}},
        {{"--regex"}, {"unknown argument '--regex'"}},
        {{"--library", ""}, {"--library: the file name is empty"}},
    };
    for (const auto& row : expected) {
        EXPECT_EQ(usageErrorOf([&] { parseToolArguments(row[0], {}); }), row[1].first())
            << row[0].join(' ').toStdString();
    }
}

}  // namespace
}  // namespace tessel::cli
