#pragma once
// A text frame (TIT2, TPE1, ...). Body: text encoding byte, then the data
// characters one byte each, including a trailing NUL when the data has one.
#include "tagweave/frame_common.h"

namespace tagweave {

class clsText_Frame : public FrameCommon {
public:
    clsText_Frame() : FrameCommon(QStringLiteral("Text_Frame")) {}

    std::int32_t FrameSize() const override;
    // An empty body raises 105 from "TextFrame::parseBytes".
    void parseBytes(const QByteArray& a_bytes) override;
    void getBytes(QByteArray& bytes) const override;
};

} // namespace tagweave
