// SPDX-License-Identifier: MIT
#include "store/sqlite_statement.h"

namespace reelcraft {

SqliteStatement::SqliteStatement(sqlite3 *db, const char *sql) {
  failed_ = sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK;
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

SqliteStatement &SqliteStatement::Bind(int index, int64_t value) {
  failed_ = failed_ || sqlite3_bind_int64(statement_, index, value) != SQLITE_OK;
  return *this;
}

SqliteStatement &SqliteStatement::Bind(int index, const std::string &text) {
  failed_ = failed_ || sqlite3_bind_text(statement_, index, text.data(), int(text.size()),
                                         SQLITE_TRANSIENT) != SQLITE_OK;
  return *this;
}

SqliteStatement &SqliteStatement::BindBlob(int index, const std::vector<uint8_t> &bytes) {
  // An empty blob is still a blob, not NULL.
  static const uint8_t none = 0;
  failed_ = failed_ || sqlite3_bind_blob(statement_, index, bytes.empty() ? &none : bytes.data(),
                                         int(bytes.size()), SQLITE_TRANSIENT) != SQLITE_OK;
  return *this;
}

bool SqliteStatement::Step() {
  if (failed_)
    return false;
  int result = sqlite3_step(statement_);
  failed_ = result != SQLITE_ROW && result != SQLITE_DONE;
  return result == SQLITE_ROW;
}

bool SqliteStatement::Run() {
  Step();
  return !failed_;
}

int64_t SqliteStatement::Integer(int column) const {
  return sqlite3_column_int64(statement_, column);
}

std::string SqliteStatement::Text(int column) const {
  const unsigned char *text = sqlite3_column_text(statement_, column);
  return text ? std::string(reinterpret_cast<const char *>(text),
                            size_t(sqlite3_column_bytes(statement_, column)))
              : std::string();
}

std::vector<uint8_t> SqliteStatement::Blob(int column) const {
  const uint8_t *bytes = static_cast<const uint8_t *>(sqlite3_column_blob(statement_, column));
  return bytes ? std::vector<uint8_t>(bytes, bytes + sqlite3_column_bytes(statement_, column))
               : std::vector<uint8_t>();
}

SqliteTransaction::SqliteTransaction(sqlite3 *db, bool write)
    : db_(db), began_(sqlite3_exec(db, write ? "BEGIN IMMEDIATE" : "BEGIN", nullptr, nullptr,
                                   nullptr) == SQLITE_OK),
      open_(began_) {}

SqliteTransaction::~SqliteTransaction() {
  if (open_)
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool SqliteTransaction::Commit() {
  if (!open_)
    return false;
  open_ = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK;
  return !open_;
}

} // namespace reelcraft
