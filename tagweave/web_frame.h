#pragma once
// A user URL frame (WXXX). Body: text encoding byte, the description up to
// and including its NUL, then the URL characters (the data). A body without
// a NUL after the encoding byte is all description and an empty URL, so its
// bytes are written back as read.
#include "tagweave/frame_common.h"

namespace tagweave {

class clsWeb_Frame : public FrameCommon {
public:
    clsWeb_Frame() : FrameCommon(QStringLiteral("Web_Frame")) {}

    std::int32_t FrameSize() const override;
    // An empty body raises 106 from "Web_Frame::parseBytes".
    void parseBytes(const QByteArray& a_bytes) override;
    void getBytes(QByteArray& bytes) const override;

    // "Return/Set the Description Field". The setter appends a NUL unless
    // the value already ends with one.
    QString Description() const { return description_; }
    void setDescription(const QString& value) { description_ = WithTrailingNul(value); }

private:
    QString description_ = QString(QChar(0));
};

} // namespace tagweave
