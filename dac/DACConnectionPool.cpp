#include "dac/DACConnectionPool.h"

#include <sqlext.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>

#include "dac/DACDatabase.h"
#include "dac/DACTransaction.h"

namespace dac {
namespace {

constexpr int64_t kInterBaseVersionWithIsolation = (int64_t{2} << 32) + 150;

uint32_t tickCount() {
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::string executableFileName() {
  char path[PATH_MAX] = {};
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string file = length > 0 ? std::string(path, length) : std::string();
  return file.substr(file.find_last_of('/') + 1);
}

bool isKeyword(const std::string& line, const char* keyword) {
  return strcasecmp(line.c_str(), keyword) == 0;
}

}  // namespace

int32_t IsolationLevelFromParams(const TStrings& params) {
  for (const std::string& line : params) {
    if (isKeyword(line, "read_committed")) return SQL_TXN_READ_COMMITTED;
    if (isKeyword(line, "read_uncommitted")) return SQL_TXN_READ_UNCOMMITTED;
  }
  return SQL_TXN_READ_COMMITTED;
}

void CloseConnectionClients(TODBCConnection& connection) {
  for (size_t i = 0; i < connection.StatementCount(); ++i) {
    TODBCClient* statement = connection.Statements(i);
    if (statement->ClientActive()) statement->CloseClient();
  }
  for (size_t i = 0; i < connection.DataSetCount(); ++i) {
    TODBCClient* dataSet = connection.DataSets(i);
    if (dataSet->ClientActive()) dataSet->CloseClient();
  }
}

void FreeConnectionInfo(std::unique_ptr<TConnectionInfo> entry) noexcept {
  try {
    TODBCConnection& connection = *entry->Connection;
    if (connection.Connected() && connection.InTransaction()) connection.Commit();
  } catch (...) {
  }
  entry.reset();  // the connection's destructor disconnects, swallowing its errors
}

int32_t TDACConnectionPool::IsolationLevelFor(TDACTransaction* transaction) {
  int32_t level = transaction ? IsolationLevelFromParams(transaction->Params())
                              : SQL_TXN_READ_UNCOMMITTED;
  if (database_.DBMSKind() == dbmsInterBase &&
      static_cast<int64_t>(database_.ServerVersion()) < kInterBaseVersionWithIsolation)
    level = SQL_TXN_READ_UNCOMMITTED;
  return level;
}

TODBCConnection* TDACConnectionPool::AcquireConnection(TDACTransaction* transaction) {
  int32_t level = IsolationLevelFor(transaction);
  for (auto& entry : entries_) {
    if (entry->InUse || entry->IsolationLevel != level) continue;
    entry->Connection->SetConnected(true);
    entry->InUse = true;
    return entry->Connection.get();
  }
  return CreateEntry(transaction, level);
}

TODBCConnection* TDACConnectionPool::CreateEntry(TDACTransaction* transaction, int32_t level) {
  auto entry = std::make_unique<TConnectionInfo>();
  entry->Connection = std::make_unique<TODBCConnection>();
  entry->CreatedTick = tickCount();
  TODBCConnection& connection = *entry->Connection;
  connection.SetKeepConnection(false);
  TStrings params = database_.Params();
  switch (database_.DBMSKind()) {
    case dbmsMSSQLServer:
      SetParam(params, "APP", executableFileName());
      break;
    case dbmsInterBase: {
      const TStrings none;
      const TStrings& lines = transaction ? transaction->Params() : none;
      bool noWait = !transaction ||
                    std::any_of(lines.begin(), lines.end(),
                                [](const std::string& line) { return isKeyword(line, "nowait"); });
      if (noWait) SetParam(params, "NoWait", "Y");
      SetParam(params, "SAFETHREAD", "Y");
      break;
    }
    default:
      break;
  }
  connection.SetParams(params);
  connection.SetLoginPrompt(false);
  entry->IsolationLevel = level;
  for (int attempt = 1;; ++attempt) {
    try {
      connection.SetConnected(true);
      connection.SetConnectAttr(SQL_ATTR_TXN_ISOLATION,
                                reinterpret_cast<SQLPOINTER>(static_cast<intptr_t>(level)),
                                SQL_IS_INTEGER);
      break;
    } catch (...) {
      if (attempt == 5) throw;  // the entry and its connection are freed on the way out
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  entry->InUse = true;
  entries_.push_back(std::move(entry));
  return &connection;
}

void TDACConnectionPool::ReleaseConnection(TODBCConnection* connection) {
  if (!connection) return;
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if ((*it)->Connection.get() != connection) continue;
    (*it)->InUse = false;
    try {
      CloseConnectionClients(*connection);
    } catch (...) {
      std::unique_ptr<TConnectionInfo> dropped = std::move(*it);
      entries_.erase(it);
      FreeConnectionInfo(std::move(dropped));
      throw;
    }
    break;
  }
  Trim();
}

void TDACConnectionPool::Trim() {
  int total = static_cast<int>(entries_.size());
  int free = FreeCount();
  if (total < 5 || free <= total / 3) return;
  std::stable_sort(entries_.begin(), entries_.end(), [](const auto& a, const auto& b) {
    return a->CreatedTick > b->CreatedTick;
  });
  int freed = 0;
  for (size_t i = entries_.size(); i-- > 0 && freed < free - 1;) {
    if (entries_[i]->InUse) continue;
    std::unique_ptr<TConnectionInfo> entry = std::move(entries_[i]);
    entries_.erase(entries_.begin() + i);
    FreeConnectionInfo(std::move(entry));
    ++freed;
  }
}

bool TDACConnectionPool::Contains(const TODBCConnection* connection) const {
  return connection && std::any_of(entries_.begin(), entries_.end(), [connection](const auto& e) {
           return e->Connection.get() == connection;
         });
}

void TDACConnectionPool::Clear() {
  while (!entries_.empty()) {
    std::unique_ptr<TConnectionInfo> entry = std::move(entries_.back());
    entries_.pop_back();
    FreeConnectionInfo(std::move(entry));
  }
}

int TDACConnectionPool::FreeCount() const {
  return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                        [](const auto& e) { return !e->InUse; }));
}

}  // namespace dac
