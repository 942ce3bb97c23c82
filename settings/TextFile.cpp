#include "settings/TextFile.h"

#include <QFile>
#include <QSaveFile>

#include "settings/SettingsError.h"

namespace settings {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.exists()) return std::nullopt;
  if (!file.open(QIODevice::ReadOnly))
    throw ESettingsError("Cannot read " + path + ": " + file.errorString().toStdString());
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw ESettingsError("Cannot read " + path + ": " + file.errorString().toStdString());
  return bytes.toStdString();
}

void WriteFileReplacing(const std::string& path, const std::string& bytes) {
  QSaveFile file(QString::fromStdString(path));
  auto fail = [&] {
    std::string reason = file.errorString().toStdString();
    file.cancelWriting();
    throw ESettingsError("Cannot write " + path + ": " + reason);
  };
  if (!file.open(QIODevice::WriteOnly)) fail();
  qint64 size = static_cast<qint64>(bytes.size());
  if (file.write(bytes.data(), size) != size) fail();
  if (!file.commit()) throw ESettingsError("Cannot write " + path + ": " + file.errorString().toStdString());
}

}  // namespace settings
