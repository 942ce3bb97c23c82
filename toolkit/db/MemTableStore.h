#pragma once
// Row storage of the in-memory table: every row is one fixed-size byte image (row id, null
// bits, then the cells), all rows in one block; texts live in one shared arena and a text
// cell holds only its offset and length. No value needs an allocation of its own.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace db {

enum class TCellKind : uint8_t { Int16, Word, Int32, Int64, Bool, Double, Text };

class TRowStore {
 public:
  // One kind per column; discards every row.
  void SetLayout(const std::vector<TCellKind>& kinds);
  void Clear();

  int RowCount() const { return static_cast<int>(rowCount_); }
  size_t RowSize() const { return rowSize_; }
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  TCellKind Kind(int column) const { return columns_[static_cast<size_t>(column)].kind; }

  // A stored row image, and a blank (all null) image for a new row.
  uint8_t* Row(int row) { return data_.data() + static_cast<size_t>(row) * rowSize_; }
  const uint8_t* Row(int row) const { return data_.data() + static_cast<size_t>(row) * rowSize_; }
  std::vector<uint8_t> BlankImage() const { return std::vector<uint8_t>(rowSize_, 0); }

  // Cells of a row image (a stored row or an image being edited).
  static uint32_t RowId(const uint8_t* image);
  static void SetRowId(uint8_t* image, uint32_t id);
  bool IsNull(const uint8_t* image, int column) const;
  void SetNull(uint8_t* image, int column);
  int64_t GetInt(const uint8_t* image, int column) const;
  void SetInt(uint8_t* image, int column, int64_t value);
  double GetDouble(const uint8_t* image, int column) const;
  void SetDouble(uint8_t* image, int column, double value);
  std::string_view GetText(const uint8_t* image, int column) const;
  // replacing: the image is a stored row, so its old text becomes waste.
  void SetText(uint8_t* image, int column, std::string_view text, bool replacing = false);

  void AppendRow(const uint8_t* image);
  void InsertRow(int row, const uint8_t* image);
  void ReplaceRow(int row, const uint8_t* image);
  void EraseRow(int row);
  // Rewrites the text arena without the texts no row refers to any more, when they are
  // many. Only while no image outside the store holds texts.
  void CompactTexts();
  size_t TextBytes() const { return arena_.size(); }

 private:
  struct Column {
    TCellKind kind;
    uint32_t offset;
  };
  void MarkPresent(uint8_t* image, int column);
  void AddWaste(const uint8_t* image);

  std::vector<Column> columns_;
  size_t rowSize_ = 0;
  size_t rowCount_ = 0;
  std::vector<uint8_t> data_;
  std::vector<char> arena_;
  size_t waste_ = 0;
};

}  // namespace db
