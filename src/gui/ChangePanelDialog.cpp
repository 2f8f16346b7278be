#include "ChangePanelDialog.h"

#include "ChangeTableModel.h"
#include "ChangeValueDelegate.h"
#include "ElidedTextDelegate.h"
#include "SheetPlacement.h"
#include "ShownChangesModel.h"
#include "WindowMemory.h"
#include "app/AppDelegate.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace tessel::gui {

namespace {

// The rows marked, ascending.
QList<int> markedRows(const std::vector<bool>& marked) {
    QList<int> rows;
    for (size_t row = 0; row < marked.size(); ++row) {
        if (marked[row])
            rows.append(int(row));
    }
    return rows;
}

}  // namespace

ChangePanelDialog::ChangePanelDialog(AppDelegate& delegate, QWidget* parent)
    : QDialog(parent),
      delegate_(delegate),
      model_(new ChangeTableModel(delegate, this)),
      shown_(new ShownChangesModel(model_, ChangeTableModel::SortRole, ChangeTableModel::Checked,
                                   this)),
      info_(new QLabel),
      note_(new QLabel),
      table_(new QTableView),
      filter_(new QLineEdit),
      check_(new QPushButton(tr("C&heck Selected"))),
      uncheck_(new QPushButton(tr("&Uncheck Selected"))),
      checkAll_(new QPushButton(tr("Check A&ll"))),
      uncheckAll_(new QPushButton(tr("Unchec&k All"))),
      cancel_(new QPushButton(tr("Cancel"))),
      apply_(new QPushButton(tr("&Apply"))) {
    setWindowTitle(tr("Proposed Changes"));
    setWindowModality(Qt::WindowModal);
    info_->setWordWrap(true);
    info_->setTextFormat(Qt::PlainText);
    note_->setWordWrap(true);
    note_->setTextFormat(Qt::PlainText);
    note_->setEnabled(false);  // drawn in the quieter colour of secondary text
    setUpTable();
    // The columns as the user left them last time (the list's own order is never remembered).
    if (const QByteArray columns = WindowMemory().changePanelColumns(); !columns.isEmpty())
        table_->horizontalHeader()->restoreState(columns);

    auto* column = new QVBoxLayout(this);
    column->addWidget(info_);
    column->addWidget(note_);
    column->addLayout(filterRow());
    column->addWidget(table_, 1);
    column->addLayout(buttonRow());
    resize(960, 520);
}

// Fixed row heights and no content-sized columns: the view then only ever looks at the rows
// on screen, so lists of many thousand changes scroll smoothly. The view shows the list through
// a sorting and filtering proxy; the list itself keeps its order.
void ChangePanelDialog::setUpTable() {
    table_->setModel(shown_);
    table_->installEventFilter(this);
    table_->viewport()->installEventFilter(this);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setAlternatingRowColors(true);
    table_->setTextElideMode(Qt::ElideMiddle);
    for (const int column : {ChangeTableModel::Title, ChangeTableModel::Artist,
                             ChangeTableModel::File, ChangeTableModel::Tag})
        table_->setItemDelegateForColumn(column, new ElidedTextDelegate(this));
    table_->setItemDelegateForColumn(ChangeTableModel::OldValue,
                                     new ChangeValueDelegate(true, this));
    table_->setItemDelegateForColumn(ChangeTableModel::NewValue,
                                     new ChangeValueDelegate(false, this));
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder);  // the list's own order until a header is clicked
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(ChangeTableModel::Checked, QHeaderView::Fixed);
    header->resizeSection(ChangeTableModel::Checked, 32);
    header->resizeSection(ChangeTableModel::Title, 150);
    header->resizeSection(ChangeTableModel::Artist, 120);
    header->resizeSection(ChangeTableModel::File, 140);
    header->resizeSection(ChangeTableModel::Tag, 90);
    header->resizeSection(ChangeTableModel::OldValue, 200);
    header->resizeSection(ChangeTableModel::NewValue, 200);
    header->setStretchLastSection(false);
}

QLayout* ChangePanelDialog::filterRow() {
    filter_->setPlaceholderText(tr("Title, artist, file or value"));
    filter_->setClearButtonEnabled(true);
    connect(filter_, &QLineEdit::textChanged, this, &ChangePanelDialog::filterRows);
    auto* label = new QLabel(tr("&Filter:"));
    label->setBuddy(filter_);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(filter_, 1);
    return row;
}

QLayout* ChangePanelDialog::buttonRow() {
    connect(check_, &QPushButton::clicked, this, [this] { checkSelected(1); });
    connect(uncheck_, &QPushButton::clicked, this, [this] { checkSelected(0); });
    connect(checkAll_, &QPushButton::clicked, this,
            [this] { delegate_.checkSelected(shownRows(), 1); });
    connect(uncheckAll_, &QPushButton::clicked, this,
            [this] { delegate_.checkSelected(shownRows(), 0); });
    checkAll_->setToolTip(tr("Checks every row the filter shows"));
    uncheckAll_->setToolTip(tr("Unchecks every row the filter shows"));
    connect(cancel_, &QPushButton::clicked, this, &ChangePanelDialog::reject);
    connect(apply_, &QPushButton::clicked, &delegate_, &AppDelegate::applyChanges);
    check_->setAutoDefault(false);
    uncheck_->setAutoDefault(false);
    checkAll_->setAutoDefault(false);
    uncheckAll_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    apply_->setDefault(true);

    auto* row = new QHBoxLayout;
    row->addWidget(check_);
    row->addWidget(uncheck_);
    row->addWidget(checkAll_);
    row->addWidget(uncheckAll_);
    row->addStretch(1);
    row->addWidget(cancel_);
    row->addWidget(apply_);
    return row;
}

