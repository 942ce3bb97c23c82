#include <gtest/gtest.h>

#include "TestTables.h"

using namespace db;
using dbtest::DefaultProducts;
using dbtest::MakeProducts;

namespace {

struct EventCase {
  const char* label;
  std::function<void(TMemTable&)> action;
  std::vector<std::string> expected;
};

class EventOrder : public testing::TestWithParam<EventCase> {};

TEST_P(EventOrder, FiresBeforeAndAfterEventsInOrder) {
  TMemTable table;
  MakeProducts(table, DefaultProducts());
  auto log = std::make_shared<std::vector<std::string>>();
  const std::pair<TDataSet::TNotifyEvent*, const char*> events[] = {
      {&table.BeforeInsert, "BeforeInsert"}, {&table.AfterInsert, "AfterInsert"},
      {&table.BeforeEdit, "BeforeEdit"},     {&table.AfterEdit, "AfterEdit"},
      {&table.BeforePost, "BeforePost"},     {&table.AfterPost, "AfterPost"},
      {&table.BeforeCancel, "BeforeCancel"}, {&table.AfterCancel, "AfterCancel"},
      {&table.BeforeDelete, "BeforeDelete"}, {&table.AfterDelete, "AfterDelete"},
      {&table.BeforeScroll, "BeforeScroll"}, {&table.AfterScroll, "AfterScroll"},
      {&table.OnNewRecord, "OnNewRecord"}};
  for (const auto& [event, name] : events) *event = [log, n = name](TDataSet&) { log->push_back(n); };
  GetParam().action(table);
  EXPECT_EQ(*log, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EventOrder,
    testing::Values(
        EventCase{"AppendPost",
                  [](TMemTable& t) {
                    t.Append();
                    t.FieldByName("CODE").SetAsInteger(9);
                    t.Post();
                  },
                  {"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll", "BeforePost",
                   "AfterPost"}},
        EventCase{"EditCancel",
                  [](TMemTable& t) {
                    t.Edit();
                    t.FieldByName("CODE").SetAsInteger(9);
                    t.Cancel();
                  },
                  {"BeforeEdit", "AfterEdit", "BeforeCancel", "AfterCancel"}},
        EventCase{"EditThenMovePosts",
                  [](TMemTable& t) {
                    t.Edit();
                    t.FieldByName("CODE").SetAsInteger(9);
                    t.Next();
                  },
                  {"BeforeEdit", "AfterEdit", "BeforePost", "AfterPost", "BeforeScroll", "AfterScroll"}},
        EventCase{"UnchangedEditThenMoveCancels",
                  [](TMemTable& t) {
                    t.Edit();
                    t.Next();
                  },
                  {"BeforeEdit", "AfterEdit", "BeforeCancel", "AfterCancel", "BeforeScroll", "AfterScroll"}},
        EventCase{"PostWithoutBeforePost",
                  [](TMemTable& t) {
                    t.Edit();
                    t.FieldByName("CODE").SetAsInteger(9);
                    t.PostWithoutBeforePost();
                  },
                  {"BeforeEdit", "AfterEdit", "AfterPost"}},
        EventCase{"Delete", [](TMemTable& t) { t.Delete(); },
                  {"BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}}),
    [](const auto& info) { return std::string(info.param.label); });

// The conversion's rule: a row with a new code is marked; the apply step clears the mark
// with a post that skips the rule.
class MarkRule : public testing::Test {
 protected:
  void SetUp() override {
    table_.AddField("PRODUCT_CODE", ftInteger);
    table_.AddField("NEW_TABLE_TAX", ftInteger);
    table_.AddField("MODIFY", ftSmallint);
    table_.BeforePost = [](TDataSet& ds) {
      if (ds.FieldByName("NEW_TABLE_TAX").AsInteger() != 0) ds.FieldByName("MODIFY").SetAsInteger(1);
    };
    table_.Open();
    table_.Append();
    table_.FieldByName("PRODUCT_CODE").SetAsInteger(1);
    table_.Post();
  }
  TMemTable table_;
};

TEST_F(MarkRule, BeforePostRunsOnEveryPost) {
  EXPECT_TRUE(table_.FieldByName("MODIFY").IsNull());
  EXPECT_EQ(table_.FieldByName("NEW_TABLE_TAX").AsInteger(), 0);  // empty reads 0
  table_.Edit();
  table_.FieldByName("NEW_TABLE_TAX").SetAsInteger(23);
  table_.Post();
  EXPECT_EQ(table_.FieldByName("MODIFY").AsInteger(), 1);
  table_.Edit();
  table_.FieldByName("MODIFY").SetAsInteger(0);
  table_.Post();
  EXPECT_EQ(table_.FieldByName("MODIFY").AsInteger(), 1);  // undone by the rule
}

TEST_F(MarkRule, PostWithoutBeforePostKeepsTheClearedMark) {
  table_.Edit();
  table_.FieldByName("NEW_TABLE_TAX").SetAsInteger(23);
  table_.Post();
  table_.Edit();
  table_.FieldByName("MODIFY").SetAsInteger(0);
  table_.PostWithoutBeforePost();
  EXPECT_EQ(table_.FieldByName("MODIFY").AsInteger(), 0);
  EXPECT_EQ(table_.State(), dsBrowse);
}

TEST_F(MarkRule, FailingBeforePostLeavesTheRowInEdit) {
  table_.BeforePost = [](TDataSet&) { throw EDatabaseError("refused"); };
  table_.Edit();
  table_.FieldByName("NEW_TABLE_TAX").SetAsInteger(5);
  EXPECT_THROW(table_.Post(), EDatabaseError);
  EXPECT_EQ(table_.State(), dsEdit);
  table_.Cancel();
  EXPECT_TRUE(table_.FieldByName("NEW_TABLE_TAX").IsNull());
  EXPECT_EQ(table_.RecordCount(), 1);
}

TEST(Editing, CancelledAppendAddsNothingAndReturnsToTheRecord) {
  TMemTable table;
  MakeProducts(table, DefaultProducts());
  table.SetRecNo(3);
  table.Append();
  table.FieldByName("CODE").SetAsInteger(99);
  table.Cancel();
  EXPECT_EQ(table.RecordCount(), 5);
  EXPECT_EQ(table.FieldByName("CODE").AsInteger(), 3);
}

TEST(Editing, OldValueAndModified) {
  TMemTable table;
  MakeProducts(table, DefaultProducts());
  table.Edit();
  EXPECT_FALSE(table.Modified());
  table.FieldByName("NAME").SetAsString("New");
  EXPECT_TRUE(table.Modified());
  EXPECT_EQ(table.FieldByName("NAME").AsString(), "New");
  EXPECT_EQ(table.FieldByName("NAME").OldValue(), Variant("ABC"));
  table.Post();
  EXPECT_EQ(table.FieldByName("NAME").OldValue(), Variant("New"));
}

TEST(Editing, InsertGoesBeforeTheCurrentRow) {
  TMemTable table;
  MakeProducts(table, DefaultProducts());
  table.SetRecNo(2);
  table.Insert();
  table.FieldByName("CODE").SetAsInteger(15);
  table.Post();
  EXPECT_EQ(table.RecNo(), 2);
  EXPECT_EQ(dbtest::WalkCodes(table), (std::vector<int>{1, 15, 2, 3, 4, 5}));
}

TEST(Editing, MisuseRaisesTheLayersErrors) {
  TMemTable table;
  MakeProducts(table, DefaultProducts());
  auto message = [](const std::function<void()>& f) {
    try {
      f();
    } catch (const EDatabaseError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([&] { table.FieldByName("CODE").SetAsInteger(1); }), "Dataset not in edit or insert mode");
  EXPECT_EQ(message([&] { table.Post(); }), "Dataset not in edit or insert mode");
  table.FieldByName("NAME").SetReadOnly(true);
  table.Edit();
  EXPECT_EQ(message([&] { table.FieldByName("NAME").SetAsString("x"); }), "Field 'NAME' cannot be modified");
  table.Cancel();
  table.FieldByName("CODE").SetRequired(true);
  table.Append();
  EXPECT_EQ(message([&] { table.Post(); }), "Field 'CODE' must have a value");
  table.Cancel();
  EXPECT_EQ(message([&] { table.AddField("X", ftInteger); }), "Cannot perform this operation on an open dataset");
  table.Close();
  EXPECT_EQ(message([&] { table.Edit(); }), "Cannot perform this operation on a closed dataset");
  EXPECT_THROW(table.AddField("code", ftInteger), EDatabaseError);  // duplicate name
}

TEST(Editing, RangeAndTypeErrorsLeaveTheValue) {
  TMemTable table;
  table.AddField("SMALL", ftSmallint);
  table.AddField("WHEN", ftDateTime);
  table.Open();
  table.Append();
  table.FieldByName("SMALL").SetAsInteger(7);
  EXPECT_THROW(table.FieldByName("SMALL").SetAsInteger(40000), EConvertError);
  EXPECT_THROW(table.FieldByName("SMALL").SetAsString("abc"), EConvertError);
  EXPECT_EQ(table.FieldByName("SMALL").AsInteger(), 7);
  table.FieldByName("WHEN").SetAsDateTime(45000.75);
  table.Post();
  EXPECT_DOUBLE_EQ(table.FieldByName("WHEN").AsDateTime(), 45000.75);
  EXPECT_EQ(table.FieldByName("WHEN").AsVariant(), Variant::FromDateTime(45000.75));
}

}  // namespace
