#include "dac/SQLMonitor.h"

#include <algorithm>

namespace dac {

int TSQLMonitor::AddHook(THookProc hook, uint8_t categories) {
  hooks_.push_back({nextId_, std::move(hook), categories});
  return nextId_++;
}

void TSQLMonitor::RemoveHook(int id) {
  hooks_.erase(std::remove_if(hooks_.begin(), hooks_.end(),
                              [id](const Hook& hook) { return hook.Id == id; }),
               hooks_.end());
}

void TSQLMonitor::Notify(const void* sender, int category, const std::string& text1,
                         const std::string& text2) const {
  if (category < 0 || category > 7) return;
  for (const Hook& hook : hooks_)
    if (hook.Categories & (1u << category)) hook.Proc(sender, category, text1, text2);
}

TSQLMonitor& SQLMonitor() {
  static TSQLMonitor monitor;
  return monitor;
}

}  // namespace dac
