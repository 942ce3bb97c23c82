#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDomDocument>
#include <algorithm>
#include <filesystem>

#include "settings/Base64Codec.h"
#include "settings/SettingsError.h"
#include "settings/SettingsLocations.h"
#include "settings/UGridUtils.h"
#include "tests/settings/SettingsTestSupport.h"
#include "tests/settings/TestGrid.h"

namespace {

using namespace settings;
using settingstest::TTestGrid;

// The element tree of an XML file, names only: "BROWSER(GRID_1(LAYOUT,GRIDMODE))".
std::string ElementTree(const QDomElement& element) {
  std::string tree = element.tagName().toStdString();
  std::string children;
  for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
    children += (children.empty() ? "" : ",") + ElementTree(child);
  return children.empty() ? tree : tree + "(" + children + ")";
}

QDomDocument Parse(const std::string& path) {
  QDomDocument document;
  EXPECT_TRUE(document.setContent(QByteArray::fromStdString(settingstest::ReadFile(path))));
  return document;
}

std::string TreeOf(const std::string& path) { return ElementTree(Parse(path).documentElement()); }

QDomElement GridElement(const std::string& path, const std::string& key) {
  return Parse(path).documentElement().firstChildElement(QString::fromStdString(GridElementName(key)));
}

TTestGrid ProductGrid() {
  TTestGrid grid;
  grid.Columns = {{"CODE", 80, true}, {"NAME", 200, true}, {"IVA_MESA", 60, false}};
  grid.Filter = "NAME like 'P%'";
  grid.Summary = "count(CODE)";
  grid.DatasetFields = std::vector<std::string>{"CODE", "NAME", "IVA_MESA"};
  grid.Mode = true;
  return grid;
}

class GridLayoutTest : public testing::Test {
 protected:
  std::string folder_ = settingstest::NewFolder("layout");
  std::string file_ = folder_ + "/morvel_browser.xml";
};

TEST_F(GridLayoutTest, FirstSaveCreatesBrowserGridLayoutAndGridModeInOrder) {
  TTestGrid grid = ProductGrid();
  SaveGridLayout(grid, "abc", file_);
  EXPECT_EQ(TreeOf(file_), "BROWSER(GRID_26499(LAYOUT,GRIDMODE))");
  QDomElement element = GridElement(file_, "abc");
  EXPECT_EQ(Base64Decode(element.firstChildElement("LAYOUT").text().toStdString()), grid.SaveLayout());
  EXPECT_EQ(element.firstChildElement("GRIDMODE").text(), "1");
  std::string bytes = settingstest::ReadFile(file_);
  EXPECT_NE(bytes.substr(0, 5), "<?xml");
  EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
}

TEST_F(GridLayoutTest, LayoutTextIsAsciiEvenForAccentedFields) {
  TTestGrid grid;
  grid.Columns = {{"Descrição", 120, true}};
  grid.Filter = "Pão de Ló";
  SaveGridLayout(grid, "PLG_MORVEL_MAIN", file_);
  std::string bytes = settingstest::ReadFile(file_);
  EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
  TTestGrid restored;
  restored.Columns = {{"Descrição", 10, false}};
  EXPECT_TRUE(RestoreGridLayout(restored, "PLG_MORVEL_MAIN", file_));
  EXPECT_EQ(restored.State(), grid.State());
}

TEST_F(GridLayoutTest, SecondGridIsAddedAndTheFirstKept) {
  TTestGrid main = ProductGrid(), log;
  log.Columns = {{"WHEN", 100, true}};
  SaveGridLayout(main, "PLG_MORVEL_MAIN", file_);
  std::string mainText = GridElement(file_, "PLG_MORVEL_MAIN").text().toStdString();
  SaveGridLayout(log, "PLG_MORVEL_LOG", file_);
  EXPECT_EQ(TreeOf(file_), "BROWSER(" + GridElementName("PLG_MORVEL_MAIN") + "(LAYOUT,GRIDMODE)," +
                               GridElementName("PLG_MORVEL_LOG") + "(LAYOUT,GRIDMODE))");
  EXPECT_EQ(GridElement(file_, "PLG_MORVEL_MAIN").text().toStdString(), mainText);
  EXPECT_EQ(GridElement(file_, "PLG_MORVEL_LOG").firstChildElement("GRIDMODE").text(), "0");
}

TEST_F(GridLayoutTest, ResavingReplacesTextsAndAddsNoElements) {
  TTestGrid grid = ProductGrid();
  SaveGridLayout(grid, "abc", file_);
  std::string first = settingstest::ReadFile(file_);
  SaveGridLayout(grid, "abc", file_);
  EXPECT_EQ(settingstest::ReadFile(file_), first);
  grid.Columns[1].Width = 333;
  grid.Mode = false;
  SaveGridLayout(grid, "abc", file_);
  EXPECT_EQ(TreeOf(file_), "BROWSER(GRID_26499(LAYOUT,GRIDMODE))");
  QDomElement element = GridElement(file_, "abc");
  EXPECT_EQ(Base64Decode(element.firstChildElement("LAYOUT").text().toStdString()), grid.SaveLayout());
  EXPECT_EQ(element.firstChildElement("GRIDMODE").text(), "0");
}

TEST_F(GridLayoutTest, KeysWithOneHashShareAnElementAndTheLaterSaveWins) {
  ASSERT_EQ(GridKeyHash("AQ"), GridKeyHash("BA"));
  TTestGrid first = ProductGrid(), second = ProductGrid();
  second.Columns[0].Width = 999;
  second.Mode = false;
  SaveGridLayout(first, "AQ", file_);
  SaveGridLayout(second, "BA", file_);
  EXPECT_EQ(TreeOf(file_), "BROWSER(GRID_1121(LAYOUT,GRIDMODE))");
  TTestGrid restored = ProductGrid();
  EXPECT_TRUE(RestoreGridLayout(restored, "AQ", file_));
  EXPECT_EQ(restored.State(), second.State());
}

TEST_F(GridLayoutTest, RestorePutsBackLayoutFilterSummaryAndGridMode) {
  TTestGrid saved = ProductGrid();
  SaveGridLayout(saved, "PLG_MORVEL_MAIN", file_);
  TTestGrid grid = ProductGrid();
  grid.Columns = {{"CODE", 10, false}, {"NAME", 20, false}, {"IVA_MESA", 30, true}};
  grid.Filter = grid.Summary = "";
  grid.Mode = false;
  EXPECT_TRUE(RestoreGridLayout(grid, "PLG_MORVEL_MAIN", file_));
  EXPECT_EQ(grid.State(), saved.State());
}

TEST_F(GridLayoutTest, RestoreCreatesNoColumnAndDropsColumnsWithoutAField) {
  TTestGrid saved = ProductGrid();
  SaveGridLayout(saved, "abc", file_);
  TTestGrid grid;
  grid.Columns = {{"CODE", 1, false}, {"NEW", 50, true}, {"", 40, true}, {"OLD", 30, true}};
  grid.DatasetFields = std::vector<std::string>{"code", "NEW", "NAME"};
  EXPECT_TRUE(RestoreGridLayout(grid, "abc", file_));
  // NAME is in the layout but not a column: not created. NEW is not in the layout: kept as it
  // was. The unbound column and OLD (no such field) are gone; field names ignore case.
  std::vector<settingstest::TTestColumn> expected = {{"CODE", 80, true}, {"NEW", 50, true}};
  EXPECT_EQ(grid.Columns, expected);
}

TEST_F(GridLayoutTest, RestoreAnswersFalseWhenNoColumnIsLeft) {
  SaveGridLayout(ProductGrid(), "abc", file_);
  TTestGrid grid = ProductGrid();
  grid.DatasetFields = std::vector<std::string>{"OTHER"};
  EXPECT_FALSE(RestoreGridLayout(grid, "abc", file_));
  EXPECT_EQ(grid.ColumnCount(), 0);
}

TEST_F(GridLayoutTest, EmptyFileNameMeansBrowserXmlInTheDefaultFolder) {
  SetUseExeFolder(false);
  QString previousName = QCoreApplication::applicationName();
  QCoreApplication::setApplicationName("LayoutTitle");
  SaveGridLayout(ProductGrid(), "abc", "");
  std::string expected = GetAppDataFolder() + "/LayoutTitle/Browser.xml";
  EXPECT_EQ(GridLayoutPath(""), expected);
  EXPECT_EQ(TreeOf(expected), "BROWSER(GRID_26499(LAYOUT,GRIDMODE))");
  TTestGrid grid = ProductGrid();
  grid.Mode = false;
  EXPECT_TRUE(RestoreGridLayout(grid, "abc", ""));
  EXPECT_TRUE(grid.Mode);
  QCoreApplication::setApplicationName(previousName);
  SetUseExeFolder(true);
}

TEST(RemoveUnboundColumnsTest, WithoutADatasetNothingIsRemoved) {
  TTestGrid grid;
  grid.Columns = {{"A"}, {""}, {"B"}};
  RemoveUnboundColumns(grid);
  EXPECT_EQ(grid.ColumnCount(), 3);
}

TEST(RemoveUnboundColumnsTest, RemovesEveryColumnWithoutAFieldOfTheDataset) {
  TTestGrid grid;
  grid.Columns = {{"X"}, {"A"}, {""}, {"b"}, {"Y"}, {"Z"}};
  grid.DatasetFields = std::vector<std::string>{"a", "B"};
  RemoveUnboundColumns(grid);
  std::vector<settingstest::TTestColumn> expected = {{"A"}, {"b"}};
  EXPECT_EQ(grid.Columns, expected);
}

// Files that hold no usable entry for the grid: false, and nothing changes.
struct TAbsentCase {
  const char* name;
  std::optional<std::string> content;  // nothing: no file at all
};

void PrintTo(const TAbsentCase& c, std::ostream* os) { *os << c.name; }

class RestoreAbsentTest : public testing::TestWithParam<TAbsentCase> {};

TEST_P(RestoreAbsentTest, AnswersFalseAndChangesNothing) {
  std::string file = settingstest::NewFolder("absent") + "/layout.xml";
  if (GetParam().content) settingstest::WriteFile(file, *GetParam().content);
  TTestGrid grid = ProductGrid();
  std::string before = grid.State();
  EXPECT_FALSE(RestoreGridLayout(grid, "abc", file));
  EXPECT_EQ(grid.State(), before);
  if (GetParam().content) {
    EXPECT_EQ(settingstest::ReadFile(file), *GetParam().content);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, RestoreAbsentTest,
    testing::Values(TAbsentCase{"NoFile", std::nullopt},
                    TAbsentCase{"OtherRoot", "<OTHER><GRID_26499><LAYOUT/><GRIDMODE>1</GRIDMODE></GRID_26499></OTHER>"},
                    TAbsentCase{"LowerCaseRoot", "<browser><GRID_26499/></browser>"},
                    TAbsentCase{"NoGridElement", "<BROWSER><GRID_65><LAYOUT/><GRIDMODE>1</GRIDMODE></GRID_65></BROWSER>"},
                    TAbsentCase{"GridNotAtTopOfBrowser", "<BROWSER><X><GRID_26499/></X></BROWSER>"}),
    [](const auto& info) { return std::string(info.param.name); });

// Damaged files and entries: the restore fails before the grid is touched.
struct TDamagedCase {
  const char* name;
  std::string content;
};

void PrintTo(const TDamagedCase& c, std::ostream* os) { *os << c.name; }

std::string Entry(const std::string& inner) { return "<BROWSER><GRID_26499>" + inner + "</GRID_26499></BROWSER>"; }

const std::string kGoodLayout = Base64Encode(ProductGrid().SaveLayout());

class RestoreDamagedTest : public testing::TestWithParam<TDamagedCase> {};

TEST_P(RestoreDamagedTest, FailsWithoutApplyingHalfALayout) {
  std::string file = settingstest::NewFolder("damaged") + "/layout.xml";
  settingstest::WriteFile(file, GetParam().content);
  TTestGrid grid = ProductGrid();
  grid.Columns[0].Width = 1;
  grid.Mode = false;
  std::string before = grid.State();
  EXPECT_THROW(RestoreGridLayout(grid, "abc", file), std::exception);
  EXPECT_EQ(grid.State(), before);
  EXPECT_EQ(settingstest::ReadFile(file), GetParam().content);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RestoreDamagedTest,
    testing::Values(
        TDamagedCase{"NotXml", "this is not xml"},
        TDamagedCase{"EmptyFile", ""},
        TDamagedCase{"Unclosed", "<BROWSER><GRID_26499><LAYOUT>" + kGoodLayout},
        TDamagedCase{"BinaryBytes", std::string("\0\x01\xff\xfe<BROWSER/>", 14)},
        TDamagedCase{"NoLayout", Entry("<GRIDMODE>1</GRIDMODE>")},
        TDamagedCase{"NoGridMode", Entry("<LAYOUT>" + kGoodLayout + "</LAYOUT>")},
        TDamagedCase{"GridModeNotANumber", Entry("<LAYOUT>" + kGoodLayout + "</LAYOUT><GRIDMODE>yes</GRIDMODE>")},
        TDamagedCase{"GridModeEmpty", Entry("<LAYOUT>" + kGoodLayout + "</LAYOUT><GRIDMODE/>")},
        TDamagedCase{"GridModeTrailingText", Entry("<LAYOUT>" + kGoodLayout + "</LAYOUT><GRIDMODE>1x</GRIDMODE>")},
        TDamagedCase{"LayoutTheGridCannotRead", Entry("<LAYOUT>" + Base64Encode("junk\ncolumn\tA") + "</LAYOUT><GRIDMODE>1</GRIDMODE>")},
        TDamagedCase{"LayoutCutShort", Entry("<LAYOUT>" + kGoodLayout.substr(0, 60) + "</LAYOUT><GRIDMODE>1</GRIDMODE>")}),
    [](const auto& info) { return std::string(info.param.name); });

struct TGridModeCase {
  const char* text;
  bool mode;
};

void PrintTo(const TGridModeCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class GridModeTextTest : public testing::TestWithParam<TGridModeCase> {};

TEST_P(GridModeTextTest, AnyNonZeroNumberSwitchesGridModeOn) {
  std::string file = settingstest::NewFolder("mode") + "/layout.xml";
  settingstest::WriteFile(file, Entry("<LAYOUT>" + kGoodLayout + "</LAYOUT><GRIDMODE>" + GetParam().text + "</GRIDMODE>"));
  TTestGrid grid = ProductGrid();
  grid.Mode = !GetParam().mode;
  EXPECT_TRUE(RestoreGridLayout(grid, "abc", file));
  EXPECT_EQ(grid.Mode, GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(Texts, GridModeTextTest,
                         testing::Values(TGridModeCase{"0", false}, TGridModeCase{"1", true},
                                         TGridModeCase{"2", true}, TGridModeCase{"-1", true},
                                         TGridModeCase{" 0 ", false}));

// Saves that fail leave the previous file exactly as it was.
class FailedSaveTest : public GridLayoutTest {};

TEST_F(FailedSaveTest, FileWithAnotherRootStaysAsItWas) {
  std::string content = "<OTHER><KEEP>me</KEEP></OTHER>";
  settingstest::WriteFile(file_, content);
  EXPECT_THROW(SaveGridLayout(ProductGrid(), "abc", file_), ESettingsError);
  EXPECT_EQ(settingstest::ReadFile(file_), content);
}

TEST_F(FailedSaveTest, FileThatIsNotXmlStaysAsItWas) {
  std::string content = "<BROWSER><GRID_1>";
  settingstest::WriteFile(file_, content);
  EXPECT_THROW(SaveGridLayout(ProductGrid(), "abc", file_), ESettingsError);
  EXPECT_EQ(settingstest::ReadFile(file_), content);
}

TEST_F(FailedSaveTest, WriteFailureLeavesThePreviousFile) {
  SaveGridLayout(ProductGrid(), "abc", file_);
  std::string previous = settingstest::ReadFile(file_);
  TTestGrid bigger = ProductGrid();
  bigger.Filter = std::string(4000, 'f');
  {
    settingstest::TFileSizeLimit limit(previous.size() + 100);
    EXPECT_THROW(SaveGridLayout(bigger, "abc", file_), ESettingsError);
  }
  EXPECT_EQ(settingstest::ReadFile(file_), previous);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1) << "no temporary file left";
}

TEST_F(FailedSaveTest, GridThatCannotSerialiseLeavesThePreviousFile) {
  // A grid whose layout cannot be produced: nothing is written.
  struct TBrokenGrid : TTestGrid {
    std::string SaveLayout() const override { throw std::runtime_error("no layout"); }
  };
  SaveGridLayout(ProductGrid(), "abc", file_);
  std::string previous = settingstest::ReadFile(file_);
  EXPECT_THROW(SaveGridLayout(TBrokenGrid(), "abc", file_), std::runtime_error);
  EXPECT_EQ(settingstest::ReadFile(file_), previous);
}

}  // namespace
