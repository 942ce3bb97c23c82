// The record machinery without a database: layout offsets, the cache that never moves a
// record, packing records for the cache, and storing column values by SQL type.
#include <gtest/gtest.h>

#include <sqlext.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "dac/ODBCColumn.h"
#include "dac/ODBCRecordCache.h"
#include "dac/ODBCRecordLayout.h"
#include "dac/ODBCRecordPacker.h"
#include "dac/ODBCRecordStore.h"
#include "toolkit/db/FieldClasses.h"

using namespace dac;

namespace {

TEST(RecordLayout, OffsetsFollowTheFieldsInNumberOrder) {
  TODBCRecordLayout layout;
  // Given out of order: field 2 is a 41-byte text, field 1 an integer, field 3 a blob.
  layout.Build({{2, 41}, {1, 4}, {3, 0}}, 3, 10, 1);
  ASSERT_NE(layout.Descriptor(1), nullptr);
  EXPECT_EQ(layout.Descriptor(1)->NullOffset, 6);
  EXPECT_EQ(layout.Descriptor(1)->DataOffset, 7);
  EXPECT_EQ(layout.Descriptor(2)->NullOffset, 11);
  EXPECT_EQ(layout.Descriptor(2)->DataOffset, 12);
  EXPECT_EQ(layout.Descriptor(3)->NullOffset, 53);
  EXPECT_EQ(layout.CalcFieldsOffset(), 54);
  EXPECT_EQ(layout.BlobCacheOffset(), 64);
  EXPECT_EQ(layout.BlobCacheSize(), 4);
  EXPECT_EQ(layout.RecordSize(), 68);
  EXPECT_EQ(layout.Descriptor(0), nullptr);
  EXPECT_EQ(layout.Descriptor(4), nullptr);
}

TEST(RecordLayout, ColumnsWithoutFieldsHaveNoDescriptor) {
  TODBCRecordLayout layout;
  layout.Build({{2, 4}}, 3, 0, 0);
  EXPECT_EQ(layout.Descriptor(1), nullptr);
  EXPECT_EQ(layout.Descriptor(2)->NullOffset, 6);
  EXPECT_EQ(layout.Descriptor(3), nullptr);
  EXPECT_EQ(layout.RecordSize(), 11);
}

TEST(RecordLayout, HeaderFields) {
  std::vector<uint8_t> record(16, 0xAB);
  TODBCRecordLayout::SetStatus(record.data(), usDeleted);
  TODBCRecordLayout::SetRecordNumber(record.data(), 123456);
  TODBCRecordLayout::SetBookmarkFlag(record.data(), 2);
  EXPECT_EQ(record[0], 3);
  EXPECT_EQ(TODBCRecordLayout::RecordNumber(record.data()), 123456);
  EXPECT_EQ(record[5], 2);
  EXPECT_EQ(record[6], 0xAB) << "the header is 6 bytes";
}

TEST(RecordCache, RecordsNeverMoveAndBlocksHoldAtLeastBufferChunksRecords) {
  TODBCRecordCache cache;
  cache.Setup(100, 4, false);
  EXPECT_EQ(cache.BlockBytes(), 400u);
  std::vector<uint8_t*> places;
  for (int r = 0; r < 10; ++r) {
    uint8_t* place = cache.Place(r, 100);
    TODBCRecordLayout::SetRecordNumber(place, r);
    cache.Append(place);
    places.push_back(place);
  }
  EXPECT_EQ(cache.BlockCount(), 3u);
  for (int r = 0; r < 10; ++r) EXPECT_EQ(cache.At(r), places[size_t(r)]);
  // Smaller records share the room.
  for (int r = 10; r < 20; ++r) cache.Place(r, 40);
  EXPECT_EQ(cache.BlockCount(), 4u);
  EXPECT_THROW(cache.Place(20, 101), std::out_of_range);
}

TEST(RecordCache, PositionsAfterInsertsAndRemovals) {
  TODBCRecordCache cache;
  cache.Setup(16, 8, false);
  for (int r = 0; r < 5; ++r) {
    uint8_t* place = cache.Place(r, 16);
    TODBCRecordLayout::SetRecordNumber(place, r);
    cache.Append(place);
  }
  EXPECT_EQ(cache.PositionOf(3), 3);
  cache.Remove(1);
  EXPECT_EQ(cache.PositionOf(3), 2);
  uint8_t* inserted = cache.Place(5, 16);
  TODBCRecordLayout::SetRecordNumber(inserted, 5);
  cache.Insert(0, inserted);
  EXPECT_EQ(cache.PositionOf(5), 0);
  EXPECT_EQ(cache.PositionOf(4), 4);
  EXPECT_EQ(cache.PositionOf(1), -1);
}

TEST(RecordCache, UniDirectionalKeepsTwoSlots) {
  TODBCRecordCache cache;
  cache.Setup(32, 100, true);
  EXPECT_EQ(cache.BlockBytes(), 64u);
  uint8_t* even = cache.Place(0, 32);
  uint8_t* odd = cache.Place(1, 20);
  EXPECT_EQ(odd, even + 32);
  EXPECT_EQ(cache.Place(2, 32), even);
  EXPECT_EQ(cache.Place(7, 32), odd);
  EXPECT_EQ(cache.BlockCount(), 1u);
}

TEST(RecordCache, TextsOfLongValues) {
  TODBCRecordCache cache;
  cache.Setup(8, 2, false);
  EXPECT_EQ(cache.AddText(""), 0u) << "an empty text takes no entry";
  const uint32_t index = cache.AddText("memo");
  EXPECT_EQ(cache.Text(index), "memo");
  const uint32_t own = cache.NewText();
  EXPECT_NE(own, 0u);
  cache.SetText(own, "written");
  EXPECT_EQ(cache.Text(own), "written");
  EXPECT_EQ(cache.Text(999), "");
  cache.Clear();
  EXPECT_EQ(cache.Text(index), "");
}

class RecordPacking : public testing::Test {
 protected:
  void SetUp() override {
    // Field 1: integer; field 2: 9-byte text; field 3: 5-byte text; one blob slot.
    layout.Build({{1, 4}, {2, 9}, {3, 5}}, 3, 3, 1);
    packer.Build(layout, {{layout.Descriptor(3)->NullOffset, 5, true},
                          {layout.Descriptor(1)->NullOffset, 4, false},
                          {layout.Descriptor(2)->NullOffset, 9, true}});
    record.assign(size_t(layout.RecordSize()), 0);
  }
  void SetText(int fieldNo, const char* text, size_t bytes) {
    const TFieldDescriptor& d = *layout.Descriptor(fieldNo);
    record[size_t(d.NullOffset)] = 1;
    std::memcpy(&record[size_t(d.DataOffset)], text, bytes);
  }
  TODBCRecordLayout layout;
  TODBCRecordPacker packer;
  std::vector<uint8_t> record;
};

TEST_F(RecordPacking, RoundTripKeepsEveryValueAndDropsEmptyBytes) {
  TODBCRecordLayout::SetRecordNumber(record.data(), 42);
  TODBCRecordLayout::SetStatus(record.data(), usModified);
  const int32_t value = -7;
  record[size_t(layout.Descriptor(1)->NullOffset)] = 1;
  std::memcpy(&record[size_t(layout.Descriptor(1)->DataOffset)], &value, 4);
  SetText(2, "P\xc3\xa3o", 5);  // "Pão" and its zero
  SetText(3, "ABCDE", 5);        // fills its buffer: no zero
  layout.SetBlobSlot(record.data(), 0, 77);
  // Header 6, three null flags, 4 + 5 + 5 data bytes, 4 blob bytes.
  ASSERT_EQ(packer.PackedSize(record.data()), 6u + 3 + 14 + 4);
  std::vector<uint8_t> packed(packer.PackedSize(record.data()));
  packer.Pack(record.data(), packed.data());
  EXPECT_EQ(TODBCRecordLayout::RecordNumber(packed.data()), 42);

  std::vector<uint8_t> back(record.size(), 0xEE);
  packer.Unpack(packed.data(), back.data());
  EXPECT_EQ(TODBCRecordLayout::Status(back.data()), usModified);
  int32_t read = 0;
  std::memcpy(&read, &back[size_t(layout.Descriptor(1)->DataOffset)], 4);
  EXPECT_EQ(read, -7);
  EXPECT_STREQ(reinterpret_cast<const char*>(&back[size_t(layout.Descriptor(2)->DataOffset)]),
               "P\xc3\xa3o");
  EXPECT_EQ(std::memcmp(&back[size_t(layout.Descriptor(3)->DataOffset)], "ABCDE", 5), 0);
  EXPECT_EQ(layout.BlobSlot(back.data(), 0), 77u);
}

TEST_F(RecordPacking, NullValuesTakeTheirFlagOnly) {
  ASSERT_EQ(packer.PackedSize(record.data()), 6u + 3 + 4);
  std::vector<uint8_t> packed(packer.PackedSize(record.data()));
  packer.Pack(record.data(), packed.data());
  std::vector<uint8_t> back(record.size(), 1);
  packer.Unpack(packed.data(), back.data());
  for (int n = 1; n <= 3; ++n) EXPECT_EQ(back[size_t(layout.Descriptor(n)->NullOffset)], 0);
}

// ---------------------------------------------------------------- storing by SQL type

struct KindCase {
  SQLSMALLINT sqlType;
  TStoreKind kind;
};

TEST(RecordStore, KindsBySQLType) {
  const KindCase cases[] = {
      {SQL_CHAR, TStoreKind::Text},          {SQL_VARCHAR, TStoreKind::Text},
      {10, TStoreKind::Text},                {SQL_INTERVAL_DAY, TStoreKind::Text},
      {SQL_WCHAR, TStoreKind::WideText},     {SQL_WVARCHAR, TStoreKind::WideText},
      {SQL_GUID, TStoreKind::Guid},          {SQL_NUMERIC, TStoreKind::Bcd},
      {SQL_DECIMAL, TStoreKind::Bcd},        {SQL_INTEGER, TStoreKind::Fixed},
      {SQL_SMALLINT, TStoreKind::Fixed},     {SQL_DOUBLE, TStoreKind::Fixed},
      {SQL_BIT, TStoreKind::Fixed},          {SQL_BIGINT, TStoreKind::Fixed},
      {SQL_TYPE_DATE, TStoreKind::Date},     {SQL_TYPE_TIME, TStoreKind::Time},
      {SQL_TYPE_TIMESTAMP, TStoreKind::Timestamp}, {SQL_LONGVARCHAR, TStoreKind::Long},
      {SQL_WLONGVARCHAR, TStoreKind::Long},  {SQL_VARBINARY, TStoreKind::Long},
      {11, TStoreKind::Unsupported},         {9, TStoreKind::Unsupported},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.sqlType);
    EXPECT_EQ(StoreKindOf(c.sqlType), c.kind);
  }
}

