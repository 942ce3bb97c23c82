// Executes the conversion's price statement 10,000 times in one transaction, once through
// TDACSQL as the conversion does and once through plain ODBC calls (prepare once, bind once,
// execute in a loop), on SQLite and on PostgreSQL, and prints the time of each and the ratio.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench_server.h"
#include "dac/DACDatabase.h"
#include "dac/DACSQL.h"
#include "dac/DACTransaction.h"
#include "dac/ODBCApi.h"
#include "dac/ODBCError.h"
#include "dac/ODBCHandle.h"
#include "dac/ParamParser.h"

namespace {

constexpr int kExecutions = 10000;
constexpr int kRounds = 5;
constexpr int kProducts = 100;

const std::vector<std::string> kUpdatePrices = {
    "UPDATE productprice SET price_wo_tax = (price_wo_tax * (1 + (:old_taxvalue/100)) ) / (1 + "
    "(:new_taxvalue/100))",
    "WHERE fiscalregion_code = :fiscalregion",
    "AND productprice.product_code = :product_code"};

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

void execDirect(SQLHDBC connection, const std::string& sql) {
  dac::TODBCHandle statement(SQL_HANDLE_STMT);
  statement.Allocate(connection);
  SQLRETURN rc = odbcapi::SQLExecDirect(
      statement.Get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS);
  if (rc != SQL_NO_DATA) dac::ODBCCheck(SQL_HANDLE_STMT, statement.Get(), rc);
}

void createTable(dac::TODBCConnection& connection) {
  execDirect(connection.Handle(), "DROP TABLE IF EXISTS productprice");
  execDirect(connection.Handle(),
             "CREATE TABLE productprice (product_code integer, fiscalregion_code integer, "
             "price_wo_tax numeric(15,4))");
  execDirect(connection.Handle(), "CREATE INDEX productprice_key ON productprice "
                                  "(product_code, fiscalregion_code)");
  for (int product = 1; product <= kProducts; ++product)
    for (int region = 1; region <= 3; ++region)
      execDirect(connection.Handle(), "INSERT INTO productprice VALUES (" +
                                          std::to_string(product) + ", " +
                                          std::to_string(region) + ", 100)");
}

double seconds(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The conversion's way: values set by name for every row, then ExecQuery.
double runThroughLayer(dac::TDACDatabase& database) {
  dac::TDACTransaction transaction;
  transaction.SetDefaultDatabase(&database);
  transaction.SetParams({"read_committed", "nowait"});
  transaction.SetDefaultAction(dac::TARollback);
  dac::TDACSQL statement;
  statement.SetDatabase(&database);
  statement.SetTransaction(&transaction);
  statement.SetSQL(kUpdatePrices);
  transaction.StartTransaction();
  double elapsed = seconds([&] {
    for (int i = 0; i < kExecutions; ++i) {
      statement.ParamByName("OLD_TAXVALUE").SetAsFloat(13);
      statement.ParamByName("NEW_TAXVALUE").SetAsFloat(23);
      statement.ParamByName("FISCALREGION").SetAsInteger(1 + i % 3);
      statement.ParamByName("PRODUCT_CODE").SetAsInteger(1 + i % kProducts);
      statement.ExecQuery();
    }
  });
  transaction.Rollback();
  return elapsed;
}

// Plain ODBC on a connection of its own: prepare once, bind once, execute in a loop.
double runPlainODBC(const std::vector<std::string>& params, bool postgres) {
  dac::TODBCConnection connection;
  connection.SetLoginPrompt(false);
  connection.SetParams(params);
  connection.Open();
  SQLHDBC dbc = connection.Handle();
  if (postgres)  // the same client-side substitution the layer asks for, so both compute alike
    dac::ODBCCheck(SQL_HANDLE_DBC, dbc,
                   odbcapi::SQLSetConnectAttr(dbc, 65540, reinterpret_cast<SQLPOINTER>(0),
                                              SQL_IS_INTEGER));
  dac::ODBCCheck(SQL_HANDLE_DBC, dbc,
                 odbcapi::SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT,
                                            reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF),
                                            SQL_IS_UINTEGER));
  dac::TODBCHandle statement(SQL_HANDLE_STMT);
  statement.Allocate(dbc);
  SQLHSTMT st = statement.Get();
  std::string sql = dac::ParseParamMarkers(joinLines(kUpdatePrices), nullptr);
  auto check = [st](SQLRETURN rc) {
    if (rc != SQL_NO_DATA) dac::ODBCCheck(SQL_HANDLE_STMT, st, rc);
  };
  check(odbcapi::SQLPrepare(st, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS));
  double oldTax = 13, newTax = 23;
  SQLINTEGER region = 1, product = 1;
  SQLLEN zero[4] = {0, 0, 0, 0};
  check(odbcapi::SQLBindParameter(st, 1, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0,
                                  &oldTax, 8, &zero[0]));
  check(odbcapi::SQLBindParameter(st, 2, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0,
                                  &newTax, 8, &zero[1]));
  check(odbcapi::SQLBindParameter(st, 3, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0,
                                  &region, 4, &zero[2]));
  check(odbcapi::SQLBindParameter(st, 4, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0,
                                  &product, 4, &zero[3]));
  double elapsed = seconds([&] {
    for (int i = 0; i < kExecutions; ++i) {
      region = 1 + i % 3;
      product = 1 + i % kProducts;
      check(odbcapi::SQLExecute(st));
    }
  });
  dac::ODBCCheck(SQL_HANDLE_DBC, dbc, odbcapi::SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_ROLLBACK));
  return elapsed;
}

void benchmark(const char* name, const std::vector<std::string>& params, bool postgres) {
  dac::TDACDatabase database;
  database.SetLoginPrompt(false);
  database.SetParams(params);
  database.Open();
  createTable(database);
  // Alternate the two ways and keep each one's best round, so that neither pays for warming
  // the server or the page cache alone.
  double layer = 1e9, plain = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    plain = std::min(plain, runPlainODBC(database.Params(), postgres));
    layer = std::min(layer, runThroughLayer(database));
  }
  std::printf("%-10s  TDACSQL %8.2f us/exec   plain ODBC %8.2f us/exec   ratio %.3f\n", name,
              layer * 1e6 / kExecutions, plain * 1e6 / kExecutions, layer / plain);
  execDirect(database.Handle(), "DROP TABLE productprice");
}

}  // namespace

// Arguments: "sqlite" or "postgresql" to run one database only; both by default.
int main(int argc, char** argv) {
  const std::string only = argc > 1 ? argv[1] : "";
  try {
    dac::RequireODBCLibrary();
    std::printf("QUpdatePrices, %d executions in one transaction, best of %d rounds\n",
                kExecutions, kRounds);
    std::string file = (std::filesystem::temp_directory_path() /
                        ("morvel-bench-" + std::to_string(getpid()) + ".sqlite"))
                           .string();
    if (only.empty() || only == "sqlite") {
      benchmark("SQLite", {"Driver=SQLite3", "Database=" + file}, false);
      std::filesystem::remove(file);
    }
    if (only.empty() || only == "postgresql") {
      TBenchServer server;
      benchmark("PostgreSQL", server.Params(), true);
    }
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_statements: %s\n", error.what());
    return 1;
  }
}
