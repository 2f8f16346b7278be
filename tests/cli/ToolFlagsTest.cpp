// The friendly flags of capitalize, move, encode and numeric: each sets the option the
// controller reads, by number or by name, and refuses what it cannot take.
#include "TestSupport.h"
#include "app/AppDelegate.h"
#include "cli/CapitalizeCommand.h"
#include "cli/EncodeCommand.h"
#include "cli/MoveCommand.h"
#include "cli/NumericCommand.h"
#include "cli/SearchReplaceCommand.h"

namespace tessel::cli {
namespace {

const ToolCommand& command(const QString& name) {
    static const CapitalizeCommand capitalize;
    static const MoveCommand move;
    static const EncodeCommand encode;
    static const NumericCommand numeric;
    static const SearchReplaceCommand searchReplace;
    for (const ToolCommand* tool : std::initializer_list<const ToolCommand*>{
             &capitalize, &move, &encode, &numeric, &searchReplace}) {
        if (tool->name() == name)
            return *tool;
    }
    throw std::invalid_argument(name.toStdString());
}

class ToolFlagsTest : public test::TesselTest {
  protected:
    ToolFlagsTest() : delegate(nullptr, presenter()) {}

    void apply(const QString& tool, const QStringList& arguments) {
        const ToolCommand& parser = command(tool);
        for (const Step& step :
             parseToolArguments(arguments, parser.toolFlags(), parser.sharedFlags()).steps)
            step(delegate);
    }

    QString usageErrorOf(const QString& tool, const QStringList& arguments) {
        try {
            apply(tool, arguments);
        } catch (const UsageError& error) {
            return error.message;
        }
        return {};
    }

