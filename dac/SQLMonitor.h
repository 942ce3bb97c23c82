#pragma once
// The process-wide trace hub that statements notify; the system itself registers no hooks.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace dac {

class TSQLMonitor {
 public:
  using THookProc = std::function<void(const void* sender, int category, const std::string& text1,
                                       const std::string& text2)>;

  // Categories 0 to 7; returns an identifier for RemoveHook.
  int AddHook(THookProc hook, uint8_t categories);
  void RemoveHook(int id);
  size_t Count() const { return hooks_.size(); }
  void Notify(const void* sender, int category, const std::string& text1,
              const std::string& text2) const;

 private:
  struct Hook {
    int Id;
    THookProc Proc;
    uint8_t Categories;
  };
  std::vector<Hook> hooks_;
  int nextId_ = 1;
};

TSQLMonitor& SQLMonitor();

}  // namespace dac
