#include "plugin/PluginRun.h"

#include <QString>

#include <sqlext.h>

#include "dac/DACDatabase.h"
#include "dac/DACQuery.h"
#include "dac/DACTransaction.h"
#include "plugin/PluginMessages.h"

namespace plugin {

namespace {
constexpr int32_t kModalResultCancel = 2;

std::string infoText(dac::TDACDatabase& database, SQLUSMALLINT infoType) {
  char text[129] = {};
  database.GetInfo(infoType, text, sizeof text, nullptr);
  return text;
}

// The first column of the first row of a query run in the transaction, or "?" on any error
// (a database that is not the host's has no such tables).
QString scalar(dac::TDACDatabase& database, dac::TDACTransaction& transaction,
               const std::string& sql) {
  try {
    dac::TDACQuery query;
    query.SetDatabase(&database);
    query.SetTransaction(&transaction);
    query.SetSQLText(sql);
    query.Open();
    return QString::fromStdString(query.Fields()[0].AsString());
  } catch (...) {
    return "?";
  }
}

// What the plugin can do on this database until the conversion window arrives: it reaches
// the host's tables through its own transaction and changes nothing.
QString describeConnection(dac::TDACDatabase& database) {
  dac::TDACTransaction transaction;
  transaction.SetDefaultAction(dac::TARollback);
  transaction.SetDefaultDatabase(&database);
  QString products = scalar(database, transaction,
                            "SELECT COUNT(*) FROM product WHERE coalesce(deleted, 0) = 0");
  QString taxes = scalar(database, transaction, "SELECT COUNT(*) FROM tax");
  return QString::fromUtf8(
             "Ligação à base de dados estabelecida (%1 %2).\n"
             "Artigos não apagados: %3. Taxas de IVA: %4.\n"
             "A janela de conversão do IVA ainda não está disponível nesta versão do plugin; "
             "nenhum dado foi alterado.")
      .arg(QString::fromStdString(infoText(database, SQL_DBMS_NAME)),
           QString::fromStdString(infoText(database, SQL_DBMS_VER)), products, taxes);
}
}  // namespace

int32_t RunConversion(const char* connectionParams) {
  dac::TDACDatabase database;
  database.SetLoginPrompt(false);
  database.SetParamsText(connectionParams ? connectionParams : "");
  try {
    database.SetConnected(true);
  } catch (...) {
    ShowPluginMessage(kMsgDatabaseOpenFailed, QMessageBox::Warning, true);
  }
  if (database.Connected()) {
    QByteArray text = describeConnection(database).toUtf8();
    ShowPluginMessage(text.constData(), QMessageBox::Information);
  }
  return kModalResultCancel;
}

}  // namespace plugin
