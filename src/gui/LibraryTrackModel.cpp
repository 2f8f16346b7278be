#include "LibraryTrackModel.h"

#include "support/TesselError.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QPalette>
#include <QStyle>

namespace tessel::gui {

using itunes::browse::Column;

namespace {

// Enough rows for many screens; beyond it the cache starts afresh rather than grow.
constexpr int kCacheLimit = 20 * LibraryTrackModel::kBatch;

QString timeText(qint64 ms) {
    if (ms <= 0)
        return {};
    const qint64 seconds = (ms + 500) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// Five stars, filled for each 20 of the 0-100 rating.
QString stars(int rating) {
    const int filled = qBound(0, (rating + 10) / 20, 5);
    return QString(filled, QChar(0x2605)) + QString(5 - filled, QChar(0x2606));
}

QString number(int value) {
    return value > 0 ? QString::number(value) : QString();
}

}  // namespace

LibraryTrackModel::LibraryTrackModel(QObject* parent) : QAbstractTableModel(parent) {}

void LibraryTrackModel::show(itunes::ConnectionPtr connection, std::optional<qint64> playlistId) {
    connection_ = std::move(connection);
    query_.playlistId = playlistId;
    reload();
}

void LibraryTrackModel::setFilter(const QString& text) {
    if (text == query_.filter)
        return;
    query_.filter = text;
    reload();
}

void LibraryTrackModel::sort(int column, Qt::SortOrder order) {
    query_.sortColumn = column >= 0 && column < itunes::browse::kColumnCount
                            ? std::optional(Column(column))
                            : std::nullopt;
    query_.descending = order == Qt::DescendingOrder;
    reload();
}

void LibraryTrackModel::reload() {
    beginResetModel();
    cache_.clear();
    keys_.clear();
    if (connection_) {
        try {
            keys_ = connection_->locked(
                [this](sql::Database& db) { return itunes::browse::rowKeys(db, query_); });
        } catch (const TesselError&) {
            // A playlist deleted meanwhile, or a library that cannot be read: nothing to show.
        }
    }
    endResetModel();
}

int LibraryTrackModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(keys_.size());
}

int LibraryTrackModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : itunes::browse::kColumnCount;
}

const LibraryTrackModel::Shown* LibraryTrackModel::shown(int row) const {
    const qint64 id = keys_.at(row).trackId;
    auto it = cache_.constFind(id);
    if (it == cache_.constEnd()) {
        readBatch(row);
        it = cache_.constFind(id);
    }
    return it == cache_.constEnd() ? nullptr : &*it;
}

// The batch around the row, read in one statement; a missing file is looked for only here.
void LibraryTrackModel::readBatch(int row) const {
    if (cache_.size() > kCacheLimit)
        cache_.clear();
    const int first = row / kBatch * kBatch;
    const int last = std::min(int(keys_.size()), first + kBatch);
    QList<qint64> ids;
    ids.reserve(last - first);
    for (int i = first; i < last; ++i)
        ids.append(keys_.at(i).trackId);
    QHash<qint64, itunes::browse::TrackData> data;
    try {
        data = connection_->locked(
            [&](sql::Database& db) { return itunes::browse::trackData(db, ids); });
    } catch (const TesselError&) {
        return;  // shown empty; the next reload tries again
    }
    for (auto it = data.cbegin(); it != data.cend(); ++it) {
        const auto& track = it.value();
        const bool dead = track.kind == itunes::TrackKind::File &&
                          (!track.location || !QFileInfo(*track.location).isFile());
        cache_.insert(it.key(), {track, dead});
    }
}

QVariant LibraryTrackModel::display(const Shown& shown, int column) const {
    const auto& track = shown.data;
    switch (Column(column)) {
        case Column::Title:
            return track.title;
        case Column::Artist:
            return track.artist;
        case Column::Album:
            return track.album;
        case Column::AlbumArtist:
            return track.albumArtist;
        case Column::Genre:
            return track.genre;
        case Column::Year:
            return number(track.year);
        case Column::TrackNumber:
            return number(track.trackNumber);
        case Column::Time:
            return timeText(track.durationMs);
        case Column::Rating:
            return stars(track.rating);
        case Column::PlayCount:
            return number(track.playCount);
        case Column::File: {
            const QString path = QDir::toNativeSeparators(track.location.value_or(QString()));
            if (shown.dead)
                return tr("Missing: %1").arg(path.isEmpty() ? tr("no file") : path);
            return path;
        }
    }
    return {};
}

QVariant LibraryTrackModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= keys_.size())
        return {};
    const Shown* row = shown(index.row());
    if (!row)
        return {};
    switch (role) {
        case Qt::DisplayRole:
            return display(*row, index.column());
        case Qt::ToolTipRole:
            if (row->dead)
                return tr("The file of this track is missing. Last known place: %1")
                    .arg(row->data.location.value_or(tr("none")));
            return row->data.location.value_or(QString());
        case Qt::DecorationRole:
            if (row->dead && index.column() == int(Column::Title))
                return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
            return {};
        case Qt::ForegroundRole:
            if (row->dead)
                return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
            return {};
        case Qt::FontRole:
            if (row->dead) {
                QFont font;
                font.setItalic(true);
                return font;
            }
            return {};
        case Qt::AccessibleTextRole:
            if (index.column() == int(Column::Rating))
                return tr("%1 of 5 stars").arg(qBound(0, (row->data.rating + 10) / 20, 5));
            return display(*row, index.column());
        case DeadRole:
            return row->dead;
        default:
            return {};
    }
}

QVariant LibraryTrackModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const titles[] = {"Title",  "Artist",     "Album", "Album Artist",
                                         "Genre",  "Year",       "Track", "Time",
                                         "Rating", "Play Count", "File"};
    return section >= 0 && section < itunes::browse::kColumnCount ? tr(titles[section])
                                                                  : QVariant();
}

}  // namespace tessel::gui
