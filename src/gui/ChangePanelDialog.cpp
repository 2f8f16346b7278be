#include "ChangePanelDialog.h"

#include "ChangeTableModel.h"
#include "SheetPlacement.h"
#include "app/AppDelegate.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace tessel::gui {

ChangePanelDialog::ChangePanelDialog(AppDelegate& delegate, QWidget* parent)
    : QDialog(parent),
      delegate_(delegate),
      model_(new ChangeTableModel(delegate, this)),
      info_(new QLabel),
      note_(new QLabel),
      table_(new QTableView),
      check_(new QPushButton(tr("C&heck Selected"))),
      uncheck_(new QPushButton(tr("&Uncheck Selected"))),
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

    auto* column = new QVBoxLayout(this);
    column->addWidget(info_);
    column->addWidget(note_);
    column->addWidget(table_, 1);
    column->addLayout(buttonRow());
    resize(820, 480);
}

// Fixed row heights and no content-sized columns: the view then only ever looks at the rows
// on screen, so lists of many thousand changes scroll smoothly.
void ChangePanelDialog::setUpTable() {
    table_->setModel(model_);
    table_->installEventFilter(this);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setAlternatingRowColors(true);
    table_->setTextElideMode(Qt::ElideMiddle);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(ChangeTableModel::Checked, QHeaderView::Fixed);
    header->resizeSection(ChangeTableModel::Checked, 32);
    header->resizeSection(ChangeTableModel::Title, 180);
    header->resizeSection(ChangeTableModel::Artist, 140);
    header->resizeSection(ChangeTableModel::OldValue, 200);
    header->setStretchLastSection(true);
}

QLayout* ChangePanelDialog::buttonRow() {
    connect(check_, &QPushButton::clicked, this, [this] { checkSelected(1); });
    connect(uncheck_, &QPushButton::clicked, this, [this] { checkSelected(0); });
    connect(cancel_, &QPushButton::clicked, this, &ChangePanelDialog::reject);
    connect(apply_, &QPushButton::clicked, &delegate_, &AppDelegate::applyChanges);
    check_->setAutoDefault(false);
    uncheck_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    apply_->setDefault(true);

    auto* row = new QHBoxLayout;
    row->addWidget(check_);
    row->addWidget(uncheck_);
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
    table_->clearSelection();
    table_->scrollToTop();
    apply_->setFocus();
    placeAsSheet(this, parentWidget());
    open();
}

void ChangePanelDialog::dismiss() {
    QDialog::done(Accepted);
}

void ChangePanelDialog::reject() {
    delegate_.cancelChanges(true);
}

QList<int> ChangePanelDialog::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ChangePanelDialog::checkSelected(int tag) {
    delegate_.checkSelected(selectedRows(), tag);
}

// Space flips the selected rows together: all checked when the first of them is unchecked,
// all unchecked otherwise.
bool ChangePanelDialog::eventFilter(QObject* watched, QEvent* event) {
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
