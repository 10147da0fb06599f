#pragma once
// The frame list of a tag: an ordered collection without keys, iterated in
// insertion order. Positions are 1-based.
#include "tagweave/frame.h"
#include "tagweave/id3v2_enums.h"
#include "tagweave/tagweave_export.h"

#include <memory>
#include <vector>

namespace tagweave {

class TAGWEAVE_EXPORT clsFrames {
public:
    using FramePtr = std::shared_ptr<clsFrame>;

    // Appends `frame`; a null frame raises 103 from "cFrames::Add".
    void Add(FramePtr frame);
    // The frame at 1-based `index`; std::out_of_range outside 1..Count.
    FramePtr Item(int index) const;
    int Count() const { return static_cast<int>(frames_.size()); }
    // Removes the frame at 1-based `index`; std::out_of_range outside 1..Count.
    void Remove(int index);
    // Empties the list.
    void Clear();

    auto begin() const { return frames_.cbegin(); }
    auto end() const { return frames_.cend(); }

private:
    std::vector<FramePtr> frames_;
};

// A new frame of `kind`: text, comment or URL; Unknown gives an opaque frame.
TAGWEAVE_EXPORT std::shared_ptr<clsFrame> CreateFrame(FrameKind kind);

} // namespace tagweave
