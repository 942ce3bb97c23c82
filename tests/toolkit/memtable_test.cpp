#include <gtest/gtest.h>

#include "TestTables.h"
#include "toolkit/db/TextUtils.h"

using namespace db;
using dbtest::CountingLink;
using dbtest::DefaultProducts;
using dbtest::MakeProducts;

namespace {

struct TextCase {
  const char* label;
  int width;
  std::string input;
  std::string stored;
};

class TextWidth : public testing::TestWithParam<TextCase> {};

TEST_P(TextWidth, CutsToTheWidthInCharacters) {
  const TextCase& c = GetParam();
  TMemTable table;
  table.AddField("TEXT", ftString, c.width);
  table.Open();
  table.Append();
  table.FieldByName("TEXT").SetAsString(c.input);
  table.Post();
  EXPECT_EQ(table.FieldByName("TEXT").AsString(), c.stored);
  table.SetCellValue(0, 0, Variant(c.input));
  EXPECT_EQ(table.CellValue(0, 0), Variant(c.stored));
}

const std::string kAccented40 = "Pão de Ló com açúcar e canela à moda avó";  // 40 characters

INSTANTIATE_TEST_SUITE_P(
    Cases, TextWidth,
    testing::Values(TextCase{"Short", 40, "Pão de Ló", "Pão de Ló"}, TextCase{"Cut", 5, "Pão de Ló", "Pão d"},
                    TextCase{"AccentedFitsWhole", 40, kAccented40, kAccented40},
                    TextCase{"FortyFiveToForty", 40, kAccented40 + "12345", kAccented40},
                    TextCase{"FourByteCharacters", 2, "😀😀😀", "😀😀"}, TextCase{"Empty", 10, "", ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(MemTable, AccentedFortyCharactersAreMoreThanFortyBytes) {
  EXPECT_EQ(Utf8Length(kAccented40), 40u);
  EXPECT_GT(kAccented40.size(), 40u);
}

TEST(MemTable, AutoNumberRestartsAtOneOnEachOpen) {
  TMemTable log;
  log.AddField("ID", ftAutoInc);
  log.AddField("PRODUCT_CODE", ftInteger);
  auto append = [&](int code) {
    log.Append();
    log.FieldByName("PRODUCT_CODE").SetAsInteger(code);
    log.Post();
    return log.FieldByName("ID").AsInteger();
  };
  log.Open();
  EXPECT_EQ(append(10), 1);
  EXPECT_EQ(append(11), 2);
  EXPECT_EQ(append(12), 3);
  log.Close();
  log.Open();
  EXPECT_EQ(log.RecordCount(), 0);  // closing discarded the rows
  EXPECT_EQ(append(13), 1);
  log.Append();
  log.FieldByName("ID").SetAsInteger(10);  // an explicit number is kept and counted past
  log.Post();
  EXPECT_EQ(append(14), 11);
}

TEST(MemTable, DisplayLabelsAndTypes) {
  TMemTable table;
  table.AddField("PRODUCT_CODE", ftInteger).SetDisplayLabel("Cód. Artigo");
  table.AddField("MODIFY", ftSmallint).SetDisplayLabel("Modificar");
  table.AddField("TIME_MODIFIED", ftDateTime);
  table.Open();
  EXPECT_EQ(table.FieldByName("product_code").DisplayLabel(), "Cód. Artigo");
  EXPECT_EQ(table.FieldByName("TIME_MODIFIED").DisplayLabel(), "TIME_MODIFIED");
  table.Append();
  table.FieldByName("MODIFY").SetAsVariant(Variant::Empty());
  table.FieldByName("TIME_MODIFIED").SetAsDateTime(45000.5);
  table.Post();
  EXPECT_TRUE(table.FieldByName("MODIFY").AsVariant().IsNull());
  EXPECT_EQ(table.FieldByName("MODIFY").AsVariant(), Variant::Null());
  EXPECT_EQ(table.CellValue(0, 1), Variant::Null());
  EXPECT_EQ(table.CellValue(0, 2), Variant::FromDateTime(45000.5));
}

TEST(MemTable, UnsupportedFieldTypeRefusesToOpen) {
  TMemTable table;
  table.AddField("DATA", ftBlob);
  EXPECT_THROW(table.Open(), EDatabaseError);
  EXPECT_FALSE(table.IsOpen());
}

// The product query's columns as another dataset gives them.
class Loading : public testing::Test {
 protected:
  void SetUp() override {
    source_.AddField("product_code", ftInteger);
    source_.AddField("product_name", ftString, 100);
    source_.AddField("new_table_tax", ftInteger);
    source_.AddField("comp_modify", ftInteger);
    source_.Open();
    for (int i = 1; i <= 3; ++i) {
      source_.Append();
      source_.FieldByName("product_code").SetAsInteger(i);
      source_.FieldByName("product_name").SetAsString(i == 2 ? kAccented40 + "12345" : "Pão " + std::to_string(i));
      source_.FieldByName("comp_modify").SetAsInteger(0);
      source_.Post();
    }
    target_.AddField("PRODUCT_CODE", ftInteger);
    target_.AddField("PRODUCT_NAME", ftString, 40);
    target_.AddField("NEW_TABLE_TAX", ftInteger);
    target_.AddField("MODIFY", ftSmallint);
    target_.BeforePost = [this](TDataSet&) { ++beforePosts_; };
    target_.Open();
  }
  TMemTable source_, target_;
  int beforePosts_ = 0;
};

TEST_F(Loading, CopiesEveryRowByFieldName) {
  TDataSource source(&target_);
  CountingLink link;
  link.SetDataSource(&source);
  link.Reset();
  target_.LoadFromDataSet(source_);
  EXPECT_EQ(target_.RecordCount(), 3);
  EXPECT_EQ(beforePosts_, 3);
  EXPECT_EQ(link.dataSetChanged, 1);
  EXPECT_EQ(link.Total(), 1);
  target_.First();
  EXPECT_EQ(target_.CellValue(1, 1), Variant(kAccented40));  // cut to 40, accents intact
  EXPECT_EQ(target_.CellValue(0, 1), Variant("Pão 1"));
  EXPECT_TRUE(target_.FieldByName("MODIFY").IsNull());  // comp_modify has no field: dropped
  EXPECT_TRUE(target_.FieldByName("NEW_TABLE_TAX").IsNull());
  EXPECT_EQ(target_.FieldByName("NEW_TABLE_TAX").AsInteger(), 0);
}

TEST_F(Loading, ExplicitMappingAndNoBeforePost) {
  target_.LoadFromDataSet(source_, {{"product_code", "PRODUCT_CODE"}, {"comp_modify", "MODIFY"}}, false);
  EXPECT_EQ(beforePosts_, 0);
  EXPECT_EQ(target_.CellValue(2, 0), Variant(int32_t{3}));
  EXPECT_EQ(target_.CellValue(2, 3), Variant(int16_t{0}));
  EXPECT_TRUE(target_.CellValue(2, 1).IsNull());
}

TEST_F(Loading, AnErrorKeepsTheRowsPostedSoFar) {
  target_.BeforePost = [](TDataSet& ds) {
    if (ds.FieldByName("PRODUCT_CODE").AsInteger() == 3) throw EDatabaseError("stop");
  };
  EXPECT_THROW(target_.LoadFromDataSet(source_), EDatabaseError);
  EXPECT_EQ(target_.RecordCount(), 2);
  EXPECT_EQ(target_.State(), dsBrowse);
  EXPECT_FALSE(target_.Updating());
}

TEST(RandomAccess, ReadsAndWritesCellsWithoutMoving) {
  TMemTable table;
  MakeProducts(table, DefaultProducts());
  struct Observer : TMemTableObserver {
    std::vector<std::string> notes;
    void RowChanged(int row) override { notes.push_back("changed " + std::to_string(row)); }
    void RowsInserted(int first, int count) override {
      notes.push_back("inserted " + std::to_string(first) + "+" + std::to_string(count));
    }
    void RowsRemoved(int first, int count) override {
      notes.push_back("removed " + std::to_string(first) + "+" + std::to_string(count));
    }
  } observer;
  table.AddObserver(&observer);
  table.SetRecNo(2);
  EXPECT_EQ(table.ActiveRow(), 1);
  EXPECT_EQ(table.RowCount(), 5);
  EXPECT_EQ(table.CellValue(3, 1), Variant("XYZ   "));
  EXPECT_TRUE(table.CellValue(4, 1).IsNull());
  table.SetCellValue(3, 2, Variant("9.25"));
  EXPECT_EQ(table.CellValue(3, 2), Variant(9.25));
  EXPECT_EQ(table.RecNo(), 2);

  table.Edit();
  EXPECT_THROW(table.SetCellValue(1, 0, Variant(int32_t{1})), EDatabaseError);
  table.FieldByName("PRICE").SetAsFloat(0.5);
  table.Post();
  table.Append();
  table.Post();
  table.Delete();
  EXPECT_EQ(observer.notes, (std::vector<std::string>{"changed 3", "changed 1", "inserted 5+1", "removed 5+1"}));
  EXPECT_THROW(table.CellValue(5, 0), EDatabaseError);
  EXPECT_THROW(table.SetCellValue(0, 0, Variant("x")), EConvertError);
  table.RemoveObserver(&observer);
}

TEST(CalculatedFields, ComputedPerRecordAndWhileEditing) {
  TMemTable table;
  table.AddField("PRICE", ftFloat);
  table.AddField("DOUBLE", ftFloat, 0, fkCalculated);
  table.OnCalcFields = [](TDataSet& ds) {
    ds.FieldByName("DOUBLE").SetAsFloat(ds.FieldByName("PRICE").AsFloat() * 2);
  };
  table.Open();
  for (double price : {1.5, 2.0}) {
    table.Append();
    table.FieldByName("PRICE").SetAsFloat(price);
    table.Post();
  }
  table.First();
  EXPECT_DOUBLE_EQ(table.FieldByName("DOUBLE").AsFloat(), 3.0);
  table.Next();
  EXPECT_DOUBLE_EQ(table.FieldByName("DOUBLE").AsFloat(), 4.0);
  table.Edit();
  table.FieldByName("PRICE").SetAsFloat(10);
  EXPECT_DOUBLE_EQ(table.FieldByName("DOUBLE").AsFloat(), 20.0);
  table.Cancel();
  EXPECT_DOUBLE_EQ(table.FieldByName("DOUBLE").AsFloat(), 4.0);
  EXPECT_TRUE(table.CellValue(0, 1).IsNull());
  EXPECT_THROW(table.SetCellValue(0, 1, Variant(1.0)), EDatabaseError);
}

TEST(Capacity, HundredThousandProductsWithManyTextChanges) {
  constexpr int kRows = 100000;
  TMemTable table;
  table.AddField("PRODUCT_CODE", ftInteger);
  table.AddField("PRODUCT_NAME", ftString, 40);
  table.AddField("MODIFY", ftSmallint);
  table.Open();
  table.BeginUpdate();
  for (int i = 0; i < kRows; ++i) {
    table.Append();
    table.FieldByName("PRODUCT_CODE").SetAsInteger(i + 1);
    table.FieldByName("PRODUCT_NAME").SetAsString("Produto número " + std::to_string(i + 1));
    table.Post();
  }
  table.EndUpdate();
  ASSERT_EQ(table.RecordCount(), kRows);
  // Rewriting every name twice leaves most of the text storage unused until it is compacted.
  for (int round = 0; round < 2; ++round)
    for (int row = 0; row < kRows; ++row)
      table.SetCellValue(row, 1, Variant("Nome " + std::to_string(round) + "/" + std::to_string(row)));
  table.Edit();
  table.FieldByName("MODIFY").SetAsInteger(1);
  table.Post();  // posting lets the store compact its texts
  EXPECT_EQ(table.CellValue(kRows - 1, 1), Variant("Nome 1/" + std::to_string(kRows - 1)));
  EXPECT_EQ(table.CellValue(0, 1), Variant("Nome 1/0"));
  ASSERT_TRUE(table.Locate("PRODUCT_CODE", Variant(int32_t{kRows})));
  EXPECT_EQ(table.RecNo(), kRows);
  ASSERT_TRUE(table.Locate("PRODUCT_NAME", Variant("nome 1/5000"), loCaseInsensitive));
  EXPECT_EQ(table.FieldByName("PRODUCT_CODE").AsInteger(), 5001);
  int walked = 0;
  for (table.First(); !table.Eof(); table.Next()) ++walked;
  EXPECT_EQ(walked, kRows);
}

}  // namespace
