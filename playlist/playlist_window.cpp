#include "playlist/playlist_window.h"

#include "controls/widgets/console_button.h"
#include "controls/widgets/console_frame.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/console_panel.h"
#include "controls/widgets/window_drag.h"
#include "core/load_window.h"
#include "core/next_song_drag.h"
#include "core/program_state.h"
#include "playlist/search_window.h"
#include "tags/tag_editor_window.h"
#include "tags/track_titles.h"

#include <QAction>
#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// The shown list. Dragging an entry (which the press made the cursor entry)
// onto a deck loads it there, as a drag of the main window's next-song box
// does; the list itself takes no drops and loses no entry.
class EntryList : public QListView {
public:
    EntryList(core::ProgramState& state, QWidget* parent) : QListView(parent), state_(state) {}

protected:
    void startDrag(Qt::DropActions) override {
        const QModelIndex item = currentIndex();
        if (!item.isValid())
            return;
        state_.dragArmed = true;
        auto* data = new QMimeData;
        data->setData(core::kNextSongMime, QByteArray());
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        const QRect line = visualRect(item);
        drag->setPixmap(viewport()->grab(line));
        drag->setHotSpot(viewport()->mapFromGlobal(QCursor::pos()) - line.topLeft());
        drag->exec(Qt::CopyAction);
    }

private:
    core::ProgramState& state_;
};

// An entry's line, with its tempo and length (once analysed) at the right
// end; a long title is cut short before them.
class EntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QString facts = index.data(core::PlaylistModel::kFactsRole).toString();
        const int room = facts.isEmpty() ? 0 : item.fontMetrics.horizontalAdvance(facts) + 16;
        item.text = item.fontMetrics.elidedText(item.text, Qt::ElideRight,
                                                std::max(0, item.rect.width() - room - 8));
        const QWidget* view = option.widget;
        (view ? view->style() : QApplication::style())
            ->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);
        if (facts.isEmpty())
            return;
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->setFont(item.font);
        painter->setPen(selected ? QColor(240, 255, 240) : QColor(0, 170, 200));
        painter->drawText(item.rect.adjusted(0, 0, -6, 0), Qt::AlignRight | Qt::AlignVCenter,
                          facts);
        painter->restore();
    }
};

} // namespace

playlistF::playlistF(core::ProgramState& state_) : QWidget(nullptr), state(state_) {
    setObjectName("playlistF");
    setWindowTitle("Vorlan  - DJ Playlist...");
    setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
    setPalette(app::consolePalette());
    build();
}

playlistF* playlistF::load(core::ProgramState& state) {
    return core::loadWindow(
        state, state.playlistWindow,
        [&state](playlistF& window) {
            window.Form_QueryUnload();
            state.removeForm(&window);
            window.hide();
            window.deleteLater();
        },
        [&state](playlistF& window) {
            // The add button answers the decks' open-file buttons from now on.
            connect(&state.playlist, &core::PlaylistModel::addRequested, &window,
                    &playlistF::addCB_Click);
            window.Form_Load();
        });
}

