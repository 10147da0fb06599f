#pragma once
// A user URL frame (WXXX). Body: text encoding byte, the description in that
// encoding up to and including its terminator, then the URL (the data),
// always ISO-8859-1. A body without a terminator after the encoding byte is
// all description and an empty URL.
#include "tagweave/frame_common.h"
#include "tagweave/tagweave_export.h"

namespace tagweave {

class TAGWEAVE_EXPORT clsWeb_Frame : public FrameCommon {
public:
    clsWeb_Frame() : FrameCommon(QStringLiteral("Web_Frame")) {}

    // An empty body raises 106 from "Web_Frame::parseBytes".
    void parseBytes(const QByteArray& a_bytes) override;

    // "Return/Set the Description Field". The setter appends a NUL unless
    // the value already ends with one.
    QString Description() const { return description_; }
    void setDescription(const QString& value);

private:
    QByteArray buildBody(std::uint8_t encoding) const override;
    QString encodedText() const override { return description_; }

    QString description_ = QString(QChar(0));
};

} // namespace tagweave
