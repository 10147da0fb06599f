#include "playlist/search_window.h"

#include "controls/widgets/console_button.h"
#include "controls/widgets/console_frame.h"
#include "controls/widgets/console_look.h"
#include "core/program_state.h"
#include "platform/ui/dialogs.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

searchF::searchF(core::ProgramState& state, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint), state_(state) {
    setObjectName("searchF");
    setWindowTitle("Vorlan - Search the Playlist...");
    setPalette(app::consolePalette());
    setFixedSize(380, 132);
    const app::ConsoleFrame frame = app::buildConsoleFrame(
        this, QString(8, ' ') + "Vorlan - Search the Playlist...", "Close the search (Esc)");
    imgIcon = frame.imgIcon;
    titlebar = frame.titlebar;
    cmdcloseButton = frame.cmdcloseButton;

    lblSearchFor = new QLabel("Search For:", this);
    lblSearchFor->setGeometry(14, 36, 100, 18);
    lblSearchFor->setFont(app::consoleFont(9));
    searchTXT = new QLineEdit(this);
    searchTXT->setObjectName("searchTXT");
    searchTXT->setGeometry(14, 56, 352, 24);
    auto button = [this](const char* name, const QString& caption, int x, void (searchF::*slot)()) {
        auto* b = new ConsoleButton(caption, QString(), this);
        b->setObjectName(name);
        b->setGeometry(x, 92, 110, 24);
        b->setFont(app::consoleFont(8));
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    findFirstCB = button("findFirstCB", "Find First", 14, &searchF::findFirstCB_Click);
    FindNextCB = button("FindNextCB", "Find  Next", 135, &searchF::FindNextCB_Click);
    findPrevCB = button("findPrevCB", "Previous", 256, &searchF::findPrevCB_Click);
    connect(cmdcloseButton, &QPushButton::clicked, this, &searchF::cmdcloseButton_Click);
    connect(searchTXT, &QLineEdit::returnPressed, this, &searchF::FindNextCB_Click);
}

searchF::~searchF() = default;

searchF* searchF::show_window(core::ProgramState& state, QWidget* owner) {
    searchF* window = state.searchWindow;
    if (!window) {
        window = new searchF(state, owner);
        state.searchWindow = window;
    }
    window->show();
    app::centreOnScreen(window);
    window->raise();
    window->activateWindow();
    return window;
}

QString searchF::term() const {
    return searchTXT->text().trimmed();
}

bool searchF::matchesAt(const QString& text) {
    if (!state_.playlist.line(position).contains(text, Qt::CaseInsensitive))
        return false;
    state_.playlist.select(position);
    found = true;
    return true;
}

void searchF::reportNotFound() {
    state_.dialogs.msgBox("Can't find the song", ui::vbExclamation | ui::vbOKOnly);
}

void searchF::findFirstCB_Click() {
    const QString text = term();
    if (text.isEmpty())
        return;
    const int last = state_.playlist.count() - 1;
    found = false;
    for (position = 0; position <= last; ++position)
        if (matchesAt(text))
            return;
    reportNotFound();
}

void searchF::FindNextCB_Click() {
    const QString text = term();
    if (text.isEmpty())
        return;
    const int last = state_.playlist.count() - 1;
    found = false;
    if (position >= last)
        position = -1; // wraps to the first entry
    for (++position; position <= last; ++position)
        if (matchesAt(text))
            return;
    reportNotFound();
}

void searchF::findPrevCB_Click() {
    const QString text = term();
    if (text.isEmpty())
        return;
    found = false;
    if (position < 0)
        position = state_.playlist.count(); // the last entry is tested first
    while (position > 0) {
        --position;
        if (matchesAt(text))
            return;
    }
    position = -1;
    reportNotFound();
}

void searchF::cmdcloseButton_Click() {
    hide();
}

void searchF::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cmdcloseButton_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void searchF::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        searchTXT->setFocus();
    QWidget::changeEvent(event);
}

void searchF::paintEvent(QPaintEvent*) {
    QPainter p(this);
    app::paintConsoleFrame(this, p);
}
