#include "ChangeTableModel.h"

#include "app/AppDelegate.h"
#include "tags/TagCatalogue.h"
#include "tags/TagValue.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tessel::gui {

namespace {

// Rich text, so that the tooltip wraps a long value instead of running off the screen; a long
// run without a space gets a zero-width break chance every kUnbrokenRun characters, or it
// would still make one wide line.
constexpr int kUnbrokenRun = 40;
constexpr int kOneLine = 60;     // characters a tooltip shows on one line
constexpr int kWrapWidth = 480;  // pixels of a wrapped tooltip
// Diffs kept: many screens of rows, so scrolling back and forth computes none again.
constexpr int kDiffsKept = 4096;

QString wrappedToolTip(const QString& text) {
    QString breakable;
    int run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > kUnbrokenRun && !c.isLowSurrogate()) {
            breakable.append(QChar(0x200B));
            run = 1;
        }
        breakable.append(c);
    }
    // A table of a set width: left to itself, the tooltip wraps a long value into a thin column.
    if (text.size() <= kOneLine)
        return QStringLiteral("<p style='white-space:pre-wrap'>%1</p>")
            .arg(breakable.toHtmlEscaped());
    return QStringLiteral(
               "<table width='%1'><tr><td style='white-space:pre-wrap'>%2</td></tr></table>")
        .arg(kWrapWidth)
        .arg(breakable.toHtmlEscaped());
}

}  // namespace

QString displayedValue(const QVariant& value) {
    QString text = valueText(value);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("↵"));
    text.replace(u'\r', u'↵');
    text.replace(u'\n', u'↵');
    return text;
}

ChangeTableModel::ChangeTableModel(AppDelegate& delegate, QObject* parent)
    : QAbstractTableModel(parent), delegate_(delegate), diffs_(kDiffsKept) {
    connect(&delegate_, &AppDelegate::changesChanged, this, [this] {
        beginResetModel();
        locations_.clear();
        diffs_.clear();
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

bool ChangeTableModel::changesSeveralTags() const {
    const ChangeList* list = delegate_.changes();
    if (!list || list->playlist || list->records.isEmpty())
        return false;
    const QString& first = list->records.first().tagToChange;
    return std::any_of(list->records.begin(), list->records.end(),
                       [&](const ChangeRecord& record) { return record.tagToChange != first; });
}

QVariant ChangeTableModel::data(const QModelIndex& index, int role) const {
    const ChangeRecord* record = recordAt(index.row());
    if (!record)
        return {};
    switch (role) {
        case Qt::CheckStateRole:
            return index.column() == Checked
                       ? QVariant(record->enabled ? Qt::Checked : Qt::Unchecked)
                       : QVariant();
        case Qt::DisplayRole:
            return displayData(*record, index.row(), index.column());
        case Qt::ToolTipRole:
            return toolTip(*record, index.row(), index.column());
        case ChangedSpansRole:
            return QVariant::fromValue(changedSpans(*record, index.row(), index.column()));
        case SortRole:
            return index.column() == Checked ? QVariant(record->enabled)
                                             : displayData(*record, index.row(), index.column());
        default:
            return {};
    }
}

// Read once per row when first asked: a library track looks its file up, and sorting or
// filtering by file asks for every row.
QString ChangeTableModel::locationText(int row) const {
    if (locations_.size() != rowCount())
        locations_ = QList<std::optional<QString>>(rowCount());
    std::optional<QString>& cached = locations_[row];
    if (!cached) {
        const std::optional<QString> location = recordAt(row)->track.location();
        cached = location ? QDir::toNativeSeparators(*location) : QString();
    }
    return *cached;
}

QVariant ChangeTableModel::displayData(const ChangeRecord& record, int row, int column) const {
    switch (column) {
        case Title:
            return record.title;
        case Artist:
            return record.artist;
        case File:
            return QFileInfo(locationText(row)).fileName();
        case Tag:
            return record.tagToChange.isEmpty() ? QString()
                                                : catalogue::readableName(record.tagToChange);
        case OldValue:
            return displayedValue(record.oldTag);
        case NewValue:
            return displayedValue(record.newTag);
        default:
            return {};
    }
}

QVariant ChangeTableModel::toolTip(const ChangeRecord& record, int row, int column) const {
    if (column == OldValue || column == NewValue) {
        const QString value = valueText(column == OldValue ? record.oldTag : record.newTag);
        return value.isEmpty() ? QVariant() : QVariant(wrappedToolTip(value));
    }
    const QString location = locationText(row);
    return location.isEmpty() ? tr("No file") : location;
}

// Both value cells of a row mark the same diff, and a long value's diff is not cheap: it is
// computed once for the two and kept while the row is likely to be painted again.
TextDiff ChangeTableModel::valueDiff(const ChangeRecord& record, int row) const {
    if (const TextDiff* kept = diffs_.object(row))
        return *kept;
    const TextDiff diff = diffText(displayedValue(record.oldTag), displayedValue(record.newTag));
    diffs_.insert(row, new TextDiff(diff));
    return diff;
}

QList<TextSpan> ChangeTableModel::changedSpans(const ChangeRecord& record, int row,
                                               int column) const {
    if (column != OldValue && column != NewValue)
        return {};
    const TextDiff diff = valueDiff(record, row);
    const QList<TextSpan>& own = column == OldValue ? diff.removed : diff.inserted;
    const QList<TextSpan>& other = column == OldValue ? diff.inserted : diff.removed;
    // A pure insertion or deletion marks where it happened on the side that lost or lacks the
    // text: up to the first change both sides are the same, so the place is the same.
    if (own.isEmpty() && !other.isEmpty())
        return {TextSpan{other.first().start, 0}};
    return own;
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
        case File:
            return tr("File");
        case Tag:
            return tr("Tag");
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
