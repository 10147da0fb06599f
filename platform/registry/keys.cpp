// Keys: creating, opening, closing, deleting and listing them.
#include "platform/registry/names.h"
#include "platform/registry/registry.h"
#include "platform/registry/store.h"

#include <sqlite3.h>

namespace reg {

using detail::statusOf;
using detail::Store;
using detail::Transaction;

LONG RegCreateKeyEx(HKEY key, const QString& subKey, DWORD /*reserved*/,
                    const QString& /*className*/, DWORD /*options*/, DWORD /*samDesired*/,
                    HKEY* result, DWORD* disposition) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = 0;
    QStringList parts;
    if (const LONG status = detail::splitKeyPath(subKey, &parts))
        return status;

    return detail::withKey(key, Transaction::Kind::Write, true,
                           [&](Store& store, Transaction& transaction, std::int64_t base) {
                               std::int64_t id = 0;
                               bool created = false;
                               if (const LONG status = store.walk(base, parts, true, &id, &created))
                                   return status;
                               if (const LONG status = statusOf(transaction.commit()))
                                   return status;
                               *result = store.addHandle(id);
                               if (disposition)
                                   *disposition =
                                       created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
                               return ERROR_SUCCESS;
                           });
}

LONG RegCreateKey(HKEY key, const QString& subKey, HKEY* result) {
    return RegCreateKeyEx(key, subKey, 0, QString(), REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          result, nullptr);
}

LONG RegOpenKeyEx(HKEY key, const QString& subKey, DWORD /*options*/, DWORD /*samDesired*/,
                  HKEY* result) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = 0;
    QStringList parts;
    if (const LONG status = detail::splitKeyPath(subKey, &parts))
        return status;

    return detail::withKey(key, Transaction::Kind::Read, false,
                           [&](Store& store, Transaction&, std::int64_t base) {
                               std::int64_t id = 0;
                               if (const LONG status = store.walk(base, parts, false, &id))
                                   return status;
                               *result = store.addHandle(id);
                               return ERROR_SUCCESS;
                           });
}

LONG RegCloseKey(HKEY key) {
    if (Store::isPredefined(key))
        return ERROR_SUCCESS;
    auto& store = Store::instance();
    std::lock_guard lock(store.mutex());
    return store.closeHandle(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

// Every change is already committed with a full sync, so there is nothing
// left to write; the call only checks its key.
LONG RegFlushKey(HKEY key) {
    auto& store = Store::instance();
    std::lock_guard lock(store.mutex());
    if (!Store::isPredefined(key) && !store.hasHandle(key))
        return ERROR_INVALID_HANDLE;
    return store.open();
}

LONG RegDeleteKey(HKEY key, const QString& subKey) {
    QStringList parts;
    if (const LONG status = detail::splitKeyPath(subKey, &parts))
        return status;
    if (key == HKEY_CLASSES_ROOT && parts.isEmpty())
        return ERROR_ACCESS_DENIED;

    return detail::withKey(
        key, Transaction::Kind::Write, false,
        [&](Store& store, Transaction& transaction, std::int64_t base) {
            std::int64_t id = 0;
            if (const LONG status = store.walk(base, parts, false, &id))
                return status;
            if (id == detail::kCurrentUserRoot || id == detail::kLocalMachineRoot)
                return ERROR_ACCESS_DENIED;

            detail::Statement children(store.db(),
                                       "SELECT 1 FROM registry_keys WHERE parent = ?1 LIMIT 1");
            const int rc = children.bind(1, id).step();
            if (rc == SQLITE_ROW)
                return ERROR_ACCESS_DENIED;
            if (rc != SQLITE_DONE)
                return statusOf(rc);
            detail::Statement values(store.db(), "DELETE FROM registry_values WHERE key = ?1");
            if (const int deleted = values.bind(1, id).step(); deleted != SQLITE_DONE)
                return statusOf(deleted);
            detail::Statement self(store.db(), "DELETE FROM registry_keys WHERE id = ?1");
            if (const int deleted = self.bind(1, id).step(); deleted != SQLITE_DONE)
                return statusOf(deleted);
            return statusOf(transaction.commit());
        });
}

LONG RegEnumKeyEx(HKEY key, DWORD index, QString* name) {
    return detail::withKey(
        key, Transaction::Kind::Read, false, [&](Store& store, Transaction&, std::int64_t id) {
            detail::Statement child(store.db(), "SELECT name FROM registry_keys WHERE parent = ?1"
                                                " ORDER BY id LIMIT 1 OFFSET ?2");
            const int rc = child.bind(1, id).bind(2, std::int64_t(index)).step();
            if (const LONG status = detail::rowStatus(rc, ERROR_NO_MORE_ITEMS))
                return status;
            if (name)
                *name = child.text(0);
            return ERROR_SUCCESS;
        });
}

LONG RegQueryInfoKey(HKEY key, DWORD* subKeys, DWORD* values, DWORD* maxValueSize) {
    return detail::withKey(
        key, Transaction::Kind::Read, false, [&](Store& store, Transaction&, std::int64_t id) {
            detail::Statement info(store.db(),
                                   "SELECT (SELECT count(*) FROM registry_keys WHERE parent = ?1),"
                                   " count(*), coalesce(max(length(data)), 0)"
                                   " FROM registry_values WHERE key = ?1");
            const int rc = info.bind(1, id).step();
            if (rc != SQLITE_ROW)
                return statusOf(rc);
            if (subKeys)
                *subKeys = DWORD(info.integer(0));
            if (values)
                *values = DWORD(info.integer(1));
            if (maxValueSize)
                *maxValueSize = DWORD(info.integer(2));
            return ERROR_SUCCESS;
        });
}

} // namespace reg
