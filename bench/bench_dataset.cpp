// Loading products: the product query over 10,000 and 100,000 generated products on SQLite,
// walked to the end through a query component, against a plain ODBC loop that fetches the
// same rows into bound columns; then the same rows loaded into the in-memory product table.
// Each measurement runs in a child process of its own, so that its peak memory is its own.
//
//   bench_dataset [DIR]   (DIR holds the generated database files; default: /tmp)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "conversion/ProductQuery.h"
#include "dac/DACDatabase.h"
#include "dac/DACQuery.h"
#include "dac/DACTransaction.h"
#include "dac/ODBCApi.h"
#include "dac/ODBCError.h"
#include "dac/ODBCHandle.h"
#include "dac/ODBCTypeMaps.h"
#include "toolkit/db/MemTable.h"

using namespace dac;

namespace {

const std::vector<std::string>& kProductQuery = conversion::ProductQueryLines();

std::string QueryText() {
  std::string text;
  for (const std::string& line : kProductQuery) text += line + "\n";
  return text;
}

void ExecDirect(SQLHDBC connection, const std::string& sql) {
  TODBCHandle statement(SQL_HANDLE_STMT);
  statement.Allocate(connection);
  const SQLRETURN rc = odbcapi::SQLExecDirect(
      statement.Get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS);
  if (rc != SQL_NO_DATA) ODBCCheck(SQL_HANDLE_STMT, statement.Get(), rc);
}

void Connect(TDACDatabase& database, const std::string& file) {
  database.SetLoginPrompt(false);
  database.SetParams({"Driver=SQLite3", "Database=" + file});
  database.Open();
}

// The demo schema with its taxes and families, and count generated products (one in fifty
// deleted), with accented names of 30 to 45 characters.
void Generate(const std::string& file, int count) {
  std::filesystem::remove(file);
  TDACDatabase database;
  Connect(database, file);
  const auto demo = std::filesystem::path(__FILE__).parent_path() / "../demo/demo.sql";
  std::ifstream in(demo);
  std::string text, line;
  while (std::getline(in, line))
    if (line.rfind("--", 0) != 0) text += line + "\n";
  size_t start = 0;
  for (size_t end; (end = text.find(';', start)) != std::string::npos; start = end + 1) {
    const std::string statement = text.substr(start, end - start);
    // The generated products replace the demo's own.
    if (statement.find("INSERT INTO product ") != std::string::npos ||
        statement.find("productprice") != std::string::npos ||
        statement.find("familyprice") != std::string::npos)
      continue;
    if (statement.find_first_not_of(" \r\n\t") != std::string::npos)
      ExecDirect(database.Handle(), statement);
  }
  const int families[][2] = {{10, 1}, {10, 2}, {10, 3}, {20, 1}, {20, 2}, {30, 1}, {30, 2}, {40, 1}};
  ExecDirect(database.Handle(), "BEGIN");
  std::string insert;
  for (int i = 1; i <= count; ++i) {
    if (insert.empty())
      insert = "INSERT INTO product (code, user_code, name, family_code, subfamily_code, "
               "fo_family_code, fo_subfamily_code, table_tax, direct_tax, purchase_tax, "
               "deleted) VALUES ";
    else
      insert += ", ";
    const int* family = families[i % 8];
    char row[300];
    std::snprintf(row, sizeof row,
                  "(%d, '%07d', 'Produto n.º %d de pastelaria à moda%s', %d, %d, 90, %d, %d, "
                  "%d, %d, %s)",
                  i, (i * 7919) % 10000000, i, i % 3 == 0 ? " da avó" : "", family[0], family[1],
                  1 + i % 2, 1 + i % 5, 1 + (i + 1) % 4, 1 + i % 3, i % 50 == 0 ? "1" : "0");
    insert += row;
    if (i % 500 == 0 || i == count) {
      ExecDirect(database.Handle(), insert);
      insert.clear();
    }
  }
  ExecDirect(database.Handle(), "COMMIT");
}

long CurrentRssKb() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

struct Result {
  double seconds = 0;
  long rows = 0;
  long peakKb = 0;        // peak resident memory above the level before the run
  long rawBytes = 0;      // bytes of the values themselves (texts as their length)
  long boundBytes = 0;    // bytes of the bound row buffers, times the rows
  long cacheBytes = 0;    // bytes of the dataset's cache blocks
};

// Runs body in a child process and brings back what it measured.
Result Measure(const std::function<Result()>& body) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe");
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    Result result{};
    try {
      result = body();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "error: %s\n", e.what());
      _exit(1);
    }
    if (write(pipeEnds[1], &result, sizeof result) != ssize_t(sizeof result)) _exit(2);
    _exit(0);
  }
  close(pipeEnds[1]);
  Result result{};
  const ssize_t got = read(pipeEnds[0], &result, sizeof result);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (got != ssize_t(sizeof result) || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error("measurement failed");
  return result;
}

