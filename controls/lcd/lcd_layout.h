#pragma once
// Where everything of the display sits. Rectangles are Left, Top, Width,
// Height in twips inside the display area (15 twips = 1 logical pixel).
#include <QRect>

namespace qzvlcd::layout {

constexpr int kTwipsPerPixel = 15;

struct TwipsRect {
    int left, top, width, height;
};

// Twips to logical pixels, to the nearest pixel (halves away from zero).
constexpr int px(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}
inline QRect toPixels(TwipsRect r) {
    return QRect(px(r.left), px(r.top), px(r.width), px(r.height));
}

// The display area inside the control, and the margin around it.
constexpr int kDisplayMargin = 30;
constexpr TwipsRect kDisplayArea{kDisplayMargin, kDisplayMargin, 2655, 1215};
constexpr int kFaceWidthPx = 173; // background picture
constexpr int kFaceHeightPx = 45;

constexpr TwipsRect Label3{60, 60, 555, 195};
constexpr TwipsRect LABEL_Remain{630, 30, 735, 195};
constexpr TwipsRect LABEL_loading{60, 240, 735, 195};
constexpr TwipsRect imgPlay{30, 240, 135, 150};
constexpr TwipsRect imgPause0{210, 270, 45, 135};
constexpr TwipsRect imgPause1{270, 270, 45, 135};
constexpr TwipsRect imgStop{360, 270, 105, 135};
constexpr TwipsRect LABEL_cue{510, 240, 315, 195};
constexpr TwipsRect img_CueDir0{720, 420, 135, 150};
constexpr TwipsRect img_CueDir1{510, 420, 135, 150};
constexpr TwipsRect imgRec{60, 450, 345, 165};
constexpr TwipsRect LABEL_Rec{60, 450, 345, 165};
constexpr TwipsRect imgLoop0{1020, 270, 105, 135};
constexpr TwipsRect imgLoop1{1110, 270, 105, 135};
constexpr TwipsRect Label23{1260, 450, 465, 195};
constexpr TwipsRect LABEL_pitch{1710, 420, 825, 225};
// The tempo, in the pitch's columns one row up; it shares its place with the
// loop point block and is drawn only while that block is hidden.
constexpr TwipsRect LABEL_bpmHeading{1260, 240, 465, 195};
constexpr TwipsRect LABEL_bpm{1710, 225, 825, 225};
constexpr TwipsRect Shape_LoopPoint{1440, 90, 1095, 285};
constexpr TwipsRect LABEL_loopPointHeading{1500, 30, 795, 165};
constexpr TwipsRect Label_LoopPoint{1620, 150, 735, 195};
constexpr TwipsRect img_LoopDir0{2340, 150, 135, 150};
constexpr TwipsRect img_LoopDir1{1470, 150, 135, 150};
constexpr TwipsRect LABEL_song{-180, 630, 3555, 255};
constexpr TwipsRect Image1{-180, 870, 2790, 180};
constexpr TwipsRect LABEL_progress{0, 930, 2595, 75};
constexpr TwipsRect SCROLL_position{-240, 1050, 3075, 135};

// Width of the progress bar at 100 %, in twips.
constexpr int kProgressFullWidth = LABEL_progress.width - 10;
// Maximum of the position bar.
constexpr int kPositionRange = 100;

} // namespace qzvlcd::layout
