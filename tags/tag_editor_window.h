#pragma once
// editTagsF: shows and edits the song information of the playlist's cursor
// entry in three views: ID3v1 (read through clsMP3Info, written by the
// program's own ID3v1 writer), ID3v2 (read by the program's frame reader,
// written through the tag library) and WMA/ASF (header tags, read-only);
// for FLAC, AIFF, M4A, Ogg and Opus files the third view shows and saves
// their own tags (through TagLib), with the track number.
// Opened modally by the playlist; unloaded after Save or Cancel.
#include "engine/channel.h"

#include <QDialog>
#include <array>
#include <cstdint>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class ConsoleButton;

namespace core {
struct ProgramState;
}

class editTagsF : public QDialog {
    Q_OBJECT

public:
    // The file edited is the playlist's cursor entry.
    explicit editTagsF(core::ProgramState& state);
    ~editTagsF() override;

    // Opens the window modally on the playlist's cursor entry.
    static void showModal(core::ProgramState& state);

    void Form_Load();
    void ID3ver_Click(int index);
    void cmdCopyTags_Click();
    void cmdSave_Click();
    void cmdClose_Click();
    void cmdcloseButton_Click();

    QString filePath() const { return path_; }
    int currentView() const { return view_; }

    // Views: 0 ID3v1, 1 ID3v2, 2 WMA or the container's own tags.
    std::array<QRadioButton*, 3> ID3ver{};
    std::array<QGroupBox*, 3> frameTagInfo{};
    std::array<QLineEdit*, 3> txtSong{};
    std::array<QLineEdit*, 3> txtArtist{};
    std::array<QLineEdit*, 3> txtAlbum{};
    std::array<QLineEdit*, 3> txtYear{};
    std::array<QLineEdit*, 3> txtComments{};
    std::array<QComboBox*, 3> cmbGenre{};
    QLineEdit* txtTrack = nullptr; // third view, own tags only
    ConsoleButton* cmdCopyTags = nullptr;
    ConsoleButton* cmdSave = nullptr;
    ConsoleButton* cmdClose = nullptr;
    ConsoleButton* cmdcloseButton = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    void buildView(int index, const QString& caption, const QString& artistLabel);
    void showView(int index);
    void loadWmaView();
    void loadId3v2View();
    void loadId3v1View();
    void loadOwnTagsView();
    bool saveOwnTags();
    bool saveId3v1();
    bool saveId3v2();
    void rebuildPlaylistLine();

    core::ProgramState& state_;
    QString path_;
    engine::Channel wmaStream_; // WMA stream opened on load; empty when the file is not WMA/ASF
    QString genreRead_;         // TCON read when the ID3v2 view was loaded
    int view_ = -1;
    bool ownTags_ = false; // the file is a container with its own tags (third view)
    QLabel* lblTrack_ = nullptr;
};
