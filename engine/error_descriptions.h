#pragma once
// English texts for the audio library's error codes.
#include <QString>

namespace engine {

// The text for `code`; codes without a text (28, 30, 36, below -1, above 38)
// give an empty text.
QString getErrorDescription(int code);

} // namespace engine
