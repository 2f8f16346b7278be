#include "LibrarySourceModel.h"

#include "itunes/TrackBrowser.h"

#include <QFont>
#include <QPalette>

namespace tessel::gui {

using itunes::playliststore::PlaylistKind;

namespace {

QString kindText(PlaylistKind kind) {
    switch (kind) {
        case PlaylistKind::Smart:
            return LibrarySourceModel::tr("Smart playlist: its tracks cannot be changed by hand");
        case PlaylistKind::Builtin:
            return LibrarySourceModel::tr("One of the library's own lists: it cannot be edited");
        case PlaylistKind::Folder:
            return LibrarySourceModel::tr("Folder of playlists");
        case PlaylistKind::User:
            break;
    }
    return LibrarySourceModel::tr("Playlist");
}

}  // namespace

LibrarySourceModel::LibrarySourceModel(QObject* parent) : QAbstractItemModel(parent) {}

void LibrarySourceModel::reload(const itunes::ConnectionPtr& connection) {
    beginResetModel();
    nodes_.clear();
    top_.clear();
    if (connection) {
        connection->locked([&](sql::Database& db) {
            nodes_.push_back({std::nullopt,
                              tr("Library"),
                              {},
                              PlaylistKind::Builtin,
                              itunes::browse::trackCount(db),
                              -1,
                              {},
                              0});
            const auto counts = itunes::playliststore::entryCounts(db);
            const auto parents = itunes::playliststore::parents(db);
            QHash<qint64, int> nodeOfId;
            for (const auto& info : itunes::playliststore::list(db, {})) {
                nodeOfId.insert(info.id, int(nodes_.size()));
                nodes_.push_back({info.id,
                                  info.name,
                                  info.persistentId,
                                  info.kind,
                                  counts.value(info.id),
                                  -1,
                                  {},
                                  0});
            }
            for (Node& node : nodes_) {
                if (node.id && parents.contains(*node.id))
                    node.parent = nodeOfId.value(parents.value(*node.id), -1);
            }
        });
    }
    link();
    endResetModel();
}

// Children in library order; a folder's tracks are those of the playlists in it.
void LibrarySourceModel::link() {
    for (int i = 0; i < int(nodes_.size()); ++i) {
        Node& node = nodes_[size_t(i)];
        auto& siblings = node.parent < 0 ? top_ : nodes_[size_t(node.parent)].children;
        node.row = int(siblings.size());
        siblings.push_back(i);
    }
}

QModelIndex LibrarySourceModel::indexOf(std::optional<qint64> playlistId) const {
    for (int i = 0; i < int(nodes_.size()); ++i) {
        if (nodes_[size_t(i)].id == playlistId)
            return createIndex(nodes_[size_t(i)].row, 0, quintptr(i));
    }
    return nodes_.empty() ? QModelIndex() : createIndex(0, 0, quintptr(0));
}

const LibrarySourceModel::Node* LibrarySourceModel::nodeOf(const QModelIndex& index) const {
    if (!index.isValid() || index.internalId() >= nodes_.size())
        return nullptr;
    return &nodes_[size_t(index.internalId())];
}

const std::vector<int>& LibrarySourceModel::childrenOf(int node) const {
    return node < 0 ? top_ : nodes_[size_t(node)].children;
}

QModelIndex LibrarySourceModel::index(int row, int column, const QModelIndex& parent) const {
    const int parentNode = parent.isValid() ? int(parent.internalId()) : -1;
    const auto& children = childrenOf(parentNode);
    if (row < 0 || row >= int(children.size()) || column < 0 || column > Tracks)
        return {};
    return createIndex(row, column, quintptr(children[size_t(row)]));
}

QModelIndex LibrarySourceModel::parent(const QModelIndex& child) const {
    const Node* node = nodeOf(child);
    if (!node || node->parent < 0)
        return {};
    return createIndex(nodes_[size_t(node->parent)].row, 0, quintptr(node->parent));
}

int LibrarySourceModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    return int(childrenOf(parent.isValid() ? int(parent.internalId()) : -1).size());
}

int LibrarySourceModel::columnCount(const QModelIndex&) const {
    return Tracks + 1;
}

QVariant LibrarySourceModel::data(const QModelIndex& index, int role) const {
    const Node* node = nodeOf(index);
    if (!node)
        return {};
    const bool editable = node->id && node->kind == PlaylistKind::User;
    switch (role) {
        case Qt::DisplayRole:
            if (index.column() == Tracks)
                return node->kind == PlaylistKind::Folder ? QVariant() : QVariant(node->tracks);
            return node->name;
        case Qt::ToolTipRole:
        case Qt::AccessibleDescriptionRole:
            return node->id ? kindText(node->kind) : tr("Every track of the library");
        case Qt::FontRole:
            if (!editable && node->id) {
                QFont font;
                font.setItalic(true);
                return font;
            }
            return {};
        case Qt::TextAlignmentRole:
            return index.column() == Tracks ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                            : QVariant();
        case PlaylistIdRole:
            return node->id ? QVariant(*node->id) : QVariant();
        case EditableRole:
            return editable;
        case RenamableRole:
            return node->id && node->kind != PlaylistKind::Builtin;
        case PersistentIdRole:
            return node->persistentId;
        default:
            return {};
    }
}

QVariant LibrarySourceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == Name ? tr("Playlists") : tr("Tracks");
}

}  // namespace tessel::gui
