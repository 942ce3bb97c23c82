// The module's entry points, called as a host calls them: through dlopen and dlsym.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <cstring>
#include <filesystem>

#include "plugin/UPluginCommon.h"
#include "settings/VersionText.h"
#include "tests/plugin/MessageBoxAnswerer.h"
#include "tests/support/TestDatabases.h"

namespace {

class PluginModule : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "plugin_tests";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
    module_ = dlopen(MORVEL_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module_, nullptr) << dlerror();
    getInfo_ = reinterpret_cast<TPluginGetInfoProc>(dlsym(module_, "Plugin_GetInfo"));
    execute_ = reinterpret_cast<TPluginExecuteProc>(dlsym(module_, "Plugin_Execute"));
    runInBackground_ =
        reinterpret_cast<TPluginRunInBackgroundProc>(dlsym(module_, "Plugin_RunInBackground"));
  }

  int32_t Execute(int32_t action, int32_t site, const std::string& params) {
    TPluginExecParams record{};
    record.Action = action;
    record.SiteCode = site;
    record.ConnectionParams = params.c_str();
    return execute_(&record);
  }

  static inline void* module_ = nullptr;
  static inline TPluginGetInfoProc getInfo_ = nullptr;
  static inline TPluginExecuteProc execute_ = nullptr;
  static inline TPluginRunInBackgroundProc runInBackground_ = nullptr;
};

TEST_F(PluginModule, ExportsExactlyTheThreeEntryPoints) {
  ASSERT_NE(getInfo_, nullptr);
  ASSERT_NE(execute_, nullptr);
  ASSERT_NE(runInBackground_, nullptr);
  EXPECT_EQ(dlsym(module_, "LoadResString"), nullptr);
  EXPECT_EQ(dlsym(module_, "_Z13LoadResStringPK13TResStringRec"), nullptr);
}

TEST_F(PluginModule, GetInfoTwiceWritesIdenticalRecordsWithStablePointers) {
  TPluginInfo first, second;
  std::memset(&first, 0xAB, sizeof first);
  std::memset(&second, 0xCD, sizeof second);
  TPluginInfo* pointer = &first;
  EXPECT_EQ(getInfo_(&pointer), 0);
  pointer = &second;
  EXPECT_EQ(getInfo_(&pointer), 0);
  EXPECT_EQ(std::memcmp(&first, &second, sizeof first), 0);
  EXPECT_STREQ(first.PluginCode, "PLG_MORVEL");
  EXPECT_STREQ(first.DisplayTitle, "Morvel");
  // Copies: the packed fields are not aligned for a reference.
  int32_t number = first.Number, extra1 = first.Extra1, extra2 = first.Extra2;
  uint8_t extraFlag = first.ExtraFlag;
  EXPECT_EQ(number, 4800);
  EXPECT_EQ(extra1, 0);
  EXPECT_EQ(extraFlag, 0);
  EXPECT_EQ(extra2, 0);
}

TEST_F(PluginModule, GetInfoRestoresACodeTheHostOverwrote) {
  TPluginInfo info{};
  TPluginInfo* pointer = &info;
  getInfo_(&pointer);
  std::strcpy(const_cast<char*>(info.PluginCode), "XXXXXXXXXX");
  getInfo_(&pointer);
  EXPECT_STREQ(info.PluginCode, "PLG_MORVEL");
}

TEST_F(PluginModule, CarriesTheProjectVersion) {
  EXPECT_EQ(settings::GetVersionText(MORVEL_PLUGIN_PATH), MORVEL_PROJECT_VERSION);
}

TEST_F(PluginModule, RunInBackgroundAnswersZero) { EXPECT_EQ(runInBackground_(), 0); }

struct RefusalCase {
  const char* name;
  int32_t action;
  int32_t site;
  const char* message;
};

class PluginRefusal : public PluginModule, public testing::WithParamInterface<RefusalCase> {};

TEST_P(PluginRefusal, ShowsItsMessageAndTouchesNoDatabase) {
  const RefusalCase& c = GetParam();
  std::string folder = testdb::TempDir() + "/" + testdb::UniqueName("refusal");
  std::string file = folder + "/never.db";
  std::filesystem::create_directories(folder);
  MessageBoxAnswerer answerer;
  EXPECT_EQ(Execute(c.action, c.site, testdb::JoinLines(testdb::SqliteParams(file))), 0);
  ASSERT_EQ(answerer.Shown().size(), 1u);
  const ShownMessage& shown = answerer.Shown()[0];
  EXPECT_EQ(shown.text.toStdString(), c.message);
  EXPECT_EQ(shown.caption.toStdString(), "Atenção");
  EXPECT_EQ(shown.icon, QMessageBox::Information);
  EXPECT_FALSE(std::filesystem::exists(file)) << "the database was opened";
}

const char* kHeadquarters = "Este plugin só pode ser executado na Sede!";
const char* kUnsupported = "Este plugin não suporta este tipo de acção!";

INSTANTIATE_TEST_SUITE_P(
    Table, PluginRefusal,
    testing::Values(RefusalCase{"SiteRun", 0, 5, kHeadquarters},
                    RefusalCase{"SiteConfigure", 2, 5, kHeadquarters},
                    RefusalCase{"NegativeSiteUnknownAction", 7, -1, kHeadquarters},
                    RefusalCase{"Configure", 2, 0, "Este plugin não possui opções de configuração!"},
                    RefusalCase{"ActionOne", 1, 0, kUnsupported},
                    RefusalCase{"ActionThree", 3, 0, kUnsupported},
                    RefusalCase{"ActionMinusOne", -1, 0, kUnsupported}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PluginModule, UnreachableDatabaseShowsTheConnectionMessageAndReturnsCancel) {
  std::vector<std::string> params = testdb::PostgresParams();
  params[2] = "Port=1";
  MessageBoxAnswerer answerer;
  EXPECT_EQ(Execute(0, 0, testdb::JoinLines(params)), 2);
  ASSERT_GE(answerer.Shown().size(), 1u);
  const ShownMessage& shown = answerer.Shown()[0];
  EXPECT_EQ(shown.text.toStdString(), "Ocorreu um erro na abertura da base de dados!");
  EXPECT_EQ(shown.caption.toStdString(), "Atenção");
  EXPECT_EQ(shown.icon, QMessageBox::Warning);
  EXPECT_TRUE(shown.stayOnTop);
}

TEST_F(PluginModule, EmptyOrGarbageParamsEndInTheConnectionMessage) {
  for (const std::string& params : {std::string(), std::string("garbage\n\x01\x02"),
                                   std::string("Driver=SQLite3\nDatabase=/no/such/dir/x.db")}) {
    MessageBoxAnswerer answerer;
    EXPECT_EQ(Execute(0, 0, params), 2);
    ASSERT_GE(answerer.Shown().size(), 1u);
    EXPECT_EQ(answerer.Shown()[0].text.toStdString(),
              "Ocorreu um erro na abertura da base de dados!");
  }
}

TEST_F(PluginModule, NullRecordIsRefused) { EXPECT_EQ(execute_(nullptr), 0); }

}  // namespace
