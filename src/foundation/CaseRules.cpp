#include "CaseRules.h"
#include "IcuText.h"

#include <unicode/locid.h>
#include <unicode/stringoptions.h>

namespace tessel {

namespace {

// One word: ICU titlecases the first letter, digit or symbol (leading punctuation is passed
// over) and lowers everything after it.
QString capitalizedWord(QStringView word) {
    icu::UnicodeString mapped = toIcu(word);
    mapped.toTitle(nullptr, icu::Locale::getRoot(), U_TITLECASE_WHOLE_STRING);
    return fromIcu(mapped);
}

// The length of the first character in UTF-16 code units: a surrogate pair is one character.
qsizetype firstCharacterLength(const QString& text) {
    if (text.size() >= 2 && text.at(0).isHighSurrogate() && text.at(1).isLowSurrogate())
        return 2;
    return text.isEmpty() ? 0 : 1;
}

}  // namespace

QString capitalizedString(const QString& text) {
    QString result;
    result.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype end = i;
        while (end < text.size() && !text.at(end).isSpace())
            ++end;
        if (end == i) {
            result.append(text.at(i++));
            continue;
        }
        result.append(capitalizedWord(QStringView(text).mid(i, end - i)));
        i = end;
    }
    return result;
}

QString titlecaseString(const QString& text) {
    return stringByReplacingMultipleStrings(capitalizedString(text), smallWords());
}

QString propercaseString(const QString& text) {
    const qsizetype first = firstCharacterLength(text);
    return text.left(first).toUpper() + text.mid(first).toLower();
}

const ReplacementTable& smallWords() {
    // Words that usually come second in a pair ("Of The", "In A", "To It") are visited before
    // those that usually come first, so both words of such a pair are lowered.
    static const ReplacementTable table = [] {
        static const char* const words[] = {"The", "A",  "An",  "It",  "To",  "Of", "In", "On",
                                            "At",  "By", "For", "Via", "Up",  "En", "V",  "Vs",
                                            "As",  "If", "And", "Or",  "Nor", "But"};
        ReplacementTable pairs;
        for (const char* word : words) {
            const QString key = u' ' + QString::fromLatin1(word) + u' ';
            pairs.append({key, key.toLower()});
        }
        return pairs;
    }();
    return table;
}

}  // namespace tessel
