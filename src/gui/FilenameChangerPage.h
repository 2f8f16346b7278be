// The Filename Changer page: the folder whose files are renamed (this tool works on a folder
// only, so the page shows no track source), the name pattern with its token legend, the
// padding of track numbers, and the scan and skip options.
#pragma once

#include "ToolPage.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tessel::gui {

class FilenameChangerPage : public ToolPage {
    Q_OBJECT

  public:
    FilenameChangerPage(PageContext& context, QWidget* parent = nullptr);

    QLabel* folderLabel() const { return folder_; }
    QPushButton* chooseButton() const { return choose_; }
    QLineEdit* patternField() const { return pattern_; }
    PopUpButton* paddingPopUp() const { return padding_; }
    QCheckBox* recursiveBox() const { return recursive_; }
    QCheckBox* skipMissingBox() const { return skipMissing_; }
    QCheckBox* changeExtensionBox() const { return changeExtension_; }
    QCheckBox* extensionVisibleBox() const { return extensionVisible_; }

  private:
    QWidget* folderRow();
    void bind();
    void chooseFolder();

    QLabel* folder_;
    QPushButton* choose_;
    QLineEdit* pattern_;
    PopUpButton* padding_;
    QCheckBox* recursive_;
    QCheckBox* skipMissing_;
    QCheckBox* changeExtension_;
    QCheckBox* extensionVisible_;
};

}  // namespace tessel::gui
