#include "dac/ODBCApi.h"

#include <dlfcn.h>

#include <stdexcept>

#include "dac/DACConsts.h"
#include "toolkit/db/DBTypes.h"

namespace odbcapi {
#define MORVEL_DEFINE_ENTRY(name) decltype(&::name) name = nullptr;
MORVEL_ODBC_ENTRY_POINTS(MORVEL_DEFINE_ENTRY)
#undef MORVEL_DEFINE_ENTRY

int EntryPointCount() {
  int count = 0;
#define MORVEL_COUNT_ENTRY(name) ++count;
  MORVEL_ODBC_ENTRY_POINTS(MORVEL_COUNT_ENTRY)
#undef MORVEL_COUNT_ENTRY
  return count;
}
}  // namespace odbcapi

namespace dac {
namespace {

void* libraryHandle = nullptr;

std::string& libraryName() {
  static std::string name = "libodbc.so.2";
  return name;
}

void clearEntryPoints() {
#define MORVEL_CLEAR_ENTRY(name) odbcapi::name = nullptr;
  MORVEL_ODBC_ENTRY_POINTS(MORVEL_CLEAR_ENTRY)
#undef MORVEL_CLEAR_ENTRY
}

template <typename Fn>
void resolve(Fn& slot, const char* name) {
  void* address = dlsym(libraryHandle, name);
  if (!address) throw std::runtime_error(std::string("Procedure not found: ") + name);
  slot = reinterpret_cast<Fn>(address);
}

}  // namespace

const std::string& ODBCLibraryName() { return libraryName(); }
void SetODBCLibraryName(const std::string& name) { libraryName() = name; }

void LoadODBCLibrary() {
  // Kept mapped after release: the manager and its drivers leave exit-time handlers and
  // caches whose code must outlive the handle.
  void* handle = dlopen(libraryName().c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!handle) return;
  libraryHandle = handle;
  try {
#define MORVEL_RESOLVE_ENTRY(name) resolve(odbcapi::name, #name);
    MORVEL_ODBC_ENTRY_POINTS(MORVEL_RESOLVE_ENTRY)
#undef MORVEL_RESOLVE_ENTRY
  } catch (...) {
    // A half-bound library must never be used.
    UnloadODBCLibrary();
    throw;
  }
}

bool ODBCLibraryLoaded() {
  if (!libraryHandle) LoadODBCLibrary();
  return libraryHandle != nullptr;
}

void RequireODBCLibrary() {
  if (!ODBCLibraryLoaded())
    throw db::EDatabaseError(FormatRes(SODBCLibraryNotFound, libraryName().c_str()));
}

void UnloadODBCLibrary() {
  if (!libraryHandle) return;
  clearEntryPoints();
  dlclose(libraryHandle);
  libraryHandle = nullptr;
}

}  // namespace dac
