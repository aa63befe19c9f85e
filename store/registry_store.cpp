// SPDX-License-Identifier: MIT
#include "store/registry_store.h"

#include "store/sqlite_statement.h"
#include "sys/file_system.h"
#include "sys/paths.h"

#include <cstdlib>
#include <strings.h>

namespace reelcraft {

namespace {

// Marks a database file as a store of ours ("RgSt"), so that another program's database is
// never taken for one.
constexpr int64_t kApplicationId = 0x52675374;
// Long enough for another program's write, short enough that a store locked for good does not
// hold up the start.
constexpr int kBusyTimeoutMs = 2000;
constexpr size_t kMaxKeyNameLength = 255;

const char *const kSchema = R"sql(
CREATE TABLE keys(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  parent INTEGER,
  name TEXT NOT NULL COLLATE NOCASE,
  UNIQUE(parent, name));
CREATE TABLE "values"(
  key INTEGER NOT NULL,
  name TEXT NOT NULL COLLATE NOCASE,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  PRIMARY KEY(key, name));
INSERT INTO keys(id, parent, name) VALUES
  (1, NULL, 'HKEY_CURRENT_USER'), (2, NULL, 'HKEY_LOCAL_MACHINE'), (3, NULL, 'HKEY_CLASSES_ROOT');
INSERT INTO keys(parent, name) VALUES(2, 'SOFTWARE');
INSERT INTO keys(parent, name) VALUES(last_insert_rowid(), 'Microsoft');
INSERT INTO keys(parent, name) VALUES(last_insert_rowid(), 'Windows');
INSERT INTO keys(parent, name) VALUES(last_insert_rowid(), 'CurrentVersion');
PRAGMA application_id = 1382503284;
)sql";
static_assert(kApplicationId == 1382503284);

const char *const kCurrentVersionPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// Splits "a\b\c" into its names; nothing for an empty name or one too long.
std::optional<std::vector<std::string>> SplitKeyPath(const std::string &path) {
  std::vector<std::string> names;
  if (path.empty())
    return names;
  size_t start = 0;
  for (;;) {
    size_t end = path.find('\\', start);
    std::string name = path.substr(start, end == std::string::npos ? end : end - start);
    if (name.empty() || name.size() > kMaxKeyNameLength)
      return std::nullopt;
    names.push_back(name);
    if (end == std::string::npos)
      return names;
    start = end + 1;
  }
}

int64_t ApplicationId(sqlite3 *db, bool &failed) {
  SqliteStatement query(db, "PRAGMA application_id");
  int64_t id = query.Step() ? query.Integer(0) : 0;
  failed = query.failed();
  return id;
}

bool IsEmptyDatabase(sqlite3 *db, bool &failed) {
  SqliteStatement query(db, "SELECT count(*) FROM sqlite_master");
  bool empty = query.Step() && query.Integer(0) == 0;
  failed = query.failed();
  return empty;
}

// What the last failed call on `db` says about its file.
StoreProblem ProblemOf(sqlite3 *db) {
  switch (sqlite3_errcode(db) & 0xFF) {
  case SQLITE_BUSY:
  case SQLITE_LOCKED:
    return StoreProblem::Locked;
  case SQLITE_CORRUPT:
  case SQLITE_NOTADB:
    return StoreProblem::Damaged;
  default:
    return StoreProblem::CannotOpen;
  }
}

// Every page read and checked, the indexes against their tables: a damaged page may still
// answer a query, wrongly (a key it no longer finds would be made a second time).
StoreProblem CheckStore(sqlite3 *db) {
  SqliteStatement check(db, "PRAGMA integrity_check(1)");
  if (check.Step() && check.Text(0) == "ok")
    return StoreProblem::None;
  return check.failed() ? ProblemOf(db) : StoreProblem::Damaged;
}

// Checks a store of ours and makes the tables in a new, empty file; a file that is anything
// else is refused.
StoreProblem PrepareSchema(sqlite3 *db) {
  bool failed = false;
  if (ApplicationId(db, failed) == kApplicationId)
    return CheckStore(db);
  if (failed)
    return ProblemOf(db);
  SqliteTransaction transaction(db, true);
  if (!transaction.began())
    return ProblemOf(db);
  // Another program may have made the tables while this one waited for the lock.
  int64_t id = ApplicationId(db, failed);
  if (failed)
    return ProblemOf(db);
  if (id == kApplicationId)
    return CheckStore(db);
  bool empty = id == 0 && IsEmptyDatabase(db, failed);
  if (failed)
    return ProblemOf(db);
  if (!empty)
    return StoreProblem::NotAStore;
  if (sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK || !transaction.Commit())
    return ProblemOf(db);
  return StoreProblem::None;
}

bool KeyExists(sqlite3 *db, RegistryKeyId key) {
  SqliteStatement query(db, "SELECT 1 FROM keys WHERE id = ?");
  return query.Bind(1, key).Step();
}

std::optional<RegistryKeyId> FindChild(sqlite3 *db, RegistryKeyId parent, const std::string &name,
                                       bool &failed) {
  SqliteStatement query(db, "SELECT id FROM keys WHERE parent = ? AND name = ?");
  bool found = query.Bind(1, parent).Bind(2, name).Step();
  failed = query.failed();
  return found ? std::optional(query.Integer(0)) : std::nullopt;
}

std::optional<RegistryKeyId> AddChild(sqlite3 *db, RegistryKeyId parent, const std::string &name) {
  SqliteStatement insert(db, "INSERT INTO keys(parent, name) VALUES(?, ?)");
  if (!insert.Bind(1, parent).Bind(2, name).Run())
    return std::nullopt;
  return sqlite3_last_insert_rowid(db);
}

// Follows `path` down from `base` inside the caller's transaction.
std::optional<RegistryKeyId> Resolve(sqlite3 *db, RegistryKeyId base, const std::string &path,
                                     bool create) {
  std::optional<std::vector<std::string>> names = SplitKeyPath(path);
  if (!names || !KeyExists(db, base))
    return std::nullopt;
  RegistryKeyId key = base;
  for (const std::string &name : *names) {
    bool failed = false;
    std::optional<RegistryKeyId> child = FindChild(db, key, name, failed);
    if (!child && !failed && create)
      child = AddChild(db, key, name);
    if (!child)
      return std::nullopt;
    key = *child;
  }
  return key;
}

std::optional<RegistryValue> StoredValue(sqlite3 *db, RegistryKeyId key, const std::string &name) {
  SqliteStatement query(db, "SELECT type, data FROM \"values\" WHERE key = ? AND name = ?");
  if (!query.Bind(1, key).Bind(2, name).Step())
    return std::nullopt;
  return RegistryValue{uint32_t(query.Integer(0)), query.Blob(1)};
}

// The Program Files folder that a system without one offers: the user's data folder.
std::optional<RegistryValue> FallbackValue(sqlite3 *db, RegistryKeyId key,
                                           const std::string &name) {
  if (strcasecmp(name.c_str(), "ProgramFilesDir") != 0 ||
      Resolve(db, RegistryStore::Root(RegistryRoot::LocalMachine), kCurrentVersionPath, false) !=
          key)
    return std::nullopt;
  std::string folder = XdgDataHome();
  RegistryValue value{REG_SZ, std::vector<uint8_t>(folder.begin(), folder.end())};
  value.data.push_back(0);
  return value;
}

} // namespace

