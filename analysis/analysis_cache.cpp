#include "analysis/analysis_cache.h"

#include "platform/system/folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

#include <cmath>
#include <filesystem>
#include <system_error>

namespace analysis {
namespace {

constexpr int kBusyTimeoutMs = 2000;

const char* const kSchema = R"(
CREATE TABLE IF NOT EXISTS tracks (
    path TEXT PRIMARY KEY,
    size INTEGER NOT NULL,
    mtime INTEGER NOT NULL,
    version INTEGER NOT NULL,
    bpm REAL NOT NULL,
    first_beat REAL NOT NULL,
    loudness REAL NOT NULL,
    music_start REAL NOT NULL,
    music_end REAL NOT NULL,
    length REAL NOT NULL,
    octave_shift INTEGER NOT NULL DEFAULT 0
))";

// The file as the cache keys it; false when it cannot be read.
struct FileKey {
    std::int64_t size = 0;
    std::int64_t mtime = 0; // nanoseconds of the file clock
};
bool keyOf(const QString& file, FileKey& key) {
    std::error_code error;
    const std::filesystem::path path(QFile::encodeName(file).toStdString());
    const auto size = std::filesystem::file_size(path, error);
    if (error)
        return false;
    const auto time = std::filesystem::last_write_time(path, error);
    if (error)
        return false;
    key.size = static_cast<std::int64_t>(size);
    key.mtime = static_cast<std::int64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count());
    return true;
}

// A stored row that can be what the analysis found: finite, a tempo inside
// what any range allows, a halve/double choice of a few octaves, times
// within the track. Anything else (a file edited or damaged outside the
// program) is not trusted, and the track is analysed again.
bool plausible(const TrackAnalysis& r) {
    for (const double value : {r.bpm, r.firstBeat, r.loudness, r.musicStart, r.musicEnd, r.length})
        if (!std::isfinite(value))
            return false;
    const double end = r.length + 1.0;
    return r.bpm >= 0 && r.bpm <= 1000 && r.octaveShift >= -3 && r.octaveShift <= 3 &&
           r.length >= 0 && r.firstBeat >= 0 && r.firstBeat <= end && r.musicStart >= 0 &&
           r.musicStart <= r.musicEnd && r.musicEnd <= end;
}

QString absolute(const QString& file) {
    return QFileInfo(file).absoluteFilePath();
}

// One statement, finalised when it goes.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    explicit operator bool() const { return stmt_ != nullptr; }
    sqlite3_stmt* get() const { return stmt_; }
    void bind(int index, const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(stmt_, index, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT);
    }
    void bind(int index, std::int64_t value) { sqlite3_bind_int64(stmt_, index, value); }
    void bind(int index, double value) { sqlite3_bind_double(stmt_, index, value); }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace

QString AnalysisCache::defaultPath() {
    return sys::dataHome() + QStringLiteral("/vorlan/analysis.db");
}

AnalysisCache::AnalysisCache(QString path) : path_(std::move(path)) {}

AnalysisCache::~AnalysisCache() {
    sqlite3_close(db_);
}

QString AnalysisCache::error() const {
    std::lock_guard lock(mutex_);
    return error_;
}

bool AnalysisCache::fail(const QString& what) {
    error_ = QStringLiteral("%1 %2: %3")
                 .arg(what, path_, db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString());
    return false;
}

