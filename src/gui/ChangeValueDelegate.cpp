#include "ChangeValueDelegate.h"

#include "ChangeTableModel.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace tessel::gui {

namespace {

const QString kEllipsis = QStringLiteral("…");

// Spans of text moved to a stretch that starts at from and holds length code units, behind
// a prefix of prefixLength.
QList<TextSpan> spansWithin(const QList<TextSpan>& marked, int from, int length, int prefixLength) {
    QList<TextSpan> shown;
    for (const TextSpan& span : marked) {
        const int start = std::max(span.start, from);
        const int end = std::min(span.start + span.length, from + length);
        // An empty span (where text went) is kept as a place to mark.
        const bool place = span.length == 0 && span.start >= from && span.start <= from + length;
        if (end > start || place)
            shown.append({start - from + prefixLength, std::max(0, end - start)});
    }
    return shown;
}

// Moves a cut off the second half of a surrogate pair.
int characterStart(const QString& text, int at) {
    return at > 0 && at < text.size() && text.at(at).isLowSurrogate() ? at - 1 : at;
}

}  // namespace

// Every measurement shapes the text it measures, and a scroll paints a screenful of new cells
// per frame: the widest stretches are found by halving rather than by measuring every length
// (a stretch grows no narrower as it takes in more characters, so halving finds the same
// stretch), and only near the change. A cell of width pixels shows fewer than 2 × width
// characters (characters without width are rare), so the rest of a long value, such as lyrics,
// is never measured.
ShownValue shownValue(const QString& text, const QList<TextSpan>& marked,
                      const QFontMetrics& metrics, int width) {
    const int reach = 2 * std::max(width, 1);
    if (text.size() <= reach && metrics.horizontalAdvance(text) <= width)
        return {text, marked};
    // A third of the cell for what comes before the change, so its beginning reads in context:
    // the earliest start whose stretch up to the change still fits in that third.
    const int changeStart = marked.isEmpty() ? 0 : int(marked.first().start);
    const int lead = width / 3;
    // Cuts go between whole characters only; half a surrogate pair measures as a box.
    int low = std::max(0, changeStart - reach), high = changeStart;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const int start = characterStart(text, middle);
        if (metrics.horizontalAdvance(text.mid(start, changeStart - start)) <= lead)
            high = middle;
        else
            low = middle + 1;
    }
    const int from = characterStart(text, low);
    const QString prefix = from > 0 ? kEllipsis : QString();
    const int room =
        width - metrics.horizontalAdvance(prefix) - metrics.horizontalAdvance(kEllipsis);
    // The longest stretch from there that fits in the room left beside the ellipses.
    low = 0, high = std::min(int(text.size()) - from, reach);
    while (low < high) {
        const int middle = high - (high - low) / 2;
        if (metrics.horizontalAdvance(text.mid(from, characterStart(text, from + middle) - from)) <=
            room)
            low = middle;
        else
            high = middle - 1;
    }
    const int length = characterStart(text, from + low) - from;
    const bool cutAtEnd = from + length < text.size();
    return {prefix + text.mid(from, length) + (cutAtEnd ? kEllipsis : QString()),
            spansWithin(marked, from, length, int(prefix.size()))};
}

ChangeValueDelegate::ChangeValueDelegate(bool removal, QObject* parent)
    : ElidedTextDelegate(parent), removal_(removal) {}

QColor ChangeValueDelegate::markColor(bool removal) {
    // Translucent, so the mark tints the row's own background on light and dark palettes alike.
    QColor color = removal ? QColor(230, 60, 60) : QColor(40, 180, 80);
    color.setAlpha(90);
    return color;
}

void ChangeValueDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const auto [item, text, area] = drawEmptyCell(painter, option, index);
    const auto marked = index.data(ChangeTableModel::ChangedSpansRole).value<QList<TextSpan>>();
    const ShownValue shown = shownValue(text, marked, item.fontMetrics, area.width());
    painter->save();
    painter->setClipRect(area);
    for (const TextSpan& span : shown.marked) {
        const int left = item.fontMetrics.horizontalAdvance(shown.text.left(span.start));
        const int wide =
            item.fontMetrics.horizontalAdvance(shown.text.mid(span.start, span.length));
        painter->fillRect(
            QRect(area.left() + left, area.top() + 2, std::max(wide, 2), area.height() - 4),
            markColor(removal_));
    }
    const bool selected = item.state & QStyle::State_Selected;
    painter->setPen(item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(item.font);
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown.text);
    painter->restore();
}

}  // namespace tessel::gui
