#include "MiscellaneousPage.h"

#include "Binder.h"
#include "PageContext.h"
#include "PopUpButton.h"
#include "app/AppDelegate.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

namespace tessel::gui {

namespace {

constexpr int kEncodingTagPopUpTag = 10;
constexpr int kFromPopUpTag = 11;
constexpr int kToPopUpTag = 12;
constexpr int kNumericTagPopUpTag = 14;
constexpr int kOperationPopUpTag = 15;
constexpr int kBitratePopUpTag = 21;
constexpr int kExportPathsPopUpTag = 22;

// In the order of the converter's encodings; both menus list the same.
QStringList encodingTitles() {
    return {
        MiscellaneousPage::tr("ASCII"),
        MiscellaneousPage::tr("UTF-8"),
        MiscellaneousPage::tr("ISO 8859-1 (Latin-1)"),
        MiscellaneousPage::tr("Non-lossy ASCII (\\u escapes)"),
        MiscellaneousPage::tr("ISO 8859-2 (Latin-2)"),
        MiscellaneousPage::tr("Windows-1251 (Cyrillic)"),
        MiscellaneousPage::tr("Windows-1252 (Western)"),
        MiscellaneousPage::tr("Windows-1253 (Greek)"),
        MiscellaneousPage::tr("Windows-1254 (Turkish)"),
        MiscellaneousPage::tr("Windows-1250 (Central European)"),
        MiscellaneousPage::tr("ISO-2022-JP"),
        MiscellaneousPage::tr("Mac OS Roman"),
        MiscellaneousPage::tr("UTF-16"),
        MiscellaneousPage::tr("UTF-32"),
    };
}

// A section's start button under its options, on the right.
void addStartRow(QFormLayout* form, QPushButton* start) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(start);
    form->addRow(row);
}

}  // namespace

MiscellaneousPage::MiscellaneousPage(PageContext& context, QWidget* parent)
    : ToolPage(context, parent),
      encoding_(new QGroupBox(tr("Encoding Converter"))),
      encodingTag_(addPopUp(kEncodingTagPopUpTag)),
      from_(addPopUp(kFromPopUpTag)),
      to_(addPopUp(kToPopUpTag)),
      numeric_(new QGroupBox(tr("Numeric Tag Changer"))),
      numericTag_(addPopUp(kNumericTagPopUpTag)),
      operation_(addPopUp(kOperationPopUpTag)),
      number_(new QLineEdit),
      deadTracks_(new QGroupBox(tr("Dead Tracks"))) {
    form()->addRow(encodingSection());
    form()->addRow(numericSection());
    form()->addRow(sizeSection());
    form()->addRow(exportSection());
    form()->addRow(statsSection());
    form()->addRow(deadTracksSection());
    finishSections();
}

QGroupBox* MiscellaneousPage::encodingSection() {
    from_->addItems(encodingTitles());
    to_->addItems(encodingTitles());
    convert_ =
        sectionStart(encoding_, tr("Convert"), [this] { context().delegate.performEncoding(); });
    auto* form = new QFormLayout(encoding_);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(tr("&Tag:"), encodingTag_);
    form->addRow(tr("Fro&m:"), from_);
    form->addRow(tr("T&o:"), to_);
    addStartRow(form, convert_);

    Binder& binder = context().binder;
    binder.bindItems(encodingTag_, "readableTags", "selectedTag");
    binder.bindIndex(from_, "selectedEncodingFrom");
    binder.bindIndex(to_, "selectedEncodingTo");
    return encoding_;
}

QGroupBox* MiscellaneousPage::numericSection() {
    operation_->addItems({tr("Set to"), tr("Add"), tr("Subtract")});
    number_->setPlaceholderText(tr("A whole number"));
    change_ = sectionStart(numeric_, tr("Change"), [this] { context().delegate.performNumeric(); });
    auto* note =
        new QLabel(tr("Works on the tracks selected in the library and writes them at once."));
    note->setWordWrap(true);
    auto* form = new QFormLayout(numeric_);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(note);
    form->addRow(tr("T&ag:"), numericTag_);
    form->addRow(tr("Ope&ration:"), operation_);
    form->addRow(tr("&Number:"), number_);
    addStartRow(form, change_);

    Binder& binder = context().binder;
    binder.bindItems(numericTag_, "readableIntegerTags", "selectedNumericTag");
    binder.bindIndex(operation_, "selectedNumeric");
    binder.bindNumber(number_, "numericString");
    return numeric_;
}

// ---- the files tools ----

QGroupBox* MiscellaneousPage::sizeSection() {
    size_ = new QGroupBox(tr("Size Estimate"));
    bitrate_ = addPopUp(kBitratePopUpTag);
    bitrate_->addItems({tr("128 kbps"), tr("192 kbps"), tr("256 kbps")});
    calculate_ =
        sectionStart(size_, tr("Calculate"), [this] { context().delegate.performCalculate(); });
    auto* note = new QLabel(tr("How much room the tracks take, and would take at a bitrate."));
    note->setWordWrap(true);
    auto* form = new QFormLayout(size_);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(note);
    form->addRow(tr("Con&vert to:"), bitrate_);
    addStartRow(form, calculate_);
    context().binder.bindIndex(bitrate_, "selectedBitrate");
    return size_;
}

