#pragma once
// The frame interface every frame kind implements. A frame is one entry of
// an ID3v2.3 tag: a 4-character ID, two flag bytes, and a body that the kind
// parses from and writes back to bytes.
#include "tagweave/tagweave_export.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace tagweave {

class TAGWEAVE_EXPORT clsFrame {
public:
    virtual ~clsFrame() = default;

    // "Return/Set the Frame ID". Exactly 4 characters.
    virtual QString FrameID() const = 0;
    virtual void setFrameID(const QString& value) = 0;

    // "Return the Frame Size": bytes getBytes produces (frame header not counted).
    virtual std::int32_t FrameSize() const = 0;

    // "Set the Frame's flags": exactly two bytes.
    virtual void setFlags(const QByteArray& a_flags) = 0;
    // "Return the frame's flags": a copy of the two flag bytes.
    virtual void getFlags(QByteArray& flags) const = 0;

    // "Parse the frame's content" from the body as stored in a tag.
    virtual void parseBytes(const QByteArray& a_bytes) = 0;
    // "Return the frame contents in a byte array. (read to be written to file)"
    virtual void getBytes(QByteArray& bytes) const = 0;

    // "Set the Frame's text encoding field": 0 ISO-8859-1, 1 UTF-16 with
    // byte-order mark. Text is read in the encoding the frame gives and
    // written in the one its characters need.
    virtual std::uint8_t TextEncoding() const = 0;
    virtual void setTextEncoding(std::uint8_t value) = 0;

    // "Return/Set the data field": text, comment text or URL. The setter
    // appends a NUL unless the value already ends with one.
    virtual QString Data() const = 0;
    virtual void setData(const QString& value) = 0;
};

} // namespace tagweave
