#include "dac/ODBCStmt.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "dac/DriverInfo.h"
#include "dac/ODBCApi.h"
#include "dac/ODBCConnection.h"
#include "dac/ODBCError.h"
#include "dac/ODBCStmtConsts.h"
#include "dac/ODBCTypeMaps.h"
#include "dac/SQLMonitor.h"

namespace dac {
namespace {

// An ODBC error whose message carries the name of the parameter that failed to bind.
class EODBCParamError : public EODBCError {
 public:
  EODBCParamError(const EODBCError& error, const std::string& suffix)
      : EODBCError(error.DiagRecs(), error.RetCode()), message_(error.what() + suffix) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// Raises the exception in flight again with suffix added to its message, keeping its kind.
[[noreturn]] void RethrowWithSuffix(const std::string& suffix) {
  try {
    throw;
  } catch (const EODBCError& error) {
    throw EODBCParamError(error, suffix);
  } catch (const db::EDatabaseError& error) {
    throw db::EDatabaseError(error.what() + suffix);
  } catch (const db::EConvertError& error) {
    throw db::EConvertError(error.what() + suffix);
  } catch (const std::exception& error) {
    throw std::runtime_error(error.what() + suffix);
  }
}

// psqlODBC's connection attribute that switches server-side preparation on and off.
constexpr SQLINTEGER kPsqlServerSidePrepare = 65540;

bool isDataAtExecution(SQLLEN indicator) {
  return indicator == SQL_DATA_AT_EXEC || indicator <= SQL_LEN_DATA_AT_EXEC_OFFSET;
}

bool isDateTimeType(SQLSMALLINT sqlType) {
  switch (sqlType) {
    case SQL_TYPE_TIME: case SQL_TYPE_TIMESTAMP: case 106: case 110: case 112: case 113:
      return true;
    default:
      return false;
  }
}

// Tokens of data at execution: the parameter's position plus one, so that no token is a null
// pointer, which drivers may refuse as a value pointer.
SQLPOINTER tokenFor(size_t index) { return reinterpret_cast<SQLPOINTER>(uintptr_t(index) + 1); }

}  // namespace

void AdjustParamForDriver(TODBCParam& param, TODBCDriverKind driverKind) {
  if (driverKind == dkMSSQLServer) {
    if (param.SQLType() == SQL_TYPE_DATE) {
      param.SetSQLType(SQL_TYPE_TIMESTAMP);
      param.SetColumnSize(23);
      param.SetDecimalDigits(3);
    } else if (isDateTimeType(param.SQLType())) {
      param.SetColumnSize(23);
      param.SetDecimalDigits(3);
    }
  }
  if (driverKind == dkMSJet && param.SQLType() == SQL_DECIMAL) param.SetSQLType(SQL_NUMERIC);
  // An old-style date carries no time of day: only there is the value cut to whole days.
  // A timestamp keeps its time (and its 3 fraction digits).
  if (driverKind == dkMSSQLServer && param.SQLType() == SQL_DATE) {
    param.SetColumnSize(23);
    param.SetDecimalDigits(0);
    if (!param.IsNull()) param.SetAsDateTime(std::trunc(param.AsDateTime()));
  }
}

// --- TODBCCustomStatement -------------------------------------------------------------------

TODBCCustomStatement::TODBCCustomStatement() { cursor_.SetFetchOnOpen(true); }

TODBCCustomStatement::~TODBCCustomStatement() { ReleaseHandle(); }

void TODBCCustomStatement::SetSQL(const TStrings& lines) {
  sql_ = lines;
  SQLChanged();
}

std::string TODBCCustomStatement::SQLText() const { return LinesToText(sql_); }

void TODBCCustomStatement::SQLChanged() {
  if (loading_) {
    processedSQL_ = params_.ParseSQL(SQLText(), false);
    return;
  }
  Close();
  SetPrepared(false);
  if (!paramCheck_) {
    processedSQL_ = SQLText();
    return;
  }
  // Values of names found in both texts survive.
  TODBCParams fresh;
  processedSQL_ = fresh.ParseSQL(SQLText(), true);
  fresh.AssignValues(params_);
  params_.Clear();
  for (size_t i = 0; i < fresh.Count(); ++i) params_.Add().Assign(fresh.Items(i));
}

void TODBCCustomStatement::SetPrepared(bool value) {
  CheckClosed();
  if (prepared_ == value) return;
  if (value)
    InternalPrepare();
  else
    InternalUnprepare();
  prepared_ = value;
}

void TODBCCustomStatement::Prepare() {
  SetPrepared(true);
  Notify(0);
}

void TODBCCustomStatement::CheckClosed() const {
  if (Active()) throw db::EDatabaseError(LoadResString(&SStatementCursorOpen));
}

void TODBCCustomStatement::CheckStatementText() const {
  const std::string whitespace = " \t\r\n\f\v";
  size_t first = processedSQL_.find_first_not_of(whitespace);
  if (first == std::string::npos)
    throw db::EDatabaseError(LoadResString(&SNoStatementsToRun));
  size_t last = processedSQL_.find_last_not_of(whitespace);
  if (processedSQL_.compare(first, last - first + 1, "SQL_NO_UNIQUE_KEY") == 0)
    throw db::EDatabaseError(LoadResString(&SNoUniqueKey));
}

void TODBCCustomStatement::AllocateHandle() {
  SQLHDBC connection = GetConnectionHandle();
  driverKind_ = GetDriverKind(connection);
  driverKindKnown_ = true;
  if (driverKind_ == dkPostgreSQL) {
    // psqlODBC prepares on the server with every parameter of unknown type, so the server
    // guesses the type from the text ("?/100" becomes an integer division). Substituted on
    // the client, each value keeps the SQL type it is bound with.
    ODBCCheck(SQL_HANDLE_DBC, connection,
              odbcapi::SQLSetConnectAttr(connection, kPsqlServerSidePrepare,
                                         reinterpret_cast<SQLPOINTER>(0), SQL_IS_INTEGER));
  }
  handle_.Allocate(connection);
  connectionHandle_ = connection;
}

void TODBCCustomStatement::InternalPrepare() {
  CheckStatementText();
  if (!handle_) AllocateHandle();
  Check(odbcapi::SQLPrepare(handle_.Get(),
                            reinterpret_cast<SQLCHAR*>(const_cast<char*>(processedSQL_.c_str())),
                            SQL_NTS));
}

void TODBCCustomStatement::InternalUnprepare() {
  if (handle_) Check(odbcapi::SQLFreeStmt(handle_.Get(), SQL_RESET_PARAMS));
  params_.Clear();
  if (handle_) {
    CheckClosed();
    handle_.Free();
    connectionHandle_ = SQL_NULL_HDBC;
    driverKindKnown_ = false;
  }
}

void TODBCCustomStatement::ReleaseHandle() noexcept {
  cursor_.Reset();
  cursor_.ClearColumns();
  handle_.Release();
  connectionHandle_ = SQL_NULL_HDBC;
  driverKindKnown_ = false;
  prepared_ = false;
}

TODBCDriverKind TODBCCustomStatement::DriverKind() {
  if (!driverKindKnown_) {
    driverKind_ = GetDriverKind(connectionHandle_ ? connectionHandle_ : GetConnectionHandle());
    driverKindKnown_ = true;
  }
  return driverKind_;
}

void TODBCCustomStatement::Notify(int category) const {
  const TSQLMonitor& monitor = SQLMonitor();
  if (monitor.Count() > 0) monitor.Notify(this, category, SQLText(), processedSQL_);
}

void TODBCCustomStatement::Check(SQLRETURN rc) const {
  ODBCCheck(SQL_HANDLE_STMT, handle_.Get(), rc);
}

// --- execution ------------------------------------------------------------------------------

void TODBCCustomStatement::Execute() {
  CheckClosed();
  if (!prepared_) Prepare();
  if (!params_.Empty()) BindParams();
  Notify(1);
  SQLRETURN rc = odbcapi::SQLExecute(handle_.Get());
  while (rc == SQL_SUCCESS_WITH_INFO) rc = odbcapi::SQLMoreResults(handle_.Get());
  if (rc == SQL_NEED_DATA)
    SendDataAtExecution();
  else if (rc != SQL_NO_DATA)
    Check(rc);
  cursor_.Initialize(handle_.Get(), DriverKind());
  if (cursor_.ColumnCount() > 0) cursor_.Open();
  Notify(2);
}

void TODBCCustomStatement::BindParams() {
  for (size_t i = 0; i < params_.Count(); ++i) {
    TODBCParam& param = params_.Items(i);
    try {
      BindParam(param, SQLUSMALLINT(i + 1));
    } catch (...) {
      RethrowWithSuffix(std::string("\n\r") + kOnParamCaption + param.Name());
    }
  }
}

void TODBCCustomStatement::BindParam(TODBCParam& param, SQLUSMALLINT position) {
  SQLSMALLINT direction = ParamTypeToODBCDirection(param.ParamType());
  // A parameter of unknown direction is an input: 0 is no direction ODBC accepts.
  if (direction == 0) direction = SQL_PARAM_INPUT;
  const TODBCDriverKind driverKind = DriverKind();
  const bool atExecution = isDataAtExecution(param.Indicator());
  SQLULEN columnSize;
  SQLPOINTER value;
  // A value marked for data at execution goes by token, whatever its type, so the driver
  // never reads a token as an address and an empty value (no buffer) still finds its
  // parameter; a long-typed value held in the buffer is bound from the buffer.
  if (atExecution || IsLongDataType(param.SQLType())) {
    columnSize = SQLULEN(std::max<SQLLEN>(param.DataSize(), 0));
    value = atExecution ? tokenFor(position - 1u) : param.Data();
  } else {
    AdjustParamForDriver(param, driverKind);
    columnSize = param.ColumnSize();
    value = param.Data();
  }
  if (driverKind == dkMSSQLServer && param.Indicator() == SQL_NULL_DATA && columnSize == 0)
    columnSize = 1;
  // A value whose SQL type was never set still needs a valid type to be bound.
  const SQLSMALLINT sqlType =
      param.SQLType() != 0 ? param.SQLType() : atExecution ? SQL_LONGVARCHAR : SQL_VARCHAR;
  const SQLSMALLINT cType = param.CType() != 0 ? param.CType() : SQL_C_CHAR;
  Check(odbcapi::SQLBindParameter(handle_.Get(), position, direction, cType, sqlType,
                                  columnSize, param.DecimalDigits(), value, param.DataSize(),
                                  param.IndicatorPtr()));
}

void TODBCCustomStatement::SendDataAtExecution() {
  while (true) {
    SQLPOINTER token = nullptr;
    SQLRETURN rc = odbcapi::SQLParamData(handle_.Get(), &token);
    if (rc != SQL_NEED_DATA && rc != SQL_NO_DATA) Check(rc);
    if (rc != SQL_NEED_DATA) return;
    const uintptr_t position = reinterpret_cast<uintptr_t>(token);
    const TODBCParam* param = position >= 1 && position <= params_.Count()
                                  ? &params_.Items(position - 1)
                                  : params_.FindByData(token);
    if (!param) throw std::runtime_error(kBlobDataError);
    PutParamData(*param);
  }
}

void TODBCCustomStatement::PutParamData(const TODBCParam& param) {
  const SQLLEN total = param.DataSize();
  SQLLEN sent = 0;
  do {
    const SQLLEN chunk = std::min(kPutDataChunk, total - sent);
    Check(odbcapi::SQLPutData(handle_.Get(), const_cast<char*>(param.Data()) + sent, chunk));
    sent += chunk;
  } while (sent < total);
}

void TODBCCustomStatement::Close() {
  if (Active()) {
    Check(odbcapi::SQLCloseCursor(handle_.Get()));
    cursor_.Reset();
    cursor_.ClearColumns();
  } else if (handle_) {
    odbcapi::SQLFreeStmt(handle_.Get(), SQL_CLOSE);  // nothing to close is no error
  }
}

SQLLEN TODBCCustomStatement::RowsAffected() {
  SQLLEN rows = 0;
  Check(odbcapi::SQLRowCount(handle_.Get(), &rows));
  return rows;
}

// --- TODBCStatement -------------------------------------------------------------------------

TODBCStatement::~TODBCStatement() {
  try {
    Close();
    Unprepare();
  } catch (...) {
    // The handle owner still frees the handle below.
  }
  ReleaseHandle();
  if (connection_) connection_->UnregisterClient(this);
  connection_ = nullptr;
}

void TODBCStatement::CheckConnection() const {
  if (!connection_) throw db::EDatabaseError(LoadResString(&SConnectionNotAssigned));
}

SQLHDBC TODBCStatement::GetConnectionHandle() {
  CheckConnection();
  if (!connection_->Connected()) connection_->Open();
  return connection_->Handle();
}

void TODBCStatement::SetConnection(TODBCConnection* connection) { AttachConnection(connection); }

void TODBCStatement::AttachConnection(TODBCConnection* connection) {
  CheckClosed();
  if (connection == connection_) return;
  if (connection_) {
    SetPrepared(false);
    ReleaseHandle();  // a handle left by a failed prepare belongs to the old connection
    connection_->UnregisterClient(this);
  }
  connection_ = connection;
  describeParam_ = -1;
  if (connection_)
    connection_->RegisterClient(this, [this](bool connecting) { ConnectionChanged(connecting); });
}

void TODBCStatement::ConnectionChanged(bool connecting) {
  describeParam_ = -1;
  if (connecting) return;
  Close();
  Unprepare();
  ReleaseHandle();  // the disconnect would leave a handle of a failed prepare dangling
}

void TODBCStatement::DropConnection() {
  // The connection is being destroyed while still connected to the driver: free the handle
  // while that is still possible, and forget the connection.
  try {
    Close();
    Unprepare();
  } catch (...) {
  }
  ReleaseHandle();
  if (connection_) connection_->UnregisterClient(this);
  connection_ = nullptr;
  describeParam_ = -1;
}

bool TODBCStatement::SupportsDescribeParam() {
  if (!connection_ || !connection_->Connected()) return false;
  if (describeParam_ < 0) describeParam_ = connection_->SupportsDescribeParam() ? 1 : 0;
  return describeParam_ == 1;
}

}  // namespace dac
