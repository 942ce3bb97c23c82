#pragma once
// The record cache of a dataset: records live in blocks of RecordSize x BufferChunks bytes
// (each holds at least BufferChunks records, packed records take less room) and are never
// moved once stored; a unidirectional dataset keeps two record slots only. The record list
// holds their addresses in list order. Long values of the records live in a text table that
// the blob slots index.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace dac {

class TODBCRecordCache {
 public:
  TODBCRecordCache() = default;
  TODBCRecordCache(const TODBCRecordCache&) = delete;
  TODBCRecordCache& operator=(const TODBCRecordCache&) = delete;

  // Forgets every record and fixes the record size and the block size for the next ones.
  void Setup(int recordSize, int bufferChunks, bool uniDirectional);
  // Frees the blocks, the record list and the texts.
  void Clear();

  // Room for a record of that many bytes (at most RecordSize) in the block being filled, or
  // in a new block when it does not fit; unidirectional: slot recordNumber mod 2.
  uint8_t* Place(int32_t recordNumber, size_t bytes);

  // ---- record list
  int Count() const { return static_cast<int>(list_.size()); }
  uint8_t* At(int position) const { return list_[static_cast<size_t>(position)]; }
  void Append(uint8_t* record) { list_.push_back(record); }
  void Insert(int position, uint8_t* record);
  void Remove(int position);
  void Replace(int position, uint8_t* record) { list_[size_t(position)] = record; }
  // Position of the record with that number in the list, or -1 (a linear search, tried at
  // the number's own position first, where it is unless records were inserted or deleted).
  int PositionOf(int32_t recordNumber) const;

  // ---- texts of long values; index 0 is the empty text and owns nothing
  uint32_t AddText(std::string text);
  // A new entry of its own, even for an empty text (for a value being written).
  uint32_t NewText();
  void SetText(uint32_t index, const std::string& text);
  const std::string& Text(uint32_t index) const;

  size_t BlockCount() const { return blocks_.size(); }
  size_t BlockBytes() const { return blockBytes_; }
  int RecordSize() const { return recordSize_; }

 private:
  struct FreeBlock {
    void operator()(uint8_t* block) const { std::free(block); }
  };
  using Block = std::unique_ptr<uint8_t, FreeBlock>;

  void AddBlock();

  std::vector<Block> blocks_;
  std::vector<uint8_t*> list_;
  std::vector<std::string> texts_{std::string()};
  int recordSize_ = 0;
  int chunk_ = 32;
  bool uniDirectional_ = false;
  size_t blockBytes_ = 0;
  size_t used_ = 0;  // bytes taken in the last block
};

}  // namespace dac
