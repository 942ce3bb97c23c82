#include "settings/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

#include "settings/SettingsError.h"

namespace settings {
namespace {

[[noreturn]] void Fail(const std::string& path, const char* step, int error) {
  throw ESettingsError("Cannot write " + path + " (" + step + "): " + std::strerror(error));
}

// The temporary file of one replacing write; removed unless it was renamed into place.
class TTemporaryFile {
 public:
  explicit TTemporaryFile(const std::string& target) : name_(target + ".XXXXXX") {
    fd_ = mkstemp(name_.data());
    if (fd_ < 0) Fail(target, "create", errno);
  }
  ~TTemporaryFile() {
    if (fd_ >= 0) close(fd_);
    if (!renamed_) unlink(name_.c_str());
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;

  void Write(const std::string& target, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
      ssize_t written = write(fd_, bytes.data() + done, bytes.size() - done);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) Fail(target, "write", written < 0 ? errno : ENOSPC);
      done += static_cast<std::size_t>(written);
    }
  }
  void Commit(const std::string& target) {
    struct stat previous {};
    mode_t mode = stat(target.c_str(), &previous) == 0 ? previous.st_mode & 07777 : 0644;
    if (fchmod(fd_, mode) != 0) Fail(target, "chmod", errno);
    if (fsync(fd_) != 0) Fail(target, "sync", errno);
    int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) Fail(target, "close", errno);
    if (rename(name_.c_str(), target.c_str()) != 0) Fail(target, "rename", errno);
    renamed_ = true;
  }

 private:
  std::string name_;
  int fd_ = -1;
  bool renamed_ = false;
};

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.exists()) return std::nullopt;
  if (!file.open(QIODevice::ReadOnly))
    throw ESettingsError("Cannot read " + path + ": " + file.errorString().toStdString());
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw ESettingsError("Cannot read " + path + ": " + file.errorString().toStdString());
  return bytes.toStdString();
}

void WriteFileReplacing(const std::string& path, const std::string& bytes) {
  // Written beside the target and renamed over it: the previous file stays whole until the
  // new one is complete on disk.
  TTemporaryFile temporary(path);
  temporary.Write(path, bytes);
  temporary.Commit(path);
}

}  // namespace settings
