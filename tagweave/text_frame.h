#pragma once
// A text frame (TIT2, TPE1, ...). Body: text encoding byte, then the data in
// that encoding, including a terminator when the data ends with a NUL.
#include "tagweave/frame_common.h"
#include "tagweave/tagweave_export.h"

namespace tagweave {

class TAGWEAVE_EXPORT clsText_Frame : public FrameCommon {
public:
    clsText_Frame() : FrameCommon(QStringLiteral("Text_Frame")) {}

    // An empty body raises 105 from "TextFrame::parseBytes".
    void parseBytes(const QByteArray& a_bytes) override;

private:
    QByteArray buildBody(std::uint8_t encoding) const override;
};

} // namespace tagweave
