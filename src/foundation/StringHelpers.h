// Text helpers that carry real rules. Plain Qt operations are called directly elsewhere.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace tessel {

/// One key → value pair of a multi-replacement table; the table's order is the iteration order.
using ReplacementTable = QList<QPair<QString, QString>>;

/// The first n UTF-16 code units of text, or the whole text when it is not longer than n.
QString clamp(const QString& text, qsizetype n);

/// The pieces between line-break characters (LF, VT, FF, CR, NEL, LS, PS), each one a
/// separator of its own, so CR LF yields an empty piece between them. Empty text is one line.
QStringList lines(const QString& text);

/// The text from its first character for which inSet is false; empty when there is none.
template <typename Pred>
QString trimmedLeading(const QString& text, Pred inSet) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!inSet(text.at(i)))
            return text.mid(i);
    }
    return {};
}

/// The text up to and including its last character for which inSet is false; empty when none.
template <typename Pred>
QString trimmedTrailing(const QString& text, Pred inSet) {
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (!inSet(text.at(i)))
            return text.left(i + 1);
    }
    return {};
}

/// Replaces every key of the table by its value without re-scanning inserted text: a marking
/// pass tags each occurrence of each key with a marker, then replacing passes turn tagged keys
/// into their values until a pass changes nothing. Pairs with an empty key are skipped.
QString stringByReplacingMultipleStrings(const QString& text, const ReplacementTable& table);

/// The integer reading used across the program: skip leading white space, one optional sign,
/// then decimal digits up to the first other character; no digits gives 0; values beyond the
/// signed 32-bit range give the nearest limit.
qint32 intValue(const QString& text);

/// A value that is text or a number as text: a number gives its decimal digits, absent gives
/// an empty (null) text.
QString stringValue(const QVariant& value);

/// The integer value of a tag value: a number's integer part, a text's leading integer
/// (see intValue), absent gives 0.
qint32 intValue(const QVariant& value);

/// The text trimmed and ending in a full stop, so a reason reads as a sentence inside a
/// message; one ending in ".", "!" or "?" keeps its ending, empty text stays empty.
QString sentence(const QString& text);

/// One piece of an address (a query value such as a mail subject or body) with every character
/// but letters, digits and "-", ".", "_", "~" percent-escaped as UTF-8. Reserved characters are
/// escaped too, so a "&", "=" or "#" inside the piece stays part of it; join the escaped
/// pieces with the address's own ":", "?", "&" and "=".
QString escaped(const QString& text);

/// True when text begins with prefix, compared without regard to case and diacritics
/// ("TÉSSEL log" begins with "tessel").
bool startsWithFolded(const QString& text, const QString& prefix);

}  // namespace tessel
