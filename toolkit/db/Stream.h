#pragma once
// The byte stream that long (blob) field values are read and written through.
#include <cstdint>

namespace db {

enum class TSeekOrigin { Beginning, Current, End };
enum TBlobStreamMode { bmRead, bmWrite, bmReadWrite };

class TStream {
 public:
  virtual ~TStream() = default;
  // Bytes actually read or written.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // The new position.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::Current); }
  int64_t Size() {
    const int64_t here = Position();
    const int64_t size = Seek(0, TSeekOrigin::End);
    Seek(here, TSeekOrigin::Beginning);
    return size;
  }
};

}  // namespace db
