// What the change panel's table shows of the list: its rows sorted and filtered as the user
// asks, while the list itself keeps its order. Made for lists of a hundred thousand rows:
// a sort compares numbers ranked once per column instead of collating two texts on every
// comparison, and a new filter text rebuilds the view in one go instead of removing and
// inserting every stretch of rows one signal at a time.
#pragma once

#include <QSortFilterProxyModel>

#include <vector>

namespace tessel::gui {

class ShownChangesModel : public QSortFilterProxyModel {
    Q_OBJECT

  public:
    /// The list's model goes in as the source; sortRole and checkColumn say what to sort by
    /// (text in collation order) and which column sorts by its check state instead.
    ShownChangesModel(QAbstractItemModel* changes, int sortRole, int checkColumn,
                      QObject* parent = nullptr);

    /// Shows the rows with the text (any case) in any column's displayed text; an empty text
    /// shows every row. The view is reset: its selection is the caller's to restore.
    void setFilterText(const QString& text);
    const QString& filterText() const { return filterText_; }

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

  private:
    /// Each row's place in the collation order of the column's sort text (equal texts share
    /// a place), worked out when the column is first sorted by.
    const std::vector<int>& ranks(int column) const;

    int sortRole_;
    int checkColumn_;
    QString filterText_;
    mutable std::vector<std::vector<int>> ranks_;  // by column; empty until sorted by
};

}  // namespace tessel::gui
