#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "settings/IniDocument.h"
#include "settings/SettingsError.h"
#include "settings/SettingsFileNames.h"
#include "settings/SettingsLocations.h"
#include "settings/UFormSave.h"
#include "tests/settings/SettingsTestSupport.h"

namespace {

using namespace settings;

QSize ScreenSize() { return QGuiApplication::primaryScreen()->size(); }

// A section of seven keys as the module writes them.
std::string Section(const std::string& name, int scrWidth, int scrHeight, int state, int width,
                    int height, int left, int top) {
  return "[FORM_" + name + "]\nScrWidth=" + std::to_string(scrWidth) + "\nScrHeight=" +
         std::to_string(scrHeight) + "\nWindowState=" + std::to_string(state) + "\nWidth=" +
         std::to_string(width) + "\nHeight=" + std::to_string(height) + "\nLeft=" +
         std::to_string(left) + "\nTop=" + std::to_string(top) + "\n";
}

class FormPlacementTest : public testing::Test {
 protected:
  FormPlacementTest() { window_.setGeometry(QRect(10, 20, 300, 200)); }

  void ExpectUntouched() {
    EXPECT_EQ(window_.windowState(), Qt::WindowNoState);
    EXPECT_EQ(window_.frameGeometry(), QRect(10, 20, 300, 200));
  }

