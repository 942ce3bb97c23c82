#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <filesystem>

#include "settings/SettingsFileNames.h"
#include "settings/SettingsLocations.h"
#include "tests/settings/SettingsTestSupport.h"

namespace {

using namespace settings;
using settingstest::TEnvOverride;
namespace fs = std::filesystem;

// Each test gets its own configuration folder and leaves the switch as it found it.
class SettingsFolderTest : public testing::Test {
 protected:
  void SetUp() override { SetUseExeFolder(false); }
  void TearDown() override { SetUseExeFolder(true); }

  std::string config_ = settingstest::NewFolder("config");
  TEnvOverride xdg_{"XDG_CONFIG_HOME", config_};
};

struct TTrailingCase {
  const char* path;
  const char* expected;
};

void PrintTo(const TTrailingCase& c, std::ostream* os) { *os << '"' << c.path << '"'; }

class AddTrailingBackslashTest : public testing::TestWithParam<TTrailingCase> {};

TEST_P(AddTrailingBackslashTest, AppendsOneSeparatorToNonEmptyPaths) {
  EXPECT_EQ(AddTrailingBackslash(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, AddTrailingBackslashTest,
                         testing::Values(TTrailingCase{"", ""}, TTrailingCase{"/a/b", "/a/b/"},
                                         TTrailingCase{"/a/b/", "/a/b/"}, TTrailingCase{"/", "/"},
                                         TTrailingCase{"rel", "rel/"}));

struct TAppDataCase {
  const char* name;
  std::optional<std::string> xdg;
  std::optional<std::string> home;
  const char* expected;
};

void PrintTo(const TAppDataCase& c, std::ostream* os) { *os << c.name; }

class AppDataFolderTest : public testing::TestWithParam<TAppDataCase> {};

TEST_P(AppDataFolderTest, FollowsXdgThenHome) {
  TEnvOverride xdg("XDG_CONFIG_HOME", GetParam().xdg);
  TEnvOverride home("HOME", GetParam().home);
  EXPECT_EQ(GetAppDataFolder(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, AppDataFolderTest,
    testing::Values(TAppDataCase{"XdgSet", "/x/conf", "/home/u", "/x/conf"},
                    TAppDataCase{"XdgUnset", std::nullopt, "/home/u", "/home/u/.config"},
                    TAppDataCase{"XdgEmpty", "", "/home/u/", "/home/u/.config"},
                    TAppDataCase{"XdgRelativeIsIgnored", "conf", "/home/u", "/home/u/.config"},
                    TAppDataCase{"NothingKnown", std::nullopt, std::nullopt, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFolderTest, CreatesTheFolderWithItsParentsOnce) {
  TEnvOverride nested("XDG_CONFIG_HOME", config_ + "/deep/er");
  std::string folder = GetSettingsFolder("Tabrel Store UX");
  EXPECT_EQ(folder, config_ + "/deep/er/Tabrel Store UX/");
  ASSERT_TRUE(fs::is_directory(folder));
  settingstest::WriteFile(folder + "kept.ini", "x");
  EXPECT_EQ(GetSettingsFolder("Tabrel Store UX"), folder);
  EXPECT_TRUE(fs::exists(folder + "kept.ini"));
}

TEST_F(SettingsFolderTest, KeepsTheBlanksAroundANonBlankName) {
  EXPECT_EQ(GetSettingsFolder(" Tabrel "), config_ + "/ Tabrel /");
  EXPECT_TRUE(fs::is_directory(config_ + "/ Tabrel /"));
}

TEST_F(SettingsFolderTest, BlankNameStandsForTheApplicationTitle) {
  QString previous = QCoreApplication::applicationName();
  QCoreApplication::setApplicationName("MorvelTitle");
  EXPECT_EQ(GetSettingsFolder("  "), config_ + "/MorvelTitle/");
  EXPECT_EQ(GetDefaultSettingsFolder(), config_ + "/MorvelTitle/");
  QCoreApplication::setApplicationName(previous);
}

TEST_F(SettingsFolderTest, ExeFolderSwitchIgnoresTheNameAndCreatesNothing) {
  SetUseExeFolder(true);
  std::string exeFolder = fs::read_symlink("/proc/self/exe").parent_path().string() + "/";
  EXPECT_EQ(GetSettingsFolder("Tabrel Store UX"), exeFolder);
  EXPECT_FALSE(fs::exists(exeFolder + "Tabrel Store UX"));
  EXPECT_TRUE(fs::is_empty(config_));
}

TEST_F(SettingsFolderTest, FolderThatCannotBeCreatedIsAnsweredAllTheSame) {
  settingstest::WriteFile(config_ + "/plainfile", "x");
  TEnvOverride underFile("XDG_CONFIG_HOME", config_ + "/plainfile");
  EXPECT_EQ(GetSettingsFolder("App"), config_ + "/plainfile/App/");
  EXPECT_FALSE(fs::exists(config_ + "/plainfile/App"));
}

TEST_F(SettingsFolderTest, WithoutAnAppDataFolderTheNameIsRelative) {
  TEnvOverride noXdg("XDG_CONFIG_HOME", std::nullopt);
  TEnvOverride noHome("HOME", std::nullopt);
  fs::path previous = fs::current_path();
  fs::current_path(config_);
  std::string folder = GetSettingsFolder("App");
  bool created = fs::is_directory(config_ + "/App");
  fs::current_path(previous);
  EXPECT_EQ(folder, "App/");
  EXPECT_TRUE(created);
}

struct TFileNamesCase {
  const char* modulePath;
  const char* settingsFile;
  const char* layoutFile;
};

void PrintTo(const TFileNamesCase& c, std::ostream* os) { *os << c.modulePath; }

class SettingsFileNamesTest : public testing::TestWithParam<TFileNamesCase> {};

TEST_P(SettingsFileNamesTest, ReplaceTheModuleExtension) {
  TSettingsFileNames names = SettingsFileNamesFor("/cfg/Tabrel Store UX/", GetParam().modulePath);
  EXPECT_EQ(names.SettingsFile, std::string("/cfg/Tabrel Store UX/") + GetParam().settingsFile);
  EXPECT_EQ(names.LayoutFile, std::string("/cfg/Tabrel Store UX/") + GetParam().layoutFile);
}

INSTANTIATE_TEST_SUITE_P(
    Modules, SettingsFileNamesTest,
    testing::Values(TFileNamesCase{"/usr/lib/host/morvel.so", "morvel.ini", "morvel_browser.xml"},
                    TFileNamesCase{"/plugins/conv.dll", "conv.ini", "conv_browser.xml"},
                    TFileNamesCase{"/plugins/conv", "conv.ini", "conv_browser.xml"},
                    TFileNamesCase{"/opt/v1.2/conv", "conv.ini", "conv_browser.xml"},
                    TFileNamesCase{"/p/my.plugin.so", "my.plugin.ini", "my.plugin_browser.xml"},
                    TFileNamesCase{"morvel.ini", "morvel.ini", "morvel_browser.xml"}));

}  // namespace
