#include "ElidedTextDelegate.h"

#include <QApplication>
#include <QPainter>

namespace tessel::gui {

ElidedTextDelegate::EmptyCell ElidedTextDelegate::drawEmptyCell(QPainter* painter,
                                                                const QStyleOptionViewItem& option,
                                                                const QModelIndex& index) const {
    EmptyCell cell{option, {}, {}};
    initStyleOption(&cell.item, index);
    cell.text = cell.item.text;
    cell.item.text.clear();
    const QStyle* style = cell.item.widget ? cell.item.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell.item, painter, cell.item.widget);
    cell.textArea = style->subElementRect(QStyle::SE_ItemViewItemText, &cell.item, cell.item.widget)
                        .adjusted(3, 0, -3, 0);
    return cell;
}

void ElidedTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const auto [item, text, area] = drawEmptyCell(painter, option, index);
    const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : item.state & QStyle::State_Active   ? QPalette::Normal
                                                                             : QPalette::Inactive;
    const bool selected = item.state & QStyle::State_Selected;
    painter->save();
    painter->setClipRect(area);
    painter->setPen(
        item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(item.font);
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      item.fontMetrics.elidedText(text, item.textElideMode, area.width()));
    painter->restore();
}

}  // namespace tessel::gui
