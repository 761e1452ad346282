// TZConnection over sqlite3_open_v2.
#include "toolkit/data/ZConnection.h"

#include <algorithm>

#include <sqlite3.h>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/data/ZQuery.h"

const TClassInfo& TZConnection::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TZConnection>("TZConnection", &TComponent::StaticClass()).Build();
  return info;
}

TZConnection::~TZConnection() {
  try {
    Disconnect();
  } catch (...) {
  }
  std::lock_guard<std::mutex> hold(queriesLock_);
  for (TZQuery* q : queries_) q->connection_ = nullptr;
  queries_.clear();
}

void TZConnection::Connect() {
  if (db_) return;
  if (!SameText(Copy(Protocol, 1, 6), "sqlite"))
    throw EZSQLException("Unsupported protocol \"" + Protocol + "\"");
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(Database.c_str(), &db,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    throw EZSQLException("SQL Error: " + message);
  }
  sqlite3_busy_timeout(db, 5000);
  db_ = db;
}

void TZConnection::Disconnect() {
  if (!db_) return;
  std::vector<TZQuery*> attached;
  {
    std::lock_guard<std::mutex> hold(queriesLock_);
    attached = queries_;
  }
  for (TZQuery* q : attached) q->Close();
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

std::string TZConnection::LastErrorMessage() const {
  return db_ ? sqlite3_errmsg(db_) : std::string("not connected");
}

void TZConnection::Attach(TZQuery* query) {
  std::lock_guard<std::mutex> hold(queriesLock_);
  if (std::find(queries_.begin(), queries_.end(), query) == queries_.end())
    queries_.push_back(query);
}

void TZConnection::Detach(TZQuery* query) {
  std::lock_guard<std::mutex> hold(queriesLock_);
  queries_.erase(std::remove(queries_.begin(), queries_.end(), query), queries_.end());
}
