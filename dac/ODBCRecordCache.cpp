#include "dac/ODBCRecordCache.h"

#include "dac/ODBCRecordLayout.h"

#include <new>
#include <stdexcept>

namespace dac {

void TODBCRecordCache::Setup(int recordSize, int bufferChunks, bool uniDirectional) {
  Clear();
  recordSize_ = recordSize;
  uniDirectional_ = uniDirectional;
  chunk_ = uniDirectional ? 2 : (bufferChunks > 0 ? bufferChunks : 32);
  blockBytes_ = size_t(recordSize_) * size_t(chunk_);
  if (!uniDirectional) list_.reserve(size_t(chunk_));
}

void TODBCRecordCache::Clear() {
  blocks_.clear();
  used_ = 0;
  list_.clear();
  list_.shrink_to_fit();
  texts_.assign(1, std::string());
}

uint8_t* TODBCRecordCache::Place(int32_t recordNumber, size_t bytes) {
  if (recordNumber < 0 || bytes > size_t(recordSize_))
    throw std::out_of_range("record does not fit the cache");
  if (uniDirectional_) {
    if (blocks_.empty()) AddBlock();
    return blocks_[0].get() + size_t(recordNumber % 2) * size_t(recordSize_);
  }
  if (blocks_.empty() || used_ + bytes > blockBytes_) AddBlock();
  uint8_t* place = blocks_.back().get() + used_;
  used_ += bytes;
  return place;
}

void TODBCRecordCache::AddBlock() {
  // calloc: pages of a fresh block cost nothing until a record is written into them.
  auto* memory = static_cast<uint8_t*>(std::calloc(1, blockBytes_));
  if (!memory) throw std::bad_alloc();
  blocks_.emplace_back(memory);
  used_ = 0;
}

void TODBCRecordCache::Insert(int position, uint8_t* record) {
  list_.insert(list_.begin() + position, record);
}

void TODBCRecordCache::Remove(int position) { list_.erase(list_.begin() + position); }

int TODBCRecordCache::PositionOf(int32_t recordNumber) const {
  auto numberAt = [this](size_t i) { return TODBCRecordLayout::RecordNumber(list_[i]); };
  if (recordNumber >= 0 && size_t(recordNumber) < list_.size() &&
      numberAt(size_t(recordNumber)) == recordNumber)
    return recordNumber;
  for (size_t i = 0; i < list_.size(); ++i)
    if (numberAt(i) == recordNumber) return static_cast<int>(i);
  return -1;
}

uint32_t TODBCRecordCache::AddText(std::string text) {
  if (text.empty()) return 0;
  texts_.push_back(std::move(text));
  return static_cast<uint32_t>(texts_.size() - 1);
}

uint32_t TODBCRecordCache::NewText() {
  texts_.emplace_back();
  return static_cast<uint32_t>(texts_.size() - 1);
}

void TODBCRecordCache::SetText(uint32_t index, const std::string& text) {
  if (index > 0 && index < texts_.size()) texts_[index] = text;
}

const std::string& TODBCRecordCache::Text(uint32_t index) const {
  return index < texts_.size() ? texts_[index] : texts_[0];
}

}  // namespace dac