  std::string folder_ = settingstest::NewFolder("placement");
  std::string file_ = folder_ + "/morvel.ini";
  QWidget window_;
};

TEST_F(FormPlacementTest, FirstRunRestoresNothingAndTheSaveWritesSevenKeysInOrder) {
  RestoreFormPlacement(window_, "PLG_MORVEL", file_);
  ExpectUntouched();
  EXPECT_FALSE(settingstest::FileExists(file_));
  SaveFormPlacement(window_, "PLG_MORVEL", file_);
  QSize screen = ScreenSize();
  EXPECT_EQ(settingstest::ReadFile(file_),
            Section("PLG_MORVEL", screen.width(), screen.height(), 1, 300, 200, 10, 20));
}

TEST_F(FormPlacementTest, NoSectionOfTheWindowRestoresNothing) {
  QSize screen = ScreenSize();
  settingstest::WriteFile(file_, Section("OTHER", screen.width(), screen.height(), 3, 1, 2, 3, 4));
  RestoreFormPlacement(window_, "PLG_MORVEL", file_);
  ExpectUntouched();
}

struct TScreenCase {
  const char* name;
  int widthDelta;   // stored ScrWidth minus the current screen width
  int heightDelta;  // the same for ScrHeight
  bool applied;
};

void PrintTo(const TScreenCase& c, std::ostream* os) { *os << c.name; }

class ScreenRuleTest : public FormPlacementTest, public testing::WithParamInterface<TScreenCase> {};

TEST_P(ScreenRuleTest, AppliesWhenOneStoredDimensionMatches) {
  QSize screen = ScreenSize();
  settingstest::WriteFile(file_, Section("W", screen.width() + GetParam().widthDelta,
                                         screen.height() + GetParam().heightDelta, 2, 420, 310, 50, 60));
  RestoreFormPlacement(window_, "W", file_);
  if (GetParam().applied) {
    EXPECT_TRUE(window_.windowState() & Qt::WindowMinimized);
    EXPECT_EQ(window_.frameGeometry(), QRect(50, 60, 420, 310));
  } else {
    ExpectUntouched();
  }
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenRuleTest,
                         testing::Values(TScreenCase{"BothEqual", 0, 0, true},
                                         TScreenCase{"WidthEqualHeightDiffers", 0, 100, true},
                                         TScreenCase{"WidthDiffersHeightEqual", -100, 0, true},
                                         TScreenCase{"BothDiffer", 100, -100, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct TStateCase {
  const char* name;
  Qt::WindowStates initial;
  int stored;
  Qt::WindowStates expected;
  bool geometryApplied;
};

void PrintTo(const TStateCase& c, std::ostream* os) { *os << c.name; }

class WindowStateRuleTest : public FormPlacementTest, public testing::WithParamInterface<TStateCase> {};

TEST_P(WindowStateRuleTest, SetsTheStateAndTheFrameUnlessMaximised) {
  QSize screen = ScreenSize();
  window_.setWindowState(GetParam().initial);
  settingstest::WriteFile(file_, Section("W", screen.width(), screen.height(), GetParam().stored, 420, 310, 50, 60));
  RestoreFormPlacement(window_, "W", file_);
  EXPECT_EQ(window_.windowState(), GetParam().expected);
  if (GetParam().geometryApplied)
    EXPECT_EQ(window_.frameGeometry(), QRect(50, 60, 420, 310));
  else  // the frame may have grown a border on its way to maximised; the client stays
    EXPECT_EQ(window_.geometry(), QRect(10, 20, 300, 200));
}

INSTANTIATE_TEST_SUITE_P(
    States, WindowStateRuleTest,
    testing::Values(TStateCase{"Normal", Qt::WindowMaximized, 1, Qt::WindowNoState, true},
                    TStateCase{"Minimised", Qt::WindowNoState, 2, Qt::WindowMinimized, true},
                    TStateCase{"Maximised", Qt::WindowNoState, 3, Qt::WindowMaximized, false},
                    TStateCase{"UnknownKeepsNormal", Qt::WindowNoState, 7, Qt::WindowNoState, true},
                    TStateCase{"UnknownKeepsMaximised", Qt::WindowMaximized, 0, Qt::WindowMaximized, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormPlacementTest, MissingSizeKeysReadZero) {
  QSize screen = ScreenSize();
  settingstest::WriteFile(file_, "[FORM_W]\nScrWidth=" + std::to_string(screen.width()) +
                                     "\nScrHeight=" + std::to_string(screen.height()) + "\n");
  window_.setMinimumSize(0, 0);
  RestoreFormPlacement(window_, "W", file_);
  EXPECT_EQ(window_.windowState(), Qt::WindowNoState);
  EXPECT_EQ(window_.pos(), QPoint(0, 0));
  EXPECT_EQ(window_.size(), QSize(0, 0));
}

TEST_F(FormPlacementTest, SavedStateCodes) {
  struct TCase {
    Qt::WindowStates state;
    const char* code;
  };
  for (TCase c : {TCase{Qt::WindowNoState, "1"}, TCase{Qt::WindowMinimized, "2"},
                  TCase{Qt::WindowMaximized, "3"}, TCase{Qt::WindowMinimized | Qt::WindowMaximized, "2"}}) {
    window_.setWindowState(c.state);
    SaveFormPlacement(window_, "W", file_);
    EXPECT_EQ(TIniDocument::LoadFromFile(file_).ReadString("FORM_W", "WindowState"), c.code);
  }
}

TEST_F(FormPlacementTest, SaveKeepsOtherSectionsUnknownKeysAndTheirOrder) {
  std::string other = "; kept comment\n[FORM_OTHER]\nTop=1\nScrWidth=2\n\n[Tools]\nPath=/x y\nnot a key line\n\n";
  settingstest::WriteFile(file_, other + "[FORM_W]\nTop=5\nCustom=abc\nScrWidth=1\n\n[Last]\nz=1\n");
  SaveFormPlacement(window_, "W", file_);
  QSize screen = ScreenSize();
  EXPECT_EQ(settingstest::ReadFile(file_),
            other + "[FORM_W]\nTop=20\nCustom=abc\nScrWidth=" + std::to_string(screen.width()) +
                "\nScrHeight=" + std::to_string(screen.height()) +
                "\nWindowState=1\nWidth=300\nHeight=200\nLeft=10\n\n[Last]\nz=1\n");
}

TEST_F(FormPlacementTest, SaveThenRestoreOnAShownWindow) {
  window_.show();
  window_.setGeometry(QRect(40, 50, 333, 222));
  SaveFormPlacement(window_, "PLG_MORVEL", file_);
  QRect saved = window_.frameGeometry();
  QWidget other;
  other.show();
  other.setGeometry(QRect(0, 0, 100, 100));
  RestoreFormPlacement(other, "PLG_MORVEL", file_);
  EXPECT_EQ(other.frameGeometry(), saved);
}

TEST_F(FormPlacementTest, MaximisedWindowSavesItsMaximisedFrame) {
  window_.show();
  window_.showMaximized();
  QCoreApplication::processEvents();
  QRect maximised = window_.frameGeometry();
  ASSERT_NE(maximised, QRect(10, 20, 300, 200)) << "the platform did not maximise";
  SaveFormPlacement(window_, "W", file_);
  TIniDocument saved = TIniDocument::LoadFromFile(file_);
  EXPECT_EQ(saved.ReadInteger("FORM_W", "WindowState", 0), 3);
  EXPECT_EQ(QRect(saved.ReadInteger("FORM_W", "Left", -1), saved.ReadInteger("FORM_W", "Top", -1),
                  saved.ReadInteger("FORM_W", "Width", -1), saved.ReadInteger("FORM_W", "Height", -1)),
            maximised);
}

TEST_F(FormPlacementTest, RestoreNeverWritesTheFile) {
  QSize screen = ScreenSize();
  std::string content = Section("W", screen.width(), screen.height(), 1, 420, 310, 50, 60) + "[X]\r\n";
  settingstest::WriteFile(file_, content);
  RestoreFormPlacement(window_, "W", file_);
  EXPECT_EQ(settingstest::ReadFile(file_), content);
}

// Damaged files: the restore fails before anything is applied; the save fails and leaves the
// file as it was, or repairs the window's own section.
struct TBadIniCase {
  const char* name;
  std::string damage;  // lines put into an otherwise matching section
};

void PrintTo(const TBadIniCase& c, std::ostream* os) { *os << c.name; }

class BadIniTest : public FormPlacementTest, public testing::WithParamInterface<TBadIniCase> {};

std::string Matching(const std::string& damage) {
  QSize screen = QGuiApplication::primaryScreen()->size();
  return "[FORM_W]\nScrWidth=" + std::to_string(screen.width()) + "\nScrHeight=" +
         std::to_string(screen.height()) + "\nWindowState=2\nWidth=420\nLeft=50\n" + damage +
         "Top=60\nHeight=310\n";
}

TEST_P(BadIniTest, RestoreFailsWithoutApplyingHalfAPlacement) {
  settingstest::WriteFile(file_, Matching(GetParam().damage));
  EXPECT_THROW(RestoreFormPlacement(window_, "W", file_), ESettingsError);
  ExpectUntouched();
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadIniTest,
    testing::Values(TBadIniCase{"GarbageLineInTheSection", "@@@ garbage @@@\n"},
                    TBadIniCase{"ValueNotANumber", "Height=tall\n"},
                    TBadIniCase{"ValueWithTrailingText", "Top=60px\n"},
                    TBadIniCase{"ValueOutOfRange", "Top=99999999999\n"},
                    TBadIniCase{"NulBytes", std::string("\0\0\0\n", 4)},
                    TBadIniCase{"BinaryBytes", "\x01\x02\x7f\x80\xff\n"},
                    TBadIniCase{"NotUtf8", "Name=\xe9t\xe9\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormPlacementTest, GarbageOutsideTheSectionIsIgnoredAndKept) {
  QSize screen = ScreenSize();
  std::string content = "garbage before any section\n[OTHER]\n}}}{{{\n\n" +
                        Section("W", screen.width(), screen.height(), 1, 420, 310, 50, 60);
  settingstest::WriteFile(file_, content);
  RestoreFormPlacement(window_, "W", file_);
  EXPECT_EQ(window_.frameGeometry(), QRect(50, 60, 420, 310));
  SaveFormPlacement(window_, "W", file_);
  EXPECT_EQ(settingstest::ReadFile(file_), content);
}

TEST_F(FormPlacementTest, SaveRepairsGarbageInItsOwnSection) {
  settingstest::WriteFile(file_, "[FORM_W]\n@@@\nTop=1\n");
  SaveFormPlacement(window_, "W", file_);
  RestoreFormPlacement(window_, "W", file_);
  EXPECT_EQ(settingstest::ReadFile(file_).find("@@@"), std::string::npos);
}

TEST_F(FormPlacementTest, SaveOverABinaryFileFailsAndLeavesIt) {
  std::string content("[FORM_W]\nTop=\0\x01\x02\n", 17);
  settingstest::WriteFile(file_, content);
  EXPECT_THROW(SaveFormPlacement(window_, "W", file_), ESettingsError);
  EXPECT_EQ(settingstest::ReadFile(file_), content);
}

TEST_F(FormPlacementTest, WriteFailureLeavesThePreviousFile) {
  std::string previous = "[Big]\nkey=" + std::string(500, 'v') + "\n";
  settingstest::WriteFile(file_, previous);
  {
    settingstest::TFileSizeLimit limit(previous.size() + 20);
    EXPECT_THROW(SaveFormPlacement(window_, "W", file_), ESettingsError);
  }
  EXPECT_EQ(settingstest::ReadFile(file_), previous);
}

TEST_F(FormPlacementTest, SaveIntoAMissingFolderFails) {
  EXPECT_THROW(SaveFormPlacement(window_, "W", folder_ + "/missing/morvel.ini"), ESettingsError);
}

TEST(SettingsIniPathTest, NonBlankNamesAreTakenUnchanged) {
  EXPECT_EQ(SettingsIniPath(" /x/a b.ini "), " /x/a b.ini ");
}

TEST(SettingsIniPathTest, BlankNameIsTheExecutablesIniInTheDefaultFolder) {
  SetUseExeFolder(false);
  std::string expected = GetDefaultSettingsFolder() + "settings_tests.ini";
  EXPECT_EQ(SettingsIniPath(""), expected);
  EXPECT_EQ(SettingsIniPath(" \t"), expected);
  EXPECT_EQ(expected.rfind(GetAppDataFolder(), 0), 0u);
  SetUseExeFolder(true);
  EXPECT_EQ(SettingsIniPath(""), AddTrailingBackslash(ExecutablePath().substr(0, ExecutablePath().rfind('/'))) + "settings_tests.ini");
}

}  // namespace
