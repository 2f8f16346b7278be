// The change panel: a sheet over the main window with the info line and the table of
// proposed changes, where rows are checked and unchecked before applying. The table can be
// sorted and filtered; that only changes what is shown, never which records are applied nor
// their order. Cancel (or Escape) discards the list.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace tessel {
class AppDelegate;
}

namespace tessel::gui {

class ChangeTableModel;
class ShownChangesModel;

class ChangePanelDialog : public QDialog {
    Q_OBJECT

  public:
    ChangePanelDialog(AppDelegate& delegate, QWidget* parent);

    /// Opens the sheet over the controller's change list.
    void present(const QString& infoLine, const QString& noteLine, bool valueColumnsVisible);
    /// Closes the sheet and leaves the list to the controller.
    void dismiss();

    QLabel* infoLine() const { return info_; }
    /// What the tool passed over, under the info line; hidden when nothing was.
    QLabel* noteLine() const { return note_; }
    QTableView* table() const { return table_; }
    QPushButton* checkButton() const { return check_; }
    QPushButton* uncheckButton() const { return uncheck_; }
    QPushButton* checkAllButton() const { return checkAll_; }
    QPushButton* uncheckAllButton() const { return uncheckAll_; }
    QLineEdit* filterField() const { return filter_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* cancelButton() const { return cancel_; }

    /// The user's Cancel: the controller drops the list.
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    /// The list's rows (not the view's) of the selected rows, ascending.
    QList<int> selectedRows() const;
    /// The list's rows of every row the filter lets through, ascending.
    QList<int> shownRows() const;
    void setUpTable();
    QLayout* filterRow();
    QLayout* buttonRow();
    /// Checks (tag 1) or unchecks (tag 0) the selected rows; Space flips them.
    void checkSelected(int tag);
    /// Shows the rows the filter text lets through; the selected ones that stay shown stay
    /// selected.
    void filterRows(const QString& text);
    /// Gives the table's spare width (or takes what is missing) to the two value columns.
    void fillWidth();

    AppDelegate& delegate_;
    ChangeTableModel* model_;
    ShownChangesModel* shown_;
    QLabel* info_;
    QLabel* note_;
    QTableView* table_;
    QLineEdit* filter_;
    QPushButton* check_;
    QPushButton* uncheck_;
    QPushButton* checkAll_;
    QPushButton* uncheckAll_;
    QPushButton* cancel_;
    QPushButton* apply_;
};

}  // namespace tessel::gui
