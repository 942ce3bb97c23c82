// THook on routines of this test program and on hand-built code in pages of its own.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "QuenTranslate/Assertion.h"
#include "QuenTranslate/Hook.h"

namespace {
volatile int lastArgument = 0;

// Each body stores its argument first, so every routine is well over the five patched bytes.
extern "C" __attribute__((noipa)) int HookOriginal(int x) {
  lastArgument = x;
  return x + 1;
}

extern "C" __attribute__((noipa)) int HookReplacement(int x) {
  lastArgument = -x;
  return x * 100;
}

using TIntFunction = int (*)(int);

// Calls through a pointer the compiler cannot see through, as other modules would.
int CallThrough(void* code, int argument) {
  TIntFunction volatile function = reinterpret_cast<TIntFunction>(code);
  return function(argument);
}

std::vector<uint8_t> BytesAt(void* code, size_t count) {
  const auto* bytes = static_cast<const uint8_t*>(code);
  return std::vector<uint8_t>(bytes, bytes + count);
}

size_t PageSize() {
  return static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

// A fresh page at hint or, failing that, at one of the following candidates.
void* MapPageNear(uintptr_t hint, intptr_t step, int prot) {
  for (int attempt = 0; attempt < 64; ++attempt) {
    void* wanted = reinterpret_cast<void*>((hint + attempt * step) & ~(PageSize() - 1));
    void* page = mmap(wanted, PageSize(), prot, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE,
                      -1, 0);
    if (page == wanted) return page;
    if (page != MAP_FAILED) munmap(page, PageSize());
  }
  return nullptr;
}

// Writes code into a page of its own and leaves it read-and-execute, as a loader would.
class CodePage {
 public:
  CodePage(void* page, const std::vector<uint8_t>& code) : page_(page) {
    std::memcpy(page_, code.data(), code.size());
    mprotect(page_, PageSize(), PROT_READ | PROT_EXEC);
  }
  ~CodePage() { munmap(page_, PageSize()); }
  void* Address() const { return page_; }

 private:
  void* page_;
};

void* Original() { return CodeAddress(&HookOriginal); }
void* Replacement() { return CodeAddress(&HookReplacement); }

TEST(HookTest, AttachPreparesThePatchWithoutWritingIt) {
  const std::vector<uint8_t> before = BytesAt(Original(), 5);
  THook hook(Original(), false, Replacement());
  EXPECT_EQ(hook.OldProc(), Original());
  EXPECT_EQ(hook.NewProc(), Replacement());
  EXPECT_EQ(hook.PatchPosition(), Original());
  EXPECT_EQ(BytesAt(Original(), 5), before);
  EXPECT_EQ(std::vector<uint8_t>(hook.SavedBytes().begin(), hook.SavedBytes().end()), before);
  const int32_t distance = static_cast<int32_t>(reinterpret_cast<intptr_t>(Replacement()) -
                                                reinterpret_cast<intptr_t>(Original()) - 5);
  EXPECT_EQ(hook.Patch()[0], 0xE9);
  int32_t written;
  std::memcpy(&written, hook.Patch().data() + 1, sizeof written);
  EXPECT_EQ(written, distance);
  EXPECT_EQ(CallThrough(Original(), 4), 5);
}

TEST(HookTest, EnableRedirectsAndDisableRestores) {
  THook hook(Original(), false, Replacement());
  hook.Enable();
  EXPECT_EQ(CallThrough(Original(), 4), 400);
  EXPECT_EQ(lastArgument, -4);
  EXPECT_EQ(HookOriginal(3), 300);
  hook.Disable();
  EXPECT_EQ(CallThrough(Original(), 4), 5);
  EXPECT_EQ(lastArgument, 4);
  hook.Enable();
  EXPECT_EQ(CallThrough(Original(), 2), 200);
}

TEST(HookTest, DetachRestoresAndForgetsThePosition) {
  const std::vector<uint8_t> before = BytesAt(Original(), 5);
  THook hook(Original(), false, Replacement());
  hook.Enable();
  hook.Detach();
  EXPECT_EQ(hook.PatchPosition(), nullptr);
  EXPECT_EQ(BytesAt(Original(), 5), before);
  EXPECT_EQ(CallThrough(Original(), 4), 5);
  hook.Attach(false);
  hook.Enable();
  EXPECT_EQ(CallThrough(Original(), 4), 400);
  hook.Attach(false);  // attaching again detaches first
  EXPECT_EQ(CallThrough(Original(), 4), 5);
}

TEST(HookTest, DestructionRestoresTheRoutine) {
  const std::vector<uint8_t> before = BytesAt(Original(), 5);
  {
    THook hook(Original(), false, Replacement());
    hook.Enable();
    EXPECT_EQ(CallThrough(Original(), 1), 100);
  }
  EXPECT_EQ(BytesAt(Original(), 5), before);
  EXPECT_EQ(CallThrough(Original(), 1), 2);
}

// The protection of the mapping that holds address, as /proc/self/maps shows it ("r-xp").
std::string ProtectionOf(void* address) {
  std::ifstream maps("/proc/self/maps");
  const uintptr_t wanted = reinterpret_cast<uintptr_t>(address);
  std::string line;
  while (std::getline(maps, line)) {
    uintptr_t start = 0, end = 0;
    char perms[5] = {};
    if (std::sscanf(line.c_str(), "%lx-%lx %4s", &start, &end, perms) == 3 && start <= wanted &&
        wanted < end)
      return perms;
  }
  return "unmapped";
}

TEST(HookTest, CodeIsNeverLeftWritable) {
  THook hook(Original(), false, Replacement());
  EXPECT_EQ(ProtectionOf(Original()), "r-xp");
  hook.Enable();
  EXPECT_EQ(ProtectionOf(Original()), "r-xp");
  EXPECT_EQ(CallThrough(Original(), 7), 700);
  hook.Disable();
  EXPECT_EQ(ProtectionOf(Original()), "r-xp");
}

// jmp [rip+0] followed by the absolute address of the routine: the shape of an import stub.
std::vector<uint8_t> IndirectJumpStub(void* target) {
  std::vector<uint8_t> stub = {0xFF, 0x25, 0x00, 0x00, 0x00, 0x00};
  const uintptr_t address = reinterpret_cast<uintptr_t>(target);
  for (int i = 0; i < 8; ++i) stub.push_back(static_cast<uint8_t>(address >> (8 * i)));
  return stub;
}

TEST(HookTest, FollowPatchesTheRoutineBehindAnIndirectJump) {
  void* page = mmap(nullptr, PageSize(), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(page, MAP_FAILED);
  CodePage stub(page, IndirectJumpStub(Original()));
  const std::vector<uint8_t> stubBytes = BytesAt(stub.Address(), 14);
  EXPECT_EQ(CallThrough(stub.Address(), 6), 7);
  {
    THook hook(stub.Address(), true, Replacement());
    EXPECT_EQ(hook.OldProc(), stub.Address());
    EXPECT_EQ(hook.PatchPosition(), Original());
    hook.Enable();
    EXPECT_EQ(CallThrough(stub.Address(), 6), 600);
    EXPECT_EQ(CallThrough(Original(), 6), 600);
    EXPECT_EQ(BytesAt(stub.Address(), 14), stubBytes);
  }
  EXPECT_EQ(CallThrough(stub.Address(), 6), 7);
}

TEST(HookTest, FollowLeavesOrdinaryRoutinesWhereTheyAre) {
  THook hook(Original(), true, Replacement());
  EXPECT_EQ(hook.PatchPosition(), Original());
}

// A replacement beyond +-2 GiB cannot be reached by E9 rel32: attaching refuses instead of
// writing a jump to the wrong place.
TEST(HookTest, ReplacementOutOfReachIsRefused) {
  const uintptr_t far = reinterpret_cast<uintptr_t>(Replacement()) + (uintptr_t{1} << 36);
  void* page = MapPageNear(far, intptr_t{1} << 30, PROT_READ | PROT_WRITE);
  ASSERT_NE(page, nullptr);
  CodePage code(page, {0x8D, 0x47, 0x01, 0x90, 0x90, 0x90, 0xC3});  // lea eax,[rdi+1]; ...; ret
  const std::vector<uint8_t> before = BytesAt(code.Address(), 7);
  EXPECT_THROW(THook(code.Address(), false, Replacement()), std::out_of_range);
  EXPECT_EQ(BytesAt(code.Address(), 7), before);
  EXPECT_EQ(CallThrough(code.Address(), 41), 42);
}

TEST(HookTest, UnchangeableProtectionRaisesTheSystemError) {
  // An unmapped address within jump reach of the replacement: mprotect answers ENOMEM.
  const uintptr_t near = reinterpret_cast<uintptr_t>(Replacement()) - (uintptr_t{1} << 30);
  void* page = MapPageNear(near, -(intptr_t{1} << 20), PROT_NONE);
  ASSERT_NE(page, nullptr);
  munmap(page, PageSize());
  try {
    THook hook(page, false, Replacement());
    FAIL() << "attached to an unmapped page";
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code().value(), ENOMEM);
  }
}

struct AssertionCase {
  const char* name;
  void (THook::*operation)();
  const char* message;
};

void PrintTo(const AssertionCase& c, std::ostream* os) {
  *os << c.name;
}

const AssertionCase kAssertionCases[] = {
    {"Enable", &THook::Enable,
     "Patch position in THook was nil when Enable was called "
     "(QuenTranslate\\QuenDictionary, line 442)"},
    {"Disable", &THook::Disable,
     "Patch position in THook was nil when Disable was called "
     "(QuenTranslate\\QuenDictionary, line 432)"},
    {"Detach", &THook::Detach,
     "Patch position in THook was nil when Disable was called "
     "(QuenTranslate\\QuenDictionary, line 432)"},
};

class HookAssertion : public testing::TestWithParam<AssertionCase> {};

TEST_P(HookAssertion, DetachedHookRaisesTheAssertion) {
  THook hook(Original(), false, Replacement());
  hook.Detach();
  try {
    (hook.*GetParam().operation)();
    FAIL() << "no assertion";
  } catch (const EAssertionFailed& error) {
    EXPECT_STREQ(error.what(), GetParam().message);
  }
  EXPECT_EQ(CallThrough(Original(), 4), 5);
}

INSTANTIATE_TEST_SUITE_P(WhileDetached, HookAssertion, testing::ValuesIn(kAssertionCases),
                         [](const testing::TestParamInfo<AssertionCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(HookTest, AssertionIsALogicError) {
  EXPECT_THROW(AssertionFailed("Broken", "Unit", 7), std::logic_error);
}
}  // namespace
