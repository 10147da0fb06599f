#include "tagweave/frames.h"

#include "tagweave/comment_frame.h"
#include "tagweave/errors.h"
#include "tagweave/opaque_frame.h"
#include "tagweave/text_frame.h"
#include "tagweave/web_frame.h"

#include <stdexcept>

namespace tagweave {

void clsFrames::Add(FramePtr frame) {
    if (!frame)
        RaiseError(msgInvalidFrameObject, QStringLiteral("cFrames::Add"));
    frames_.push_back(std::move(frame));
}

clsFrames::FramePtr clsFrames::Item(int index) const {
    if (index < 1 || index > Count())
        throw std::out_of_range("clsFrames::Item: index out of range");
    return frames_[static_cast<std::size_t>(index - 1)];
}

void clsFrames::Remove(int index) {
    if (index < 1 || index > Count())
        throw std::out_of_range("clsFrames::Remove: index out of range");
    frames_.erase(frames_.begin() + (index - 1));
}

void clsFrames::Clear() {
    frames_.clear();
}

std::shared_ptr<clsFrame> CreateFrame(FrameKind kind) {
    switch (kind) {
    case FrameKind::Text:
        return std::make_shared<clsText_Frame>();
    case FrameKind::Comment:
        return std::make_shared<clsComment_Frame>();
    case FrameKind::Web:
        return std::make_shared<clsWeb_Frame>();
    case FrameKind::Unknown:
        break;
    }
    return std::make_shared<clsOpaque_Frame>();
}

} // namespace tagweave
