// What the window remembers between launches: its geometry, the page last shown, the change
// panel's columns and the folders last used. The tools' options are not remembered: they start from
// their launch values every time.
#pragma once

#include <QByteArray>
#include <QSettings>
#include <QStringList>

namespace tessel::gui {

class WindowMemory {
  public:
    /// How many recent folders are kept.
    static constexpr int kRecentFolderCount = 8;

    WindowMemory();

    QByteArray geometry() const;
    void setGeometry(const QByteArray& geometry);
    /// The page last shown; 0 when none was remembered.
    int lastPage() const;
    void setLastPage(int page);

    /// The change panel's columns: their order and widths, as its header saves them.
    QByteArray changePanelColumns() const;
    void setChangePanelColumns(const QByteArray& state);

    /// The folders last used, the latest first; folders that are gone are left out.
    QStringList recentFolders() const;
    /// Puts folder at the top of the recent folders.
    void addRecentFolder(const QString& folder);

  private:
    mutable QSettings settings_;
};

}  // namespace tessel::gui
