// The track source at the top of every tool page: a playlist of the library (its pop-up is
// re-read each time it opens), the library's selection, or a folder of music files.
#pragma once

#include <QGroupBox>

class QButtonGroup;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace tessel::gui {

class PopUpButton;
struct PageContext;

class TrackSourceBox : public QGroupBox {
    Q_OBJECT

  public:
    /// The values of the source option.
    enum Method { Playlist = 0, Folder = 1, Selection = 2 };
    /// The tag of the pop-ups that list playlists.
    static constexpr int kPlaylistPopUpTag = 13;

    TrackSourceBox(PageContext& context, QWidget* parent = nullptr);

    PopUpButton* playlistPopUp() const { return playlists_; }
    QPushButton* chooseButton() const { return choose_; }
    QLabel* folderLabel() const { return folder_; }
    /// The arrow beside Choose…: a menu of the folders last used.
    QToolButton* recentButton() const { return recent_; }
    /// Says how many tracks the library's selection holds.
    QLabel* selectedCountLabel() const { return selectedCount_; }

  private:
    void bind();
    /// Asks for a folder; a chosen one becomes folderPath and the source.
    void chooseFolder();
    /// Makes folder the folder source.
    void useFolder(const QUrl& folder);
    /// Fills the recent-folders menu just before it opens.
    void fillRecentMenu();
    void showSelectedCount();

    PageContext& context_;
    QButtonGroup* methods_;
    PopUpButton* playlists_;
    QLabel* folder_;
    QPushButton* choose_;
    QToolButton* recent_;
    QMenu* recentMenu_;
    QLabel* selectedCount_;
};

}  // namespace tessel::gui
