#include "PlaylistManagerPage.h"

#include "Binder.h"
#include "PageContext.h"
#include "PopUpButton.h"
#include "TrackSourceBox.h"
#include "app/AppDelegate.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace tessel::gui {

namespace {

constexpr int kTagPopUpTag = 16;
constexpr int kConditionPopUpTag = 17;
constexpr int kActionPopUpTag = 18;

// In the order of the tool's conditions.
QStringList conditionTitles() {
    return {
        PlaylistManagerPage::tr("is"),
        PlaylistManagerPage::tr("is not"),
        PlaylistManagerPage::tr("contains"),
        PlaylistManagerPage::tr("does not contain"),
        PlaylistManagerPage::tr("begins with"),
        PlaylistManagerPage::tr("ends with"),
        PlaylistManagerPage::tr("matches the regular expression"),
        PlaylistManagerPage::tr("is longer than (characters)"),
        PlaylistManagerPage::tr("is shorter than (characters)"),
        PlaylistManagerPage::tr("has more lines than"),
        PlaylistManagerPage::tr("has fewer lines than"),
        PlaylistManagerPage::tr("is a number greater than"),
        PlaylistManagerPage::tr("is a number smaller than"),
    };
}

}  // namespace

PlaylistManagerPage::PlaylistManagerPage(PageContext& context, QWidget* parent)
    : ToolPage(context, parent),
      tag_(addPopUp(kTagPopUpTag)),
      condition_(addPopUp(kConditionPopUpTag)),
      text_(new QLineEdit),
      ignoreCase_(new QCheckBox(tr("&Ignore case"))),
      action_(addPopUp(kActionPopUpTag)),
      target_(addPopUp(TrackSourceBox::kPlaylistPopUpTag)),
      trash_(new QCheckBox(tr("Move the files of removed tracks to the T&rash"))) {
    condition_->addItems(conditionTitles());
    action_->addItems({tr("Add to the Playlist"), tr("Remove from the Source Playlist")});
    text_->setPlaceholderText(tr("Text, expression or number"));
    auto* note = new QLabel(tr("Works on the tracks of the chosen library playlist."));
    note->setWordWrap(true);
    form()->addRow(note);
    form()->addRow(tr("&Tag:"), tag_);
    form()->addRow(tr("C&ondition:"), condition_);
    form()->addRow(tr("Condition te&xt:"), text_);
    form()->addRow(QString(), ignoreCase_);
    form()->addRow(tr("Acti&on:"), action_);
    form()->addRow(tr("Tar&get playlist:"), target_);
    form()->addRow(QString(), trash_);
    bind();
    setStart(tr("Start"), [this] { this->context().delegate.performPlaylist(); });
}

void PlaylistManagerPage::bind() {
    Binder& binder = context().binder;
    binder.bindItems(tag_, "allReadableTags", "selectedTag");
    binder.bindIndex(condition_, "selectedCondition");
    binder.bindText(text_, "conditionString");
    binder.bindChecked(ignoreCase_, "caseInsensitive");
    binder.bindIndex(action_, "selectedPlaylistAction");
    binder.bindItems(target_, "editablePlaylists", "selectedPlaylistActionPlaylist");
    binder.bindChecked(trash_, "moveTrash");

    // Every condition takes the text (a number for the last six); case matters to the text
    // conditions only.
    bindRowVisible(form(), ignoreCase_, QStringLiteral("selectedCondition"),
                   QStringLiteral("Smallerthan7ValueTransformer"));
    const QString action = QStringLiteral("selectedPlaylistAction");
    bindRowVisible(form(), target_, action, QStringLiteral("Equalto0ValueTransformer"));
    bindRowVisible(form(), trash_, action, QStringLiteral("Differentto0ValueTransformer"));
}

}  // namespace tessel::gui
