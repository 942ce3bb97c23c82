#pragma once
// The PostgreSQL server the benchmark runs against: the one MORVEL_PG_DIR names, or one of
// its own started with the test suite's script and stopped at the end.
#include <string>
#include <vector>

class TBenchServer {
 public:
  TBenchServer();
  ~TBenchServer();
  TBenchServer(const TBenchServer&) = delete;
  TBenchServer& operator=(const TBenchServer&) = delete;

  std::vector<std::string> Params() const;

 private:
  std::string dir_;
  bool owned_ = false;
};
