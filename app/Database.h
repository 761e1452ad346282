// The recorder's database VKT_DATA.db in AppPath: its three tables (config, newdata, olddata),
// their creation at start-up, the shared connection DbConnection, and the two guarded routines
// through which the program runs its SQL. The statement texts here are the file's contract with
// existing databases: they must not change.
#pragma once

#include <string>
#include <string_view>

class TZQuery;

// AppPath + "VKT_DATA.db".
std::string DatabaseFileName();

// The schema statements, exactly as run.
std::string ConfigTableSql();
std::string DefaultConfigRowSql();
// " CREATE TABLE <name> (...)" for newdata and olddata.
std::string ReadingTableSql(std::string_view tableName);

// Creates config (with its default row, in one transaction), newdata and olddata, each only when
// missing; existing tables are never altered. Raises ESQLiteException on any database error.
void CreateDatabaseSchema();

// Creates DbConnection when there is none (protocol "sqlite-3", the database file) and
// connects it. Returns true; a failure raises.
bool ConnectDatabase();

// Enter and leave DbLock.
void LockDatabase();
void UnlockDatabase();

// Closes `query`, attaches it to DbConnection, sets its SQL and opens it with DbLock held.
// On failure logs sql + " sql异常." + CR + the message (kind "Except"), leaves the query closed
// and returns false; never raises for a database error.
bool OpenSqlQuery(const std::string& sql, TZQuery* query);

// Executes `sql` on DbConnection through a temporary query with DbLock held. On failure logs
// sql + " 异常." + CR + the message (kind "Except") and returns false.
bool ExecSqlCommand(const std::string& sql);

// Text in the system's ANSI code page as UTF-8 (through UTF-16); "" stays "".
std::string AnsiToUtf8Text(std::string_view text);
