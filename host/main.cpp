// morvel-host: loads any plugin by path and calls its exports, as the back-office host does.
#include <dlfcn.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "plugin/UPluginCommon.h"

namespace {

struct Options {
  std::string pluginPath;
  bool info = false;
  bool execute = false;
  bool background = false;
  bool answerMessages = false;
  int32_t action = 0;
  int32_t site = 0;
  std::vector<std::string> params;
  std::string paramsFile;
};

int usage() {
  std::fprintf(stderr,
               "usage: morvel-host PLUGIN.so [--info] [--background]\n"
               "       [--execute ACTION [--site CODE] [--params-file FILE] [--param KEY=VALUE]...]\n"
               "       [--answer-messages]  print each message box and answer it (no display)\n");
  return 2;
}

bool parse(int argc, char** argv, Options& options) {
  if (argc < 2) return false;
  options.pluginPath = argv[1];
  for (int i = 2; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--info") options.info = true;
    else if (arg == "--background") options.background = true;
    else if (arg == "--answer-messages") options.answerMessages = true;
    else if (arg == "--execute" && hasValue) options.execute = true, options.action = std::atoi(argv[++i]);
    else if (arg == "--site" && hasValue) options.site = std::atoi(argv[++i]);
    else if (arg == "--param" && hasValue) options.params.push_back(argv[++i]);
    else if (arg == "--params-file" && hasValue) options.paramsFile = argv[++i];
    else return false;
  }
  return options.info || options.execute || options.background;
}

bool connectionText(const Options& options, std::string& text) {
  if (!options.paramsFile.empty()) {
    std::ifstream file(options.paramsFile);
    if (!file) {
      std::fprintf(stderr, "cannot read %s\n", options.paramsFile.c_str());
      return false;
    }
    std::stringstream content;
    content << file.rdbuf();
    text = content.str();
  }
  for (const std::string& line : options.params) {
    if (!text.empty() && text.back() != '\n') text += "\n";
    text += line;
  }
  return true;
}

template <typename Proc>
Proc lookup(void* module, const char* name) {
  Proc proc = reinterpret_cast<Proc>(dlsym(module, name));
  if (!proc) std::fprintf(stderr, "%s: export not found\n", name);
  return proc;
}

// For unattended runs: prints every message box the plugin shows and presses its OK button.
void answerMessagesFromNowOn(QApplication& application) {
  auto* timer = new QTimer(&application);
  QObject::connect(timer, &QTimer::timeout, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    std::printf("[%s] %s\n", box->windowTitle().toUtf8().constData(),
                box->text().toUtf8().constData());
    std::fflush(stdout);
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) ok->click();
    else box->reject();
  });
  timer->start(50);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, options)) return usage();
  // The host owns the application object; the plugin's windows live in it.
  QApplication application(argc, argv);
  if (options.answerMessages) answerMessagesFromNowOn(application);
  void* module = dlopen(options.pluginPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) {
    std::fprintf(stderr, "cannot load %s: %s\n", options.pluginPath.c_str(), dlerror());
    return 1;
  }
  int status = 0;
  if (options.info) {
    auto getInfo = lookup<TPluginGetInfoProc>(module, "Plugin_GetInfo");
    if (!getInfo) return 1;
    TPluginInfo info{};
    TPluginInfo* infoPointer = &info;
    int32_t result = getInfo(&infoPointer);
    std::printf("Plugin_GetInfo: %d\ncode: %s\ntitle: %s\nnumber: %d\n", result, info.PluginCode,
                info.DisplayTitle, info.Number);
  }
  if (options.background) {
    auto runInBackground = lookup<TPluginRunInBackgroundProc>(module, "Plugin_RunInBackground");
    if (!runInBackground) return 1;
    std::printf("Plugin_RunInBackground: %d\n", runInBackground());
  }
  if (options.execute) {
    auto execute = lookup<TPluginExecuteProc>(module, "Plugin_Execute");
    std::string text;
    if (!execute || !connectionText(options, text)) return 1;
    TPluginExecParams params{};
    params.Action = options.action;
    params.ConnectionParams = text.c_str();
    params.SiteCode = options.site;
    std::printf("Plugin_Execute: %d\n", execute(&params));
  }
  std::fflush(stdout);
  dlclose(module);
  return status;
}
