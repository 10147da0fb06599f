#pragma once
// Helpers of the tag library tests: files in a temporary folder, tag and
// frame bytes built by hand, silent MPEG audio, and checks of raised errors.
#include "platform/com/com_error.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <initializer_list>

namespace tagtest {

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
unsigned permissionBits(const QString& path);
void setPermissionBits(const QString& path, unsigned mode);
// Names in `folder`, sorted.
QStringList filesIn(const QString& folder);

// Bytes written as the hex string says ("00 61 62").
QByteArray hex(const char* spaced);

// A frame: ID, 32-bit big-endian body size, two flag bytes, body.
QByteArray frame(const char* id, const QByteArray& body, const QByteArray& flags = {2, '\0'});
// A tag: "ID3", version, revision 0, flags, 7-bit packed size, then `body`.
QByteArray tag(const QByteArray& body, int major = 3, int flags = 0);

// `count` silent MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz, 417 bytes each).
QByteArray silentMpeg(int count);

// Runs `action`, which must raise a component error with exactly this
// number (0x80040000 + message), source and description.
template <class Action>
void expectError(Action action, int message, const QString& source, const QString& description) {
    try {
        action();
        ADD_FAILURE() << "no error raised; expected message " << message;
    } catch (const com::ComError& e) {
        EXPECT_EQ(e.number(), com::vbObjectError + message);
        EXPECT_EQ(e.source(), source);
        EXPECT_EQ(e.description(), description);
    }
}

} // namespace tagtest
