// A pop-up menu button that says when its menu is about to open, with the tag that tells the
// pop-ups apart (the ones listing playlists carry 13 and have their list re-read first).
#pragma once

#include <QComboBox>

namespace tessel::gui {

class PopUpButton : public QComboBox {
    Q_OBJECT

  public:
    explicit PopUpButton(int tag, QWidget* parent = nullptr);
    int tag() const { return tag_; }

    /// Announces the opening first, so a list refreshed in answer is the one shown.
    void showPopup() override;

  signals:
    void willPopUp(int tag);

  private:
    int tag_;
};

}  // namespace tessel::gui
