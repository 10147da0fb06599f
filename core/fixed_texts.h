#pragma once
// The program's fixed texts that are kept only in enciphered form.
#include <QString>

namespace core {

// Registry key of the program's settings under local machine (33 characters).
QString settingsKeyPath();
// What get_RegValue answers for a value it cannot read. Reads as the number 0;
// in lower case it is "not found".
QString notFoundMarker();
// The splash window's label.
QString splashLabelText();
// The critical message shown when the audio library is not version 1.6.
QString versionRefusalText();

// Title of the critical version-refusal box.
inline constexpr const char* kVersionRefusalTitle = "10X022F";
// The audio library version the program runs with.
inline constexpr const char* kRequiredBassVersion = "1.6";

} // namespace core
