#include "platform/registry/store.h"

#include "platform/registry/names.h"

#include <sqlite3.h>

namespace reg::detail {

Store& Store::instance() {
    static Store store;
    return store;
}

Store::Store() : database_(std::make_unique<Database>(databasePathFromEnvironment())) {}

LONG Store::open() {
    return database_->open();
}

void Store::useDatabase(const QString& path) {
    handles_.clear();
    database_ = std::make_unique<Database>(path.isEmpty() ? databasePathFromEnvironment() : path);
}

bool Store::isPredefined(HKEY key) {
    return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE;
}

HKEY Store::addHandle(std::int64_t keyId) {
    const HKEY handle = nextHandle_++;
    handles_[handle] = keyId;
    return handle;
}

bool Store::closeHandle(HKEY key) {
    return handles_.erase(key) != 0;
}

LONG Store::resolve(HKEY key, bool create, std::int64_t* id) {
    if (key == HKEY_CURRENT_USER) {
        *id = kCurrentUserRoot;
        return ERROR_SUCCESS;
    }
    if (key == HKEY_LOCAL_MACHINE) {
        *id = kLocalMachineRoot;
        return ERROR_SUCCESS;
    }
    if (key == HKEY_CLASSES_ROOT)
        return walk(kLocalMachineRoot, {QStringLiteral("SOFTWARE"), QStringLiteral("Classes")},
                    create, id);
    const auto found = handles_.find(key);
    if (found == handles_.end())
        return ERROR_INVALID_HANDLE;
    Statement exists(db(), "SELECT 1 FROM registry_keys WHERE id = ?1");
    const int rc = exists.bind(1, found->second).step();
    if (const LONG status = rowStatus(rc, ERROR_FILE_NOT_FOUND))
        return status;
    *id = found->second;
    return ERROR_SUCCESS;
}

LONG Store::walk(std::int64_t from, const QStringList& parts, bool create, std::int64_t* id,
                 bool* created) {
    std::int64_t current = from;
    bool madeLast = false;
    for (const QString& part : parts) {
        const QString key = folded(part);
        Statement find(db(), "SELECT id FROM registry_keys WHERE parent = ?1 AND folded = ?2");
        const int rc = find.bind(1, current).bind(2, key).step();
        if (rc == SQLITE_ROW) {
            current = find.integer(0);
            madeLast = false;
            continue;
        }
        if (rc != SQLITE_DONE)
            return statusOf(rc);
        if (!create)
            return ERROR_FILE_NOT_FOUND;
        Statement insert(db(),
                         "INSERT INTO registry_keys(parent, name, folded) VALUES (?1, ?2, ?3)");
        const int inserted = insert.bind(1, current).bind(2, part).bind(3, key).step();
        if (inserted != SQLITE_DONE)
            return statusOf(inserted);
        current = sqlite3_last_insert_rowid(db());
        madeLast = true;
    }
    *id = current;
    if (created)
        *created = madeLast;
    return ERROR_SUCCESS;
}

} // namespace reg::detail

namespace reg {

void RegUseDatabase(const QString& path) {
    auto& store = detail::Store::instance();
    std::lock_guard lock(store.mutex());
    store.useDatabase(path);
}

QString RegDatabasePath() {
    auto& store = detail::Store::instance();
    std::lock_guard lock(store.mutex());
    return store.path();
}

} // namespace reg
