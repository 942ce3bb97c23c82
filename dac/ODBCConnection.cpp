#include "dac/ODBCConnection.h"

#include <algorithm>

#include "dac/DACConsts.h"
#include "dac/DriverInfo.h"
#include "dac/ODBCApi.h"
#include "dac/ODBCEnvironment.h"
#include "dac/ODBCError.h"
#include "dac/ODBCLists.h"
#include "dac/Utf8.h"

namespace dac {
namespace {

ILoginDialog* loginDialog = nullptr;


void setAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER length) {
  ODBCCheck(SQL_HANDLE_DBC, handle, odbcapi::SQLSetConnectAttr(handle, attribute, value, length));
}

}  // namespace

void SetLoginDialog(ILoginDialog* dialog) { loginDialog = dialog; }

TODBCConnection::TODBCConnection(TODBCEnvironment* environment) {
  environment_ = environment ? environment : &DefaultEnvironment();
  environment_->AttachConnection(this);
}

TODBCConnection::~TODBCConnection() {
  try {
    SetConnected(false);
  } catch (...) {
    // A connection that cannot be closed cleanly is still freed by its handle owner.
  }
  for (TODBCClient* statement : std::vector<TODBCClient*>(statements_)) statement->DropConnection();
  for (TODBCClient* dataSet : std::vector<TODBCClient*>(dataSets_)) dataSet->DropConnection();
  if (environment_) environment_->DetachConnection(this);
}

void TODBCConnection::SetConnected(bool value) {
  if (value == Connected()) return;
  if (value) {
    if (BeforeConnect) BeforeConnect(*this);
    DoConnect();
    NotifyClients(true);
    if (AfterConnect) AfterConnect(*this);
  } else {
    if (BeforeDisconnect) BeforeDisconnect(*this);
    NotifyClients(false);
    DoDisconnect();
    if (AfterDisconnect) AfterDisconnect(*this);
  }
}

void TODBCConnection::DoConnect() {
  if (!environment_) throw db::EDatabaseError(LoadResString(&SEnvironmentRequired));
  if (!environment_->Active()) environment_->Open();
  TStrings working = params_;
  if (loginPrompt_) RunLoginStep(working);

  TODBCHandle opening(SQL_HANDLE_DBC);
  opening.Allocate(environment_->Handle());
  char completed[1024] = {};
  try {
    std::string connectString = StringsToSemicolonText(working);
    ODBCCheck(SQL_HANDLE_DBC, opening.Get(),
              odbcapi::SQLDriverConnect(opening.Get(), nullptr,
                                        reinterpret_cast<SQLCHAR*>(connectString.data()),
                                        SQL_NTS, reinterpret_cast<SQLCHAR*>(completed),
                                        sizeof completed, nullptr, SQL_DRIVER_NOPROMPT));
    handle_.TakeFrom(opening);
    SetDriverAttributes();
  } catch (const EODBCError& error) {
    // Whichever owner holds the handle now frees it; a failure to free is reported instead.
    TODBCHandle& owner = handle_ ? handle_ : opening;
    try {
      owner.Free();
    } catch (...) {
      owner.Release();
      throw;
    }
    if (error.RetCode() == SQL_NO_DATA) throw EAbort();
    throw;
  } catch (...) {
    handle_.Release();
    throw;
  }
  completed[sizeof completed - 1] = 0;
  SemicolonTextToStrings(DropPartialCharacter(completed), params_);
  KeepDriverEntry(working);
}

void TODBCConnection::KeepDriverEntry(const TStrings& working) {
  // The SQLite driver completes the string without its Driver entry (and with an empty DSN);
  // without it the parameters could neither reconnect nor open the pool's connections.
  std::string driver = LookupParam(working, "Driver");
  if (driver.empty() || !LookupParam(params_, "Driver").empty() ||
      !TrimBlanks(LookupParam(params_, "DSN")).empty())
    return;
  params_.insert(params_.begin(), "Driver=" + driver);
}

void TODBCConnection::RunLoginStep(TStrings& working) {
  std::string dataSource = TrimBlanks(LookupParam(working, "DSN"));
  if (dataSource.empty()) {
    std::string fileDsn = TrimBlanks(LookupParam(working, "FILEDSN"));
    dataSource = fileDsn.substr(fileDsn.find_last_of("/\\:") + 1);
  }
  std::string userName = LookupParam(working, "UID");
  std::string password = LookupParam(working, "PWD");
  if (OnLogin) {
    OnLogin(*this, userName, password);
    return;
  }
  if (!loginDialog || !loginDialog->Execute(dataSource, userName, password))
    throw db::EDatabaseError(LoadResString(&SLoginCancelled));
  SetParam(working, "UID", userName);
  SetParam(working, "PWD", password);
}

void TODBCConnection::SetDriverAttributes() {
  switch (GetDriverKind(handle_.Get())) {
    case dkDB2:
      setAttr(handle_.Get(), 1253, reinterpret_cast<SQLPOINTER>(1), 0);
      break;
    case dkInformix:
      setAttr(handle_.Get(), 2262, reinterpret_cast<SQLPOINTER>(1), 0);
      setAttr(handle_.Get(), 2253, reinterpret_cast<SQLPOINTER>(1), 0);
      break;
    default:
      break;
  }
}

