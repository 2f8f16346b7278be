#include "WindowMemory.h"

#include <QDir>
#include <QFileInfo>

namespace tessel::gui {

namespace {

const QString kGeometryKey = QStringLiteral("WindowGeometry");
const QString kLastPageKey = QStringLiteral("LastPage");
const QString kRecentFoldersKey = QStringLiteral("RecentFolders");
const QString kChangePanelColumnsKey = QStringLiteral("ChangePanelColumns");

}  // namespace

WindowMemory::WindowMemory() : settings_(QStringLiteral("Tessel"), QStringLiteral("Tessel")) {}

QByteArray WindowMemory::geometry() const {
    return settings_.value(kGeometryKey).toByteArray();
}

void WindowMemory::setGeometry(const QByteArray& geometry) {
    settings_.setValue(kGeometryKey, geometry);
}

int WindowMemory::lastPage() const {
    return settings_.value(kLastPageKey, 0).toInt();
}

void WindowMemory::setLastPage(int page) {
    settings_.setValue(kLastPageKey, page);
}

QByteArray WindowMemory::changePanelColumns() const {
    return settings_.value(kChangePanelColumnsKey).toByteArray();
}

void WindowMemory::setChangePanelColumns(const QByteArray& state) {
    settings_.setValue(kChangePanelColumnsKey, state);
}

QStringList WindowMemory::recentFolders() const {
    QStringList folders = settings_.value(kRecentFoldersKey).toStringList();
    folders.removeIf([](const QString& folder) { return !QFileInfo(folder).isDir(); });
    return folders;
}

void WindowMemory::addRecentFolder(const QString& folder) {
    const QString clean = QDir::cleanPath(folder);
    QStringList folders = settings_.value(kRecentFoldersKey).toStringList();
    folders.removeAll(clean);
    folders.prepend(clean);
    settings_.setValue(kRecentFoldersKey, folders.mid(0, kRecentFolderCount));
}

}  // namespace tessel::gui
