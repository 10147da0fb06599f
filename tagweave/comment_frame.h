#pragma once
// A comment frame (COMM). Body: text encoding byte, three language
// characters, the description up to and including its NUL, then the comment
// text (the data).
#include "tagweave/frame_common.h"

namespace tagweave {

class clsComment_Frame : public FrameCommon {
public:
    clsComment_Frame() : FrameCommon(QStringLiteral("Comment_Frame")) {}

    std::int32_t FrameSize() const override;
    // A body of four bytes or fewer raises 104 from "Comment_Frame::parseBytes".
    void parseBytes(const QByteArray& a_bytes) override;
    void getBytes(QByteArray& bytes) const override;

    // "Return/Set the Language field": always 3 characters; a longer value
    // is cut to 3, a shorter one padded with blanks.
    QString Language() const { return language_; }
    void setLanguage(const QString& value);

    // "Return/Set the Description Field". The setter appends a NUL unless
    // the value already ends with one.
    QString Description() const { return description_; }
    void setDescription(const QString& value) { description_ = WithTrailingNul(value); }

private:
    QString language_ = QString(3, QChar(0));
    QString description_ = QString(QChar(0));
};

} // namespace tagweave
