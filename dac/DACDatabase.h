#pragma once
// The connection component a window places: recognises the server kind, completes its
// parameters for it, measures the server version, owns the pool that transactions borrow from.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dac/DriverKind.h"
#include "dac/ODBCConnection.h"

namespace dac {

class TDACConnectionPool;
class TDACTransaction;

class TDACDatabase : public TODBCConnection {
 public:
  explicit TDACDatabase(TODBCEnvironment* environment = nullptr);
  ~TDACDatabase() override;

  const std::string& DatabaseName() const { return databaseName_; }
  void SetDatabaseName(const std::string& value) { databaseName_ = value; }
  const std::string& ServerName() const { return serverName_; }
  void SetServerName(const std::string& value) { serverName_ = value; }

  // While connected the driver's answer, else guessed from the "Driver" parameter.
  TDBMSKind DBMSKind();
  uint64_t ServerVersion() const { return serverVersion_; }
  TDACConnectionPool& Pool() { return *pool_; }

  void AddTransaction(TDACTransaction* transaction);
  // Ends an active transaction by its default action, then forgets it; true when it was known.
  bool RemoveTransaction(TDACTransaction* transaction);
  // A transaction stops referring to this database (another database, or destroyed).
  void ForgetTransaction(TDACTransaction* transaction);
  size_t TransactionCount() const { return transactions_.size(); }
  TDACTransaction* Transactions(size_t index) const { return transactions_.at(index); }

 protected:
  void DoConnect() override;
  void DoDisconnect() override;

 private:
  void CompleteParams();

  std::string databaseName_;
  std::string serverName_;
  uint64_t serverVersion_ = 0;
  std::unique_ptr<TDACConnectionPool> pool_;
  std::vector<TDACTransaction*> transactions_;
  // Every transaction that refers to this database, registered or cut off by a disconnect:
  // all are told when the database is destroyed, so none is left pointing at it.
  std::vector<TDACTransaction*> referencing_;
};

// The driver kind of the database that connected last; dkUnknown after it disconnects.
TODBCDriverKind CurrentDriverKind();

// The version text of the server as one number, 16 bits a part, at most four parts.
uint64_t ServerVersionFromText(const std::string& text);

}  // namespace dac
