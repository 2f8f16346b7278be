#include "CapitalizationPage.h"

#include "Binder.h"
#include "PageContext.h"
#include "PopUpButton.h"
#include "app/AppDelegate.h"

#include <QFormLayout>

namespace tessel::gui {

namespace {

constexpr int kTagPopUpTag = 3;
constexpr int kCasePopUpTag = 4;

}  // namespace

CapitalizationPage::CapitalizationPage(PageContext& context, QWidget* parent)
    : ToolPage(context, parent), tag_(addPopUp(kTagPopUpTag)), case_(addPopUp(kCasePopUpTag)) {
    // In the order of the case rules.
    case_->addItems({tr("Title Case"), tr("UPPER CASE"), tr("lower case"),
                     tr("Capitalize Every Word"), tr("Sentence case")});
    form()->addRow(tr("&Tag:"), tag_);
    form()->addRow(tr("C&ase:"), case_);

    Binder& binder = context.binder;
    binder.bindItems(tag_, "readableTags", "selectedTag");
    binder.bindIndex(case_, "selectedCapitalizationMethod");
    setStart(tr("Start"), [this] { this->context().delegate.performCapitalization(); });
}

}  // namespace tessel::gui
