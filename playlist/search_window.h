#pragma once
// searchF: finds a playlist entry by a piece of its display line (letter
// case ignored) and selects it, which makes it the cursor entry. Searches
// from the top, forwards or backwards from the last hit, wrapping around the
// ends of the list.
#include <QWidget>
#include <cstdint>

class QLabel;
class QLineEdit;
class ConsoleButton;

namespace core {
struct ProgramState;
}

class searchF : public QWidget {
    Q_OBJECT

public:
    // `owner` is the playlist window.
    searchF(core::ProgramState& state, QWidget* owner);
    ~searchF() override;

    // Shows the search window (loading it first), owned by the playlist
    // window, centred on the screen.
    static searchF* show_window(core::ProgramState& state, QWidget* owner);

    void findFirstCB_Click();
    void FindNextCB_Click();
    void findPrevCB_Click();
    void cmdcloseButton_Click();

    QLabel* titlebar = nullptr;
    QLabel* imgIcon = nullptr;
    QLabel* lblSearchFor = nullptr;
    QLineEdit* searchTXT = nullptr;
    ConsoleButton* findFirstCB = nullptr;
    ConsoleButton* FindNextCB = nullptr;
    ConsoleButton* findPrevCB = nullptr;
    ConsoleButton* cmdcloseButton = nullptr;

    // Index of the last hit, where the next search continues; starts at 0.
    std::int32_t position = 0;
    // The search in progress found an entry.
    bool found = false;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The trimmed search term; empty makes every search do nothing.
    QString term() const;
    // Tests the display line at `position`; selects it on a match.
    bool matchesAt(const QString& term);
    void reportNotFound();

    core::ProgramState& state_;
};
