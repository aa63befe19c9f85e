// SPDX-License-Identifier: MIT
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

namespace reelcraft {

// One prepared statement, finalised on every way out. A statement that failed to prepare
// fails every step.
class SqliteStatement {
public:
  SqliteStatement(sqlite3 *db, const char *sql);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement &) = delete;
  SqliteStatement &operator=(const SqliteStatement &) = delete;

  SqliteStatement &Bind(int index, int64_t value);
  SqliteStatement &Bind(int index, const std::string &text);
  SqliteStatement &BindBlob(int index, const std::vector<uint8_t> &bytes);
  // True with a row to read; false when done or failed (see failed()).
  bool Step();
  // Runs a statement that gives no rows; true when it succeeded.
  bool Run();
  bool failed() const { return failed_; }

  int64_t Integer(int column) const;
  std::string Text(int column) const;
  std::vector<uint8_t> Blob(int column) const;

private:
  sqlite3_stmt *statement_ = nullptr;
  bool failed_ = false;
};

// A transaction rolled back unless committed. `write` takes the write lock at once, so that a
// writer waits (the busy timeout) instead of failing half way.
class SqliteTransaction {
public:
  SqliteTransaction(sqlite3 *db, bool write);
  ~SqliteTransaction();
  SqliteTransaction(const SqliteTransaction &) = delete;
  SqliteTransaction &operator=(const SqliteTransaction &) = delete;

  bool began() const { return began_; }
  bool Commit();

private:
  sqlite3 *db_;
  bool began_;
  bool open_;
};

} // namespace reelcraft
