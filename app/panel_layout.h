#pragma once
// Where the main window's three panels go for each DjSetup arrangement.
// All values in twips.

namespace app {

inline constexpr int kFirstPanelLeft = 140;
inline constexpr int kPanelGap = 10;
inline constexpr int kDeckTop = 390;
inline constexpr int kMixerTop = 790;
inline constexpr int kWindowMargin = 120;

struct PanelLefts {
    int leftDeck = 0;
    int mixer = 0;
    int rightDeck = 0;
};

// Arrangement 0: left deck, mixer, right deck; 1: mixer, left deck, right
// deck; 2: left deck, right deck, mixer. Each panel starts 10 twips after the
// previous one's right edge, the first at 140. An index outside 0..2 gives
// arrangement 0.
PanelLefts placePanels(int index, int leftDeckWidth, int mixerWidth, int rightDeckWidth);

} // namespace app
