#include "tests/settings/SettingsTestSupport.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QApplication>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "tests/support/TestDatabases.h"

namespace settingstest {
namespace {

// The whole binary runs inside a sandbox home and with one QApplication.
class TSettingsEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    std::string home = NewFolder("home");
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    application_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "settings_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new TSettingsEnvironment);

}  // namespace

std::string NewFolder(const std::string& prefix) {
  std::string folder = testdb::TempDir() + "/" + testdb::UniqueName("settings_" + prefix);
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
  if (!file) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

TEnvOverride::TEnvOverride(const char* name, const std::optional<std::string>& value) : name_(name) {
  if (const char* old = std::getenv(name)) previous_ = old;
  if (value)
    setenv(name, value->c_str(), 1);
  else
    unsetenv(name);
}

TEnvOverride::~TEnvOverride() {
  if (previous_)
    setenv(name_.c_str(), previous_->c_str(), 1);
  else
    unsetenv(name_.c_str());
}

TFileSizeLimit::TFileSizeLimit(unsigned long bytes) {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  previousSoft_ = limit.rlim_cur;
  previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

TFileSizeLimit::~TFileSizeLimit() {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = previousSoft_;
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, previousHandler_);
}

}  // namespace settingstest