void playlistF::build() {
    setFixedSize(560, 470);
    const app::ConsoleFrame frame = app::buildConsoleFrame(
        this, QString(12, ' ') + "Vorlan  - DJ Playlist...", "Close the playlist (Esc, Enter)");
    imgIcon = frame.imgIcon;
    titlebar = frame.titlebar;
    cmdcloseButton = frame.cmdcloseButton;

    playlistLABEL = new QLabel("DJ PLAYLIST", this);
    playlistLABEL->setObjectName("playlistLABEL");
    playlistLABEL->setGeometry(14, 30, 400, 24);
    playlistLABEL->setFont(app::consoleFont(13));
    playlistLABEL->setStyleSheet("color: rgb(0, 230, 0); background: transparent;");

    List1 = new EntryList(state, this);
    List1->setModel(&state.playlist);
    List1->setObjectName("List1_1");
    List1->setGeometry(14, 58, 410, 370);
    List1->setItemDelegate(new EntryDelegate(List1));
    List1->setFont(app::consoleFont(9, false));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setStyleSheet("QListView { background: rgb(8, 10, 9); color: rgb(0, 220, 0);"
                         " border: 1px solid rgb(60, 64, 70); }"
                         " QListView::item:selected { background: rgb(0, 128, 0);"
                         " color: rgb(240, 255, 240); }");
    List1->setDragEnabled(true);
    List1->viewport()->installEventFilter(this);
    List1->installEventFilter(this);

    auto button = [this](ConsoleButton*& b, const char* name, const QString& caption,
                         const QString& tip, QWidget* parent, int row, void (playlistF::*slot)()) {
        b = new ConsoleButton(caption, tip, parent);
        b->setObjectName(name);
        b->setGeometry(8, 8 + row * 26, 104, 22);
        b->setFont(app::consoleFont(8));
        connect(b, &QPushButton::clicked, this, slot);
    };
    auto* lists = new ConsolePanel("fraPlaylist", "Playlist", this);
    lists->setGeometry(434, 58, 120, 156);
    button(newPlaylistCB, "newPlaylistCB", "New", "Create a New Playlist...", lists, 0,
           &playlistF::newPlaylistCB_Click);
    button(openPlaylistCB, "openPlaylistCB", "Open", "Open Existing Playlist...", lists, 1,
           &playlistF::openPlaylistCB_Click);
    button(saveCB, "saveCB", "Save", "Save Playlist...", lists, 2, &playlistF::saveCB_Click);
    button(importPlaylistCB, "importPlaylistCB", "Import", "Import Playlist...", lists, 3,
           &playlistF::importPlaylistCB_Click);
    button(clearCB, "clearCB", "Clear", "Clear Playlist...", lists, 4, &playlistF::clearCB_Click);

    auto* songs = new ConsolePanel("fraMusicFiles", "Music Files", this);
    songs->setGeometry(434, 220, 120, 236);
    button(addCB, "addCB", "Add", "Load songs...", songs, 0, &playlistF::addCB_Click);
    button(removeCB, "removeCB", "Remove", "Remove Song from Playlist...", songs, 1,
           &playlistF::removeCB_Click);
    button(cmdID3, "cmdID3", "ID3", "Edit Song information (ID3)...", songs, 2,
           &playlistF::cmdID3_Click);
    button(findCB, "findCB", "Find", "Search the playlist for a song...", songs, 3,
           &playlistF::findCB_Click);
    button(cmdAZsort, "cmdAZsort", "A - Z", "Sort Ascending...", songs, 4,
           &playlistF::cmdAZsort_Click);
    button(cmdZAsort, "cmdZAsort", "Z - A", "Sort Descending ...", songs, 5,
           &playlistF::cmdZAsort_Click);
    button(cmdRandomShuffle, "cmdRandomShuffle", "Shuffle", "Random Shuffle...", songs, 6,
           &playlistF::cmdRandomShuffle_Click);
    button(cmdMoveUp, "cmdMoveUp", "Up", "Move Up...", songs, 7, &playlistF::cmdMoveUp_Click);
    cmdMoveUp->setGeometry(8, 8 + 7 * 26, 50, 22);
    button(cmdMoveDown, "cmdMoveDown", "Down", "Move Down...", songs, 7,
           &playlistF::cmdMoveDown_Click);
    cmdMoveDown->setGeometry(62, 8 + 7 * 26, 50, 22);
    connect(cmdcloseButton, &QPushButton::clicked, this, &playlistF::cmdcloseButton_Click);

    // The analysis row below the list.
    button(analyseAllCB, "analyseAllCB", "Analyse all",
           "Find the tempo and length of every song in the playlist...", this, 0,
           &playlistF::analyseAllCB_Click);
    analyseAllCB->setGeometry(14, 434, 96, 22);
    analysisLABEL = new QLabel(this);
    analysisLABEL->setObjectName("analysisLABEL");
    analysisLABEL->setGeometry(118, 434, 220, 22);
    analysisLABEL->setFont(app::consoleFont(9));
    analysisLABEL->setStyleSheet("color: rgb(0, 230, 0); background: transparent;");
    button(stopAnalysisCB, "stopAnalysisCB", "Stop", "Stop the analysis...", this, 0,
           &playlistF::stopAnalysisCB_Click);
    stopAnalysisCB->setGeometry(346, 434, 78, 22);
    stopAnalysisCB->hide();
    connect(&state.playlist, &core::PlaylistModel::analysisProgress, this,
            &playlistF::showAnalysisProgress);

    mnuFile = new QMenu(this);
    mnuFile->setObjectName("mnuFile");
    auto item = [this](QAction*& a, const QString& text, void (playlistF::*slot)()) {
        a = mnuFile->addAction(text);
        connect(a, &QAction::triggered, this, slot);
    };
    item(mnuFileEditTags, "Edit Song Information", &playlistF::cmdID3_Click);
    item(mnuFileSortAsc, "Sort Ascending", &playlistF::cmdAZsort_Click);
    item(mnuFileSortDesc, "Sort Descending", &playlistF::cmdZAsort_Click);
    item(mnuFileRandomShuffle, "Random Shuffle", &playlistF::cmdRandomShuffle_Click);
    item(mnuFileRemove, "Remove from Playlist", &playlistF::removeCB_Click);

    connect(List1, &QListView::doubleClicked, this, &playlistF::List1_DblClick);
    // The cursor entry is the one selected in the list.
    connect(&state.playlist, &core::PlaylistModel::cursorChanged, this, [this](int row) {
        syncing_ = true;
        List1->setCurrentIndex(state.playlist.index(row));
        syncing_ = false;
    });
    connect(List1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!syncing_ && !state.playlist.changing() && current.row() >= 0)
                    List1_Click();
            });
}

