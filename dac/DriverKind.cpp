#include "dac/DriverKind.h"

#include <sqlext.h>

#include <initializer_list>

namespace dac {

namespace {

// ASCII only: the names are ASCII and a locale must not change the match.
std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return text;
}

bool StartsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

bool StartsWithAny(const std::string& text, std::initializer_list<const char*> prefixes) {
  for (const char* prefix : prefixes)
    if (StartsWith(text, prefix)) return true;
  return false;
}

// Names like NTLxxMyy: at least six characters, "NTL" first and the letter sixth.
bool IsNtlDriver(const std::string& name, char letter) {
  return name.size() >= 6 && StartsWith(name, "NTL") && name[5] == letter;
}

struct TPrefixRow {
  std::initializer_list<const char*> prefixes;
  char ntlLetter;  // 0 when the row has no "NTL" test
  TODBCDriverKind kind;
};

}  // namespace

TODBCDriverKind DriverKindFromName(const std::string& driverFileName,
                                   TDBMSKind dbmsKindOfSameConnection) {
  static const TPrefixRow rows[] = {
      {{"C2GUP", "IVGUP"}, 0, dkSQLBase},
      {{"SQLSRV", "IVSS", "SQLNCLI", "IVMSSS"}, 'M', dkMSSQLServer},
      {{"DB2CLI", "LIBDB2"}, 0, dkDB2},
      {{"ODBCJT"}, 0, dkMSJet},
      {{"MYODBC3"}, 0, dkMyODBC3},
      {{"MYODBC"}, 0, dkMyODBC},
      {{"ICLI", "IVINF", "IVIFCL", "PDINF"}, 'I', dkInformix},
      {{"SYODASE"}, 0, dkSybase},
      {{"SQLITEODBC"}, 0, dkSQLite},
      {{"IB6ODBC", "ODBCJDBC", "IB6XTG"}, 0, dkInterBase},
      {{"THINKSQL"}, 0, dkThinkSQL},
      {{"SQORA", "MSORCL", "IVOR", "IVORA"}, 0, dkOracle},
      {{"INOLE"}, 0, dkINOLE},
      {{"W3ODBCCI", "W3ODBCEI"}, 0, dkW3ODBC},
      {{"NXODBCDRIVER"}, 0, dkNXODBC},
      {{"PSQLODBC"}, 0, dkPostgreSQL},
      {{"CACHEODBC"}, 0, dkCache},
      {{"IVDBF"}, 0, dkDBase},
  };
  const std::string name = UpperAscii(driverFileName);
  for (const TPrefixRow& row : rows)
    if (StartsWithAny(name, row.prefixes) || (row.ntlLetter && IsNtlDriver(name, row.ntlLetter)))
      return row.kind;
  if (dbmsKindOfSameConnection == dbmsSAPDB && StartsWith(name, "SQLOD")) return dkSAPDB;
  // The SQLite3 driver of this platform calls itself sqlite3odbc.so.
  if (StartsWith(name, "SQLITE3ODBC")) return dkSQLite;
  return dkUnknown;
}

TDBMSKind DBMSKindFromName(const std::string& dbmsName) {
  struct TNameRow {
    const char* text;
    bool prefix;  // else the whole name must match
    TDBMSKind kind;
  };
  static const TNameRow rows[] = {
      {"SQLBASE", false, dbmsSQLBase},
      {"MICROSOFT SQL SERVER", false, dbmsMSSQLServer},
      {"IBMDB2", false, dbmsDB2},
      {"MYSQL", true, dbmsMySQL},
      {"ACCESS", false, dbmsAccess},
      {"EXCEL", false, dbmsExcel},
      {"TEXT", false, dbmsText},
      {"DBASE", true, dbmsDBase},
      {"PARADOX", false, dbmsParadox},
      {"ORACLE", false, dbmsOracle},
      {"INFORMIX", false, dbmsInformix},
      {"INTERBASE", false, dbmsInterBase},
      {"FIREBIRD", true, dbmsInterBase},
      {"SYBASE", false, dbmsSybase},
      {"SQLITE", false, dbmsSQLite},
      {"THINKSQL", true, dbmsThinkSQL},
      {"SAP DB", false, dbmsSAPDB},
      {"PERVASIVE.SQL", false, dbmsPervasive},
      {"TURBOPOWER FLASHFILER 2", false, dbmsFlashFiler},
      {"POSTGRESQL", true, dbmsPostgreSQL},
      {"INTERSYSTEMS CACHE", false, dbmsCache},
  };
  const std::string name = UpperAscii(dbmsName);
  for (const TNameRow& row : rows)
    if (row.prefix ? StartsWith(name, row.text) : name == row.text) return row.kind;
  return dbmsUnknown;
}

TDBMSKind DBMSKindFromDriverParam(const std::string& driverValue) {
  struct TDriverRow {
    const char* text;  // upper case
    TDBMSKind kind;
  };
  static const TDriverRow rows[] = {
      {"FIREBIRD", dbmsInterBase},
      {"SQL NATIVE CLIENT", dbmsMSSQLServer},
      {"SQL SERVER NATIVE CLIENT", dbmsMSSQLServer},
      {"SQL SERVER", dbmsMSSQLServer},
      {"IBM DB2 ODBC", dbmsDB2},
      {"ORACLE", dbmsOracle},
      // The databases of this platform's tests and demo.
      {"SQLITE", dbmsSQLite},
      {"POSTGRESQL", dbmsPostgreSQL},
  };
  const std::string value = UpperAscii(driverValue);
  for (const TDriverRow& row : rows)
    if (value.find(row.text) != std::string::npos) return row.kind;
  return dbmsUnknown;
}

void RemapDriverSQLType(TODBCDriverKind kind, SQLSMALLINT& sqlType) {
  if (kind == dkMSSQLServer && sqlType == -150) {  // SQL_SS_VARIANT
    sqlType = SQL_BINARY;
  } else if (kind == dkInformix && sqlType >= -109 && sqlType <= -100) {
    sqlType = sqlType == -102 ? SQL_LONGVARBINARY : SQL_LONGVARCHAR;
  }
}

}  // namespace dac
