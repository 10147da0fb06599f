#include "decks/track_title.h"

#include <QFileInfo>

namespace decks {

QString trackTitle(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace decks
