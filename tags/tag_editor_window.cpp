#include "tags/tag_editor_window.h"

#include "controls/widgets/console_button.h"
#include "controls/widgets/console_frame.h"
#include "controls/widgets/console_look.h"
#include "core/program_state.h"
#include "engine/engine_helpers.h"
#include "platform/ui/dialogs.h"
#include "tags/id3v1_writer.h"
#include "tags/id3v2_frames.h"
#include "tags/id3v2_writer.h"
#include "tags/mp3_info.h"
#include "tags/taglib_tags.h"
#include "tags/track_titles.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <cstring>

namespace {

QLineEdit* box(QWidget* parent, const char* name, int index, int y) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString("%1_%2").arg(name).arg(index));
    edit->setGeometry(80, y, 270, 20);
    return edit;
}

} // namespace

editTagsF::editTagsF(core::ProgramState& state) : QDialog(nullptr), state_(state) {
    setObjectName("editTagsF");
    setWindowTitle("Edit Song Information");
    setWindowFlags(Qt::FramelessWindowHint | Qt::Dialog);
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setPalette(app::consolePalette());
    build();
}

editTagsF::~editTagsF() = default;

void editTagsF::showModal(core::ProgramState& state) {
    editTagsF window(state);
    window.Form_Load();
    window.exec();
}