std::unique_ptr<TODBCColumn> Column(SQLSMALLINT sqlType, SQLSMALLINT cType, const void* data,
                                    SQLLEN size) {
  auto column = std::make_unique<TODBCColumn>();
  column->SetName("C");
  column->SetSQLType(sqlType);
  column->SetCType(cType);
  column->SetDataSize(size);
  std::memcpy(column->Data(), data, size_t(size));
  column->SetIndicator(size);
  return column;
}

TEST(RecordStore, TextIsCutOnACharacterBoundary) {
  const char text[] = "P\xc3\xa3o";  // 4 bytes and a zero
  const auto owned = Column(SQL_VARCHAR, SQL_C_CHAR, text, sizeof text);
  const TODBCColumn& column = *owned;
  uint8_t dest[8];
  std::memset(dest, 0x55, sizeof dest);
  StoreColumnValue(column, TStoreKind::Text, db::ftString, dest, 3);  // room for 2 bytes
  EXPECT_STREQ(reinterpret_cast<char*>(dest), "P") << "the ã is not cut in half";
  StoreColumnValue(column, TStoreKind::Text, db::ftString, dest, 8);
  EXPECT_STREQ(reinterpret_cast<char*>(dest), text);
}

TEST(RecordStore, FixedDatesAndTimes) {
  const int32_t number = 1234567;
  uint8_t dest[8] = {};
  StoreColumnValue(*Column(SQL_INTEGER, SQL_C_SLONG, &number, 4), TStoreKind::Fixed, db::ftInteger,
                   dest, 4);
  int32_t read = 0;
  std::memcpy(&read, dest, 4);
  EXPECT_EQ(read, number);

  const SQL_TIMESTAMP_STRUCT stamp{2024, 3, 5, 13, 45, 30, 0};
  const auto owned = Column(SQL_TYPE_TIMESTAMP, SQL_C_TYPE_TIMESTAMP, &stamp, sizeof stamp);
  const TODBCColumn& column = *owned;
  StoreColumnValue(column, TStoreKind::Timestamp, db::ftDateTime, dest, 8);
  double native = 0;
  std::memcpy(&native, dest, 8);
  EXPECT_DOUBLE_EQ(native, db::DateTimeToNative(column.AsDateTime()));
  StoreColumnValue(column, TStoreKind::Date, db::ftDate, dest, 4);
  std::memcpy(&read, dest, 4);
  EXPECT_EQ(read, db::DateToDayNumber(column.AsDateTime()));
  StoreColumnValue(column, TStoreKind::Time, db::ftTime, dest, 4);
  std::memcpy(&read, dest, 4);
  EXPECT_EQ(read, (13 * 3600 + 45 * 60 + 30) * 1000);
}

