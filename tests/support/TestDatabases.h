#pragma once
// The real databases the suite runs against: an SQLite file through the SQLite3 ODBC driver
// and the PostgreSQL server that the "pg" CTest fixture started, through psqlODBC.
#include <string>
#include <vector>

namespace testdb {

enum class Kind { SQLite, PostgreSQL };

// Connection parameter lines (key=value), as the host hands them over.
std::vector<std::string> SqliteParams(const std::string& file);
// Fails the calling test (by throwing) when the server is not running: never skip silently.
std::vector<std::string> PostgresParams();
// Parameters for a fresh database of the given kind; SQLite gets a new file per call.
std::vector<std::string> ParamsFor(Kind kind);
const char* KindName(Kind kind);

// A folder for the test's files, below the build tree, created on demand.
std::string TempDir();
// A name unique to this process and call, for tables and files.
std::string UniqueName(const std::string& prefix);
// All lines joined by "\n".
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace testdb
