// TZConnection: the shared connection to an SQLite database file through which the queries run.
// Only the "sqlite-3" protocol exists here; host name and port are kept but not used. The
// connection may be used from several threads (SQLite serialises calls on one connection);
// callers that need statements not to interleave hold their own lock.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "toolkit/classes/Component.h"
#include "toolkit/rtl/SysUtils.h"

struct sqlite3;
class TZQuery;

// Errors of the connection and its queries: "SQL Error: " + SQLite's message.
VK_DECLARE_EXCEPTION(EZSQLException, Exception);

class TZConnection : public TComponent {
 public:
  explicit TZConnection(TComponent* owner = nullptr) : TComponent(owner) {}
  ~TZConnection() override;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  std::string Protocol;
  std::string HostName;
  int Port = 0;
  // The database file (UTF-8 path); created when missing.
  std::string Database;
  bool AutoEncodeStrings = false;

  // Opens the database. Raises EZSQLException for an unknown protocol or an open failure.
  void Connect();
  // Closes every query attached to this connection, then the database. Nothing when closed.
  void Disconnect();
  bool Connected() const { return db_ != nullptr; }
  void SetConnected(bool value) { value ? Connect() : Disconnect(); }

  sqlite3* Handle() const { return db_; }
  // The message of the last failed call on this connection.
  std::string LastErrorMessage() const;

 private:
  friend class TZQuery;
  void Attach(TZQuery* query);
  void Detach(TZQuery* query);

  sqlite3* db_ = nullptr;
  std::mutex queriesLock_;
  std::vector<TZQuery*> queries_;
};
