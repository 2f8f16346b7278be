#include "ChangeTableModel.h"

#include "app/AppDelegate.h"
#include "tags/TagValue.h"

#include <QDir>

#include <algorithm>

namespace tessel::gui {

QString displayedValue(const QVariant& value) {
    QString text = valueText(value);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("↵"));
    text.replace(u'\r', u'↵');
    text.replace(u'\n', u'↵');
    return text;
}

ChangeTableModel::ChangeTableModel(AppDelegate& delegate, QObject* parent)
    : QAbstractTableModel(parent), delegate_(delegate) {
    connect(&delegate_, &AppDelegate::changesChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&delegate_, &AppDelegate::recordsEnabledChanged, this,
            &ChangeTableModel::enabledChanged);
}

int ChangeTableModel::rowCount(const QModelIndex& parent) const {
    const ChangeList* list = delegate_.changes();
    return parent.isValid() || !list ? 0 : static_cast<int>(list->records.size());
}

int ChangeTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const ChangeRecord* ChangeTableModel::recordAt(int row) const {
    const ChangeList* list = delegate_.changes();
    if (!list || row < 0 || row >= list->records.size())
        return nullptr;
    return &list->records.at(row);
}

QVariant ChangeTableModel::data(const QModelIndex& index, int role) const {
    const ChangeRecord* record = recordAt(index.row());
    if (!record)
        return {};
    if (role == Qt::CheckStateRole && index.column() == Checked)
        return record->enabled ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ToolTipRole) {
        // Read only when asked: a library track looks its file up.
        const std::optional<QString> location = record->track.location();
        return location ? QDir::toNativeSeparators(*location) : tr("No file");
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
        case Title:
            return record->title;
        case Artist:
            return record->artist;
        case OldValue:
            return displayedValue(record->oldTag);
        case NewValue:
            return displayedValue(record->newTag);
        default:
            return {};
    }
}

bool ChangeTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || index.column() != Checked || !recordAt(index.row()))
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    delegate_.checkSelected({index.row()}, checked ? 1 : 0);
    return true;
}

Qt::ItemFlags ChangeTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == Checked)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant ChangeTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
        case Title:
            return tr("Title");
        case Artist:
            return tr("Artist");
        case OldValue:
            return tr("Old Value");
        case NewValue:
            return tr("New Value");
        default:
            return QString();
    }
}

void ChangeTableModel::enabledChanged(const QList<int>& rows) {
    QList<int> shown;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(shown),
                 [count = rowCount()](int row) { return row >= 0 && row < count; });
    if (shown.isEmpty())
        return;
    const auto [first, last] = std::minmax_element(shown.begin(), shown.end());
    emit dataChanged(index(*first, Checked), index(*last, Checked), {Qt::CheckStateRole});
}

}  // namespace tessel::gui
