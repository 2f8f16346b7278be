// The source list of the library window: the whole library first, then the playlists as the
// library holds them (folders with their children), each with its number of tracks. Lists
// that cannot be edited by hand (smart, built-in, folders) are marked so.
#pragma once

#include "itunes/Connection.h"
#include "itunes/PlaylistStore.h"

#include <QAbstractItemModel>

#include <optional>
#include <vector>

namespace tessel::gui {

class LibrarySourceModel : public QAbstractItemModel {
    Q_OBJECT

  public:
    enum Column { Name, Tracks };
    /// The playlist's id in the library; invalid for the whole library.
    static constexpr int PlaylistIdRole = Qt::UserRole + 1;
    /// True for a list that takes tracks by hand.
    static constexpr int EditableRole = Qt::UserRole + 2;
    static constexpr int PersistentIdRole = Qt::UserRole + 3;
    /// True for a playlist that may be renamed (any but the library's own lists).
    static constexpr int RenamableRole = Qt::UserRole + 4;

    explicit LibrarySourceModel(QObject* parent = nullptr);

    /// Reads the playlists again from the library (nothing without a connection).
    void reload(const itunes::ConnectionPtr& connection);
    /// The index of the playlist with that id (the whole library for none or an unknown id).
    QModelIndex indexOf(std::optional<qint64> playlistId) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    struct Node {
        std::optional<qint64> id;  // absent: the whole library
        QString name;
        QString persistentId;
        itunes::playliststore::PlaylistKind kind = itunes::playliststore::PlaylistKind::User;
        int tracks = 0;
        int parent = -1;  // index into nodes_, -1 at the top
        std::vector<int> children;
        int row = 0;  // its row under its parent
    };

    const Node* nodeOf(const QModelIndex& index) const;
    const std::vector<int>& childrenOf(int node) const;
    void link();

    std::vector<Node> nodes_;
    std::vector<int> top_;
};

}  // namespace tessel::gui
