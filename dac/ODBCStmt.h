#pragma once
// A SQL text prepared on an ODBC statement handle: named parameters bound at each execution,
// data at execution for long values, and the result cursor the execution opens.
#include <sql.h>

#include <memory>
#include <string>

#include "dac/DriverKind.h"
#include "dac/ODBCClient.h"
#include "dac/ODBCCursor.h"
#include "dac/ODBCHandle.h"
#include "dac/ODBCParams.h"
#include "dac/ParamLines.h"

namespace dac {

class TODBCConnection;

// Bytes sent per SQLPutData call.
inline constexpr SQLLEN kPutDataChunk = 32768;

class TODBCCustomStatement : public TODBCClient {
 public:
  TODBCCustomStatement();
  ~TODBCCustomStatement() override;
  TODBCCustomStatement(const TODBCCustomStatement&) = delete;
  TODBCCustomStatement& operator=(const TODBCCustomStatement&) = delete;

  const TStrings& SQL() const { return sql_; }
  // Replaces the lines; every change runs SQLChanged.
  void SetSQL(const TStrings& lines);
  void SetSQLText(const std::string& text) { SetSQL(TextToLines(text)); }
  // The lines, each followed by a line feed.
  std::string SQLText() const;
  // The text as the driver gets it.
  const std::string& ProcessedSQL() const { return processedSQL_; }

  bool ParamCheck() const { return paramCheck_; }
  void SetParamCheck(bool value) { paramCheck_ = value; }
  virtual TODBCParams& Params() { return params_; }
  TODBCCursor& Cursor() { return cursor_; }

  bool Prepared() const { return prepared_; }
  void SetPrepared(bool value);
  void Prepare();
  void Unprepare() { SetPrepared(false); }
  void Execute();
  // Closes the result cursor; the statement stays prepared.
  void Close();
  bool Active() const { return cursor_.IsOpen(); }
  // EDatabaseError "Cannot perform this operation on an open cursor".
  void CheckClosed() const;
  SQLLEN RowsAffected();

  SQLHSTMT StatementHandle() const { return handle_.Get(); }
  // The connection handle under which the statement handle was allocated.
  SQLHDBC ConnectionHandle() const { return connectionHandle_; }
  virtual SQLHDBC GetConnectionHandle() = 0;

  // While a stored form is being read, a change of SQL only parses the text.
  bool Loading() const { return loading_; }
  void SetLoading(bool value) { loading_ = value; }

  // TODBCClient: a statement of its own, unless a dataset owns it.
  bool IsDataSet() const override { return false; }
  bool OwnedByDataSet() const override { return ownedByDataSet_; }
  void SetOwnedByDataSet(bool value) { ownedByDataSet_ = value; }
  bool ClientActive() const override { return Active(); }
  void CloseClient() override { Close(); }
  void DropConnection() override {}

 protected:
  virtual void InternalPrepare();
  virtual void InternalUnprepare();
  virtual void SQLChanged();
  // Whether the connection can describe parameters; false when it is not known.
  virtual bool SupportsDescribeParam() { return false; }
  // The driver kind of the connection of the statement handle, asked once per allocation.
  TODBCDriverKind DriverKind();
  // Forgets the statement handle without driver calls (the connection is going away).
  void ReleaseHandle() noexcept;
  void Notify(int category) const;
  TODBCParams& OwnParams() { return params_; }

 private:
  void CheckStatementText() const;
  void AllocateHandle();
  void BindParams();
  void BindParam(TODBCParam& param, SQLUSMALLINT position);
  void SendDataAtExecution();
  void PutParamData(const TODBCParam& param);
  void Check(SQLRETURN rc) const;

  TODBCHandle handle_{SQL_HANDLE_STMT};
  SQLHDBC connectionHandle_ = SQL_NULL_HDBC;
  TODBCCursor cursor_;
  TODBCParams params_;
  TStrings sql_;
  std::string processedSQL_;
  bool paramCheck_ = true;
  bool prepared_ = false;
  bool loading_ = false;
  bool ownedByDataSet_ = false;
  bool driverKindKnown_ = false;
  TODBCDriverKind driverKind_ = dkUnknown;
};

class TODBCStatement : public TODBCCustomStatement {
 public:
  TODBCStatement() = default;
  ~TODBCStatement() override;

  TODBCConnection* Connection() const { return connection_; }
  // Refused while the cursor is open; leaving a connection unprepares the statement.
  virtual void SetConnection(TODBCConnection* connection);
  // EDatabaseError "Connection property not assigned".
  void CheckConnection() const;
  // Opens the connection when it is closed.
  SQLHDBC GetConnectionHandle() override;

  void DropConnection() override;

 protected:
  bool SupportsDescribeParam() override;
  // Sets the connection as SetConnection does, also where a subclass ignores SetConnection.
  void AttachConnection(TODBCConnection* connection);

 private:
  void ConnectionChanged(bool connecting);

  TODBCConnection* connection_ = nullptr;
  int describeParam_ = -1;  // unknown until asked, then 0 or 1
};

// The driver-specific changes a non-long parameter gets before it is bound. Its fields stay
// changed.
void AdjustParamForDriver(TODBCParam& param, TODBCDriverKind driverKind);

}  // namespace dac
