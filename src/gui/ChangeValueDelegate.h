// Draws an old or new value of the change panel with the part the change touches marked, and,
// when the value is wider than its cell, shows the stretch around that part rather than the
// value's beginning.
#pragma once

#include "foundation/TextDiff.h"

#include "ElidedTextDelegate.h"

class QFontMetrics;

namespace tessel::gui {

/// The part of a value a cell shows: its text (with "…" where it was cut) and, for each
/// marked span, where it lies in that text.
struct ShownValue {
    QString text;
    QList<TextSpan> marked;
};

/// Fits text into width: whole when it fits; otherwise a stretch that starts a little before
/// the first marked span, cut with "…" on either side.
ShownValue shownValue(const QString& text, const QList<TextSpan>& marked,
                      const QFontMetrics& metrics, int width);

class ChangeValueDelegate : public ElidedTextDelegate {
    Q_OBJECT

  public:
    /// removal: the cells show what goes (old values) rather than what comes.
    ChangeValueDelegate(bool removal, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    /// The background of a marked span, light enough under the palette's text colour.
    static QColor markColor(bool removal);

  private:
    bool removal_;
};

}  // namespace tessel::gui
