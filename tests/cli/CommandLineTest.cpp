// Reading a subcommand's arguments: the options in command-line order among the positional
// arguments, and what cannot be read refused with a message naming it.
#include "TestSupport.h"
#include "cli/CommandLine.h"

namespace tessel::cli {
namespace {

const QList<Option> kOptions{{"--set", "NAME=VALUE", {}}, {"--apply", {}, {}}, helpOption()};

// The name and the value of each option as read.
QStringList given(const CommandLine& line) {
    QStringList names;
    for (const GivenOption& option : line.options)
        names << option.name << option.value;
    return names;
}

QString usageErrorOf(const QStringList& arguments) {
    try {
        parseCommandLine(arguments, kOptions);
    } catch (const UsageError& error) {
        return error.message;
    }
    return {};
}

TEST(CommandLineTest, OptionsComeInCommandLineOrderAmongThePositionalArguments) {
    const CommandLine line =
        parseCommandLine({"first", "--set", "a=1", "--apply", "second", "--set=b=2", "-h", "--set",
                          "--apply", "--set=", "--apply", "--", "--apply", "-h"},
                         kOptions);
    EXPECT_EQ(given(line), (QStringList{"--set", "a=1", "--apply", "", "--set", "b=2", "--help", "",
                                        "--set", "--apply", "--set", "", "--apply", ""}));
    EXPECT_EQ(line.positional, (QStringList{"first", "second", "--apply", "-h"}));
}

TEST(CommandLineTest, WhatCannotBeReadIsAUsageErrorNamingIt) {
    const QStringList rows[][2] = {
        {{"--bogus"}, {"unknown argument '--bogus'"}},
        {{"--bogus=1", "x", "-q", "--apply", "--other"},
         {"unknown arguments '--bogus', '-q', '--other'"}},
        {{"--set"}, {"--set needs a value (NAME=VALUE)"}},
        {{"--set", "a=1", "--apply", "--set"}, {"--set needs a value (NAME=VALUE)"}},
        {{"--apply=1"}, {"--apply takes no value"}},
        {{"--set", "--apply=1", "--help="}, {"--help takes no value"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(usageErrorOf(row[0]), row[1].first()) << row[0].join(' ').toStdString();
}

}  // namespace
}  // namespace tessel::cli
