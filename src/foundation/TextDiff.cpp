#include "TextDiff.h"

#include <algorithm>
#include <vector>

namespace tessel {

namespace {

// Beyond this many cells the comparison table costs more than the marking is worth.
constexpr qsizetype kMaxTableCells = 250'000;
// Changes closer than this are read as one edit.
constexpr int kJoinGap = 3;

// A changed block: [oldStart, oldEnd) of the old middle became [newStart, newEnd) of the new.
struct Block {
    int oldStart, oldEnd, newStart, newEnd;
};

int commonPrefix(QStringView a, QStringView b) {
    const auto limit = std::min(a.size(), b.size());
    qsizetype i = 0;
    while (i < limit && a[i] == b[i])
        ++i;
    return static_cast<int>(i);
}

int commonSuffix(QStringView a, QStringView b) {
    const auto limit = std::min(a.size(), b.size());
    qsizetype i = 0;
    while (i < limit && a[a.size() - 1 - i] == b[b.size() - 1 - i])
        ++i;
    return static_cast<int>(i);
}

// lengths[i][j]: the longest common subsequence of a[i..] and b[j..].
std::vector<int> suffixLcs(QStringView a, QStringView b) {
    const auto n = a.size(), m = b.size();
    std::vector<int> lengths((n + 1) * (m + 1), 0);
    for (auto i = n - 1; i >= 0; --i) {
        for (auto j = m - 1; j >= 0; --j) {
            const auto at = i * (m + 1) + j;
            lengths[at] = a[i] == b[j] ? lengths[at + m + 2] + 1
                                       : std::max(lengths[at + m + 1], lengths[at + 1]);
        }
    }
    return lengths;
}

// Walks the table from the start, turning each run of non-matching steps into a block.
QList<Block> changedBlocks(QStringView a, QStringView b) {
    QList<Block> blocks;
    if (a.size() * b.size() > kMaxTableCells || a.isEmpty() || b.isEmpty()) {
        blocks.append({0, int(a.size()), 0, int(b.size())});
        return blocks;
    }
    const std::vector<int> lengths = suffixLcs(a, b);
    const auto m = b.size();
    int i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        if (i < a.size() && j < b.size() && a[i] == b[j]) {
            ++i, ++j;
            continue;
        }
        Block block{i, i, j, j};
        while ((i < a.size() || j < b.size()) && !(i < a.size() && j < b.size() && a[i] == b[j])) {
            const bool drop = j == b.size() || (i < a.size() && lengths[(i + 1) * (m + 1) + j] >=
                                                                    lengths[i * (m + 1) + j + 1]);
            drop ? ++i : ++j;
        }
        block.oldEnd = i, block.newEnd = j;
        blocks.append(block);
    }
    return blocks;
}

QList<Block> joinClose(const QList<Block>& blocks) {
    QList<Block> joined;
    for (const Block& block : blocks) {
        if (!joined.isEmpty() && block.oldStart - joined.last().oldEnd < kJoinGap) {
            joined.last().oldEnd = block.oldEnd;
            joined.last().newEnd = block.newEnd;
        } else {
            joined.append(block);
        }
    }
    return joined;
}

// Widens [start, end) of text so that it holds both halves of any surrogate pair it touches.
TextSpan wholeCharacters(const QString& text, int start, int end) {
    if (start > 0 && text.at(start).isLowSurrogate())
        --start;
    if (end > 0 && end < text.size() && text.at(end - 1).isHighSurrogate())
        ++end;
    return {start, end - start};
}

void addSpan(QList<TextSpan>& spans, const QString& text, int start, int end) {
    if (end <= start)
        return;
    const TextSpan span = wholeCharacters(text, start, end);
    if (!spans.isEmpty() && spans.last().start + spans.last().length >= span.start) {
        TextSpan& last = spans.last();
        last.length = std::max(last.start + last.length, span.start + span.length) - last.start;
        return;
    }
    spans.append(span);
}

}  // namespace

TextDiff diffText(const QString& before, const QString& after) {
    TextDiff diff;
    const int prefix = commonPrefix(before, after);
    const int suffix =
        commonSuffix(QStringView(before).mid(prefix), QStringView(after).mid(prefix));
    const QStringView a = QStringView(before).mid(prefix, before.size() - prefix - suffix);
    const QStringView b = QStringView(after).mid(prefix, after.size() - prefix - suffix);
    if (a.isEmpty() && b.isEmpty())
        return diff;
    for (const Block& block : joinClose(changedBlocks(a, b))) {
        addSpan(diff.removed, before, prefix + block.oldStart, prefix + block.oldEnd);
        addSpan(diff.inserted, after, prefix + block.newStart, prefix + block.newEnd);
    }
    return diff;
}

}  // namespace tessel
