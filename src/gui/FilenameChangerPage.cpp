#include "FilenameChangerPage.h"

#include "Binder.h"
#include "PageContext.h"
#include "PopUpButton.h"
#include "TrackSourceBox.h"
#include "app/AppDelegate.h"

#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tessel::gui {

namespace {

constexpr int kPaddingPopUpTag = 20;

QString folderText(const QVariant& value) {
    const QUrl url = value.toUrl();
    if (url.isEmpty())
        return FilenameChangerPage::tr("No folder chosen");
    return url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
}

}  // namespace

FilenameChangerPage::FilenameChangerPage(PageContext& context, QWidget* parent)
    : ToolPage(context, parent),
      folder_(new QLabel),
      choose_(new QPushButton(tr("C&hoose…"))),
      pattern_(new QLineEdit),
      padding_(addPopUp(kPaddingPopUpTag)),
      recursive_(new QCheckBox(tr("Include &subfolders"))),
      skipMissing_(new QCheckBox(tr("S&kip files with missing tags"))),
      changeExtension_(new QCheckBox(tr("Set the e&xtension's visibility"))),
      extensionVisible_(new QCheckBox(tr("Show the exte&nsion"))) {
    // The files of a folder only, whatever the other pages work on.
    trackSource()->hide();
    padding_->addItems(
        {tr("Automatic (10 or more files in the folder)"), tr("Never"), tr("Always")});
    pattern_->setPlaceholderText(QStringLiteral("#n - #t"));
    auto* legend =
        new QLabel(tr("#a artist   #t title   #l album   #g genre   #y year   "
                      "#n track number"));
    legend->setWordWrap(true);
    legend->setForegroundRole(QPalette::PlaceholderText);
    auto* note =
        new QLabel(tr("Files on Linux have no hidden extension: these two options "
                      "change nothing here."));
    note->setWordWrap(true);
    note->setForegroundRole(QPalette::PlaceholderText);

    form()->addRow(tr("&Folder:"), folderRow());
    form()->addRow(QString(), recursive_);
    form()->addRow(tr("&Pattern:"), pattern_);
    form()->addRow(QString(), legend);
    form()->addRow(tr("Track number &padding:"), padding_);
    form()->addRow(QString(), skipMissing_);
    form()->addRow(QString(), changeExtension_);
    form()->addRow(QString(), extensionVisible_);
    form()->addRow(QString(), note);
    bind();
    setStart(tr("Rename"), [this] { this->context().delegate.performRename(); });
}

QWidget* FilenameChangerPage::folderRow() {
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folder_->setMinimumWidth(120);
    folder_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(folder_, 1);
    layout->addWidget(choose_);
    connect(choose_, &QPushButton::clicked, this, &FilenameChangerPage::chooseFolder);
    return row;
}

void FilenameChangerPage::bind() {
    Binder& binder = context().binder;
    binder.bindLabel(folder_, "folderPath", folderText);
    connect(&context().delegate, &AppDelegate::folderPathChanged, folder_,
            [this] { folder_->setToolTip(folder_->text()); });
    binder.bindText(pattern_, "filenameString");
    binder.bindIndex(padding_, "selectedTrailingZeroes");
    binder.bindChecked(recursive_, "renameRecursiveScan");
    binder.bindChecked(skipMissing_, "renameSkipMissing");
    binder.bindChecked(changeExtension_, "renameChangeExtension");
    binder.bindChecked(extensionVisible_, "renameExtensionVisible");
    binder.bindEnabled(extensionVisible_, QStringLiteral("renameChangeExtension"),
                       QStringLiteral("Equalto1ValueTransformer"));
}

void FilenameChangerPage::chooseFolder() {
    AppDelegate& delegate = context().delegate;
    const QUrl folder = context().chooseFolder(window(), delegate.property("folderPath").toUrl());
    if (folder.isEmpty())
        return;
    delegate.setProperty("folderPath", folder);
    delegate.pathSelected();
}

}  // namespace tessel::gui
