#include "tests/support/TestDatabases.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace testdb {

std::vector<std::string> SqliteParams(const std::string& file) {
  return {"Driver=SQLite3", "Database=" + file};
}

std::vector<std::string> PostgresParams() {
  const char* dir = std::getenv("MORVEL_PG_DIR");
  if (!dir) throw std::runtime_error("MORVEL_PG_DIR is not set: run the suite through ctest");
  std::ifstream portFile(std::string(dir) + "/port");
  std::string port;
  if (!(portFile >> port))
    throw std::runtime_error(std::string("PostgreSQL test server is not running (no ") + dir +
                             "/port)");
  return {"Driver={PostgreSQL Unicode}", "Server=127.0.0.1", "Port=" + port,
          "Database=morvel_test", "UID=morvel", "PWD=morvel"};
}

std::vector<std::string> ParamsFor(Kind kind) {
  if (kind == Kind::PostgreSQL) return PostgresParams();
  std::string file = TempDir() + "/" + UniqueName("db") + ".sqlite";
  std::filesystem::remove(file);
  return SqliteParams(file);
}

const char* KindName(Kind kind) { return kind == Kind::SQLite ? "SQLite" : "PostgreSQL"; }

std::string TempDir() {
  const char* base = std::getenv("MORVEL_TEST_TMP");
  std::string dir = base ? base : std::filesystem::temp_directory_path().string() + "/morvel-tests";
  std::filesystem::create_directories(dir);
  return dir;
}

std::string UniqueName(const std::string& prefix) {
  static std::atomic<int> counter{0};
  return prefix + "_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    if (!text.empty()) text += "\n";
    text += line;
  }
  return text;
}

}  // namespace testdb
