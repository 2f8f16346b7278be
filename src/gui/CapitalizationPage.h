// The Capitalization page: the tag and the case rule.
#pragma once

#include "ToolPage.h"

namespace tessel::gui {

class CapitalizationPage : public ToolPage {
    Q_OBJECT

  public:
    CapitalizationPage(PageContext& context, QWidget* parent = nullptr);

    PopUpButton* tagPopUp() const { return tag_; }
    PopUpButton* casePopUp() const { return case_; }

  private:
    PopUpButton* tag_;
    PopUpButton* case_;
};

}  // namespace tessel::gui
