#include "toolkit/db/MemTableStore.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "toolkit/db/DBTypes.h"

namespace db {
namespace {

constexpr size_t kIdSize = 4;

size_t cellSize(TCellKind kind) {
  switch (kind) {
    case TCellKind::Int16: case TCellKind::Word: return 2;
    case TCellKind::Int32: return 4;
    case TCellKind::Bool: return 1;
    default: return 8;  // Int64, Double, Text (offset and length)
  }
}

template <typename T>
T load(const uint8_t* p) {
  T value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

template <typename T>
void store(uint8_t* p, T value) {
  std::memcpy(p, &value, sizeof value);
}

}  // namespace

void TRowStore::SetLayout(const std::vector<TCellKind>& kinds) {
  Clear();
  columns_.clear();
  const size_t bitmap = (kinds.size() + 7) / 8;
  // Larger cells first, so the row needs no padding.
  std::vector<size_t> order(kinds.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return cellSize(kinds[a]) > cellSize(kinds[b]); });
  columns_.resize(kinds.size());
  size_t offset = kIdSize + bitmap;
  for (size_t index : order) {
    columns_[index] = Column{kinds[index], static_cast<uint32_t>(offset)};
    offset += cellSize(kinds[index]);
  }
  rowSize_ = offset;
}

void TRowStore::Clear() {
  std::vector<uint8_t>().swap(data_);
  std::vector<char>().swap(arena_);
  rowCount_ = 0;
  waste_ = 0;
}

uint32_t TRowStore::RowId(const uint8_t* image) { return load<uint32_t>(image); }
void TRowStore::SetRowId(uint8_t* image, uint32_t id) { store(image, id); }

bool TRowStore::IsNull(const uint8_t* image, int column) const {
  return (image[kIdSize + static_cast<size_t>(column) / 8] & (1u << (column % 8))) == 0;
}

void TRowStore::MarkPresent(uint8_t* image, int column) {
  image[kIdSize + static_cast<size_t>(column) / 8] |= static_cast<uint8_t>(1u << (column % 8));
}

void TRowStore::SetNull(uint8_t* image, int column) {
  const Column& c = columns_[static_cast<size_t>(column)];
  image[kIdSize + static_cast<size_t>(column) / 8] &= static_cast<uint8_t>(~(1u << (column % 8)));
  std::memset(image + c.offset, 0, cellSize(c.kind));
}

int64_t TRowStore::GetInt(const uint8_t* image, int column) const {
  const Column& c = columns_[static_cast<size_t>(column)];
  const uint8_t* p = image + c.offset;
  switch (c.kind) {
    case TCellKind::Int16: return load<int16_t>(p);
    case TCellKind::Word: return load<uint16_t>(p);
    case TCellKind::Int32: return load<int32_t>(p);
    case TCellKind::Int64: return load<int64_t>(p);
    case TCellKind::Bool: return *p;
    case TCellKind::Double: return static_cast<int64_t>(load<double>(p));
    case TCellKind::Text: return 0;
  }
  return 0;
}

void TRowStore::SetInt(uint8_t* image, int column, int64_t value) {
  const Column& c = columns_[static_cast<size_t>(column)];
  uint8_t* p = image + c.offset;
  switch (c.kind) {
    case TCellKind::Int16: store(p, static_cast<int16_t>(value)); break;
    case TCellKind::Word: store(p, static_cast<uint16_t>(value)); break;
    case TCellKind::Int32: store(p, static_cast<int32_t>(value)); break;
    case TCellKind::Int64: store(p, value); break;
    case TCellKind::Bool: *p = value != 0 ? 1 : 0; break;
    case TCellKind::Double: store(p, static_cast<double>(value)); break;
    case TCellKind::Text: return;
  }
  MarkPresent(image, column);
}

double TRowStore::GetDouble(const uint8_t* image, int column) const {
  const Column& c = columns_[static_cast<size_t>(column)];
  if (c.kind == TCellKind::Double) return load<double>(image + c.offset);
  return static_cast<double>(GetInt(image, column));
}

void TRowStore::SetDouble(uint8_t* image, int column, double value) {
  const Column& c = columns_[static_cast<size_t>(column)];
  if (c.kind != TCellKind::Double) return SetInt(image, column, static_cast<int64_t>(value));
  store(image + c.offset, value);
  MarkPresent(image, column);
}

std::string_view TRowStore::GetText(const uint8_t* image, int column) const {
  const Column& c = columns_[static_cast<size_t>(column)];
  if (c.kind != TCellKind::Text || IsNull(image, column)) return {};
  const auto offset = load<uint32_t>(image + c.offset);
  const auto length = load<uint32_t>(image + c.offset + 4);
  return std::string_view(arena_.data() + offset, length);
}

void TRowStore::SetText(uint8_t* image, int column, std::string_view text, bool replacing) {
  const Column& c = columns_[static_cast<size_t>(column)];
  if (c.kind != TCellKind::Text) return;
  if (replacing) waste_ += GetText(image, column).size();
  if (arena_.size() + text.size() > std::numeric_limits<uint32_t>::max())
    throw EDatabaseError("The in-memory table's text storage is full");
  const auto offset = static_cast<uint32_t>(arena_.size());
  arena_.insert(arena_.end(), text.begin(), text.end());
  store(image + c.offset, offset);
  store(image + c.offset + 4, static_cast<uint32_t>(text.size()));
  MarkPresent(image, column);
}

void TRowStore::AppendRow(const uint8_t* image) {
  data_.insert(data_.end(), image, image + rowSize_);
  ++rowCount_;
}

void TRowStore::InsertRow(int row, const uint8_t* image) {
  data_.insert(data_.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(row) * rowSize_), image,
               image + rowSize_);
  ++rowCount_;
}

void TRowStore::ReplaceRow(int row, const uint8_t* image) {
  // Texts the new image still refers to (unchanged cells) are not waste.
  const uint8_t* old = Row(row);
  for (int column = 0; column < ColumnCount(); ++column) {
    if (Kind(column) != TCellKind::Text || IsNull(old, column)) continue;
    const uint32_t offset = columns_[static_cast<size_t>(column)].offset;
    if (IsNull(image, column) || std::memcmp(old + offset, image + offset, 8) != 0)
      waste_ += GetText(old, column).size();
  }
  std::memcpy(Row(row), image, rowSize_);
}

void TRowStore::EraseRow(int row) {
  AddWaste(Row(row));
  const auto begin = data_.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(row) * rowSize_);
  data_.erase(begin, begin + static_cast<ptrdiff_t>(rowSize_));
  --rowCount_;
}

void TRowStore::AddWaste(const uint8_t* image) {
  for (int column = 0; column < ColumnCount(); ++column)
    if (Kind(column) == TCellKind::Text) waste_ += GetText(image, column).size();
}

void TRowStore::CompactTexts() {
  if (waste_ < (1u << 20) || waste_ < arena_.size() / 2) return;
  std::vector<char> fresh;
  fresh.reserve(arena_.size() - std::min(waste_, arena_.size()));
  for (int row = 0; row < RowCount(); ++row) {
    uint8_t* image = Row(row);
    for (int column = 0; column < ColumnCount(); ++column) {
      if (Kind(column) != TCellKind::Text || IsNull(image, column)) continue;
      const std::string_view text = GetText(image, column);
      const auto offset = static_cast<uint32_t>(fresh.size());
      fresh.insert(fresh.end(), text.begin(), text.end());
      store(image + columns_[static_cast<size_t>(column)].offset, offset);
    }
  }
  arena_.swap(fresh);
  waste_ = 0;
}

}  // namespace db