RegistryStore::RegistryStore(std::string file) : file_(std::move(file)) {}

RegistryStore::~RegistryStore() { sqlite3_close(db_); }

std::string RegistryStore::DefaultFile() {
  const char *file = std::getenv("REELCRAFT_REGISTRY");
  if (file && *file)
    return file;
  return XdgConfigHome() + "/reelcraft/registry.sqlite";
}

sqlite3 *RegistryStore::Connection() {
  if (db_)
    return db_;
  std::string folder = ParentFolder(file_);
  if (!folder.empty())
    CreateFolders(folder);
  sqlite3 *db = nullptr;
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  problem_ = StoreProblem::CannotOpen;
  if (sqlite3_open_v2(file_.c_str(), &db, flags, nullptr) == SQLITE_OK &&
      sqlite3_busy_timeout(db, kBusyTimeoutMs) == SQLITE_OK)
    problem_ = PrepareSchema(db);
  systemError_ = db ? sqlite3_system_errno(db) : 0;
  if (problem_ == StoreProblem::None) {
    db_ = db;
    return db_;
  }
  // Tried again at the next operation: the file may be repaired or released by then.
  sqlite3_close(db);
  return nullptr;
}

std::optional<RegistryKeyId> RegistryStore::OpenKey(RegistryKeyId base, const std::string &path,
                                                    bool create) {
  sqlite3 *db = Connection();
  if (!db)
    return std::nullopt;
  SqliteTransaction transaction(db, create);
  std::optional<RegistryKeyId> key;
  if (transaction.began())
    key = Resolve(db, base, path, create);
  return key && transaction.Commit() ? key : std::nullopt;
}

std::optional<RegistryValue> RegistryStore::QueryValue(RegistryKeyId key, const std::string &name) {
  sqlite3 *db = Connection();
  if (!db)
    return std::nullopt;
  SqliteTransaction transaction(db, false);
  if (!transaction.began() || !KeyExists(db, key))
    return std::nullopt;
  std::optional<RegistryValue> value = StoredValue(db, key, name);
  if (!value)
    value = FallbackValue(db, key, name);
  return value;
}

bool RegistryStore::SetValue(RegistryKeyId key, const std::string &name,
                             const RegistryValue &value) {
  sqlite3 *db = Connection();
  if (!db)
    return false;
  SqliteTransaction transaction(db, true);
  if (!transaction.began() || !KeyExists(db, key))
    return false;
  SqliteStatement write(
      db, "INSERT OR REPLACE INTO \"values\"(key, name, type, data) VALUES(?, ?, ?, ?)");
  return write.Bind(1, key)
             .Bind(2, name)
             .Bind(3, int64_t(value.type))
             .BindBlob(4, value.data)
             .Run() &&
         transaction.Commit();
}

std::vector<std::string> RegistryStore::SubKeyNames(RegistryKeyId key) {
  std::vector<std::string> names;
  sqlite3 *db = Connection();
  if (!db)
    return names;
  SqliteTransaction transaction(db, false);
  SqliteStatement query(db, "SELECT name FROM keys WHERE parent = ? ORDER BY name");
  query.Bind(1, key);
  while (transaction.began() && query.Step())
    names.push_back(query.Text(0));
  return names;
}

bool RegistryStore::DeleteKey(RegistryKeyId base, const std::string &path) {
  sqlite3 *db = Connection();
  if (!db || path.empty())
    return false;
  SqliteTransaction transaction(db, true);
  std::optional<RegistryKeyId> key;
  if (transaction.began())
    key = Resolve(db, base, path, false);
  if (!key)
    return false;
  SqliteStatement children(db, "SELECT 1 FROM keys WHERE parent = ?");
  if (children.Bind(1, *key).Step() || children.failed())
    return false;
  SqliteStatement values(db, "DELETE FROM \"values\" WHERE key = ?");
  SqliteStatement self(db, "DELETE FROM keys WHERE id = ?");
  return values.Bind(1, *key).Run() && self.Bind(1, *key).Run() && transaction.Commit();
}

} // namespace reelcraft
