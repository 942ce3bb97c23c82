// Provider support: what a resolver asks of the dataset to write changes on its own.
#include <cctype>

#include "dac/ODBCConnection.h"
#include "dac/ODBCCustomDataset.h"
#include "dac/ODBCQuery.h"
#include "dac/ODBCStmt.h"

namespace dac {
namespace {

bool isNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '"' ||
         c == '$' || static_cast<unsigned char>(c) >= 0x80;
}

// The first name after the word FROM outside quoted literals.
std::string tableNameOf(const std::string& sql) {
  char quote = 0;
  for (size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'') {
      quote = c;
      continue;
    }
    const bool wordStart = i == 0 || !isNameChar(sql[i - 1]);
    if (!wordStart || sql.size() - i < 4) continue;
    std::string word = sql.substr(i, 4);
    for (char& w : word) w = char(std::toupper(static_cast<unsigned char>(w)));
    if (word != "FROM" || (i + 4 < sql.size() && isNameChar(sql[i + 4]))) continue;
    size_t start = i + 4;
    while (start < sql.size() && std::isspace(static_cast<unsigned char>(sql[start]))) ++start;
    size_t end = start;
    while (end < sql.size() && isNameChar(sql[end])) ++end;
    return sql.substr(start, end - start);
  }
  return {};
}

}  // namespace

std::string TODBCCustomDataSet::PSGetTableName() const {
  return statement_ ? tableNameOf(statement_->SQLText()) : std::string();
}

std::string TODBCCustomDataSet::PSGetQuoteChar() {
  TODBCConnection* connection = Statement().Connection();
  if (!connection) return {};
  const char quote = connection->IdentifierQuoteChar();
  return quote == ' ' || quote == 0 ? std::string() : std::string(1, quote);
}

bool TODBCCustomDataSet::PSInTransaction() {
  TODBCConnection* connection = Statement().Connection();
  return connection && connection->InTransaction();
}

void TODBCCustomDataSet::PSStartTransaction() {
  if (TODBCConnection* connection = Statement().Connection()) connection->StartTransaction();
}

void TODBCCustomDataSet::PSEndTransaction(bool commit) {
  TODBCConnection* connection = Statement().Connection();
  if (!connection) return;
  if (commit)
    connection->Commit();
  else
    connection->Rollback();
}

int TODBCCustomDataSet::PSExecuteStatement(const std::string& sql) {
  TODBCQuery command;
  command.SetConnection(Statement().Connection());
  command.SetSQLText(sql);
  command.ExecSQL();
  return static_cast<int>(command.RowsAffected());
}

}  // namespace dac
