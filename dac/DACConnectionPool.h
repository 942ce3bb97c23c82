#pragma once
// The further connections of a database that its transactions borrow, one per transaction,
// each opened with the transaction's isolation level.
#include <cstdint>
#include <memory>
#include <vector>

#include "dac/ODBCConnection.h"

namespace dac {

class TDACDatabase;
class TDACTransaction;

struct TConnectionInfo {
  std::unique_ptr<TODBCConnection> Connection;
  bool InUse = false;
  int32_t IsolationLevel = 0;
  uint32_t CreatedTick = 0;
};

class TDACConnectionPool {
 public:
  explicit TDACConnectionPool(TDACDatabase& database) : database_(database) {}
  ~TDACConnectionPool() { Clear(); }
  TDACConnectionPool(const TDACConnectionPool&) = delete;
  TDACConnectionPool& operator=(const TDACConnectionPool&) = delete;

  // A connection with the isolation level of transaction (1 without one), marked in use.
  TODBCConnection* AcquireConnection(TDACTransaction* transaction);
  // Marks the connection's entry free, closes its clients, then trims the pool.
  void ReleaseConnection(TODBCConnection* connection);
  bool Contains(const TODBCConnection* connection) const;
  void Clear();
  int FreeCount() const;

  size_t Count() const { return entries_.size(); }
  const TConnectionInfo& Entries(size_t index) const { return *entries_.at(index); }

 private:
  int32_t IsolationLevelFor(TDACTransaction* transaction);
  TODBCConnection* CreateEntry(TDACTransaction* transaction, int32_t level);
  void Trim();

  TDACDatabase& database_;
  std::vector<std::unique_ptr<TConnectionInfo>> entries_;
};

// The isolation level that transaction parameter lines ask for: the first isolation keyword
// decides, 2 (read committed) without one.
int32_t IsolationLevelFromParams(const TStrings& params);
// Closes the open cursors of the connection's statements, then its active datasets.
void CloseConnectionClients(TODBCConnection& connection);
// Frees a pool entry, committing a transaction left open; errors are swallowed.
void FreeConnectionInfo(std::unique_ptr<TConnectionInfo> entry) noexcept;

}  // namespace dac