// ---- Analysis ----

void playlistF::analyseAllCB_Click() {
    state.playlist.requestAnalyseAll();
}

void playlistF::stopAnalysisCB_Click() {
    state.playlist.requestStopAnalysis();
}

void playlistF::showAnalysisProgress(int done, int total) {
    const bool running = done < total;
    analysisLABEL->setText(running ? QString("Analysing %1 of %2").arg(done).arg(total)
                                   : QString());
    stopAnalysisCB->setVisible(running);
}

// ---- The list ----

void playlistF::appendEntry(const QString& path) {
    state.playlist.append(path, entryLine(path, state.playlist.count() + 1));
}

QString playlistF::entryLine(const QString& path, int number) {
    return QString::number(number) + ".  " + tags::getID3_tag(state, path);
}

void playlistF::List1_Click() {
    state.playlist.select(List1->currentIndex().row());
}

void playlistF::List1_RightButton(int y) {
    const int count = state.playlist.count();
    if (count == 0)
        return;
    int row = List1->indexAt(QPoint(4, y)).row();
    if (row < 0)
        row = count - 1;
    state.playlist.select(row);
    List1->setFocus();
    mnuFile->popup(QCursor::pos());
}

void playlistF::List1_DblClick() {
    hide();
    close_playlist_window();
}

// ---- Window ----

void playlistF::cmdcloseButton_Click() {
    close_playlist_window();
}

void playlistF::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        hide();
        return;
    case Qt::Key_Delete:
        removeCB_Click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool playlistF::eventFilter(QObject* watched, QEvent* event) {
    if (watched == List1->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            List1_RightButton(static_cast<int>(mouse->position().y()));
            return true;
        }
    }
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter ||
            key == Qt::Key_Delete) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void playlistF::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow())
            List1->setFocus();
        else if (state.playlist.count() == 0)
            state.playlist.clearNextSong();
    }
    QWidget::changeEvent(event);
}

void playlistF::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        app::moveWindowByMouse(this, true);
    QWidget::mousePressEvent(event);
}

void playlistF::paintEvent(QPaintEvent*) {
    QPainter p(this);
    app::paintConsoleFrame(this, p);
}

void playlistF::findCB_Click() {
    searchF::show_window(state, this);
}

void playlistF::cmdID3_Click() {
    if (state.playlist.count() == 0) {
        state.dialogs.msgBox("Please add some music First...", ui::vbInformation,
                             "Error - No Song loaded");
        return;
    }
    editTagsF::showModal(state);
}
