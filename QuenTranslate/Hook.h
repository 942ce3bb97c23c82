#pragma once
// A code patch that sends every call of a routine to a replacement: a relative jump (E9 rel32)
// written over the routine's first five bytes. x86-64 only.
#include <array>
#include <cstdint>

class THook {
 public:
  using TPatchBytes = std::array<uint8_t, 5>;

  // Attaches at once (see Attach); the patch is written by Enable.
  THook(void* oldProc, bool follow, void* newProc);
  ~THook();
  THook(const THook&) = delete;
  THook& operator=(const THook&) = delete;

  // Finds the patch position, prepares the jump and saves the bytes it will cover. With follow
  // set, a routine that starts with an indirect jump (FF 25, jmp [rip+disp32]) is followed to
  // the address in its pointer slot. Throws std::system_error when the code cannot be made
  // writable, std::out_of_range when the replacement is beyond the reach of a rel32 jump.
  void Attach(bool follow);
  // Disable, then forget the patch position.
  void Detach();
  // Writes the jump to the replacement.
  void Enable();
  // Writes the saved bytes back.
  void Disable();

  void* OldProc() const { return oldProc_; }
  void* NewProc() const { return newProc_; }
  void* PatchPosition() const { return patchPosition_; }
  const TPatchBytes& Patch() const { return patch_; }
  const TPatchBytes& SavedBytes() const { return savedBytes_; }

 private:
  void* oldProc_;
  void* newProc_;
  void* patchPosition_ = nullptr;
  TPatchBytes patch_{};
  TPatchBytes savedBytes_{};
};

// The code address of a function, as THook takes it.
template <typename Function>
void* CodeAddress(Function* function) {
  return reinterpret_cast<void*>(function);
}