TEST(RecordStore, UnsupportedTypeNamesTheColumn) {
  const int32_t number = 1;
  uint8_t dest[4];
  try {
    StoreColumnValue(*Column(11, SQL_C_SLONG, &number, 4), TStoreKind::Unsupported, db::ftUnknown,
                     dest, 4);
    FAIL();
  } catch (const db::EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Unsupported data type C");
  }
}

struct WideCase {
  const char* label;
  std::u16string text;
  size_t capacity;
  std::string expected;
};

TEST(RecordStore, WideTextBecomesUtf8) {
  const WideCase cases[] = {
      {"Ascii", u"abc", 10, "abc"},
      {"Accents", u"P\u00e3o de L\u00f3", 20, "P\xc3\xa3o de L\xc3\xb3"},
      {"SurrogatePair", u"\U0001F600!", 10, "\xf0\x9f\x98\x80!"},
      {"LoneSurrogate", std::u16string(1, char16_t(0xD800)), 10, "\xef\xbf\xbd"},
      {"CutBeforeACharacterThatDoesNotFit", u"a\u00e3", 3, "a"},
      {"StopsAtZero", std::u16string(u"ab\0cd", 5), 10, "ab"},
  };
  for (const WideCase& c : cases) {
    SCOPED_TRACE(c.label);
    char dest[32];
    std::memset(dest, 0x55, sizeof dest);
    Utf16ToUtf8Into(c.text.data(), c.text.size(), dest, c.capacity);
    EXPECT_EQ(std::string(dest), c.expected);
  }
}

}  // namespace
