#include "EncodeCommand.h"

#include "FlagSteps.h"
#include "app/AppDelegate.h"
#include "tags/TagCatalogue.h"

namespace tessel::cli {

namespace {

// In menu order; the first name of each is the one the help shows.
const QList<QStringList> kEncodings{
    {"ascii", "us-ascii"},
    {"utf-8"},
    {"latin1", "iso-8859-1"},
    {"non-lossy-ascii", "escaped-ascii"},
    {"latin2", "iso-8859-2"},
    {"windows-1251", "cp1251"},
    {"windows-1252", "cp1252"},
    {"windows-1253", "cp1253"},
    {"windows-1254", "cp1254"},
    {"windows-1250", "cp1250"},
    {"iso-2022-jp"},
    {"mac-roman", "macintosh"},
    {"utf-16"},
    {"utf-32"},
};

}  // namespace

QString EncodeCommand::summary() const {
    return QStringLiteral("Re-read one text tag of the tracks under another character encoding.");
}

QString EncodeCommand::writesHelp() const {
    QStringList names;
    for (const QStringList& choice : kEncodings)
        names.append(choice.first());
    return ToolCommand::writesHelp() +
           QStringLiteral("\n\nENC is a number 0-13 or one of these names (in that order):\n  ") +
           names.mid(0, 7).join(QStringLiteral(", ")) + QStringLiteral(",\n  ") +
           names.mid(7).join(QStringLiteral(", ")) + u'.';
}

QList<Flag> EncodeCommand::toolFlags() const {
    return {
        {"--tag", "TAG", "the tag to change, by identifier or name (default: name)",
         [](const QString& text) {
             return tagStep("--tag", "selectedTag", catalogue::tags(), text);
         }},
        {"--from", "ENC", "the encoding that turns the text into bytes (default: ascii)",
         [](const QString& text) {
             return choiceStep("--from", "selectedEncodingFrom", kEncodings, text);
         }},
        {"--to", "ENC", "the encoding the bytes are read back with (default: ascii)",
         [](const QString& text) {
             return choiceStep("--to", "selectedEncodingTo", kEncodings, text);
         }},
    };
}

void EncodeCommand::perform(AppDelegate& delegate) const {
    delegate.performEncoding();
}

}  // namespace tessel::cli