// Wraps a run: the baseline is taken after connecting, the peak after the run.
template <typename F>
Result Run(const std::string& file, F run) {
  TDACDatabase database;
  Connect(database, file);
  const long baseRss = CurrentRssKb();
  const auto start = std::chrono::steady_clock::now();
  Result result = run(database);
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  result.peakKb = usage.ru_maxrss - baseRss;
  return result;
}

// The plain loop: every column bound in the type the cursor would use, one SQLFetch a row.
Result PlainLoop(TDACDatabase& database) {
  TODBCHandle statement(SQL_HANDLE_STMT);
  statement.Allocate(database.Handle());
  const std::string sql = QueryText();
  auto check = [&](SQLRETURN rc) { ODBCCheck(SQL_HANDLE_STMT, statement.Get(), rc); };
  check(odbcapi::SQLExecDirect(statement.Get(),
                               reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS));
  SQLSMALLINT columns = 0;
  check(odbcapi::SQLNumResultCols(statement.Get(), &columns));
  const size_t count = static_cast<size_t>(columns);
  std::vector<std::vector<char>> buffers(count);
  std::vector<SQLLEN> indicators(count);
  std::vector<SQLSMALLINT> cTypes(count);
  long rowBytes = 0;
  for (SQLSMALLINT n = 1; n <= columns; ++n) {
    SQLCHAR name[129];
    SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    check(odbcapi::SQLDescribeCol(statement.Get(), SQLUSMALLINT(n), name, sizeof name, &nameLength,
                                  &type, &size, &digits, &nullable));
    const size_t i = size_t(n - 1);
    cTypes[i] = SQLTypeToCType(type);
    buffers[i].resize(size_t(std::max<int64_t>(SQLTypeBufferSize(type, size), 8)));
    rowBytes += long(buffers[i].size());
    check(odbcapi::SQLBindCol(statement.Get(), SQLUSMALLINT(n), cTypes[i], buffers[i].data(),
                              SQLLEN(buffers[i].size()), &indicators[i]));
  }
  Result result;
  for (;;) {
    const SQLRETURN rc = odbcapi::SQLFetch(statement.Get());
    if (rc == SQL_NO_DATA) break;
    check(rc);
    ++result.rows;
    for (size_t i = 0; i < count; ++i)
      if (indicators[i] != SQL_NULL_DATA)
        result.rawBytes += cTypes[i] == SQL_C_CHAR ? long(indicators[i]) : long(buffers[i].size());
  }
  result.boundBytes = rowBytes * result.rows;
  return result;
}

// The window's way: a query on the transaction, opened and walked to the end.
Result DataSetWalk(TDACDatabase& database) {
  TDACTransaction transaction;
  transaction.SetDefaultDatabase(&database);
  TDACQuery query;
  query.SetBufferChunks(100);
  query.SetDatabase(&database);
  query.SetTransaction(&transaction);
  for (const std::string& line : kProductQuery) query.AddSQL(line);
  query.Open();
  Result result;
  db::TField& code = query.FieldByName("PRODUCT_CODE");
  for (query.First(); !query.Eof(); query.Next()) {
    result.rawBytes += code.AsInteger() > 0 ? 1 : 0;
    ++result.rows;
  }
  result.boundBytes = long(query.RecordSize()) * result.rows;
  result.cacheBytes = long(query.Cache().BlockCount() * query.Cache().BlockBytes());
  return result;
}

