#pragma once
// The process-wide registry state: the database in use and the table of open
// keys. Every API call holds the store's lock for its whole run, so calls may
// come from any thread.
#include "platform/registry/database.h"

#include <QStringList>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <sqlite3.h>

namespace reg::detail {

class Store {
public:
    static Store& instance();

    std::mutex& mutex() { return mutex_; }
    // Opens the database on first use (see Database::open).
    LONG open();
    sqlite3* db() const { return database_->connection(); }
    // Switches to another file (empty: the one the environment names) and
    // forgets every open key.
    void useDatabase(const QString& path);
    QString path() const { return database_->path(); }

    static bool isPredefined(HKEY key);
    HKEY addHandle(std::int64_t keyId);
    bool closeHandle(HKEY key);
    bool hasHandle(HKEY key) const { return handles_.count(key) != 0; }

    // The row id of `key`, inside the caller's transaction. The classes root
    // is local machine SOFTWARE\Classes, created first when `create`. An
    // unknown handle answers ERROR_INVALID_HANDLE, a key deleted meanwhile
    // ERROR_FILE_NOT_FOUND.
    LONG resolve(HKEY key, bool create, std::int64_t* id);
    // Follows `parts` down from key `from`. Missing keys are created when
    // `create` (then *created tells whether the last one was new), otherwise
    // answer ERROR_FILE_NOT_FOUND.
    LONG walk(std::int64_t from, const QStringList& parts, bool create, std::int64_t* id,
              bool* created = nullptr);

private:
    Store();

    std::mutex mutex_;
    std::unique_ptr<Database> database_;
    std::map<HKEY, std::int64_t> handles_; // open key -> row id
    HKEY nextHandle_ = 1;                  // never reused within a process
};

// Runs the work of one API call on `key`: with the store locked and open,
// inside a transaction of `kind`, and the key resolved to its row id (see
// Store::resolve; `create` makes the classes root when missing). Answers the
// first of those steps that fails, else what `work(store, transaction, id)`
// answers. Work that writes commits the transaction itself; otherwise it is
// rolled back when the work returns.
template <typename Work> LONG withKey(HKEY key, Transaction::Kind kind, bool create, Work&& work) {
    auto& store = Store::instance();
    std::lock_guard lock(store.mutex());
    if (const LONG status = store.open())
        return status;
    Transaction transaction(store.db(), kind);
    if (transaction.begun() != SQLITE_OK)
        return statusOf(transaction.begun());
    std::int64_t id = 0;
    if (const LONG status = store.resolve(key, create, &id))
        return status;
    return work(store, transaction, id);
}

} // namespace reg::detail
