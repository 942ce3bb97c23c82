#pragma once
// Shared set-up of the settings tests: one QApplication for the binary (offscreen), and HOME
// and XDG_CONFIG_HOME pointing into the build tree's test folder, never the real home.
#include <optional>
#include <string>

namespace settingstest {

// A new empty folder below the test folder.
std::string NewFolder(const std::string& prefix);

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// Sets (or, with nothing, unsets) an environment variable for the life of the object.
class TEnvOverride {
 public:
  TEnvOverride(const char* name, const std::optional<std::string>& value);
  ~TEnvOverride();
  TEnvOverride(const TEnvOverride&) = delete;
  TEnvOverride& operator=(const TEnvOverride&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

// Sets the process's file-size limit for the life of the object, so that writes beyond it fail
// (EFBIG, with SIGXFSZ ignored meanwhile): a real write failure, even for root.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(unsigned long bytes);
  ~TFileSizeLimit();
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

 private:
  unsigned long previousSoft_;
  void (*previousHandler_)(int);
};

}  // namespace settingstest