bool AnalysisCache::open() {
    if (db_)
        return true;
    QDir().mkpath(QFileInfo(path_).absolutePath());
    if (sqlite3_open_v2(QFile::encodeName(path_).constData(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        fail(QStringLiteral("Cannot open the analysis cache"));
        sqlite3_close(db_);
        db_ = nullptr;
        return false;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    if (sqlite3_exec(db_, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK) {
        const int code = sqlite3_errcode(db_);
        fail(QStringLiteral("Cannot set up the analysis cache"));
        sqlite3_close(db_);
        db_ = nullptr;
        // A file that is not a database (or a damaged one) is only a cache:
        // it is kept aside, as FILE.damaged, and a new one started.
        if ((code == SQLITE_NOTADB || code == SQLITE_CORRUPT) && !setAside_) {
            setAside_ = true;
            const QString aside = path_ + QStringLiteral(".damaged");
            QFile::remove(aside);
            for (const char* suffix : {"-wal", "-shm"})
                QFile::remove(path_ + QString::fromLatin1(suffix));
            if (QFile::rename(path_, aside))
                return open();
        }
        return false;
    }
    return true;
}

std::optional<TrackAnalysis> AnalysisCache::find(const QString& file) {
    FileKey key;
    if (!keyOf(file, key))
        return std::nullopt;
    std::lock_guard lock(mutex_);
    if (!open())
        return std::nullopt;
    Statement select(db_, "SELECT bpm, first_beat, loudness, music_start, music_end, length, "
                          "octave_shift FROM tracks "
                          "WHERE path = ? AND size = ? AND mtime = ? AND version = ?");
    if (!select) {
        fail(QStringLiteral("Cannot read the analysis cache"));
        return std::nullopt;
    }
    select.bind(1, absolute(file));
    select.bind(2, key.size);
    select.bind(3, key.mtime);
    select.bind(4, static_cast<std::int64_t>(kAnalyserVersion));
    if (sqlite3_step(select.get()) != SQLITE_ROW)
        return std::nullopt;
    TrackAnalysis result;
    result.bpm = sqlite3_column_double(select.get(), 0);
    result.firstBeat = sqlite3_column_double(select.get(), 1);
    result.loudness = sqlite3_column_double(select.get(), 2);
    result.musicStart = sqlite3_column_double(select.get(), 3);
    result.musicEnd = sqlite3_column_double(select.get(), 4);
    result.length = sqlite3_column_double(select.get(), 5);
    result.octaveShift = sqlite3_column_int(select.get(), 6);
    if (!plausible(result))
        return std::nullopt;
    return result;
}

bool AnalysisCache::store(const QString& file, const TrackAnalysis& result) {
    FileKey key;
    if (!keyOf(file, key))
        return false;
    std::lock_guard lock(mutex_);
    if (!open())
        return false;
    Statement upsert(db_, "INSERT INTO tracks (path, size, mtime, version, bpm, first_beat, "
                          "loudness, music_start, music_end, length) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
                          "ON CONFLICT(path) DO UPDATE SET size = excluded.size, "
                          "mtime = excluded.mtime, version = excluded.version, "
                          "bpm = excluded.bpm, first_beat = excluded.first_beat, "
                          "loudness = excluded.loudness, music_start = excluded.music_start, "
                          "music_end = excluded.music_end, length = excluded.length, "
                          "octave_shift = CASE WHEN octave_shift BETWEEN -3 AND 3 "
                          "THEN octave_shift ELSE 0 END");
    if (!upsert)
        return fail(QStringLiteral("Cannot write the analysis cache"));
    upsert.bind(1, absolute(file));
    upsert.bind(2, key.size);
    upsert.bind(3, key.mtime);
    upsert.bind(4, static_cast<std::int64_t>(kAnalyserVersion));
    upsert.bind(5, result.bpm);
    upsert.bind(6, result.firstBeat);
    upsert.bind(7, result.loudness);
    upsert.bind(8, result.musicStart);
    upsert.bind(9, result.musicEnd);
    upsert.bind(10, result.length);
    if (sqlite3_step(upsert.get()) != SQLITE_DONE)
        return fail(QStringLiteral("Cannot write the analysis cache"));
    return true;
}

bool AnalysisCache::setOctaveShift(const QString& file, int shift) {
    if (shift < -3 || shift > 3)
        return false;
    std::lock_guard lock(mutex_);
    if (!open())
        return false;
    Statement update(db_, "UPDATE tracks SET octave_shift = ? WHERE path = ?");
    if (!update)
        return fail(QStringLiteral("Cannot write the analysis cache"));
    update.bind(1, static_cast<std::int64_t>(shift));
    update.bind(2, absolute(file));
    if (sqlite3_step(update.get()) != SQLITE_DONE)
        return fail(QStringLiteral("Cannot write the analysis cache"));
    return sqlite3_changes(db_) > 0;
}

} // namespace analysis
