// Which characters of a value a change touches: the parts of the old text that go and the
// parts of the new text that come, for showing a change with its edited part marked.
#pragma once

#include <QList>
#include <QString>

namespace tessel {

/// A run of UTF-16 code units of a text: its first position and its length.
struct TextSpan {
    int start = 0;
    int length = 0;
    bool operator==(const TextSpan&) const = default;
};

struct TextDiff {
    QList<TextSpan> removed;   // in the old text, ascending
    QList<TextSpan> inserted;  // in the new text, ascending
};

/// A character diff of before and after. The common beginning and end are never marked;
/// between them the longest common subsequence decides, and changes separated by fewer than
/// three unchanged characters are marked as one. A middle too long to compare character by
/// character is marked whole. Spans never split a surrogate pair.
TextDiff diffText(const QString& before, const QString& after);

}  // namespace tessel
