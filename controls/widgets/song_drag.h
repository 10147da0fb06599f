#pragma once
#include <QMimeData>

namespace app {

// True for what a console control takes as a dropped song: a path as text or file URLs.
inline bool isSongDrag(const QMimeData* data) {
    return data && (data->hasText() || data->hasUrls());
}

} // namespace app
