#pragma once
// The registry: hives of keys holding typed values, kept in one SQLite
// database. A Win32-shaped API with Win32 status codes and value types.
//
// Hives: classes root (a view of local machine "SOFTWARE\Classes"), current
// user, local machine. Key and value names compare without regard to case
// and keep the case they were created with; the empty value name is the
// key's default value. Key paths use "\" as separator.
//
// The database is $VORLAN_REGISTRY, else $XDG_CONFIG_HOME/vorlan/registry.db
// (~/.config/vorlan/registry.db), created on first use. Calls may come from
// any thread; every change is one committed transaction, and several
// processes may use the same file at once.
//
// A file that is not a sound registry (garbage, truncated, damaged, another
// program's database) makes every call on it answer ERROR_REGISTRY_CORRUPT; one
// that may not be read answers ERROR_ACCESS_DENIED; one that may be read but
// not written serves reads and answers writes with ERROR_ACCESS_DENIED. Such
// a file is never written to; the check is repeated on each call until the
// file is usable. Over-long names and values larger than kMaxValueSize
// answer ERROR_INVALID_PARAMETER.
#include <QString>
#include <cstdint>

namespace reg {

using LONG = std::int32_t;
using DWORD = std::uint32_t;
using BYTE = std::uint8_t;
using HKEY = std::uintptr_t; // 0 = no key

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

// Status codes.
inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_ACCESS_DENIED = 5;
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_MORE_DATA = 234;
inline constexpr LONG ERROR_NO_MORE_ITEMS = 259;
inline constexpr LONG ERROR_BADDB = 1009;
inline constexpr LONG ERROR_REGISTRY_CORRUPT = 1015;
inline constexpr LONG ERROR_REGISTRY_IO_FAILED = 1016;

// Value types.
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4; // little-endian
inline constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
inline constexpr DWORD REG_MULTI_SZ = 7;

// Access rights (accepted and ignored: every open key may read and write).
inline constexpr DWORD KEY_QUERY_VALUE = 0x0001;
inline constexpr DWORD KEY_SET_VALUE = 0x0002;
inline constexpr DWORD KEY_READ = 0x20019;
inline constexpr DWORD KEY_WRITE = 0x20006;
inline constexpr DWORD KEY_ALL_ACCESS = 0xF003F;

inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Longest names (characters).
inline constexpr int kMaxKeyNameLength = 255;
inline constexpr int kMaxValueNameLength = 16383;
// Largest value (bytes).
inline constexpr DWORD kMaxValueSize = 1024 * 1024;

LONG RegCreateKeyEx(HKEY key, const QString& subKey, DWORD reserved, const QString& className,
                    DWORD options, DWORD samDesired, HKEY* result, DWORD* disposition);
LONG RegCreateKey(HKEY key, const QString& subKey, HKEY* result);
LONG RegOpenKeyEx(HKEY key, const QString& subKey, DWORD options, DWORD samDesired, HKEY* result);
LONG RegCloseKey(HKEY key);
LONG RegFlushKey(HKEY key);
// Deletes `subKey` of `key`; fails (ERROR_ACCESS_DENIED) while it has subkeys.
LONG RegDeleteKey(HKEY key, const QString& subKey);
LONG RegDeleteValue(HKEY key, const QString& valueName);

// Writes `size` bytes of `data` with `type`. For string types the caller
// passes the terminating NUL(s) in `data`/`size`, as on Win32.
LONG RegSetValueEx(HKEY key, const QString& valueName, DWORD reserved, DWORD type, const BYTE* data,
                   DWORD size);
// Reads a value. `type` and `data` may be null. On entry *size is the
// buffer's size; on return the value's size. A short buffer answers
// ERROR_MORE_DATA with *size the size needed. A null `data` with a non-null
// `size` asks only for the size.
LONG RegQueryValueEx(HKEY key, const QString& valueName, DWORD* reserved, DWORD* type, BYTE* data,
                     DWORD* size);

// Enumeration in creation order; ERROR_NO_MORE_ITEMS past the end. The name
// is returned whole (no buffer-length games); `type`, `data`, `size` as for
// RegQueryValueEx.
LONG RegEnumValue(HKEY key, DWORD index, QString* valueName, DWORD* reserved, DWORD* type,
                  BYTE* data, DWORD* size);
LONG RegEnumKeyEx(HKEY key, DWORD index, QString* name);
LONG RegQueryInfoKey(HKEY key, DWORD* subKeys, DWORD* values, DWORD* maxValueSize);

// Switches to another database file (empty: the path from the environment,
// as at start). Open keys are closed. For tests and tools.
void RegUseDatabase(const QString& path);
// The database file in use.
QString RegDatabasePath();
// A sentence that tells a user what a status code means ("Access is denied:
// the file or its folder may not be written.").
QString RegStatusText(LONG status);

} // namespace reg
