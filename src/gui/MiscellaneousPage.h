// The Miscellaneous Tools page: the encoding converter (over the chosen tracks, through the
// change panel), the numeric tag changer (over the library's selection, written at once), the
// size estimate, the playlist export (text, XML, M3U8, XSPF), the ratings and play counts
// written into the files (through the change panel) and the dead tracks of a library
// playlist, each in its own section with its own start button.
#pragma once

#include "ToolPage.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;

namespace tessel::gui {

class MiscellaneousPage : public ToolPage {
    Q_OBJECT

  public:
    MiscellaneousPage(PageContext& context, QWidget* parent = nullptr);

    QGroupBox* encodingBox() const { return encoding_; }
    PopUpButton* encodingTagPopUp() const { return encodingTag_; }
    PopUpButton* fromPopUp() const { return from_; }
    PopUpButton* toPopUp() const { return to_; }
    QPushButton* convertButton() const { return convert_; }

    QGroupBox* numericBox() const { return numeric_; }
    PopUpButton* numericTagPopUp() const { return numericTag_; }
    PopUpButton* operationPopUp() const { return operation_; }
    QLineEdit* numberField() const { return number_; }
    QPushButton* changeButton() const { return change_; }

    // The files tools: the size estimate and the playlist export.
    QGroupBox* sizeBox() const { return size_; }
    PopUpButton* bitratePopUp() const { return bitrate_; }
    QPushButton* calculateButton() const { return calculate_; }
    QGroupBox* exportBox() const { return export_; }
    QPushButton* exportTextButton() const { return exportText_; }
    QPushButton* exportXmlButton() const { return exportXml_; }
    QPushButton* exportM3u8Button() const { return exportM3u8_; }
    QPushButton* exportXspfButton() const { return exportXspf_; }
    PopUpButton* exportPathsPopUp() const { return exportPaths_; }
    QLineEdit* exportFolderField() const { return exportFolder_; }
    QPushButton* chooseExportFolderButton() const { return chooseExportFolder_; }
    QCheckBox* allPlaylistsBox() const { return allPlaylists_; }
    QGroupBox* statsBox() const { return stats_; }
    QPushButton* writeStatsButton() const { return writeStats_; }
    // Dead tracks of the chosen library playlist: removal and re-linking.
    QGroupBox* deadTracksBox() const { return deadTracks_; }
    QPushButton* removeDeadButton() const { return removeDead_; }
    QPushButton* relinkButton() const { return relink_; }

  private:
    QGroupBox* encodingSection();
    QGroupBox* numericSection();
    QGroupBox* sizeSection();
    QGroupBox* exportSection();
    QPushButton* formatButton(const QString& title, int format);
    QWidget* exportPathsRow();
    QWidget* exportFolderRow();
    QGroupBox* statsSection();
    QGroupBox* deadTracksSection();

    QGroupBox* encoding_;
    PopUpButton* encodingTag_;
    PopUpButton* from_;
    PopUpButton* to_;
    QPushButton* convert_ = nullptr;
    QGroupBox* numeric_;
    PopUpButton* numericTag_;
    PopUpButton* operation_;
    QLineEdit* number_;
    QPushButton* change_ = nullptr;
    QGroupBox* size_ = nullptr;
    PopUpButton* bitrate_ = nullptr;
    QPushButton* calculate_ = nullptr;
    QGroupBox* export_ = nullptr;
    QPushButton* exportText_ = nullptr;
    QPushButton* exportXml_ = nullptr;
    QPushButton* exportM3u8_ = nullptr;
    QPushButton* exportXspf_ = nullptr;
    PopUpButton* exportPaths_ = nullptr;
    QLineEdit* exportFolder_ = nullptr;
    QPushButton* chooseExportFolder_ = nullptr;
    QCheckBox* allPlaylists_ = nullptr;
    QGroupBox* stats_ = nullptr;
    QPushButton* writeStats_ = nullptr;
    QGroupBox* deadTracks_;
    QPushButton* removeDead_ = nullptr;
    QPushButton* relink_ = nullptr;
};

}  // namespace tessel::gui
