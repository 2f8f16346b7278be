// The track table of the library window over the library database. The rows' keys (track and
// playlist entry) are read at once, in the order the database sorts them; what a row shows is
// read a batch of rows at a time when the view first asks for it, so a hundred thousand tracks
// open as fast as a few.
#pragma once

#include "itunes/Connection.h"
#include "itunes/TrackBrowser.h"

#include <QAbstractTableModel>
#include <QHash>

namespace tessel::gui {

class LibraryTrackModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    /// Rows read together.
    static constexpr int kBatch = 200;
    /// True for a track whose file is missing.
    static constexpr int DeadRole = Qt::UserRole + 1;

    explicit LibraryTrackModel(QObject* parent = nullptr);

    /// Shows the playlist (absent: the whole library) of the library on connection.
    void show(itunes::ConnectionPtr connection, std::optional<qint64> playlistId);
    /// Rows whose title, artist or album holds the text.
    void setFilter(const QString& text);
    /// Reads the rows again (after the library changed).
    void reload();

    const itunes::browse::RowKey& key(int row) const { return keys_.at(row); }
    std::optional<qint64> playlistId() const { return query_.playlistId; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  private:
    struct Shown {
        itunes::browse::TrackData data;
        bool dead = false;
    };

    const Shown* shown(int row) const;
    void readBatch(int row) const;
    QVariant display(const Shown& shown, int column) const;

    itunes::ConnectionPtr connection_;
    itunes::browse::Query query_;
    QList<itunes::browse::RowKey> keys_;
    mutable QHash<qint64, Shown> cache_;  // by track id
};

}  // namespace tessel::gui
