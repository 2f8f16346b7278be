// The rows of the change panel: one per record of the controller's open change list, with its
// checkbox, title, artist, file, tag, old and new value. The title, artist and file show the
// track's location as their tooltip; a value shows itself whole.
#pragma once

#include "foundation/TextDiff.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QList>

#include <optional>

namespace tessel {
class AppDelegate;
struct ChangeRecord;
}  // namespace tessel

namespace tessel::gui {

class ChangeTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { Checked, Title, Artist, File, Tag, OldValue, NewValue, ColumnCount };
    enum Role {
        /// The spans of a value cell that the change touches (QList<TextSpan>).
        ChangedSpansRole = Qt::UserRole + 1,
        /// What a column sorts by: the checkbox sorts checked rows apart.
        SortRole,
    };

    explicit ChangeTableModel(AppDelegate& delegate, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    /// The checkbox checks or unchecks its record through the controller.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// Whether the open list changes more than one tag (then the Tag column is worth showing).
    bool changesSeveralTags() const;

  private:
    const ChangeRecord* recordAt(int row) const;
    QVariant displayData(const ChangeRecord& record, int row, int column) const;
    QVariant toolTip(const ChangeRecord& record, int row, int column) const;
    /// The track's file at row, native separators; empty when it has none.
    QString locationText(int row) const;
    QList<TextSpan> changedSpans(const ChangeRecord& record, int row, int column) const;
    /// The diff of the record's old and new value, computed when a row is first painted.
    TextDiff valueDiff(const ChangeRecord& record, int row) const;
    void enabledChanged(const QList<int>& rows);

    AppDelegate& delegate_;
    mutable QList<std::optional<QString>> locations_;  // per row, read when first asked
    mutable QCache<int, TextDiff> diffs_;              // by row, for the rows lately painted
};

/// A value as the panel shows it: its text on one line, line breaks shown as ↵.
QString displayedValue(const QVariant& value);

}  // namespace tessel::gui

Q_DECLARE_METATYPE(QList<tessel::TextSpan>)
