#include "plugin/PluginRun.h"

#include <QString>

#include "dac/DACDatabase.h"
#include "plugin/PluginMessages.h"

namespace plugin {

namespace {
constexpr int32_t kModalResultCancel = 2;

QString describeConnection(dac::TDACDatabase& database) {
  uint64_t version = database.ServerVersion();
  return QString::fromUtf8(
             "Ligação à base de dados estabelecida (servidor %1, versão %2.%3.%4).\n"
             "A janela de conversão do IVA ainda não está disponível nesta versão do plugin; "
             "nenhum dado foi alterado.")
      .arg(static_cast<int>(database.DBMSKind()))
      .arg(static_cast<unsigned>((version >> 32) & 0xFFFF))
      .arg(static_cast<unsigned>((version >> 16) & 0xFFFF))
      .arg(static_cast<unsigned>(version & 0xFFFF));
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
