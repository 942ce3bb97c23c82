#include "dac/DACDatabase.h"

#include <algorithm>
#include <stdexcept>

#include "dac/DACConnectionPool.h"
#include "dac/DACConsts.h"
#include "dac/DACTransaction.h"
#include "dac/DriverInfo.h"

namespace dac {
namespace {

TODBCDriverKind currentDriverKind = dkUnknown;

// Fills key from value when the key is empty and the value is not.
void fillMissing(TStrings& params, const char* key, const std::string& value) {
  if (LookupParam(params, key).empty() && !value.empty()) SetParam(params, key, value);
}

}  // namespace

TODBCDriverKind CurrentDriverKind() { return currentDriverKind; }

TDACDatabase::TDACDatabase(TODBCEnvironment* environment)
    : TODBCConnection(environment), pool_(std::make_unique<TDACConnectionPool>(*this)) {}

TDACDatabase::~TDACDatabase() {
  try {
    SetConnected(false);
  } catch (...) {
  }
  for (TDACTransaction* transaction : std::vector<TDACTransaction*>(referencing_))
    transaction->DatabaseDestroyed();
  transactions_.clear();
  referencing_.clear();
  pool_.reset();
}

TDBMSKind TDACDatabase::DBMSKind() {
  if (Connected()) return GetDBMSKind(Handle());
  return DBMSKindFromDriverParam(LookupParam(Params(), "Driver"));
}

void TDACDatabase::CompleteParams() {
  TStrings& params = MutableParams();
  switch (DBMSKind()) {
    case dbmsUnknown:
      throw std::runtime_error(LoadResString(&SUnspecifiedDriver));
    case dbmsInterBase:
      if (LookupParam(params, "DbName").empty()) {
        std::string name =
            serverName_.empty() ? databaseName_ : serverName_ + ":" + databaseName_;
        if (!name.empty()) SetParam(params, "DbName", name);
      }
      break;
    case dbmsMSSQLServer:
      fillMissing(params, "SERVER", serverName_);
      fillMissing(params, "DATABASE", databaseName_);
      SetParam(params, "APP", "Tabrel Store");
      break;
    case dbmsDB2:
      fillMissing(params, "HOSTNAME", serverName_);
      fillMissing(params, "DATABASE", databaseName_);
      break;
    case dbmsOracle:
      fillMissing(params, "SERVER", serverName_);
      fillMissing(params, "DATABASE", databaseName_);
      break;
    default:
      break;
  }
}

void TDACDatabase::DoConnect() {
  CompleteParams();
  TODBCConnection::DoConnect();
  currentDriverKind = GetDriverKind(Handle());
  char version[129] = {};
  GetInfo(SQL_DBMS_VER, version, sizeof version, nullptr);
  version[sizeof version - 1] = 0;
  serverVersion_ = ServerVersionFromText(version);
}

void TDACDatabase::DoDisconnect() {
  std::vector<TDACTransaction*> registered = transactions_;
  for (auto it = registered.rbegin(); it != registered.rend(); ++it) (*it)->ReleaseConnection();
  pool_->Clear();
  TODBCConnection::DoDisconnect();
  currentDriverKind = dkUnknown;
}

namespace {
void addOnce(std::vector<TDACTransaction*>& list, TDACTransaction* transaction) {
  if (std::find(list.begin(), list.end(), transaction) == list.end()) list.push_back(transaction);
}
}  // namespace

void TDACDatabase::AddTransaction(TDACTransaction* transaction) {
  addOnce(transactions_, transaction);
  addOnce(referencing_, transaction);
}

void TDACDatabase::ForgetTransaction(TDACTransaction* transaction) {
  referencing_.erase(std::remove(referencing_.begin(), referencing_.end(), transaction),
                     referencing_.end());
}

bool TDACDatabase::RemoveTransaction(TDACTransaction* transaction) {
  if (transaction->Active()) transaction->SetActive(false);
  auto found = std::find(transactions_.begin(), transactions_.end(), transaction);
  if (found == transactions_.end()) return false;
  transactions_.erase(found);
  return true;
}

}  // namespace dac
