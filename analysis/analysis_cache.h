#pragma once
// Analysis results kept across runs in an SQLite file, so each file is
// analysed once: a result answers only while the file has the same size and
// modification time and the analyser the same version as when it was
// stored. The DJ's halve/double choice is kept with the path and outlives a
// new analysis of it. A file that is not a cache is set aside and a new one
// started; a row no analysis could give is not answered. Any thread; calls
// are serialised.
#include "analysis/track_analysis.h"

#include <QString>
#include <mutex>
#include <optional>

struct sqlite3;

namespace analysis {

class AnalysisCache {
public:
    // The default file: $XDG_DATA_HOME/vorlan/analysis.db.
    static QString defaultPath();

    explicit AnalysisCache(QString path = defaultPath());
    ~AnalysisCache();
    AnalysisCache(const AnalysisCache&) = delete;
    AnalysisCache& operator=(const AnalysisCache&) = delete;

    // The stored result of `file` while it is current; empty otherwise, or
    // when the cache cannot be read (then error() says why).
    std::optional<TrackAnalysis> find(const QString& file);
    // Stores `result` for `file` as it is now (its octave shift is not
    // stored: the DJ's choice stays). False when the cache cannot be written.
    bool store(const QString& file, const TrackAnalysis& result);
    // Keeps the DJ's halve (-1), double (+1) or neither (0) for `file`: a
    // choice of up to three octaves; false for more.
    bool setOctaveShift(const QString& file, int shift);
    QString error() const;

private:
    bool open();                    // mutex_ held
    bool fail(const QString& what); // mutex_ held; records the SQLite error

    QString path_;
    sqlite3* db_ = nullptr;
    QString error_;
    bool setAside_ = false; // a damaged file was set aside once already
    mutable std::mutex mutex_;
};

} // namespace analysis