// The whole load: the walk above, each row appended to the product table.
Result TableLoad(TDACDatabase& database) {
  TDACTransaction transaction;
  transaction.SetDefaultDatabase(&database);
  TDACQuery query;
  query.SetBufferChunks(100);
  query.SetDatabase(&database);
  query.SetTransaction(&transaction);
  for (const std::string& line : kProductQuery) query.AddSQL(line);
  query.Open();
  db::TMemTable products;
  const char* integers[] = {"PRODUCT_CODE", "CATEGORY_CODE", "SUBCATEGORY_CODE", "FAMILY_CODE",
                            "SUBFAMILY_CODE", "ACT_TABLE_TAX", "ACT_DIRECT_TAX",
                            "ACT_PURCHASE_TAX", "NEW_TABLE_TAX", "NEW_DIRECT_TAX",
                            "NEW_PURCHASE_TAX"};
  const char* texts[] = {"PRODUCT_NAME", "CATEGORY_NAME", "SUBCATEGORY_NAME", "FAMILY_NAME",
                         "SUBFAMILY_NAME", "ACT_TABLE_TAX_NAME", "ACT_DIRECT_TAX_NAME",
                         "ACT_PURCHASE_TAX_NAME"};
  products.AddField("PRODUCT_USERCODE", db::ftString, 20);
  for (const char* name : integers) products.AddField(name, db::ftInteger);
  for (const char* name : texts) products.AddField(name, db::ftString, 40);
  products.AddField("MODIFY", db::ftSmallint);
  products.Open();
  products.LoadFromDataSet(query);
  Result result;
  result.rows = products.RowCount();
  result.boundBytes = long(query.RecordSize()) * result.rows;
  return result;
}

// Peak memory is shown whole and above the plain loop's, whose peak is the driver's own
// copy of the result (the SQLite driver materialises the whole result at execution).
void Report(const char* what, int products, const Result& r, const Result& plain) {
  const double raw = double(plain.rawBytes);
  std::printf("%-22s %7d products %7ld rows  %7.3f s  %6.2f us/row  %5.2fx plain  "
              "peak +%7ld KB = %5.2fx raw; above plain loop %+7ld KB = %5.2fx raw\n",
              what, products, r.rows, r.seconds, r.seconds * 1e6 / double(std::max(r.rows, 1L)),
              r.seconds / plain.seconds, r.peakKb, r.peakKb * 1024.0 / raw,
              r.peakKb - plain.peakKb, (r.peakKb - plain.peakKb) * 1024.0 / raw);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "/tmp";
  try {
    for (int count : {10000, 100000}) {
      const std::string file = dir + "/bench_dataset_" + std::to_string(count) + ".sqlite";
      Generate(file, count);
      const Result plain = Measure([&] { return Run(file, PlainLoop); });
      const Result walk = Measure([&] { return Run(file, DataSetWalk); });
      const Result load = Measure([&] { return Run(file, TableLoad); });
      std::printf("--- %d products: raw values %ld KB, bound row buffers %ld KB, full dataset "
                  "record %ld B, dataset cache blocks %ld KB (%.0f B a row)\n",
                  count, plain.rawBytes / 1024, plain.boundBytes / 1024,
                  walk.boundBytes / std::max(walk.rows, 1L), walk.cacheBytes / 1024,
                  double(walk.cacheBytes) / double(std::max(walk.rows, 1L)));
      Report("plain ODBC loop", count, plain, plain);
      Report("dataset walk", count, walk, plain);
      Report("walk + product table", count, load, plain);
      std::filesystem::remove(file);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_dataset: %s\n", e.what());
    return 1;
  }
  return 0;
}
