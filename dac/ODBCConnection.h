#pragma once
// One ODBC connection handle, opened from key=value parameter lines.
#include <functional>
#include <string>
#include <vector>

#include "dac/ODBCClient.h"
#include "dac/ODBCHandle.h"
#include "dac/ParamLines.h"

namespace dac {

class TODBCEnvironment;

// A cancellation that no message reports (the driver's connect dialog answered "no data").
class EAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

// The UI supplies the login dialog; without one a login prompt counts as cancelled.
class ILoginDialog {
 public:
  virtual ~ILoginDialog() = default;
  // Shows the data-source name and lets the user edit user name and password.
  virtual bool Execute(const std::string& dataSourceName, std::string& userName,
                       std::string& password) = 0;
};
void SetLoginDialog(ILoginDialog* dialog);

class TODBCConnection {
 public:
  using TConnectionEvent = std::function<void(TODBCConnection& sender)>;
  using TLoginEvent = std::function<void(TODBCConnection& sender, const std::string& userName,
                                         const std::string& password)>;

  // Uses environment when given, else the default environment.
  explicit TODBCConnection(TODBCEnvironment* environment = nullptr);
  virtual ~TODBCConnection();
  TODBCConnection(const TODBCConnection&) = delete;
  TODBCConnection& operator=(const TODBCConnection&) = delete;

  bool Connected() const { return static_cast<bool>(handle_); }
  void SetConnected(bool value);
  void Open() { SetConnected(true); }
  void Close() { SetConnected(false); }
  SQLHDBC Handle() const { return handle_.Get(); }

  TODBCEnvironment* Environment() const { return environment_; }
  void SetEnvironment(TODBCEnvironment* environment);
  // Called by a dying environment: forget it without touching its list.
  void DropEnvironment() { environment_ = nullptr; }

  bool KeepConnection() const { return keepConnection_; }
  void SetKeepConnection(bool value);
  bool LoginPrompt() const { return loginPrompt_; }
  void SetLoginPrompt(bool value) { loginPrompt_ = value; }

  const TStrings& Params() const { return params_; }
  void SetParams(const TStrings& lines);
  // The whole parameter text, one entry per line.
  void SetParamsText(const std::string& text) { SetParams(TextToLines(text)); }

  TConnectionEvent BeforeConnect, AfterConnect, BeforeDisconnect, AfterDisconnect;
  TLoginEvent OnLogin;

  bool InTransaction();
  void StartTransaction();
  void Commit();
  void Rollback();
  SQLRETURN GetInfo(SQLUSMALLINT infoType, SQLPOINTER buffer, SQLSMALLINT bufferLength,
                    SQLSMALLINT* length);
  void SetConnectAttr(SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER stringLength);
  char IdentifierQuoteChar();
  bool SupportsDescribeParam();

  void RegisterClient(TODBCClient* client, TConnectChangeEvent callback = nullptr);
  void UnregisterClient(TODBCClient* client);
  TODBCClient* Statements(size_t index) const { return statements_.at(index); }
  size_t StatementCount() const { return statements_.size(); }
  TODBCClient* DataSets(size_t index) const { return dataSets_.at(index); }
  size_t DataSetCount() const { return dataSets_.size(); }

  void CheckActive() const;
  void CheckInactive() const;

 protected:
  // The steps of opening and closing; TDACDatabase adds its own around them.
  virtual void DoConnect();
  virtual void DoDisconnect();
  TStrings& MutableParams() { return params_; }

 private:
  struct Client {
    TODBCClient* client;
    TConnectChangeEvent callback;
  };

  void RunLoginStep(TStrings& working);
  void EndTransaction(SQLSMALLINT completionType);
  void SetDriverAttributes();
  void KeepDriverEntry(const TStrings& working);
  void NotifyClients(bool connecting);
  void CloseWhenIdle();

  TODBCHandle handle_{SQL_HANDLE_DBC};
  TODBCEnvironment* environment_ = nullptr;
  bool keepConnection_ = true;
  bool loginPrompt_ = true;
  TStrings params_;
  std::vector<Client> clients_;
  std::vector<TODBCClient*> statements_;
  std::vector<TODBCClient*> dataSets_;
};

}  // namespace dac
