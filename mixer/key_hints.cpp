#include "mixer/key_hints.h"

#include "controls/widgets/console_button.h"
#include "controls/widgets/console_look.h"
#include "decks/deck_controls.h"
#include "mixer/actions.h"

namespace mixer {

std::array<QLineEdit*, 11> buildKeyHints(const decks::DeckControls& l, const decks::DeckControls& r,
                                         QWidget* crossfader) {
    std::array<QLineEdit*, 11> boxes{};
    struct Hint {
        Action action; // the hint is its key's
        QWidget* near;
        int dx; // from the control's left; -1 = at its right edge
        int dy; // from the control's top
    };
    // Button hints sit on the button's top right corner; the crossfader's on
    // its two ends and beside its centre.
    const int centre = crossfader->width() / 2 + 12;
    using enum Action;
    const std::array<Hint, 11> hints = {{
        {LeftPlay, l.play, -1, -8},
        {LeftCue, l.cue, -1, -8},
        {LeftStop, l.stop, -1, -8},
        {LeftPause, l.pause, -1, -8},
        {CrossfaderLeft, crossfader, 0, 4},
        {CrossfaderRight, crossfader, -1, 4},
        {CrossfaderCentre, crossfader, centre, 4},
        {RightStop, r.stop, -1, -8},
        {RightPause, r.pause, -1, -8},
        {RightCue, r.cue, -1, -8},
        {RightPlay, r.play, -1, -8},
    }};
    for (std::size_t i = 0; i < hints.size(); ++i) {
        const Hint& h = hints[i];
        const QString text = actionRow(h.action).hint;
        auto* box = new QLineEdit(text, h.near->parentWidget());
        box->setObjectName(QString("keyboardTXT%1").arg(i));
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        box->setAlignment(Qt::AlignCenter);
        box->setFont(app::consoleFont(7));
        box->setStyleSheet("QLineEdit { color: black; background: rgb(255, 220, 0);"
                           " border: 1px solid black; padding: 0px; }");
        const int width = text[0].isDigit() ? app::twips(195) : app::twips(225);
        const QRect near = h.near->geometry();
        const int x = h.dx < 0 ? near.right() - width + 2 : near.left() + h.dx;
        box->setGeometry(x, near.top() + h.dy, width, app::twips(225));
        box->raise();
        boxes[i] = box;
    }
    return boxes;
}

} // namespace mixer
