#pragma once
// Text conversions. Tag bytes map one to one onto characters (ISO-8859-1);
// paths, playlist files and registry strings are UTF-8.
#include <QByteArray>
#include <QString>
#include <string_view>

namespace sys {

// Each byte becomes the character with that code (0..255).
QString bytesToText(const QByteArray& bytes);
QString bytesToText(std::string_view bytes);
// Each character becomes one byte; characters above 255 become '?'.
QByteArray textToBytes(const QString& text);

// The platform's code page (UTF-8) for paths, playlists and registry strings.
QString fromAnsi(const char* zeroTerminated);
QString fromAnsi(const QByteArray& bytes);
QByteArray toAnsi(const QString& text);

// Line end of every text file the program writes.
inline constexpr const char* kLineEnd = "\r\n";

} // namespace sys
