// The rows of the change panel: one per record of the controller's open change list, with its
// checkbox, title, artist, old and new value, and the track's location as the tooltip.
#pragma once

#include <QAbstractTableModel>

namespace tessel {
class AppDelegate;
struct ChangeRecord;
}  // namespace tessel

namespace tessel::gui {

class ChangeTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { Checked, Title, Artist, OldValue, NewValue, ColumnCount };

    explicit ChangeTableModel(AppDelegate& delegate, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    /// The checkbox checks or unchecks its record through the controller.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const ChangeRecord* recordAt(int row) const;
    void enabledChanged(const QList<int>& rows);

    AppDelegate& delegate_;
};

/// A value as the panel shows it: its text on one line, line breaks shown as ↵.
QString displayedValue(const QVariant& value);

}  // namespace tessel::gui
