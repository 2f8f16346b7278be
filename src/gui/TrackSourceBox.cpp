#include "TrackSourceBox.h"

#include "Binder.h"
#include "PageContext.h"
#include "PopUpButton.h"
#include "app/AppDelegate.h"

#include <QButtonGroup>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace tessel::gui {

namespace {

QString folderText(const QVariant& value) {
    const QUrl url = value.toUrl();
    if (url.isEmpty())
        return TrackSourceBox::tr("No folder chosen");
    return url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
}

}  // namespace

TrackSourceBox::TrackSourceBox(PageContext& context, QWidget* parent)
    : QGroupBox(tr("Tracks"), parent),
      context_(context),
      methods_(new QButtonGroup(this)),
      playlists_(new PopUpButton(kPlaylistPopUpTag)),
      folder_(new QLabel),
      choose_(new QPushButton(tr("C&hoose…"))),
      recent_(new QToolButton),
      recentMenu_(new QMenu(this)),
      selectedCount_(new QLabel) {
    auto* playlist = new QRadioButton(tr("&Playlist:"));
    auto* selection = new QRadioButton(tr("S&election in the library"));
    auto* folder = new QRadioButton(tr("&Folder:"));
    methods_->addButton(playlist, Playlist);
    methods_->addButton(folder, Folder);
    methods_->addButton(selection, Selection);
    playlists_->setPlaceholderText(tr("No playlists"));
    // Long playlist names must not widen the window.
    playlists_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    playlists_->setMinimumContentsLength(16);
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folder_->setMinimumWidth(120);
    folder_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* grid = new QGridLayout(this);
    grid->addWidget(playlist, 0, 0);
    grid->addWidget(playlists_, 0, 1, 1, 3);
    grid->addWidget(selection, 1, 0);
    grid->addWidget(selectedCount_, 1, 1, 1, 3);
    grid->addWidget(folder, 2, 0);
    grid->addWidget(folder_, 2, 1);
    grid->addWidget(choose_, 2, 2);
    grid->addWidget(recent_, 2, 3);
    grid->setColumnStretch(1, 1);

    recent_->setArrowType(Qt::DownArrow);
    recent_->setPopupMode(QToolButton::InstantPopup);
    recent_->setMenu(recentMenu_);
    recent_->setToolTip(tr("Recent Folders"));
    recent_->setAccessibleName(tr("Recent Folders"));
    recent_->setFixedHeight(choose_->sizeHint().height());
    connect(recentMenu_, &QMenu::aboutToShow, this, &TrackSourceBox::fillRecentMenu);
    connect(choose_, &QPushButton::clicked, this, &TrackSourceBox::chooseFolder);

    connect(playlists_, &PopUpButton::willPopUp, &context_.delegate, &AppDelegate::popUp);
    connect(&context_.delegate, &AppDelegate::selectedTrackCountChanged, this,
            &TrackSourceBox::showSelectedCount);
    showSelectedCount();
    bind();
}

void TrackSourceBox::bind() {
    Binder& binder = context_.binder;
    binder.bindChoice(methods_, "selectedMethod", Selection);
    binder.bindItems(playlists_, "playlists", "selectedPlaylist");
    binder.bindLabel(folder_, "folderPath", folderText);
    // The label may be cut short; its tooltip holds the whole path.
    connect(&context_.delegate, &AppDelegate::folderPathChanged, folder_,
            [this] { folder_->setToolTip(folder_->text()); });
    // Only the chosen source's own control is live; the folder can be chosen at any time, as
    // choosing one switches the source to it.
    binder.bindEnabled(playlists_, QStringLiteral("selectedMethod"),
                       QStringLiteral("Equalto0ValueTransformer"));
    binder.bindEnabled(folder_, QStringLiteral("selectedMethod"),
                       QStringLiteral("Equalto1ValueTransformer"));
}

void TrackSourceBox::showSelectedCount() {
    const int count = context_.delegate.selectedTrackCount();
    selectedCount_->setText(count == 0   ? tr("(no tracks selected; choose them in the Library)")
                            : count == 1 ? tr("(1 track selected)")
                                         : tr("(%1 tracks selected)").arg(count));
}

void TrackSourceBox::chooseFolder() {
    AppDelegate& delegate = context_.delegate;
    const QUrl folder = context_.chooseFolder(window(), delegate.property("folderPath").toUrl());
    if (!folder.isEmpty())
        useFolder(folder);
}

void TrackSourceBox::useFolder(const QUrl& folder) {
    context_.delegate.setProperty("folderPath", folder);
    context_.delegate.pathSelected();
}

void TrackSourceBox::fillRecentMenu() {
    recentMenu_->clear();
    const QStringList folders = context_.recentFolders ? context_.recentFolders() : QStringList();
    if (folders.isEmpty())
        recentMenu_->addAction(tr("No recent folders"))->setEnabled(false);
    for (const QString& folder : folders) {
        QAction* item = recentMenu_->addAction(QDir::toNativeSeparators(folder));
        connect(item, &QAction::triggered, this,
                [this, folder] { useFolder(QUrl::fromLocalFile(folder)); });
    }
}

}  // namespace tessel::gui
