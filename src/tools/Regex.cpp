#include "Regex.h"
#include "foundation/IcuText.h"

#include "support/FormattedString.h"
#include "support/TesselError.h"

#include <unicode/regex.h>

namespace tessel {

namespace {

[[noreturn]] void fail(UErrorCode status, const QString& text) {
    if (status == U_REGEX_TIME_OUT || status == U_REGEX_STACK_OVERFLOW) {
        throw TesselError(kRegexTimeoutError,
                          formattedString(QStringLiteral("The regular expression took too long on "
                                                         "the value “%@” and was stopped."),
                                          text));
    }
    throw TesselError(
        QStringLiteral("Regular Expression Error"),
        formattedString(QStringLiteral("The regular expression could not be applied to the value "
                                       "“%@” (the expression library reported %@)."),
                        text, QString::fromLatin1(u_errorName(status))));
}

// A matcher over text, with the time limit set. The matcher keeps a pointer to input, which
// must outlive it.
std::unique_ptr<icu::RegexMatcher> matcherFor(const icu::RegexPattern& pattern,
                                              const icu::UnicodeString& input,
                                              const QString& text) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(pattern.matcher(input, status));
    if (U_SUCCESS(status))
        matcher->setTimeLimit(Regex::kTimeLimitSteps, status);
    if (U_FAILURE(status) || !matcher)
        fail(status, text);
    return matcher;
}

}  // namespace

Regex::Regex(std::shared_ptr<const icu::RegexPattern> pattern) : pattern_(std::move(pattern)) {}

std::optional<Regex> Regex::compile(const QString& pattern, bool caseInsensitive) {
    if (pattern.isEmpty())
        return std::nullopt;
    uint32_t flags = UREGEX_MULTILINE;
    if (caseInsensitive)
        flags |= UREGEX_CASE_INSENSITIVE;
    UParseError parseError{};
    UErrorCode status = U_ZERO_ERROR;
    std::shared_ptr<const icu::RegexPattern> compiled(
        icu::RegexPattern::compile(toIcu(pattern), flags, parseError, status));
    if (U_FAILURE(status) || !compiled)
        return std::nullopt;
    return Regex(std::move(compiled));
}

QString Regex::replaceAll(const QString& text, const QString& replacement) const {
    const icu::UnicodeString input = toIcu(text);
    const icu::UnicodeString expansion = toIcu(replacement);
    const auto matcher = matcherFor(*pattern_, input, text);
    // ICU's own replaceAll reports a timed-out match as "no more matches", so the loop is
    // written out to see the status of every search.
    icu::UnicodeString result;
    UErrorCode status = U_ZERO_ERROR;
    while (matcher->find(status) && U_SUCCESS(status))
        matcher->appendReplacement(result, expansion, status);
    if (U_FAILURE(status))
        fail(status, text);
    matcher->appendTail(result);
    return fromIcu(result);
}

QString Regex::concatenatedMatches(const QString& text) const {
    const icu::UnicodeString input = toIcu(text);
    const auto matcher = matcherFor(*pattern_, input, text);
    QString result;
    UErrorCode status = U_ZERO_ERROR;
    while (matcher->find(status) && U_SUCCESS(status)) {
        const icu::UnicodeString match = matcher->group(status);
        if (U_FAILURE(status))
            break;
        result += fromIcu(match);
    }
    if (U_FAILURE(status))
        fail(status, text);
    return result;
}

namespace {

QString groupsText(int count) {
    if (count == 0)
        return QStringLiteral("the expression has no groups");
    return count == 1 ? QStringLiteral("the expression has only 1 group")
                      : formattedString(QStringLiteral("the expression has only %i groups"), count);
}

}  // namespace

// Read as ICU reads a template: a backslash takes the next character literally; "$" takes
// the group number its first digit starts (so "$1" is fine even as "$12" with one group), or a
// group name in braces.
std::optional<QString> Regex::replacementProblem(const QString& replacement) const {
    UErrorCode counting = U_ZERO_ERROR;
    const std::unique_ptr<icu::RegexMatcher> matcher(pattern_->matcher(counting));
    const int groups = U_SUCCESS(counting) && matcher ? matcher->groupCount() : 0;
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        const QChar c = replacement.at(i);
        if (c == u'\\') {
            ++i;
            continue;
        }
        if (c != u'$')
            continue;
        const QChar next = i + 1 < replacement.size() ? replacement.at(i + 1) : QChar();
        if (next.isDigit()) {
            if (next.digitValue() > groups)
                return formattedString(QStringLiteral("“$%i” refers to group %i, but %@."),
                                       next.digitValue(), next.digitValue(), groupsText(groups));
            continue;
        }
        if (next == u'{') {
            const qsizetype close = replacement.indexOf(u'}', i + 2);
            if (close < 0)
                return QStringLiteral("a “${” is not closed by “}”.");
            const QString name = replacement.mid(i + 2, close - i - 2);
            UErrorCode status = U_ZERO_ERROR;
            pattern_->groupNumberFromName(toIcu(name), status);
            if (U_FAILURE(status))
                return formattedString(QStringLiteral("the expression has no group named “%@”."),
                                       name);
            i = close;
            continue;
        }
        return QStringLiteral(
            "a “$” must be followed by a group number or a {name}; write “\\$” for a dollar "
            "sign.");
    }
    return std::nullopt;
}

bool Regex::matchesAnywhere(const QString& text) const {
    const icu::UnicodeString input = toIcu(text);
    const auto matcher = matcherFor(*pattern_, input, text);
    UErrorCode status = U_ZERO_ERROR;
    const bool found = matcher->find(status);
    if (U_FAILURE(status))
        fail(status, text);
    return found;
}

}  // namespace tessel
