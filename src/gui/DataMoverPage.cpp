#include "DataMoverPage.h"

#include "Binder.h"
#include "PageContext.h"
#include "PopUpButton.h"
#include "app/AppDelegate.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace tessel::gui {

namespace {

constexpr int kActionPopUpTag = 5;
constexpr int kSourcePopUpTag = 6;
constexpr int kTargetPopUpTag = 7;
constexpr int kPortionPopUpTag = 8;
constexpr int kPlacementPopUpTag = 9;

}  // namespace

DataMoverPage::DataMoverPage(PageContext& context, QWidget* parent)
    : ToolPage(context, parent),
      action_(addPopUp(kActionPopUpTag)),
      source_(addPopUp(kSourcePopUpTag)),
      target_(addPopUp(kTargetPopUpTag)),
      copy_(new QGroupBox(tr("Copy"))),
      copyForm_(new QFormLayout(copy_)),
      portion_(addPopUp(kPortionPopUpTag)),
      length_(new QLineEdit),
      expression_(new QLineEdit),
      ignoreCase_(new QCheckBox(tr("&Ignore case"))),
      placement_(addPopUp(kPlacementPopUpTag)),
      delimiter_(new QLineEdit) {
    action_->addItems({tr("Swap the Two Tags"), tr("Copy a Portion of the Source")});
    form()->addRow(tr("Acti&on:"), action_);
    form()->addRow(tr("&Source tag:"), source_);
    form()->addRow(tr("Tar&get tag:"), target_);
    form()->addRow(copySettings());
    bind();
    setStart(tr("Start"), [this] { this->context().delegate.performMove(); });
}

QGroupBox* DataMoverPage::copySettings() {
    portion_->addItems({tr("Whole Value"), tr("First Characters"), tr("Except First Characters"),
                        tr("Regular Expression Matches")});
    placement_->addItems({tr("Replace the Target Value"), tr("Append to the Target Value"),
                          tr("Put in Front of the Target Value")});
    length_->setPlaceholderText(tr("Number of characters"));
    expression_->setPlaceholderText(tr("ICU regular expression, e.g. \\d+"));
    delimiter_->setPlaceholderText(tr("Between the target value and the portion"));
    copyForm_->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    copyForm_->addRow(tr("Por&tion:"), portion_);
    copyForm_->addRow(tr("&Characters:"), length_);
    copyForm_->addRow(tr("E&xpression:"), expression_);
    copyForm_->addRow(QString(), ignoreCase_);
    copyForm_->addRow(tr("P&lacement:"), placement_);
    copyForm_->addRow(tr("&Delimiter:"), delimiter_);
    return copy_;
}

void DataMoverPage::bind() {
    Binder& binder = context().binder;
    binder.bindIndex(action_, "selectedAction");
    binder.bindItems(source_, "allReadableTags", "selectedTag");
    binder.bindItems(target_, "readableTags", "selectedTargetTag");
    binder.bindIndex(portion_, "selectedPortion");
    binder.bindText(length_, "portionString");
    binder.bindText(expression_, "searchString");
    binder.bindChecked(ignoreCase_, "caseInsensitive");
    binder.bindIndex(placement_, "selectedOption");
    binder.bindText(delimiter_, "delimiterString");

    const QString action = QStringLiteral("selectedAction");
    const QString portion = QStringLiteral("selectedPortion");
    binder.bindEnabled(copy_, action, QStringLiteral("Equalto1ValueTransformer"));
    // The length serves the two character portions, the expression the matches portion.
    bindRowVisible(copyForm_, length_, portion, QStringLiteral("Smallerthan3ValueTransformer"));
    binder.bindEnabled(length_, portion, QStringLiteral("Largerthan0alueTransformer"));
    bindRowVisible(copyForm_, expression_, portion, QStringLiteral("Equalto3ValueTransformer"));
    bindRowVisible(copyForm_, ignoreCase_, portion, QStringLiteral("Equalto3ValueTransformer"));
    binder.bindEnabled(delimiter_, QStringLiteral("selectedOption"),
                       QStringLiteral("Largerthan0alueTransformer"));
}

}  // namespace tessel::gui
