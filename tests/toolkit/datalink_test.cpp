#include <gtest/gtest.h>

#include <memory>

#include "TestTables.h"

using namespace db;
using dbtest::CountingLink;
using dbtest::DefaultProducts;
using dbtest::MakeProducts;

namespace {

class Links : public testing::Test {
 protected:
  void SetUp() override {
    MakeProducts(table_, DefaultProducts());
    link_.SetDataSource(&source_);
    link_.Reset();
  }
  TMemTable table_;
  TDataSource source_{&table_};
  CountingLink link_;
};

TEST_F(Links, HearOpenCloseScrollAndEditing) {
  table_.Append();
  table_.Next();  // the unchanged insert is cancelled, then the move goes on
  EXPECT_EQ(table_.RecNo(), 2);
  link_.Reset();
  table_.Next();
  EXPECT_EQ(link_.scrolled, 1);
  EXPECT_EQ(link_.Total(), 1);

  link_.Reset();
  table_.Edit();
  EXPECT_EQ(link_.editingChanged, 1);
  EXPECT_TRUE(link_.Editing());
  table_.FieldByName("NAME").SetAsString("changed");
  EXPECT_EQ(link_.fieldChanged, 1);
  table_.Post();
  EXPECT_EQ(link_.updateData, 1);  // asked to write pending edits first
  EXPECT_EQ(link_.editingChanged, 2);
  EXPECT_FALSE(link_.Editing());
  EXPECT_GE(link_.dataSetChanged, 1);

  table_.Close();
  EXPECT_EQ(link_.activeChanged, 1);
  EXPECT_FALSE(link_.Active());
  table_.Open();
  EXPECT_EQ(link_.activeChanged, 2);
  EXPECT_TRUE(link_.Active());
}

TEST_F(Links, DisabledControlsGiveOneNoticeAtTheEnd) {
  table_.DisableControls();
  table_.DisableControls();
  EXPECT_TRUE(table_.ControlsDisabled());
  table_.Next();
  table_.Next();
  table_.Edit();
  table_.FieldByName("CODE").SetAsInteger(20);
  table_.Post();
  table_.EnableControls();
  EXPECT_EQ(link_.Total(), 0);
  table_.EnableControls();
  EXPECT_FALSE(table_.ControlsDisabled());
  EXPECT_EQ(link_.dataSetChanged, 1);
  EXPECT_EQ(link_.Total(), 1);
}

TEST_F(Links, SuspendedViewHearsOneNoticeForManyRows) {
  struct Observer : TMemTableObserver {
    int resets = 0, inserted = 0;
    void TableReset() override { ++resets; }
    void RowsInserted(int, int count) override { inserted += count; }
  } observer;
  table_.AddObserver(&observer);
  table_.BeginUpdate();
  table_.BeginUpdate();
  for (int i = 0; i < 100; ++i) {
    table_.Append();
    table_.FieldByName("CODE").SetAsInteger(100 + i);
    table_.Post();
  }
  table_.EndUpdate();
  EXPECT_TRUE(table_.Updating());
  EXPECT_EQ(link_.Total() + observer.resets + observer.inserted, 0);
  table_.EndUpdate();
  EXPECT_EQ(link_.dataSetChanged, 1);
  EXPECT_EQ(link_.Total(), 1);
  EXPECT_EQ(observer.resets, 1);
  EXPECT_EQ(observer.inserted, 0);
  table_.Append();
  table_.Post();
  EXPECT_EQ(observer.inserted, 1);  // not suspended: told at once
  table_.RemoveObserver(&observer);
}

TEST_F(Links, ReopeningWhileSuspendedIsOneLayoutNotice) {
  table_.BeginUpdate();
  table_.Close();
  table_.Open();
  table_.EndUpdate();
  EXPECT_EQ(link_.activeChanged, 0);
  EXPECT_EQ(link_.layoutChanged, 1);
  EXPECT_EQ(link_.Total(), 1);
}

TEST_F(Links, ClosingWhileSuspendedTellsOnlyTheStateChange) {
  table_.DisableControls();
  table_.Close();
  table_.EnableControls();
  EXPECT_EQ(link_.activeChanged, 1);
  EXPECT_EQ(link_.Total(), 1);
}

TEST_F(Links, DisabledSourceAndSourceCallbacks) {
  int dataChanges = 0;
  source_.OnDataChange = [&](TDataSource&, TField*) { ++dataChanges; };
  table_.Next();
  EXPECT_EQ(dataChanges, 1);
  source_.SetEnabled(false);
  EXPECT_FALSE(link_.Active());
  table_.Next();
  EXPECT_EQ(dataChanges, 1);
  EXPECT_EQ(link_.scrolled, 1);
  source_.SetEnabled(true);
  EXPECT_TRUE(link_.Active());
}

TEST(LinkLifetime, LinksSurviveTheirDataSetAndSource) {
  auto table = std::make_unique<TMemTable>();
  MakeProducts(*table, DefaultProducts());
  auto source = std::make_unique<TDataSource>(table.get());
  CountingLink link;
  link.SetDataSource(source.get());
  EXPECT_TRUE(link.Active());
  table.reset();
  EXPECT_FALSE(link.Active());
  EXPECT_EQ(source->DataSet(), nullptr);
  source.reset();
  EXPECT_EQ(link.DataSource(), nullptr);
}

// A dataset with a master source, as detail datasets have.
class DetailTable : public TMemTable {
 public:
  TDataSource* master = nullptr;
  TDataSource* GetDataSource() const override { return master; }
};

TEST(LinkLifetime, IsLinkedToFollowsTheMasterChain) {
  DetailTable a, b;
  TDataSource overA(&a), overB(&b);
  b.master = &overA;  // b is a detail of a
  EXPECT_TRUE(b.IsLinkedTo(&overB));
  EXPECT_TRUE(a.IsLinkedTo(&overB));  // making a a detail of b would close a circle
  EXPECT_FALSE(b.IsLinkedTo(nullptr));
  TMemTable other;
  TDataSource overOther(&other);
  EXPECT_FALSE(a.IsLinkedTo(&overOther));
}

}  // namespace