void TODBCConnection::DoDisconnect() {
  // A driver that never leaves the transaction must not hang the disconnect.
  for (int attempt = 0; attempt < 3 && InTransaction(); ++attempt) Rollback();
  for (TODBCClient* dataSet : std::vector<TODBCClient*>(dataSets_))
    if (dataSet->ClientActive()) dataSet->CloseClient();
  ODBCCheck(SQL_HANDLE_DBC, handle_.Get(), odbcapi::SQLDisconnect(handle_.Get()));
  handle_.Free();
}

void TODBCConnection::NotifyClients(bool connecting) {
  for (const Client& entry : std::vector<Client>(clients_))
    if (entry.callback) entry.callback(connecting);
}

void TODBCConnection::SetEnvironment(TODBCEnvironment* environment) {
  if (environment == environment_) return;
  if (environment) CheckInactive();
  if (environment_) environment_->DetachConnection(this);
  environment_ = environment;
  if (environment_) environment_->AttachConnection(this);
}

void TODBCConnection::SetKeepConnection(bool value) {
  if (value == keepConnection_) return;
  keepConnection_ = value;
  CloseWhenIdle();
}

void TODBCConnection::CloseWhenIdle() {
  if (!Connected() || keepConnection_ || InTransaction()) return;
  for (TODBCClient* dataSet : dataSets_)
    if (dataSet->ClientActive()) return;
  Close();
}

void TODBCConnection::SetParams(const TStrings& lines) {
  CheckInactive();
  params_ = lines;
}

bool TODBCConnection::InTransaction() {
  CheckActive();
  SQLUINTEGER autocommit = SQL_AUTOCOMMIT_ON;
  ODBCCheck(SQL_HANDLE_DBC, handle_.Get(),
            odbcapi::SQLGetConnectAttr(handle_.Get(), SQL_ATTR_AUTOCOMMIT, &autocommit,
                                       SQL_IS_UINTEGER, nullptr));
  return autocommit == SQL_AUTOCOMMIT_OFF;
}

void TODBCConnection::StartTransaction() {
  SetConnectAttr(SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF),
                 SQL_IS_UINTEGER);
}

void TODBCConnection::Commit() { EndTransaction(SQL_COMMIT); }

void TODBCConnection::Rollback() { EndTransaction(SQL_ROLLBACK); }

void TODBCConnection::EndTransaction(SQLSMALLINT completionType) {
  CheckActive();
  ODBCCheck(SQL_HANDLE_DBC, handle_.Get(),
            odbcapi::SQLEndTran(SQL_HANDLE_DBC, handle_.Get(), completionType));
  SetConnectAttr(SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                 SQL_IS_UINTEGER);
}

SQLRETURN TODBCConnection::GetInfo(SQLUSMALLINT infoType, SQLPOINTER buffer,
                                   SQLSMALLINT bufferLength, SQLSMALLINT* length) {
  CheckActive();
  SQLRETURN rc = odbcapi::SQLGetInfo(handle_.Get(), infoType, buffer, bufferLength, length);
  ODBCCheck(SQL_HANDLE_DBC, handle_.Get(), rc);
  return rc;
}

void TODBCConnection::SetConnectAttr(SQLINTEGER attribute, SQLPOINTER value,
                                     SQLINTEGER stringLength) {
  CheckActive();
  setAttr(handle_.Get(), attribute, value, stringLength);
}

char TODBCConnection::IdentifierQuoteChar() {
  char buffer[2] = {};
  GetInfo(SQL_IDENTIFIER_QUOTE_CHAR, buffer, sizeof buffer, nullptr);
  return buffer[0];
}

bool TODBCConnection::SupportsDescribeParam() {
  char buffer[2] = {};
  SQLSMALLINT length = 0;
  GetInfo(SQL_DESCRIBE_PARAMETER, buffer, sizeof buffer, &length);
  return buffer[0] == 'Y';
}

void TODBCConnection::RegisterClient(TODBCClient* client, TConnectChangeEvent callback) {
  UnregisterClient(client);
  clients_.push_back({client, std::move(callback)});
  if (client->IsDataSet())
    dataSets_.push_back(client);
  else if (!client->OwnedByDataSet())
    statements_.push_back(client);
}

void TODBCConnection::UnregisterClient(TODBCClient* client) {
  clients_.erase(std::remove_if(clients_.begin(), clients_.end(),
                                [client](const Client& entry) { return entry.client == client; }),
                 clients_.end());
  statements_.erase(std::remove(statements_.begin(), statements_.end(), client),
                    statements_.end());
  dataSets_.erase(std::remove(dataSets_.begin(), dataSets_.end(), client), dataSets_.end());
}

void TODBCConnection::CheckActive() const {
  if (!handle_) throw db::EDatabaseError(LoadResString(&SConnectionClosed));
}

void TODBCConnection::CheckInactive() const {
  if (handle_) throw db::EDatabaseError(LoadResString(&SConnectionOpen));
}

}  // namespace dac
