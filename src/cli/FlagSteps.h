// Steps for the friendly flags of the tool subcommands: an option set to a value, a tag chosen
// by its identifier or readable name, a menu choice by its number or its name, a number.
#pragma once

#include "ToolArguments.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace tessel::cli {

/// Sets the option to the value.
Step setTo(const char* option, const QVariant& value);

/// Sets the option to the position in tags (identifiers of the catalogue) of the tag named by
/// text, its identifier or its readable name in any letter case. Throws UsageError naming the
/// flag and the tags it takes.
Step tagStep(const QString& flag, const char* option, const QStringList& tags, const QString& text);

/// Sets the option to a menu position chosen by its number (0 to the count of choices - 1) or
/// by one of its names; names match without regard to case, "-", "_" and spaces. choices holds
/// the names of each position, the first shown in messages. Throws UsageError.
Step choiceStep(const QString& flag, const char* option, const QList<QStringList>& choices,
                const QString& text);

/// The first name of each choice, joined for help texts: "a|b|c".
QString choiceNames(const QList<QStringList>& choices);

/// A number typed on the command line, as the number field holds it: absent when empty.
/// Throws UsageError for text that is not a number.
QVariant numberValue(const QString& flag, const QString& text);

}  // namespace tessel::cli
