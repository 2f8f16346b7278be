#include "SearchReplacePage.h"

#include "Binder.h"
#include "PageContext.h"
#include "PopUpButton.h"
#include "app/AppDelegate.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace tessel::gui {

namespace {

constexpr int kTagPopUpTag = 1;
constexpr int kPresetPopUpTag = 2;

}  // namespace

SearchReplacePage::SearchReplacePage(PageContext& context, QWidget* parent)
    : ToolPage(context, parent),
      tag_(addPopUp(kTagPopUpTag)),
      search_(new QLineEdit),
      replace_(new QLineEdit),
      ignoreCase_(new QCheckBox(tr("&Ignore case"))),
      regular_(new QCheckBox(tr("Regular e&xpression"))),
      presets_(new QMenu(this)),
      presetButton_(makePresetButton()) {
    search_->setPlaceholderText(tr("Text to find"));
    replace_->setPlaceholderText(tr("Empty: what is found is deleted"));
    addRows();
    bind();
    setStart(tr("Start"), [this] { this->context().delegate.performSearchReplace(); });
}

void SearchReplacePage::addRows() {
    form()->addRow(tr("&Tag:"), tag_);
    form()->addRow(tr("&Search for:"), search_);
    form()->addRow(tr("&Replace with:"), replace_);
    form()->addRow(QString(), ignoreCase_);
    form()->addRow(QString(), regular_);
    form()->addRow(tr("Presets:"), presetButton_);
}

// A pull-down of ready-made expressions: choosing one fills the texts and switches regular
// expressions on, so the button itself keeps no choice.
QPushButton* SearchReplacePage::makePresetButton() {
    const QStringList titles{
        tr("Use Regular Expression"),
        tr("Remove the First Three Characters"),
        tr("Brackets to Parentheses: [x] → (x)"),
        tr("Leading Article to the End: The X → X, The"),
        tr("Trailing Article to the Front: X, The → The X"),
        tr("Put a 0 in Front"),
    };
    for (int index = 0; index < titles.size(); ++index) {
        QAction* action = presets_->addAction(titles.at(index));
        connect(action, &QAction::triggered, this,
                [this, index] { context().delegate.presetClicked(index); });
    }
    connect(presets_, &QMenu::aboutToShow, this,
            [this] { context().delegate.popUp(kPresetPopUpTag); });
    auto* button = new QPushButton(tr("&Choose a Preset"));
    button->setMenu(presets_);
    return button;
}

void SearchReplacePage::bind() {
    Binder& binder = context().binder;
    binder.bindItems(tag_, "readableTags", "selectedTag");
    // The search text is written while typing so the replacement field comes alive at once.
    binder.bindText(search_, "searchString", Binder::Commit::WhileTyping);
    binder.bindText(replace_, "replaceString");
    binder.bindChecked(ignoreCase_, "caseInsensitive");
    binder.bindChecked(regular_, "useRegular");
    binder.bindEnabled(replace_, QStringLiteral("searchString.length"),
                       QStringLiteral("Largerthan0alueTransformer"));
}

}  // namespace tessel::gui
