#pragma once
// A comment frame (COMM). Body: text encoding byte, three language
// characters, the description up to and including its terminator, then the
// comment text (the data); description and text in the frame's encoding.
#include "tagweave/frame_common.h"
#include "tagweave/tagweave_export.h"

namespace tagweave {

class TAGWEAVE_EXPORT clsComment_Frame : public FrameCommon {
public:
    clsComment_Frame() : FrameCommon(QStringLiteral("Comment_Frame")) {}

    // A body of four bytes or fewer raises 104 from "Comment_Frame::parseBytes".
    void parseBytes(const QByteArray& a_bytes) override;

    // "Return/Set the Language field": always 3 characters; a longer value
    // is cut to 3, a shorter one padded with blanks.
    QString Language() const { return language_; }
    void setLanguage(const QString& value);

    // "Return/Set the Description Field". The setter appends a NUL unless
    // the value already ends with one.
    QString Description() const { return description_; }
    void setDescription(const QString& value);

private:
    QByteArray buildBody(std::uint8_t encoding) const override;
    QString encodedText() const override { return description_ + data_; }

    QString language_ = QString(3, QChar(0));
    QString description_ = QString(QChar(0));
};

} // namespace tagweave