// The buttons carry the format as the export's tag: 1 text, 2 XML, 3 M3U8, 4 XSPF.
QGroupBox* MiscellaneousPage::exportSection() {
    export_ = new QGroupBox(tr("Playlist Export"));
    allPlaylists_ = new QCheckBox(tr("Every pla&ylist, one file each, into a folder"));
    allPlaylists_->setToolTip(
        tr("Every playlist you can edit, or those inside the folder chosen at the top of the "
           "page"));
    exportText_ = sectionStart(export_, tr("Export as Te&xt…"), [this] {
        if (allPlaylists_->isChecked())
            context().delegate.performExportAll(1);
        else
            context().delegate.performExport(1);
    });
    exportXml_ = formatButton(tr("Export as XM&L…"), 2);
    exportM3u8_ = formatButton(tr("Export as M3U&8…"), 3);
    exportXspf_ = formatButton(tr("Export as X&SPF…"), 4);
    auto* note = new QLabel(
        tr("Saves artist, title, album and duration of the tracks to a file, or the playlist "
           "itself for other players (M3U8, XSPF: tracks whose file is missing are left out)."));
    note->setWordWrap(true);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : {exportXml_, exportText_, exportM3u8_, exportXspf_})
        row->addWidget(button);
    auto* form = new QFormLayout(export_);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->addRow(note);
    form->addRow(tr("F&ile paths:"), exportPathsRow());
    form->addRow(tr("M&usic folder:"), exportFolderRow());
    form->addRow(allPlaylists_);
    form->addRow(row);
    return export_;
}

QPushButton* MiscellaneousPage::formatButton(const QString& title, int format) {
    auto* button = new QPushButton(title);
    connect(button, &QPushButton::clicked, this, [this, format] {
        if (allPlaylists_->isChecked())
            context().delegate.performExportAll(format);
        else
            context().delegate.performExport(format);
    });
    return button;
}

QWidget* MiscellaneousPage::exportPathsRow() {
    exportPaths_ = addPopUp(kExportPathsPopUpTag);
    exportPaths_->addItems({tr("Absolute"), tr("Relative to the music folder"),
                            tr("Relative to the playlist file's folder")});
    exportPaths_->setToolTip(tr("How M3U8 and XSPF name each track's file"));
    context().binder.bindIndex(exportPaths_, "selectedExportPaths");
    return exportPaths_;
}

QWidget* MiscellaneousPage::exportFolderRow() {
    exportFolder_ = new QLineEdit;
    exportFolder_->setPlaceholderText(tr("The folder the player that reads the playlist uses"));
    context().binder.bindText(exportFolder_, "exportFolder");
    chooseExportFolder_ = new QPushButton(tr("&Choose…"));
    connect(chooseExportFolder_, &QPushButton::clicked, this, [this] {
        AppDelegate& delegate = context().delegate;
        const QUrl current = QUrl::fromLocalFile(delegate.property("exportFolder").toString());
        const QUrl folder = context().chooseFolder(window(), current);
        if (folder.isEmpty())
            return;
        delegate.setProperty("exportFolder", folder.toLocalFile());
        delegate.setProperty("selectedExportPaths", 1);
    });
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(exportFolder_, 1);
    layout->addWidget(chooseExportFolder_);
    return row;
}

// ---- ratings and play counts into the files ----

QGroupBox* MiscellaneousPage::statsSection() {
    stats_ = new QGroupBox(tr("Ratings and Play Counts"));
    writeStats_ = sectionStart(stats_, tr("Write to Files"),
                               [this] { context().delegate.performWriteStats(); });
    auto* note = new QLabel(
        tr("Writes the library's rating and play count of the tracks into their files, where "
           "other players read them. The changes are shown before anything is written."));
    note->setWordWrap(true);
    auto* form = new QFormLayout(stats_);
    form->addRow(note);
    addStartRow(form, writeStats_);
    return stats_;
}

// ---- dead tracks ----

QGroupBox* MiscellaneousPage::deadTracksSection() {
    removeDead_ =
        sectionStart(deadTracks_, tr("Remove…"), [this] { context().delegate.performDead(); });
    auto* note = new QLabel(
        tr("Works on the chosen library playlist: its tracks whose music file the library cannot "
           "find."));
    note->setWordWrap(true);
    auto* form = new QFormLayout(deadTracks_);
    form->addRow(note);
    relink_ = new QPushButton(tr("Re-link…"));
    relink_->setToolTip(
        tr("Find each dead track's file in a folder you choose, by exact artist, "
           "title and album"));
    connect(relink_, &QPushButton::clicked, this, [this] { context().delegate.performFix(); });
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(relink_);
    row->addWidget(removeDead_);
    form->addRow(row);
    return deadTracks_;
}

}  // namespace tessel::gui
