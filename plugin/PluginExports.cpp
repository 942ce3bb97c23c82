// The three entry points the host looks up. Nothing else of the module is exported.
#include <QApplication>
#include <cstring>
#include <exception>
#include <memory>

#include "plugin/PluginMessages.h"
#include "plugin/PluginRun.h"
#include "plugin/UPluginCommon.h"

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr char kPluginCode[] = "PLG_MORVEL";
// Writable module memory: the host keeps these addresses after the call.
char pluginCodeBuffer[sizeof kPluginCode] = {};
char displayTitle[] = "Morvel";
constexpr int32_t kPluginNumber = 4800;

// The host may have none: a Qt application object must exist for the module's windows.
std::unique_ptr<QApplication> EnsureApplication() {
  if (QApplication::instance()) return nullptr;
  static int argc = 1;
  static char name[] = "morvel";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QApplication>(argc, argv);
}

int32_t Execute(const TPluginExecParams& params) {
  if (params.SiteCode != 0) {
    plugin::ShowPluginMessage(plugin::kMsgOnlyAtHeadquarters, QMessageBox::Information);
    return 0;
  }
  switch (params.Action) {
    case kPluginActionRun:
      return plugin::RunConversion(params.ConnectionParams);
    case kPluginActionConfigure:
      plugin::ShowPluginMessage(plugin::kMsgNoConfiguration, QMessageBox::Information);
      return 0;
    default:
      plugin::ShowPluginMessage(plugin::kMsgUnsupportedAction, QMessageBox::Information);
      return 0;
  }
}

}  // namespace

PLUGIN_EXPORT int32_t Plugin_GetInfo(TPluginInfo** info) {
  std::memcpy(pluginCodeBuffer, kPluginCode, sizeof kPluginCode);
  if (!info || !*info) return 0;
  TPluginInfo& record = **info;
  record.PluginCode = pluginCodeBuffer;
  record.DisplayTitle = displayTitle;
  record.Number = kPluginNumber;
  record.Extra1 = 0;
  record.ExtraFlag = 0;
  record.Extra2 = 0;
  return 0;
}

PLUGIN_EXPORT int32_t Plugin_Execute(TPluginExecParams* params) {
  if (!params) return 0;
  std::unique_ptr<QApplication> ownApplication = EnsureApplication();
  try {
    return Execute(*params);
  } catch (const std::exception& error) {
    // Nothing may cross into the host: report what escaped and refuse the run.
    QMessageBox::critical(nullptr, QString::fromUtf8(plugin::kCaptionAttention),
                          QString::fromUtf8(error.what()));
  } catch (...) {
  }
  return 0;
}

PLUGIN_EXPORT int32_t Plugin_RunInBackground() { return 0; }
