#include "ShownChangesModel.h"

#include <QCollator>
#include <QCollatorSortKey>

#include <algorithm>
#include <numeric>

namespace tessel::gui {

namespace {
// The characters of a text that go into its sort key.
constexpr int kKeyLength = 256;
}  // namespace

ShownChangesModel::ShownChangesModel(QAbstractItemModel* changes, int sortRole, int checkColumn,
                                     QObject* parent)
    : QSortFilterProxyModel(parent), sortRole_(sortRole), checkColumn_(checkColumn) {
    setSourceModel(changes);
    setSortRole(sortRole);
    // A row stays where it is when its checkbox is clicked, even when sorted by the checkbox.
    setDynamicSortFilter(false);
    const auto forgetRanks = [this] { ranks_.clear(); };
    connect(changes, &QAbstractItemModel::modelReset, this, forgetRanks);
    connect(changes, &QAbstractItemModel::rowsInserted, this, forgetRanks);
    connect(changes, &QAbstractItemModel::rowsRemoved, this, forgetRanks);
    connect(changes, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                if (topLeft.column() != checkColumn_ || bottomRight.column() != checkColumn_)
                    ranks_.clear();
            });
}

// Removing the rows a new text hides stretch by stretch costs time for every stretch, in the
// view and in the proxy's own row lists (a filter that keeps every fourth row of 100,000 made
// 25,000 of them, each a pass over the lists); the rows shown are worked out afresh instead,
// filtered and in the sort order, and the view reset once. The selection goes with the reset.
void ShownChangesModel::setFilterText(const QString& text) {
    if (text == filterText_)
        return;
    beginResetModel();
    {
        const QSignalBlocker quiet(this);
        filterText_ = text;
        invalidate();
    }
    endResetModel();
}

bool ShownChangesModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (filterText_.isEmpty())
        return true;
    const QAbstractItemModel* changes = sourceModel();
    for (int column = 0; column < changes->columnCount(sourceParent); ++column) {
        const QVariant shown = changes->index(sourceRow, column, sourceParent).data();
        if (shown.toString().contains(filterText_, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool ShownChangesModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    if (left.column() == checkColumn_)
        return left.data(sortRole_).toBool() < right.data(sortRole_).toBool();
    const std::vector<int>& places = ranks(left.column());
    return places.at(left.row()) < places.at(right.row());
}

const std::vector<int>& ShownChangesModel::ranks(int column) const {
    const QAbstractItemModel* changes = sourceModel();
    const int rows = changes->rowCount();
    if (ranks_.size() <= size_t(column))
        ranks_.resize(size_t(column) + 1);
    std::vector<int>& places = ranks_[size_t(column)];
    if (places.size() == size_t(rows))
        return places;
    // The texts in the order of the user's language, as a word list in it would be sorted.
    // A key holds a few bytes per character, so keys are made of a text's beginning only and
    // texts alike there are compared whole: lyrics-long values would otherwise hold many
    // megabytes of keys. (The order then differs from collating whole texts only for texts
    // with the same letters in their first kKeyLength characters but other accents or case.)
    const QCollator collator;
    const auto textAt = [&](int row) {
        return changes->index(row, column).data(sortRole_).toString();
    };
    std::vector<QCollatorSortKey> keys;
    std::vector<bool> cut;  // the key is of the text's beginning only
    keys.reserve(size_t(rows));
    cut.reserve(size_t(rows));
    for (int row = 0; row < rows; ++row) {
        const QString text = textAt(row);
        keys.push_back(collator.sortKey(text.left(kKeyLength)));
        cut.push_back(text.size() > kKeyLength);
    }
    const auto compare = [&](int a, int b) {
        const int byKey = keys[size_t(a)].compare(keys[size_t(b)]);
        if (byKey != 0 || !(cut[size_t(a)] || cut[size_t(b)]))
            return byKey;
        return collator.compare(textAt(a), textAt(b));
    };
    std::vector<int> order(static_cast<size_t>(rows));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&compare](int a, int b) { return compare(a, b) < 0; });
    places.assign(size_t(rows), 0);
    for (size_t i = 1; i < order.size(); ++i) {
        const bool tied = compare(order[i - 1], order[i]) == 0;
        places[size_t(order[i])] = places[size_t(order[i - 1])] + (tied ? 0 : 1);
    }
    return places;
}

}  // namespace tessel::gui
