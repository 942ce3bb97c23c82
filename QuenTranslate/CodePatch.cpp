#include "QuenTranslate/CodePatch.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace {
struct PageSpan {
  void* start;
  size_t length;
};

PageSpan PagesOf(void* address, size_t size) {
  const uintptr_t pageSize = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t first = reinterpret_cast<uintptr_t>(address) & ~(pageSize - 1);
  const uintptr_t end = reinterpret_cast<uintptr_t>(address) + size;
  const uintptr_t last = (end + pageSize - 1) & ~(pageSize - 1);
  return {reinterpret_cast<void*>(first), static_cast<size_t>(last - first)};
}
}  // namespace

void MakeCodeWritable(void* address, size_t size) {
  PageSpan pages = PagesOf(address, size);
  if (mprotect(pages.start, pages.length, PROT_READ | PROT_WRITE | PROT_EXEC) != 0)
    throw std::system_error(errno, std::system_category(), "mprotect");
}

void ProtectCode(void* address, size_t size) noexcept {
  PageSpan pages = PagesOf(address, size);
  mprotect(pages.start, pages.length, PROT_READ | PROT_EXEC);
}

void WriteCode(void* address, const uint8_t* bytes, size_t size) {
  MakeCodeWritable(address, size);
  std::memcpy(address, bytes, size);
  char* begin = static_cast<char*>(address);
  __builtin___clear_cache(begin, begin + size);
  ProtectCode(address, size);
}
