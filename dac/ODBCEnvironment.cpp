#include "dac/ODBCEnvironment.h"

#include <algorithm>
#include <memory>

#include "dac/ODBCApi.h"
#include "dac/ODBCConnection.h"
#include "dac/ODBCError.h"

namespace dac {

std::mutex& LayerLock() {
  static std::mutex lock;
  return lock;
}

TODBCEnvironment::TODBCEnvironment(std::string name) : name_(std::move(name)) {
  RequireODBCLibrary();
  libraryReady_ = true;
}

TODBCEnvironment::~TODBCEnvironment() {
  if (!libraryReady_) return;
  try {
    DoClose();
    std::vector<TODBCConnection*> attached;
    {
      std::lock_guard<std::mutex> guard(LayerLock());
      attached.swap(connections_);
    }
    for (TODBCConnection* connection : attached) connection->DropEnvironment();
  } catch (...) {
  }
}

void TODBCEnvironment::SetActive(bool value) {
  if (value == Active()) return;
  if (value)
    DoOpen();
  else
    DoClose();
}

void TODBCEnvironment::DoOpen() {
  std::lock_guard<std::mutex> guard(LayerLock());
  TODBCHandle opened(SQL_HANDLE_ENV);
  opened.Allocate(SQL_NULL_HANDLE);
  ODBCCheck(SQL_HANDLE_ENV, opened.Get(),
            odbcapi::SQLSetEnvAttr(opened.Get(), SQL_ATTR_ODBC_VERSION,
                                   reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0));
  handle_.TakeFrom(opened);
}

void TODBCEnvironment::DoClose() {
  std::lock_guard<std::mutex> guard(LayerLock());
  handle_.Release();
}

void TODBCEnvironment::AttachConnection(TODBCConnection* connection) {
  std::lock_guard<std::mutex> guard(LayerLock());
  if (std::find(connections_.begin(), connections_.end(), connection) == connections_.end())
    connections_.push_back(connection);
}

void TODBCEnvironment::DetachConnection(TODBCConnection* connection) {
  std::lock_guard<std::mutex> guard(LayerLock());
  connections_.erase(std::remove(connections_.begin(), connections_.end(), connection),
                     connections_.end());
}

size_t TODBCEnvironment::ConnectionCount() const {
  std::lock_guard<std::mutex> guard(LayerLock());
  return connections_.size();
}

namespace {
// Frees the default environment, then releases the driver manager, when the module unloads.
struct LayerLifetime {
  // Built first so that the lock outlives the environment it guards.
  LayerLifetime() { LayerLock(); }
  std::unique_ptr<TODBCEnvironment> defaultEnvironment;
  ~LayerLifetime() {
    defaultEnvironment.reset();
    UnloadODBCLibrary();
  }
};
LayerLifetime& layerLifetime() {
  static LayerLifetime lifetime;
  return lifetime;
}
}  // namespace

TODBCEnvironment& DefaultEnvironment() {
  LayerLifetime& lifetime = layerLifetime();
  if (!lifetime.defaultEnvironment) {
    auto environment = std::make_unique<TODBCEnvironment>("Default");
    environment->Open();
    lifetime.defaultEnvironment = std::move(environment);
  }
  return *lifetime.defaultEnvironment;
}

}  // namespace dac
