// Draws a text cell of the change panel on one line, cut with "…" as the view's elide mode
// says. The style's own drawing lays the whole text out as a paragraph before cutting it, which
// in a scroll through a long list is a good part of every frame.
#pragma once

#include <QStyledItemDelegate>

namespace tessel::gui {

class ElidedTextDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  protected:
    /// A cell drawn without its text (background, selection, focus, check box), and the text
    /// with the area left for it.
    struct EmptyCell {
        QStyleOptionViewItem item;
        QString text;
        QRect textArea;
    };
    EmptyCell drawEmptyCell(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const;
};

}  // namespace tessel::gui
