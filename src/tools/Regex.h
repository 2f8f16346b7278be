// ICU regular expressions over QString's UTF-16, as the tools use them: anchors always match
// at line starts and ends, letter case optionally ignored, and every match bounded by a time
// limit so a pathological pattern cannot hang a run.
#pragma once

#include <QString>

#include <memory>
#include <optional>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class RegexPattern;
U_NAMESPACE_END

namespace tessel {

class Regex {
  public:
    /// The compiled expression; absent when the pattern is empty or does not compile.
    static std::optional<Regex> compile(const QString& pattern, bool caseInsensitive);

    /// Every match, left to right, replaced by the expanded template ($0–$9 insert the match
    /// and its groups; a backslash takes the next character literally).
    QString replaceAll(const QString& text, const QString& replacement) const;

    /// The text of every match, in order of position, with nothing between.
    QString concatenatedMatches(const QString& text) const;

    /// True when the expression matches anywhere in text.
    bool matchesAnywhere(const QString& text) const;

    /// Why the replacement template cannot be used with this expression, in words: a "$"
    /// followed by neither a group number nor "{name}", a group the expression does not have;
    /// absent when it can be used.
    std::optional<QString> replacementProblem(const QString& replacement) const;

    /// The matcher's time limit, in ICU match steps (on the order of milliseconds each).
    static constexpr int kTimeLimitSteps = 3000;

  private:
    explicit Regex(std::shared_ptr<const icu::RegexPattern> pattern);

    std::shared_ptr<const icu::RegexPattern> pattern_;
};

/// The name of the error a match stopped by the time limit raises (reason: the value).
inline const QString kRegexTimeoutError = QStringLiteral("Regular Expression Too Slow");

}  // namespace tessel
