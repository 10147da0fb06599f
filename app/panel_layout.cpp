#include "app/panel_layout.h"

namespace app {

PanelLefts placePanels(int index, int leftDeckWidth, int mixerWidth, int rightDeckWidth) {
    PanelLefts p;
    auto next = [](int left, int width) { return left + width + kPanelGap; };
    switch (index) {
    case 1:
        p.mixer = kFirstPanelLeft;
        p.leftDeck = next(p.mixer, mixerWidth);
        p.rightDeck = next(p.leftDeck, leftDeckWidth);
        break;
    case 2:
        p.leftDeck = kFirstPanelLeft;
        p.rightDeck = next(p.leftDeck, leftDeckWidth);
        p.mixer = next(p.rightDeck, rightDeckWidth);
        break;
    default:
        p.leftDeck = kFirstPanelLeft;
        p.mixer = next(p.leftDeck, leftDeckWidth);
        p.rightDeck = next(p.mixer, mixerWidth);
        break;
    }
    return p;
}

} // namespace app
