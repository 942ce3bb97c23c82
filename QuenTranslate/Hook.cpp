#include "QuenTranslate/Hook.h"

#include <cstring>
#include <limits>
#include <stdexcept>

#include "QuenTranslate/Assertion.h"
#include "QuenTranslate/CodePatch.h"

namespace {
const char* const kHookSource = "QuenTranslate\\QuenDictionary";

// An import-style stub, jmp [rip+disp32], leads to the address held in its pointer slot,
// which lies right after the six-byte instruction plus the displacement.
void* FollowIndirectJump(void* code) {
  const auto* bytes = static_cast<const uint8_t*>(code);
  if (bytes[0] != 0xFF || bytes[1] != 0x25) return code;
  int32_t displacement;
  std::memcpy(&displacement, bytes + 2, sizeof displacement);
  void* target;
  std::memcpy(&target, bytes + 6 + displacement, sizeof target);
  return target;
}

THook::TPatchBytes RelativeJump(void* from, void* to) {
  const int64_t distance = static_cast<int64_t>(reinterpret_cast<intptr_t>(to) -
                                                reinterpret_cast<intptr_t>(from)) - 5;
  if (distance < std::numeric_limits<int32_t>::min() ||
      distance > std::numeric_limits<int32_t>::max())
    throw std::out_of_range("THook: the replacement is out of reach of a relative jump");
  const int32_t rel32 = static_cast<int32_t>(distance);
  THook::TPatchBytes patch{0xE9};
  std::memcpy(patch.data() + 1, &rel32, sizeof rel32);
  return patch;
}
}  // namespace

THook::THook(void* oldProc, bool follow, void* newProc) : oldProc_(oldProc), newProc_(newProc) {
  Attach(follow);
}

THook::~THook() {
  // A destructor must not throw: detach only what is attached, and swallow a failed write.
  if (patchPosition_ == nullptr) return;
  try {
    Detach();
  } catch (...) {
  }
}

void THook::Attach(bool follow) {
  if (patchPosition_ != nullptr) Detach();
  void* position = follow ? FollowIndirectJump(oldProc_) : oldProc_;
  TPatchBytes patch = RelativeJump(position, newProc_);
  MakeCodeWritable(position, patch.size());
  ProtectCode(position, patch.size());
  patch_ = patch;
  std::memcpy(savedBytes_.data(), position, savedBytes_.size());
  patchPosition_ = position;
}

void THook::Detach() {
  Disable();
  patchPosition_ = nullptr;
}

void THook::Disable() {
  if (patchPosition_ == nullptr)
    AssertionFailed("Patch position in THook was nil when Disable was called", kHookSource, 432);
  WriteCode(patchPosition_, savedBytes_.data(), savedBytes_.size());
}

void THook::Enable() {
  if (patchPosition_ == nullptr)
    AssertionFailed("Patch position in THook was nil when Enable was called", kHookSource, 442);
  WriteCode(patchPosition_, patch_.data(), patch_.size());
}