void editTagsF::build() {
    setFixedSize(380, 340);
    const app::ConsoleFrame frame =
        app::buildConsoleFrame(this, "Edit Song Information", "Close without saving (Esc)");
    cmdcloseButton = frame.cmdcloseButton;
    connect(cmdcloseButton, &QPushButton::clicked, this, [this] { cmdcloseButton_Click(); });

    auto* format = new QLabel("Tag Format:", this);
    format->setFont(app::consoleFont(8));
    format->setGeometry(12, 34, 80, 18);
    const char* captions[] = {"ID3v1 ", "ID3v2", "WMA/ASF"};
    for (int i = 0; i < 3; ++i) {
        ID3ver[i] = new QRadioButton(captions[i], this);
        ID3ver[i]->setObjectName(QString("ID3ver_%1").arg(i));
        ID3ver[i]->setGeometry(95 + i * 85, 34, 80, 18);
        connect(ID3ver[i], &QRadioButton::clicked, this, [this, i] { ID3ver_Click(i); });
    }
    buildView(0, "ID3V1:", "Artist:");
    buildView(1, "ID3V2:", "Artist:");
    buildView(2, "WMA:", "Author:");
    lblTrack_ = new QLabel("Track:", frameTagInfo[2]);
    lblTrack_->setGeometry(180, 126, 50, 20);
    txtTrack = box(frameTagInfo[2], "txtTrack", 2, 126);
    txtTrack->setGeometry(230, 126, 60, 20);

    cmdCopyTags = new ConsoleButton("Copy ID3v1", "Copy the fields of the other tag", this);
    cmdCopyTags->setObjectName("cmdCopyTags");
    cmdCopyTags->setGeometry(12, 304, 110, 24);
    cmdSave = new ConsoleButton("Save", "Save the tag", this);
    cmdSave->setObjectName("cmdSave");
    cmdSave->setGeometry(180, 304, 90, 24);
    cmdClose = new ConsoleButton("Cancel", "Close without saving", this);
    cmdClose->setObjectName("cmdClose");
    cmdClose->setGeometry(278, 304, 90, 24);
    connect(cmdCopyTags, &QPushButton::clicked, this, [this] { cmdCopyTags_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

void editTagsF::buildView(int index, const QString& caption, const QString& artistLabel) {
    auto* group = new QGroupBox(caption, this);
    group->setObjectName(QString("frameTagInfo_%1").arg(index));
    group->setGeometry(12, 60, 356, 236);
    group->setFont(app::consoleFont(8));
    frameTagInfo[index] = group;
    const QString labels[] = {"Title:", artistLabel, "Album:", "Year:", "Genre:", "Comments:"};
    for (int row = 0; row < 6; ++row) {
        auto* label = new QLabel(labels[row], group);
        label->setObjectName(QString("lblField%1_%2").arg(row).arg(index));
        label->setGeometry(8, 24 + row * 34, 70, 20);
    }
    txtSong[index] = box(group, "txtSong", index, 24);
    txtArtist[index] = box(group, "txtArtist", index, 58);
    txtAlbum[index] = box(group, "txtAlbum", index, 92);
    txtYear[index] = box(group, "txtYear", index, 126);
    txtYear[index]->setFixedWidth(80);
    cmbGenre[index] = new QComboBox(group);
    cmbGenre[index]->setObjectName(QString("cmbGenre_%1").arg(index));
    cmbGenre[index]->setGeometry(80, 160, 180, 20);
    txtComments[index] = box(group, "txtComments", index, 194);
    const bool readOnly = index == 2;
    for (QLineEdit* edit :
         {txtSong[index], txtArtist[index], txtAlbum[index], txtYear[index], txtComments[index]})
        edit->setReadOnly(readOnly);
}

void editTagsF::Form_Load() {
    path_ = state_.playlist.path(state_.playlist.cursor());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    wmaStream_ = engine::Channel::openWma(path_.toUtf8(), engine::kTagsOnly);
    ownTags_ = !wmaStream_ && tags::readSongTags(path_).has_value();
    if (ownTags_) {
        // The third view names the file's type ("FLAC", "M4A", ...).
        const QString type = path_.mid(path_.lastIndexOf('.') + 1).toUpper();
        ID3ver[2]->setText(type);
        frameTagInfo[2]->setTitle(type + ":");
        frameTagInfo[2]->findChild<QLabel*>("lblField1_2")->setText("Artist:");
    }
    const int view = wmaStream_ || ownTags_ ? 2 : 1;
    ID3ver[view]->setChecked(true);
    ID3ver_Click(view);
}

void editTagsF::showView(int index) {
    view_ = index;
    for (int i = 0; i < 3; ++i)
        frameTagInfo[i]->setVisible(i == index);
    const bool wma = index == 2;
    ID3ver[0]->setEnabled(!wma);
    ID3ver[1]->setEnabled(!wma);
    ID3ver[2]->setEnabled(wma);
    cmdSave->setVisible(!wma || ownTags_);
    cmdCopyTags->setVisible(!wma);
    lblTrack_->setVisible(ownTags_);
    txtTrack->setVisible(ownTags_);
    for (QLineEdit* edit : {txtSong[2], txtArtist[2], txtAlbum[2], txtYear[2], txtComments[2]})
        edit->setReadOnly(!ownTags_);
    cmbGenre[2]->setEditable(ownTags_);
    if (!wma)
        cmdCopyTags->setText(index == 1 ? "Copy ID3v1" : "Copy ID3v2");
}

void editTagsF::ID3ver_Click(int index) {
    if (index == 2 && ownTags_)
        loadOwnTagsView();
    else if (index == 2)
        loadWmaView();
    else if (index == 1)
        loadId3v2View();
    else
        loadId3v1View();
    showView(index);
}

void editTagsF::loadWmaView() {
    const char* lines = wmaStream_ ? wmaStream_.tags() : nullptr;
    for (const char* line = lines; line && *line; line += std::strlen(line) + 1) {
        const QString text = engine::stringFromAnsiPointer(line);
        const qsizetype colon = text.indexOf(':');
        if (colon < 0)
            continue;
        const QString key = text.left(colon).toUpper().trimmed();
        const QString value = text.mid(colon + 1);
        if (key == "TITLE")
            txtSong[2]->setText(value);
        else if (key == "AUTHOR")
            txtArtist[2]->setText(value);
        else if (key == "WM/ALBUMTITLE")
            txtAlbum[2]->setText(value);
        else if (key == "WM/YEAR")
            txtYear[2]->setText(value);
        else if (key == "DESCRIPTION")
            txtComments[2]->setText(value);
    }
    wmaStream_.free();
}

void editTagsF::loadOwnTagsView() {
    const std::optional<tags::SongTags> read = tags::readSongTags(path_);
    if (!read)
        return;
    txtSong[2]->setText(read->title);
    txtArtist[2]->setText(read->artist);
    txtAlbum[2]->setText(read->album);
    txtYear[2]->setText(read->year);
    txtComments[2]->setText(read->comment);
    txtTrack->setText(read->track);
    cmbGenre[2]->setEditable(true);
    cmbGenre[2]->setEditText(read->genre);
}

void editTagsF::loadId3v2View() {
    core::Id3v2Values& v = state_.id3v2;
    if (!tags::has_id3v2(path_, v))
        return;
    tags::read_id3v2_frames(path_, v);
    txtSong[1]->setText(tags::strip_control_chars(v.TIT2));
    txtArtist[1]->setText(tags::strip_control_chars(v.TPE1));
    txtAlbum[1]->setText(tags::strip_control_chars(v.TALB));
    txtYear[1]->setText(tags::strip_control_chars(v.TYER));
    txtComments[1]->setText(tags::strip_control_chars(v.COMM));
    genreRead_ = v.TCON;
}

void editTagsF::loadId3v1View() {
    tags::clsMP3Info info;
    info.setFilename(path_);
    if (!info.IsFileID3v1())
        return;
    txtSong[0]->setText(info.Title());
    txtArtist[0]->setText(info.Artist());
    txtAlbum[0]->setText(info.Album());
    txtYear[0]->setText(info.Year());
    txtComments[0]->setText(info.Comment());
}

void editTagsF::cmdCopyTags_Click() {
    if (view_ != 0 && view_ != 1)
        return;
    const int from = view_ == 1 ? 0 : 1;
    const int to = view_;
    const std::array<std::array<QLineEdit*, 3>*, 5> rows = {&txtSong, &txtArtist, &txtAlbum,
                                                            &txtYear, &txtComments};
    for (auto* row : rows)
        if (!(*row)[from]->text().trimmed().isEmpty())
            (*row)[to]->setText((*row)[from]->text());
}

bool editTagsF::saveId3v1() {
    const tags::Id3v1Record record{txtSong[0]->text(), txtArtist[0]->text(), txtAlbum[0]->text(),
                                   txtYear[0]->text(), txtComments[0]->text()};
    if (const QString bad = tags::id3v1Unstorable(record); !bad.isEmpty()) {
        state_.dialogs.msgBox("An ID3v1 tag cannot hold these characters: " + bad +
                                  "\r\rChange them, or save the ID3v2 tag instead.",
                              ui::vbExclamation, "ID3v1 Tag...");
        return false;
    }
    if (const QString error = tags::write_id3v1_tag(path_, record); !error.isEmpty())
        state_.dialogs.msgBox(error, ui::vbCritical);
    return true;
}

bool editTagsF::saveId3v2() {
    if (const int version = tags::id3v2MajorVersion(path_); version != 0 && version != 3) {
        const QString text = QString("This file holds an ID3v2.%1 tag. Saving replaces it with an "
                                     "ID3v2.3 tag holding the values shown here.\r\rReplace it?")
                                 .arg(version);
        if (state_.dialogs.msgBox(text, ui::vbYesNo | ui::vbQuestion, "Replace Tag...") !=
            ui::vbYes)
            return false;
    }
    const tags::Id3v2Texts texts{txtSong[1]->text(), txtArtist[1]->text(), txtAlbum[1]->text(),
                                 txtYear[1]->text(), genreRead_,           txtComments[1]->text()};
    QString error;
    if (!tags::write_id3v2_tag(path_, texts, &error))
        state_.dialogs.msgBox(error, ui::vbCritical);
    return true;
}

bool editTagsF::saveOwnTags() {
    const tags::SongTags values{
        txtSong[2]->text(),         txtArtist[2]->text(),   txtAlbum[2]->text(), txtYear[2]->text(),
        cmbGenre[2]->currentText(), txtComments[2]->text(), txtTrack->text()};
    QString error;
    if (!tags::writeSongTags(path_, values, &error))
        state_.dialogs.msgBox(error, ui::vbCritical);
    return true;
}

void editTagsF::cmdSave_Click() {
    const bool own = view_ == 2 && ownTags_;
    if (view_ != 0 && view_ != 1 && !own)
        return;
    state_.dialogs.setWaitCursor(true);
    const bool saved = own ? saveOwnTags() : view_ == 0 ? saveId3v1() : saveId3v2();
    state_.dialogs.setWaitCursor(false);
    if (!saved)
        return;
    rebuildPlaylistLine();
    done(QDialog::Accepted);
}

void editTagsF::rebuildPlaylistLine() {
    const int index = state_.playlist.cursor();
    const QString line = QString::number(index + 1) + ". " + tags::getID3_tag(state_, path_);
    state_.playlist.setLine(index, line);
    state_.playlist.showNextSong(line);
}

void editTagsF::cmdClose_Click() {
    done(QDialog::Rejected);
}

void editTagsF::cmdcloseButton_Click() {
    done(QDialog::Rejected);
}

void editTagsF::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cmdClose_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void editTagsF::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    app::paintConsoleFrame(this, painter);
}
