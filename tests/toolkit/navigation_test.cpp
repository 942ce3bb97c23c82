#include <gtest/gtest.h>

#include "TestTables.h"
#include "toolkit/db/VariantConvert.h"

using namespace db;
using dbtest::DefaultProducts;
using dbtest::MakeProducts;

TEST(Navigation, WalksForwardAndBackWithEofAndBof) {
  TMemTable table;
  MakeProducts(table, DefaultProducts());
  EXPECT_TRUE(table.Bof());
  EXPECT_FALSE(table.Eof());
  EXPECT_EQ(table.RecNo(), 1);
  EXPECT_EQ(dbtest::WalkCodes(table), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(table.FieldByName("CODE").AsInteger(), 5);  // Eof keeps the last record

  std::vector<int> backwards;
  for (table.Last(); !table.Bof(); table.Prior()) backwards.push_back(table.FieldByName("code").AsInteger());
  EXPECT_EQ(backwards, (std::vector<int>{5, 4, 3, 2, 1}));
  EXPECT_EQ(table.RecNo(), 1);
}

TEST(Navigation, MoveByStopsAtTheEnds) {
  TMemTable table;
  MakeProducts(table, DefaultProducts());
  EXPECT_EQ(table.MoveBy(3), 3);
  EXPECT_EQ(table.RecNo(), 4);
  EXPECT_EQ(table.MoveBy(10), 1);
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(table.MoveBy(1), 0);
  EXPECT_EQ(table.MoveBy(-10), -4);
  EXPECT_TRUE(table.Bof());
  EXPECT_FALSE(table.Eof());
  table.SetRecNo(3);
  EXPECT_EQ(table.FieldByName("CODE").AsInteger(), 3);
  table.SetRecNo(1000);
  EXPECT_EQ(table.RecNo(), 5);
  EXPECT_EQ(table.RecordCount(), 5);
}

TEST(Navigation, EmptyAndClosedTables) {
  TMemTable table;
  MakeProducts(table, {});
  EXPECT_TRUE(table.Eof());
  EXPECT_TRUE(table.Bof());
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_TRUE(table.FieldByName("CODE").IsNull());
  EXPECT_EQ(table.FieldByName("CODE").AsInteger(), 0);
  EXPECT_EQ(table.MoveBy(1), 0);
  table.Close();
  EXPECT_FALSE(table.IsOpen());
  EXPECT_THROW(table.Next(), EDatabaseError);
  EXPECT_THROW(table.RecordCount(), EDatabaseError);
}

TEST(Navigation, ScrollEventsSurroundEveryMove) {
  TMemTable table;
  MakeProducts(table, DefaultProducts());
  std::vector<std::string> log;
  table.BeforeScroll = [&](TDataSet& ds) { log.push_back("before " + ds.FieldByName("CODE").AsString()); };
  table.AfterScroll = [&](TDataSet& ds) { log.push_back("after " + ds.FieldByName("CODE").AsString()); };
  table.Next();
  table.Last();
  EXPECT_EQ(log, (std::vector<std::string>{"before 1", "after 2", "before 2", "after 5"}));
}

TEST(Bookmarks, GoBackToTheMarkedRecordEvenAfterInsertsBeforeIt) {
  TMemTable table;
  MakeProducts(table, DefaultProducts());
  table.SetRecNo(3);
  const TBookmark mark = table.GetBookmark();
  ASSERT_FALSE(mark.empty());
  table.First();
  table.Insert();  // before the first row: every row moves down
  table.FieldByName("CODE").SetAsInteger(0);
  table.Post();
  table.Last();
  table.GotoBookmark(mark);
  EXPECT_EQ(table.FieldByName("CODE").AsInteger(), 3);
  EXPECT_EQ(table.RecNo(), 4);
  EXPECT_TRUE(table.BookmarkValid(mark));
}

TEST(Bookmarks, CompareAndValidity) {
  TMemTable table;
  MakeProducts(table, DefaultProducts());
  const TBookmark first = table.GetBookmark();
  table.Next();
  const TBookmark second = table.GetBookmark();
  EXPECT_EQ(table.CompareBookmarks(first, second), -1);
  EXPECT_EQ(table.CompareBookmarks(second, first), 1);
  EXPECT_EQ(table.CompareBookmarks(first, first), 0);
  EXPECT_EQ(table.CompareBookmarks({}, {}), 0);
  EXPECT_EQ(table.CompareBookmarks({}, first), 1);  // absent sorts after present
  table.Delete();
  EXPECT_FALSE(table.BookmarkValid(second));
  EXPECT_THROW(table.GotoBookmark(second), EDatabaseError);
  EXPECT_EQ(table.FieldByName("CODE").AsInteger(), 3);  // delete moves to the following row
}

TEST(Fields, FoundByNameWithoutRegardToCase) {
  TMemTable table;
  MakeProducts(table, DefaultProducts());
  EXPECT_EQ(&table.FieldByName("name"), &table.FieldByName("NAME"));
  EXPECT_EQ(table.FindField("Missing"), nullptr);
  try {
    table.FieldByName("Missing");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Field 'Missing' not found");
  }
  const TField& name = table.FieldByName("NAME");
  EXPECT_EQ(name.DataType(), ftString);
  EXPECT_EQ(name.Size(), 40);
  EXPECT_EQ(name.FieldKind(), fkData);
  EXPECT_EQ(name.DisplayLabel(), "NAME");
}

TEST(Fields, TypedReadersOnOneRecord) {
  TMemTable table;
  MakeProducts(table, {{7, "12", 2.75}});
  const TField& code = table.FieldByName("CODE");
  const TField& name = table.FieldByName("NAME");
  const TField& price = table.FieldByName("PRICE");
  EXPECT_EQ(code.AsString(), "7");
  EXPECT_DOUBLE_EQ(code.AsFloat(), 7);
  EXPECT_EQ(code.AsVariant(), Variant(int32_t{7}));
  EXPECT_EQ(name.AsInteger(), 12);
  EXPECT_EQ(price.AsString(), "2.75");
  EXPECT_EQ(price.AsCurrency().Scaled, 27500);
  EXPECT_EQ(BcdToStr(price.AsBCD()), "2.75");
}
