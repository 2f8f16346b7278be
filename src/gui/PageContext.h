// What the pages of the main window share: the controller whose options they bind, the
// binder, and the window's services they call.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QWidget;

namespace tessel {
class AppDelegate;
}

namespace tessel::gui {

class Binder;

/// The pages of the window by index; 6 and 7 both give the About page.
inline constexpr int kPageCount = 8;
inline constexpr int kToolPageCount = 6;
inline constexpr int kAboutPage = 6;

/// The name of the tool of page index 0-5 ("Search & Replace" ...); empty for other indexes.
QString toolName(int index);

/// Asks the user for a folder, starting at current; an empty URL when nothing was chosen.
using FolderChooser = std::function<QUrl(QWidget* parent, const QUrl& current)>;

struct PageContext {
    AppDelegate& delegate;
    Binder& binder;
    FolderChooser chooseFolder;
    std::function<void()> openHelp;
    /// The folders last used, the latest first.
    std::function<QStringList()> recentFolders;
};

}  // namespace tessel::gui
