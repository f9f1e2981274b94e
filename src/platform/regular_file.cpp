#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/vb_error.h"

namespace qv::platform {

namespace {

// An open file descriptor, closed when it goes.
class Fd {
 public:
  explicit Fd(const std::filesystem::path& file)
      : fd_(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Opened without blocking (a FIFO would wait for a writer), then looked at.
struct stat OrdinaryStatus(const Fd& fd) {
  if (fd.get() < 0) Raise(errno == EACCES ? kErrPathFileAccess : kErrFileNotFound);
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0) Raise(kErrPathFileAccess);
  if (!S_ISREG(status.st_mode)) Raise(kErrFileNotFound);
  return status;
}

}  // namespace

void CheckOrdinaryFile(const std::filesystem::path& file) {
  Fd fd(file);
  OrdinaryStatus(fd);
}

std::vector<uint8_t> ReadOrdinaryFile(const std::filesystem::path& file, uintmax_t max_bytes,
                                      int too_big_error) {
  Fd fd(file);
  const struct stat status = OrdinaryStatus(fd);
  const auto size = static_cast<uintmax_t>(status.st_size);
  if (size > max_bytes) Raise(too_big_error);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) Raise(kErrPathFileAccess);
    if (got == 0) break;  // the file shrank meanwhile
    done += static_cast<size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

}  // namespace qv::platform
