// The Playlist Manager page: the tag tested, the condition and its text, the case switch, and
// what happens to the matching tracks: added to a target playlist, or removed from the source
// playlist with their files optionally moved to the Trash. The case switch shows only for the
// text conditions, the target playlist only for adding and the Trash switch only for removing.
#pragma once

#include "ToolPage.h"

class QCheckBox;
class QLineEdit;

namespace tessel::gui {

class PlaylistManagerPage : public ToolPage {
    Q_OBJECT

  public:
    PlaylistManagerPage(PageContext& context, QWidget* parent = nullptr);

    PopUpButton* tagPopUp() const { return tag_; }
    PopUpButton* conditionPopUp() const { return condition_; }
    QLineEdit* conditionField() const { return text_; }
    QCheckBox* ignoreCaseBox() const { return ignoreCase_; }
    PopUpButton* actionPopUp() const { return action_; }
    PopUpButton* targetPopUp() const { return target_; }
    QCheckBox* trashBox() const { return trash_; }

  private:
    void bind();

    PopUpButton* tag_;
    PopUpButton* condition_;
    QLineEdit* text_;
    QCheckBox* ignoreCase_;
    PopUpButton* action_;
    PopUpButton* target_;
    QCheckBox* trash_;
};

}  // namespace tessel::gui