void ChangePanelDialog::present(const QString& infoLine, const QString& noteLine,
                                bool valueColumnsVisible) {
    info_->setText(infoLine);
    note_->setText(noteLine);
    note_->setVisible(!noteLine.isEmpty());
    table_->setColumnHidden(ChangeTableModel::OldValue, !valueColumnsVisible);
    table_->setColumnHidden(ChangeTableModel::NewValue, !valueColumnsVisible);
    table_->setColumnHidden(ChangeTableModel::Tag, !model_->changesSeveralTags());
    fillWidth();
    filter_->clear();
    table_->sortByColumn(-1, Qt::AscendingOrder);
    table_->clearSelection();
    table_->scrollToTop();
    apply_->setFocus();
    placeAsSheet(this, parentWidget());
    open();
}

void ChangePanelDialog::dismiss() {
    WindowMemory().setChangePanelColumns(table_->horizontalHeader()->saveState());
    QDialog::done(Accepted);
}

void ChangePanelDialog::reject() {
    delegate_.cancelChanges(true);
}

// Read from the selection's ranges (rows are selected whole): asking the selection model for
// its selected rows looks at every cell of every row, which with all of 100,000 rows selected
// takes longer than the check itself.
QList<int> ChangePanelDialog::selectedRows() const {
    std::vector<bool> selected(size_t(model_->rowCount()), false);
    for (const QItemSelectionRange& range : table_->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            selected[size_t(shown_->mapToSource(shown_->index(row, 0)).row())] = true;
    }
    return markedRows(selected);
}

QList<int> ChangePanelDialog::shownRows() const {
    std::vector<bool> shown(size_t(model_->rowCount()), false);
    for (int row = 0; row < shown_->rowCount(); ++row)
        shown[size_t(shown_->mapToSource(shown_->index(row, 0)).row())] = true;
    return markedRows(shown);
}

void ChangePanelDialog::filterRows(const QString& text) {
    std::vector<bool> selected(size_t(model_->rowCount()), false);
    for (int row : selectedRows())
        selected[size_t(row)] = true;
    const QModelIndex current = shown_->mapToSource(table_->currentIndex());
    shown_->setFilterText(text);
    // Runs of selected rows go back as one range each, not row by row.
    QItemSelection reselected;
    const int lastColumn = shown_->columnCount() - 1;
    for (int row = 0; row < shown_->rowCount();) {
        if (!selected[size_t(shown_->mapToSource(shown_->index(row, 0)).row())]) {
            ++row;
            continue;
        }
        const int first = row;
        while (row < shown_->rowCount() &&
               selected[size_t(shown_->mapToSource(shown_->index(row, 0)).row())])
            ++row;
        reselected.append(
            QItemSelectionRange(shown_->index(first, 0), shown_->index(row - 1, lastColumn)));
    }
    table_->selectionModel()->select(reselected, QItemSelectionModel::ClearAndSelect);
    const QModelIndex stillCurrent = shown_->mapFromSource(current);
    if (stillCurrent.isValid())
        table_->selectionModel()->setCurrentIndex(stillCurrent, QItemSelectionModel::NoUpdate);
}

// The columns fill the table's width: what is spare or missing goes to both values alike (the
// title when they are hidden), not only to the column that happens to be last.
void ChangePanelDialog::fillWidth() {
    QHeaderView* header = table_->horizontalHeader();
    const int spare = table_->viewport()->width() - header->length();
    if (spare == 0)
        return;
    QList<int> columns{ChangeTableModel::OldValue, ChangeTableModel::NewValue};
    if (table_->isColumnHidden(ChangeTableModel::OldValue))
        columns = {ChangeTableModel::Title};
    for (int i = 0; i < columns.size(); ++i) {
        const int share = spare / int(columns.size()) + (i == 0 ? spare % int(columns.size()) : 0);
        header->resizeSection(columns[i], std::max(80, header->sectionSize(columns[i]) + share));
    }
}

void ChangePanelDialog::checkSelected(int tag) {
    delegate_.checkSelected(selectedRows(), tag);
}

// Space flips the selected rows together: all checked when the first of them is unchecked,
// all unchecked otherwise.
bool ChangePanelDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_->viewport() && event->type() == QEvent::Resize) {
        fillWidth();
    }
    if (watched != table_ || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QList<int> rows = selectedRows();
    if (key->key() != Qt::Key_Space || key->modifiers() != Qt::NoModifier || rows.isEmpty())
        return QDialog::eventFilter(watched, event);
    const QModelIndex first = model_->index(rows.first(), ChangeTableModel::Checked);
    checkSelected(first.data(Qt::CheckStateRole).toInt() == Qt::Checked ? 0 : 1);
    return true;
}

}  // namespace tessel::gui