    AppDelegate delegate;
};

TEST_F(ToolFlagsTest, FlagsSetTheOptionsByNumberOrName) {
    struct Row {
        const char* tool;
        QStringList arguments;
        const char* option;
        QVariant expected;
    };
    const Row rows[] = {
        {"capitalize", {"--tag", "Album Artist"}, "selectedTag", 7},
        {"capitalize", {"--method", "upper"}, "selectedCapitalizationMethod", 1},
        {"capitalize", {"--method", "Sentence"}, "selectedCapitalizationMethod", 4},
        {"capitalize", {"--method", "3"}, "selectedCapitalizationMethod", 3},
        {"move", {"--action", "copy"}, "selectedAction", 1},
        {"move", {"--action", "0"}, "selectedAction", 0},
        {"move", {"--from", "year"}, "selectedTag", 12},
        {"move", {"--from", "cover"}, "selectedTag", 18},
        {"move", {"--from", "Play Count"}, "selectedTag", 8},
        {"move", {"--to", "comment"}, "selectedTargetTag", 5},
        {"move", {"--portion", "except-first"}, "selectedPortion", 2},
        {"move", {"--portion", "Except_First"}, "selectedPortion", 2},
        {"move", {"--portion", "regex"}, "selectedPortion", 3},
        {"move", {"--portion", "1"}, "selectedPortion", 1},
        {"move", {"--count", "3"}, "portionString", QStringLiteral("3")},
        {"move", {"--regex", "\\d+"}, "searchString", QStringLiteral("\\d+")},
        {"move", {"--case-sensitive"}, "caseInsensitive", false},
        {"move", {"--placement", "prepend"}, "selectedOption", 2},
        {"move", {"--placement", "append"}, "selectedOption", 1},
        {"move", {"--delimiter", " - "}, "delimiterString", QStringLiteral(" - ")},
        {"encode", {"--tag", "genre"}, "selectedTag", 4},
        {"encode", {"--from", "ascii"}, "selectedEncodingFrom", 0},
        {"encode", {"--from", "utf-8"}, "selectedEncodingFrom", 1},
        {"encode", {"--from", "UTF8"}, "selectedEncodingFrom", 1},
        {"encode", {"--from", "iso-8859-1"}, "selectedEncodingFrom", 2},
        {"encode", {"--from", "non-lossy-ascii"}, "selectedEncodingFrom", 3},
        {"encode", {"--to", "iso-8859-2"}, "selectedEncodingTo", 4},
        {"encode", {"--to", "windows-1251"}, "selectedEncodingTo", 5},
        {"encode", {"--to", "cp1252"}, "selectedEncodingTo", 6},
        {"encode", {"--to", "windows-1250"}, "selectedEncodingTo", 9},
        {"encode", {"--to", "ISO-2022-JP"}, "selectedEncodingTo", 10},
        {"encode", {"--to", "mac-roman"}, "selectedEncodingTo", 11},
        {"encode", {"--to", "utf-16"}, "selectedEncodingTo", 12},
        {"encode", {"--to", "13"}, "selectedEncodingTo", 13},
        {"numeric", {"--tag", "year"}, "selectedNumericTag", 4},
        {"numeric", {"--tag", "Total Discs"}, "selectedNumericTag", 9},
        {"numeric", {"--set-to", "2000"}, "numericString", 2000.0},
        {"numeric", {"--add", "2.5"}, "numericString", 2.5},
        {"numeric", {"--subtract", "-3"}, "numericString", -3.0},
        {"numeric", {"--add", ""}, "numericString", QVariant()},
        {"numeric", {"--set", "numericString=7"}, "numericString", 7.0},
    };
    for (const Row& row : rows) {
        const std::string name = row.arguments.join(' ').toStdString();
        ASSERT_EQ(usageErrorOf(row.tool, row.arguments), QString()) << name;
        EXPECT_EQ(delegate.property(row.option), row.expected) << name;
    }
}

TEST_F(ToolFlagsTest, TheNumberFlagsChooseWhatIsDoneWithTheNumber) {
    const QPair<const char*, int> flags[] = {{"--set-to", 0}, {"--add", 1}, {"--subtract", 2}};
    for (const auto& [flag, change] : flags) {
        delegate.setProperty("selectedNumeric", 9);
        apply("numeric", {flag, "4"});
        EXPECT_EQ(delegate.property("selectedNumeric"), change) << flag;
    }
    apply("numeric", {"--add", "1", "--subtract", "2"});  // the last one wins
    EXPECT_EQ(delegate.property("selectedNumeric"), 2);
    EXPECT_EQ(delegate.property("numericString"), 2.0);
}

TEST_F(ToolFlagsTest, WhatAFlagCannotTakeIsAUsageError) {
    struct Row {
        const char* tool;
        QStringList arguments;
        QString error;  // how the message starts
    };
    const Row rows[] = {
        {"capitalize", {"--method", "5"}, "--method: '5' is not one of title, upper"},
        {"capitalize", {"--method", "-1"}, "--method: '-1' is not one of"},
        {"capitalize", {"--method", "titles"}, "--method: 'titles' is not one of"},
        {"capitalize", {"--tag", "year"}, "--tag: 'year' is not one of name (Title)"},
        {"move", {"--action", "move"}, "--action: 'move' is not one of swap, copy (or 0-1)"},
        {"move", {"--to", "year"}, "--to: 'year' is not one of name (Title)"},
        {"move", {"--from", "nosuch"}, "--from: 'nosuch' is not one of name (Title)"},
        {"move", {"--portion", "4"}, "--portion: '4' is not one of whole, first"},
        {"move", {"--placement", "%0 middle"}, "--placement: '%0 middle' is not one of replace"},
        {"encode", {"--to", "utf-7"}, "--to: 'utf-7' is not one of ascii, utf-8, latin1"},
        {"encode", {"--from", "14"}, "--from: '14' is not one of"},
        {"numeric", {"--tag", "name"}, "--tag: 'name' is not one of playedCount (Play Count)"},
        {"numeric", {"--add", "x"}, "--add: 'x' is not a number"},
        {"search-replace", {"--preset", "-1"}, "--preset: '-1' is not one of 0-5"},
        {"search-replace", {"--preset", "6"}, "--preset: '6' is not one of 0-5"},
        // The numeric tool always works on the library's selection and writes at once.
        {"numeric", {"--folder", "music"}, "unknown argument '--folder'"},
        {"numeric", {"--playlist", "Rock"}, "unknown argument '--playlist'"},
        {"numeric", {"--selection"}, "unknown argument '--selection'"},
        {"numeric", {"--apply"}, "unknown argument '--apply'"},
        {"numeric", {"--uncheck", "1"}, "unknown argument '--uncheck'"},
    };
    for (const Row& row : rows) {
        const QString error = usageErrorOf(row.tool, row.arguments);
        EXPECT_TRUE(error.startsWith(row.error))
            << row.arguments.join(' ').toStdString() << ": " << error.toStdString();
    }
    EXPECT_EQ(usageErrorOf("move", {"--portion", "4"}),
              "--portion: '4' is not one of whole, first, except-first, regex (or 0-3)");
}

}  // namespace
}  // namespace tessel::cli
