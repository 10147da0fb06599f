#include "platform/registry/database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace reg::detail {
namespace {

// How long a call waits for another process holding the write lock (ms).
constexpr int kBusyTimeoutMs = 10000;
constexpr int kSchemaVersion = 1;
constexpr char kKeysTable[] = "registry_keys";
constexpr char kValuesTable[] = "registry_values";

constexpr char kSchema[] =
    "CREATE TABLE IF NOT EXISTS registry_keys("
    " id INTEGER PRIMARY KEY AUTOINCREMENT," // never reused: stale handles stay stale
    " parent INTEGER NOT NULL,"              // 0 for the hive roots
    " name TEXT NOT NULL,"                   // as created
    " folded TEXT NOT NULL,"                 // case-folded, for look-up
    " UNIQUE(parent, folded));"
    "CREATE TABLE IF NOT EXISTS registry_values("
    " id INTEGER PRIMARY KEY," // creation order
    " key INTEGER NOT NULL,"
    " name TEXT NOT NULL,"
    " folded TEXT NOT NULL,"
    " type INTEGER NOT NULL,"
    " data BLOB NOT NULL,"
    " UNIQUE(key, folded));"
    "INSERT OR IGNORE INTO registry_keys(id, parent, name, folded) VALUES"
    " (1, 0, 'HKEY_CURRENT_USER', 'hkey_current_user'),"
    " (2, 0, 'HKEY_LOCAL_MACHINE', 'hkey_local_machine');"
    "INSERT OR IGNORE INTO registry_keys(parent, name, folded) VALUES (2, 'SOFTWARE', 'software');"
    "INSERT OR IGNORE INTO registry_keys(parent, name, folded)"
    " SELECT id, 'Classes', 'classes' FROM registry_keys WHERE parent = 2 AND folded = 'software';"
    "PRAGMA user_version = 1;";

// The first 16 bytes of every SQLite database file.
constexpr char kHeaderMagic[] = "SQLite format 3";
constexpr int kHeaderSize = 100;

std::uint32_t bigEndian(const char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

// Whether a file of `fileSize` bytes holds whole pages, and as many as its
// 100-byte header says. SQLite reads a page cut short as zeros, so a file
// that lost its end would otherwise open as sound and hand out zero-filled
// values. Header fields (big-endian): page size at 16 (1 means 65536),
// change counter at 24, page count at 28, and at 92 the change counter for
// which that page count is valid.
bool sizeMatchesHeader(const char* header, std::uint64_t fileSize) {
    std::uint32_t pageSize = bigEndian(header + 16, 2);
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
        return false;
    if (fileSize % pageSize != 0)
        return false;
    const std::uint32_t pageCount = bigEndian(header + 28, 4);
    const bool countValid =
        pageCount != 0 && bigEndian(header + 24, 4) == bigEndian(header + 92, 4);
    return !countValid || std::uint64_t{pageCount} * pageSize == fileSize;
}

LONG statusOfErrno(int error) {
    return (error == EACCES || error == EPERM || error == EROFS) ? ERROR_ACCESS_DENIED
                                                                 : ERROR_REGISTRY_IO_FAILED;
}

} // namespace

QString databasePathFromEnvironment() {
    const QString explicitPath = qEnvironmentVariable("VORLAN_REGISTRY");
    if (!explicitPath.isEmpty())
        return explicitPath;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/vorlan/registry.db");
}

LONG statusOf(int sqliteResult) {
    switch (sqliteResult & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return ERROR_SUCCESS;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
        return ERROR_REGISTRY_CORRUPT;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return ERROR_ACCESS_DENIED;
    case SQLITE_TOOBIG:
    case SQLITE_RANGE:
        return ERROR_INVALID_PARAMETER;
    default:
        return ERROR_REGISTRY_IO_FAILED;
    }
}

LONG rowStatus(int sqliteResult, LONG noRow) {
    if (sqliteResult == SQLITE_ROW)
        return ERROR_SUCCESS;
    return sqliteResult == SQLITE_DONE ? noRow : statusOf(sqliteResult);
}

// ---- Database ----

Database::Database(QString path) : path_(std::move(path)) {}

Database::~Database() {
    close();
}

void Database::close() {
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
}

LONG Database::open() {
    if (db_)
        return ERROR_SUCCESS;
    if (path_.isEmpty())
        return ERROR_REGISTRY_IO_FAILED;
    if (const LONG status = checkFile())
        return status;

    const QByteArray name = QFile::encodeName(path_);
    // A file we may not write is opened read-only. Unless a write-ahead log
    // is waiting to be read, it is opened as unchanging, so SQLite makes no
    // side files beside it (they would take the file's read-only mode and
    // keep the registry read-only after the file is made writable again).
    const bool readOnly = QFileInfo::exists(path_) && ::access(name.constData(), W_OK) != 0;
    const bool logWaiting = QFileInfo(path_ + QStringLiteral("-wal")).size() > 0;
    int rc;
    if (readOnly) {
        const QByteArray uri = "file:" + QUrl::toPercentEncoding(path_, "/") + "?mode=ro" +
                               (logWaiting ? "" : "&immutable=1");
        rc = sqlite3_open_v2(uri.constData(), &db_,
                             SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_FULLMUTEX,
                             nullptr);
    } else {
        rc = sqlite3_open_v2(name.constData(), &db_,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                             nullptr);
    }
    if (rc != SQLITE_OK) {
        const LONG status = rc == SQLITE_CANTOPEN ? statusOfErrno(errno) : statusOf(rc);
        close();
        return status;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);

    bool needsSchema = false;
    LONG status = checkContents(&needsSchema);
    if (status == ERROR_SUCCESS && readOnly && needsSchema)
        status = ERROR_ACCESS_DENIED;
    if (status == ERROR_SUCCESS && !readOnly) {
        // Only a file that passed the checks is ever written to.
        sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        sqlite3_exec(db_, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
        if (needsSchema)
            status = createSchema();
    }
    if (status != ERROR_SUCCESS)
        close();
    return status;
}

// Looks at the file before SQLite touches it: a missing file is created later
// (its folder now), an empty one is a new database, anything else must carry
// the SQLite header and be as long as the header says.
LONG Database::checkFile() const {
    const QFileInfo info(path_);
    if (!info.exists()) {
        if (!QDir().mkpath(info.absolutePath()))
            return ERROR_ACCESS_DENIED;
        return ERROR_SUCCESS;
    }
    if (info.isDir())
        return ERROR_REGISTRY_IO_FAILED;

    const QByteArray name = QFile::encodeName(path_);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return statusOfErrno(errno);
    char header[kHeaderSize];
    ssize_t got = 0;
    while (got < kHeaderSize) {
        const ssize_t n = ::read(fd, header + got, kHeaderSize - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return statusOfErrno(error);
        }
        if (n == 0)
            break;
        got += n;
    }
    struct stat status {};
    const bool sized = ::fstat(fd, &status) == 0;
    ::close(fd);
    if (got == 0)
        return ERROR_SUCCESS;
    if (got < kHeaderSize || std::memcmp(header, kHeaderMagic, sizeof kHeaderMagic) != 0)
        return ERROR_REGISTRY_CORRUPT;
    if (!sized)
        return ERROR_REGISTRY_IO_FAILED;
    // A write-ahead log that holds pages is newer than the file and may be
    // in the middle of being copied into it: SQLite checks the pair itself.
    if (QFileInfo(path_ + QStringLiteral("-wal")).size() > 0)
        return ERROR_SUCCESS;
    return sizeMatchesHeader(header, static_cast<std::uint64_t>(status.st_size))
               ? ERROR_SUCCESS
               : ERROR_REGISTRY_CORRUPT;
}

// Read-only checks: the file is a sound database, and it is either empty or
// holds this registry's tables.
LONG Database::checkContents(bool* needsSchema) {
    {
        Statement check(db_, "PRAGMA quick_check");
        if (const LONG status = rowStatus(check.step(), ERROR_REGISTRY_CORRUPT))
            return status;
        if (check.text(0) != QLatin1String("ok"))
            return ERROR_REGISTRY_CORRUPT;
    }
    QSet<QString> tables;
    {
        Statement list(db_, "SELECT name FROM sqlite_master WHERE type = 'table'"
                            " AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'");
        int rc;
        while ((rc = list.step()) == SQLITE_ROW)
            tables.insert(list.text(0));
        if (rc != SQLITE_DONE)
            return statusOf(rc);
    }
    if (tables.isEmpty()) {
        *needsSchema = true;
        return ERROR_SUCCESS;
    }
    if (tables != QSet<QString>{QLatin1String(kKeysTable), QLatin1String(kValuesTable)})
        return ERROR_REGISTRY_CORRUPT; // some other program's database: not ours to change
    Statement version(db_, "PRAGMA user_version");
    const int rc = version.step();
    if (rc != SQLITE_ROW)
        return statusOf(rc);
    if (version.integer(0) != kSchemaVersion)
        return ERROR_REGISTRY_CORRUPT;
    *needsSchema = false;
    return ERROR_SUCCESS;
}

// Creates the tables and the hive roots in one transaction; safe when
// another process does the same at the same moment.
LONG Database::createSchema() {
    Transaction transaction(db_, Transaction::Kind::Write);
    if (transaction.begun() != SQLITE_OK)
        return statusOf(transaction.begun());
    const int rc = sqlite3_exec(db_, kSchema, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return statusOf(rc);
    return statusOf(transaction.commit());
}

// ---- Statement ----

Statement::Statement(sqlite3* db, const char* sql) {
    rc_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement& Statement::bind(int index, std::int64_t value) {
    if (rc_ == SQLITE_OK)
        rc_ = sqlite3_bind_int64(stmt_, index, value);
    return *this;
}

Statement& Statement::bind(int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (rc_ == SQLITE_OK)
        rc_ = sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::bindBlob(int index, const BYTE* data, DWORD size) {
    if (rc_ != SQLITE_OK)
        return *this;
    // A zero-length value is stored as an empty blob, never as NULL.
    rc_ = size == 0 ? sqlite3_bind_zeroblob(stmt_, index, 0)
                    : sqlite3_bind_blob(stmt_, index, data, int(size), SQLITE_TRANSIENT);
    return *this;
}

int Statement::step() {
    if (rc_ != SQLITE_OK)
        return rc_;
    return sqlite3_step(stmt_);
}

std::int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

QString Statement::text(int column) const {
    const auto* chars = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QString::fromUtf8(chars, sqlite3_column_bytes(stmt_, column));
}

const BYTE* Statement::blob(int column) const {
    return static_cast<const BYTE*>(sqlite3_column_blob(stmt_, column));
}

DWORD Statement::blobSize(int column) const {
    return DWORD(sqlite3_column_bytes(stmt_, column));
}

// ---- Transaction ----

Transaction::Transaction(sqlite3* db, Kind kind) : db_(db) {
    rc_ = sqlite3_exec(db_, kind == Kind::Write ? "BEGIN IMMEDIATE" : "BEGIN", nullptr, nullptr,
                       nullptr);
    open_ = rc_ == SQLITE_OK;
}

Transaction::~Transaction() {
    if (open_)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

int Transaction::commit() {
    const int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        open_ = false;
    return rc;
}

} // namespace reg::detail
