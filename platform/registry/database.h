#pragma once
// The registry's SQLite database: finding, checking and opening the file,
// its schema, and small helpers for statements and transactions.
// Not thread-safe on its own: the registry's store serialises every call.
#include "platform/registry/registry.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

struct sqlite3;
struct sqlite3_stmt;

namespace reg::detail {

// Row ids of the two hive roots; their parent is 0.
inline constexpr std::int64_t kCurrentUserRoot = 1;
inline constexpr std::int64_t kLocalMachineRoot = 2;

// The database file named by the environment: $VORLAN_REGISTRY, else
// $XDG_CONFIG_HOME/vorlan/registry.db, else ~/.config/vorlan/registry.db.
QString databasePathFromEnvironment();

// A Win32 status for an SQLite result code.
LONG statusOf(int sqliteResult);
// The status of a step that should find a row: ERROR_SUCCESS for a row,
// `noRow` when there is none, else the status of the error.
LONG rowStatus(int sqliteResult, LONG noRow);

class Database {
public:
    explicit Database(QString path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens the file on first use: creates it (and its folder) when missing,
    // otherwise checks that it is a sound registry before anything writes to
    // it. A file that fails the check is left exactly as it is and the
    // failure is answered again (the check is repeated) on the next call.
    LONG open();
    sqlite3* connection() const { return db_; }
    const QString& path() const { return path_; }

private:
    LONG checkFile() const;
    LONG checkContents(bool* needsSchema);
    LONG createSchema();
    void close();

    QString path_;
    sqlite3* db_ = nullptr;
};

// One prepared statement. Binding errors are kept and answered by step().
class Statement {
public:
    Statement(sqlite3* db, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, const QString& text); // stored as UTF-8
    Statement& bindBlob(int index, const BYTE* data, DWORD size);
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step();

    std::int64_t integer(int column) const;
    QString text(int column) const;
    const BYTE* blob(int column) const;
    DWORD blobSize(int column) const;

private:
    sqlite3_stmt* stmt_ = nullptr;
    int rc_;
};

// A transaction rolled back unless committed. Writers take the write lock at
// the start (waiting out other processes up to the busy timeout), so two
// writers never deadlock on a lock upgrade.
class Transaction {
public:
    enum class Kind { Read, Write };
    Transaction(sqlite3* db, Kind kind);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Result of BEGIN: SQLITE_OK or an error code.
    int begun() const { return rc_; }
    int commit();

private:
    sqlite3* db_;
    int rc_;
    bool open_ = false;
};

} // namespace reg::detail
