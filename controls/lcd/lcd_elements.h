#pragma once
// The display's elements that can be shown or hidden, and where each sits.
#include "controls/lcd/lcd_layout.h"

#include <array>

namespace qzvlcd {

enum class Element {
    LABEL_loading,
    imgPlay,
    imgPause0,
    imgPause1,
    imgStop,
    LABEL_cue,
    img_CueDir0,
    img_CueDir1,
    imgRec,
    LABEL_Rec,
    imgLoop0,
    imgLoop1,
    Shape_LoopPoint,
    LABEL_loopPointHeading,
    Label_LoopPoint,
    img_LoopDir0,
    img_LoopDir1,
};

// Rectangles of the elements, in the order of Element.
inline constexpr std::array kElementRects{
    layout::LABEL_loading,   layout::imgPlay,
    layout::imgPause0,       layout::imgPause1,
    layout::imgStop,         layout::LABEL_cue,
    layout::img_CueDir0,     layout::img_CueDir1,
    layout::imgRec,          layout::LABEL_Rec,
    layout::imgLoop0,        layout::imgLoop1,
    layout::Shape_LoopPoint, layout::LABEL_loopPointHeading,
    layout::Label_LoopPoint, layout::img_LoopDir0,
    layout::img_LoopDir1,
};
inline constexpr int kElementCount = static_cast<int>(kElementRects.size());
static_assert(kElementCount == static_cast<int>(Element::img_LoopDir1) + 1);

constexpr layout::TwipsRect elementRect(Element element) {
    return kElementRects[static_cast<std::size_t>(element)];
}

} // namespace qzvlcd
