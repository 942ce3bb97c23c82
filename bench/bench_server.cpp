#include "bench_server.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

TBenchServer::TBenchServer() {
  if (const char* dir = std::getenv("MORVEL_PG_DIR")) {
    dir_ = std::filesystem::absolute(dir).string();
    return;
  }
  dir_ = (std::filesystem::temp_directory_path() / ("morvel-bench-pg-" + std::to_string(getpid())))
             .string();
  std::string command = std::string(MORVEL_PGCTL) + " start " + dir_;
  if (std::system(command.c_str()) != 0)
    throw std::runtime_error("could not start PostgreSQL with " + command);
  owned_ = true;
}

TBenchServer::~TBenchServer() {
  if (!owned_) return;
  std::string command = std::string(MORVEL_PGCTL) + " stop " + dir_;
  if (std::system(command.c_str()) == 0) std::filesystem::remove_all(dir_);
}

std::vector<std::string> TBenchServer::Params() const {
  std::ifstream portFile(dir_ + "/port");
  std::string port;
  if (!(portFile >> port)) throw std::runtime_error("no PostgreSQL server in " + dir_);
  return {"Driver={PostgreSQL Unicode}", "Server=127.0.0.1", "Port=" + port,
          "Database=morvel_test", "UID=morvel", "PWD=morvel"};
}
