#pragma once
// Rewrites the Firebird dialect of the application's SQL into Transact-SQL, applied while a
// SQL Server database is the one connected last.
#include <cstddef>
#include <string>

namespace dac {

// Every rule in order, each on the result of the one before.
std::string RewriteForSQLServer(const std::string& sql);

// The rules one by one (0-based, in the order RewriteForSQLServer applies them), each with
// its own number of passes.
size_t SQLServerRuleCount();
std::string ApplySQLServerRule(size_t index, const std::string& sql);

}  // namespace dac
