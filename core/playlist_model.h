#pragma once
// The playlist: the songs the decks and the automatic DJ draw from, in order,
// each a full path and the line the playlist window shows for it
// ("n.  title"); the cursor entry (the next song); whether the list changed
// since it was last opened or saved; the playlist file it came from and the
// one it is saved to. The program state owns the one instance for the whole
// run; the playlist window is a view onto it. User-interface thread only.
#include <QAbstractListModel>
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace core {

class PlaylistModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    // DisplayRole: the entry's line; kFactsRole: its tempo and length once
    // analysed ("128.0 BPM  3:45"), else empty. Entries can be dragged (onto a deck).
    static constexpr int kFactsRole = Qt::UserRole + 1;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // ---- Entries ----
    int count() const { return static_cast<int>(paths_.size()); }
    // The path and the line of entry `index`; "" when there is no such entry.
    QString path(int index) const { return paths_.value(index); }
    QString line(int index) const { return lines_.value(index); }
    QStringList paths() const { return paths_; }
    void append(const QString& path, const QString& line);
    // Nothing when there is no entry `index`.
    void setLine(int index, const QString& line);
    // Exchanges two entries; the selection stays.
    void swap(int a, int b);
    // Replaces every entry (as many lines as paths); nothing is selected
    // then. The cursor and the next song stay.
    void setEntries(const QStringList& paths, const QStringList& lines);
    // Empties the list: nothing selected, no next song (the next-song box
    // shows nothing). The cursor keeps its value.
    void clear();
    // Removes the selected entry (nothing when none is); the entry after it,
    // else the one before, is selected; a list left empty is cleared.
    void removeSelected();

    // ---- Cursor ----
    // The cursor entry (song_index). It may stand outside the list (after a
    // clear, or -1 after stepping back in an empty list). setCursor moves it
    // without selecting: the view and the next song stay.
    std::int32_t cursor() const { return cursor_; }
    void setCursor(std::int32_t index) { cursor_ = index; }
    // The entry selected in the view; -1 when none is.
    int selected() const { return selected_; }
    // Makes entry `index` the cursor entry and selects it: the next song
    // path and the next-song box follow. Nothing when there is no such entry.
    void select(int index);
    // The cursor steps to the next (previous) entry, wrapping at the ends,
    // and that entry is selected.
    void selectNext();
    void selectPrevious();
    // True while rows are removed or reset (the view's own current row
    // moves then; that must not move the cursor).
    bool changing() const { return changing_; }

    // ---- Next song ----
    // The path of the entry last selected; "" after a clear.
    QString nextSongPath() const { return nextSongPath_; }
    // No next song: the path is emptied and the next-song box shows nothing.
    void clearNextSong() {
        nextSongPath_.clear();
        emit nextSongShown({});
    }
    // The next-song box shows `text` (the cursor entry's line).
    void showNextSong(const QString& text) { emit nextSongShown(text); }

    // ---- Playlist file ----
    bool changed() const { return changed_; }
    void setChanged(bool changed) {
        if (changed_ != changed)
            emit changedFlagChanged(changed_ = changed);
    }
    // The playlist file the list belongs to; "" when none.
    QString currentPlaylist() const { return currentPlaylist_; }
    void setCurrentPlaylist(const QString& path) {
        currentPlaylist_ = path;
        emit pathsChanged();
    }
    // Where a save writes; the playlist label shows its name.
    QString savePath() const { return savePath_; }
    void setSavePath(const QString& path) {
        savePath_ = path;
        emit pathsChanged();
    }

    // The last file the add dialog added; "" when the dialog was cancelled.
    QString lastAddedFile;
    // Titles that playlist files gave their entries ("#EXTINF" lines), by
    // path: an entry whose file's tags give no title shows this one.
    QHash<QString, QString> listedTitles;

    // ---- Track analysis ----
    // What the analysis found for `path` (its BPM, 0 when none was found, and
    // its length in seconds): every entry of that file shows it.
    void setTrackFacts(const QString& path, double bpm, double seconds);
    // The facts text of entry `index`; "" while it is not analysed.
    QString factsText(int index) const { return facts_.value(paths_.value(index)); }
    // The playlist's analysis: `done` of `total` files (0 of 0 when idle or
    // stopped); the window shows it.
    void setAnalysisProgress(int done, int total) { emit analysisProgress(done, total); }
    // The window's "Analyse all" and Stop: answered by the program's analysis.
    void requestAnalyseAll() { emit analyseAllRequested(); }
    void requestStopAnalysis() { emit stopAnalysisRequested(); }

    // Asks the playlist window for its add button's dialog (lastAddedFile
    // then tells what it added); nothing while the window is not loaded.
    void requestAdd() { emit addRequested(); }

signals:
    void cursorChanged(int index);
    void nextSongShown(const QString& text);
    void changedFlagChanged(bool changed);
    void pathsChanged();
    void addRequested();
    void analysisProgress(int done, int total);
    void analyseAllRequested();
    void stopAnalysisRequested();

private:
    QStringList paths_;
    QStringList lines_;
    std::int32_t cursor_ = 0;
    int selected_ = -1;
    bool changing_ = false;
    bool changed_ = false;
    QString nextSongPath_;
    QString currentPlaylist_;
    QString savePath_;
    // Facts texts by path.
    QHash<QString, QString> facts_;
};

} // namespace core
