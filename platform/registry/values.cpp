// Values: writing, reading, deleting and listing them.
#include "platform/registry/names.h"
#include "platform/registry/registry.h"
#include "platform/registry/store.h"

#include <cstring>
#include <sqlite3.h>

namespace reg {

using detail::statusOf;
using detail::Store;
using detail::Transaction;

namespace {

// Hands a stored value to the caller the Win32 way: the type always, the
// size always, the bytes when the buffer is big enough (else more-data).
LONG deliver(DWORD storedType, const BYTE* bytes, DWORD needed, DWORD* type, BYTE* data,
             DWORD* size) {
    if (type)
        *type = storedType;
    if (!size)
        return ERROR_SUCCESS;
    if (!data) {
        *size = needed;
        return ERROR_SUCCESS;
    }
    if (*size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (needed > 0)
        std::memcpy(data, bytes, needed);
    *size = needed;
    return ERROR_SUCCESS;
}

} // namespace

LONG RegSetValueEx(HKEY key, const QString& valueName, DWORD /*reserved*/, DWORD type,
                   const BYTE* data, DWORD size) {
    if (const LONG status = detail::checkValueName(valueName))
        return status;
    if (size > kMaxValueSize || (!data && size > 0))
        return ERROR_INVALID_PARAMETER;

    return detail::withKey(key, Transaction::Kind::Write, true,
                           [&](Store& store, Transaction& transaction, std::int64_t id) {
                               // A value written again keeps its name's case and its place in the
                               // order.
                               detail::Statement upsert(
                                   store.db(),
                                   "INSERT INTO registry_values(key, name, folded, type, data)"
                                   " VALUES (?1, ?2, ?3, ?4, ?5)"
                                   " ON CONFLICT(key, folded) DO UPDATE"
                                   " SET type = excluded.type, data = excluded.data");
                               const int rc = upsert.bind(1, id)
                                                  .bind(2, valueName)
                                                  .bind(3, detail::folded(valueName))
                                                  .bind(4, std::int64_t(type))
                                                  .bindBlob(5, data, size)
                                                  .step();
                               if (rc != SQLITE_DONE)
                                   return statusOf(rc);
                               return statusOf(transaction.commit());
                           });
}

LONG RegQueryValueEx(HKEY key, const QString& valueName, DWORD* /*reserved*/, DWORD* type,
                     BYTE* data, DWORD* size) {
    if (const LONG status = detail::checkValueName(valueName))
        return status;
    if (data && !size)
        return ERROR_INVALID_PARAMETER;

    return detail::withKey(
        key, Transaction::Kind::Read, false, [&](Store& store, Transaction&, std::int64_t id) {
            detail::Statement value(store.db(), "SELECT type, data FROM registry_values"
                                                " WHERE key = ?1 AND folded = ?2");
            const int rc = value.bind(1, id).bind(2, detail::folded(valueName)).step();
            if (const LONG status = detail::rowStatus(rc, ERROR_FILE_NOT_FOUND))
                return status;
            return deliver(DWORD(value.integer(0)), value.blob(1), value.blobSize(1), type, data,
                           size);
        });
}

LONG RegDeleteValue(HKEY key, const QString& valueName) {
    if (const LONG status = detail::checkValueName(valueName))
        return status;

    return detail::withKey(
        key, Transaction::Kind::Write, false,
        [&](Store& store, Transaction& transaction, std::int64_t id) {
            detail::Statement remove(store.db(),
                                     "DELETE FROM registry_values WHERE key = ?1 AND folded = ?2");
            const int rc = remove.bind(1, id).bind(2, detail::folded(valueName)).step();
            if (rc != SQLITE_DONE)
                return statusOf(rc);
            if (sqlite3_changes(store.db()) == 0)
                return ERROR_FILE_NOT_FOUND;
            return statusOf(transaction.commit());
        });
}

LONG RegEnumValue(HKEY key, DWORD index, QString* valueName, DWORD* /*reserved*/, DWORD* type,
                  BYTE* data, DWORD* size) {
    if (data && !size)
        return ERROR_INVALID_PARAMETER;

    return detail::withKey(
        key, Transaction::Kind::Read, false, [&](Store& store, Transaction&, std::int64_t id) {
            detail::Statement value(store.db(), "SELECT name, type, data FROM registry_values"
                                                " WHERE key = ?1 ORDER BY id LIMIT 1 OFFSET ?2");
            const int rc = value.bind(1, id).bind(2, std::int64_t(index)).step();
            if (const LONG status = detail::rowStatus(rc, ERROR_NO_MORE_ITEMS))
                return status;
            if (valueName)
                *valueName = value.text(0);
            return deliver(DWORD(value.integer(1)), value.blob(2), value.blobSize(2), type, data,
                           size);
        });
}

} // namespace reg
