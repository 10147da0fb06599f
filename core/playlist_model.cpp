#include "core/playlist_model.h"

#include <algorithm>

namespace core {

int PlaylistModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant PlaylistModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == kFactsRole)
        return factsText(index.row());
    if (role != Qt::DisplayRole)
        return {};
    return lines_[index.row()];
}

void PlaylistModel::setTrackFacts(const QString& path, double bpm, double seconds) {
    const auto whole = static_cast<long long>(std::max(0.0, seconds) + 0.5);
    const QString length = QString::number(whole / 60) + ':' +
                           QString::number(whole % 60).rightJustified(2, QLatin1Char('0'));
    const QString text =
        (bpm > 0 ? QString::number(bpm, 'f', 1) + " BPM" : QStringLiteral("-- BPM")) + "  " +
        length;
    if (facts_.value(path) == text)
        return;
    facts_.insert(path, text);
    for (int row = 0; row < count(); ++row) {
        if (paths_[row] == path)
            emit dataChanged(index(row), index(row), {kFactsRole});
    }
}

Qt::ItemFlags PlaylistModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractListModel::flags(index);
    return index.isValid() ? flags | Qt::ItemIsDragEnabled : flags;
}

void PlaylistModel::append(const QString& path, const QString& line) {
    beginInsertRows({}, count(), count());
    paths_.append(path);
    lines_.append(line);
    endInsertRows();
}

void PlaylistModel::setLine(int index, const QString& line) {
    if (index < 0 || index >= count())
        return;
    lines_[index] = line;
    emit dataChanged(this->index(index), this->index(index));
}

void PlaylistModel::swap(int a, int b) {
    paths_.swapItemsAt(a, b);
    lines_.swapItemsAt(a, b);
    emit dataChanged(index(std::min(a, b)), index(std::max(a, b)));
}

void PlaylistModel::setEntries(const QStringList& paths, const QStringList& lines) {
    changing_ = true;
    beginResetModel();
    paths_ = paths;
    lines_ = lines;
    endResetModel();
    changing_ = false;
    selected_ = -1;
}

void PlaylistModel::clear() {
    setEntries({}, {});
    clearNextSong();
}

void PlaylistModel::removeSelected() {
    if (count() == 0)
        return;
    setChanged(true);
    const int index = selected_;
    if (index < 0)
        return;
    changing_ = true;
    beginRemoveRows({}, index, index);
    paths_.removeAt(index);
    lines_.removeAt(index);
    endRemoveRows();
    changing_ = false;
    if (index < count())
        select(index);
    else if (count() > 0)
        select(index - 1);
    else
        clear();
}

void PlaylistModel::select(int index) {
    if (index < 0 || index >= count())
        return;
    cursor_ = selected_ = index;
    nextSongPath_ = path(index);
    emit cursorChanged(index);
    emit nextSongShown(line(index));
}

void PlaylistModel::selectNext() {
    if (cursor_ + 1 < count())
        ++cursor_;
    else if (count() > 0)
        cursor_ = 0;
    select(cursor_);
}

void PlaylistModel::selectPrevious() {
    if (cursor_ > 0)
        --cursor_;
    else if (count() > 0)
        cursor_ = count() - 1;
    select(cursor_);
}

} // namespace core
