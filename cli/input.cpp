#include "cli/input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "output/output_file.h"

namespace ziwei::cli {

namespace {

constexpr std::size_t kBlock = 1 << 16;

}  // namespace

Input::Input(const std::optional<std::string>& path)
    : fd_(path ? ::open(path->c_str(), O_RDONLY | O_CLOEXEC) : STDIN_FILENO),
      ownFd_(path.has_value()),
      name_(path ? *path : "standard input") {
  int error = errno;
  if (!path && standardStreamWasClosed(STDIN_FILENO)) {
    fd_ = -1;
    error = EBADF;
  }
  if (fd_ < 0) throw InputError{"cannot read " + name_ + ": " + std::strerror(error)};
  struct stat status {};
  if (::fstat(fd_, &status) == 0 && S_ISREG(status.st_mode)) {
    size_ = static_cast<std::uint64_t>(status.st_size);
  }
}

Input Input::ofText(std::string_view text) {
  Input input;
  input.buffer_ = text;
  input.ended_ = true;
  input.size_ = text.size();
  return input;
}

Input::~Input() {
  if (ownFd_ && fd_ >= 0) ::close(fd_);
}

Input::Input(Input&& other) noexcept
    : fd_(other.fd_),
      ownFd_(other.ownFd_),
      ended_(other.ended_),
      name_(std::move(other.name_)),
      buffer_(std::move(other.buffer_)),
      at_(other.at_),
      consumed_(other.consumed_),
      size_(other.size_) {
  other.ownFd_ = false;
}

bool Input::fill() {
  if (ended_) return false;
  if (at_ > 0 && at_ >= buffer_.size() / 2) {
    buffer_.erase(0, at_);
    at_ = 0;
  }
  const std::size_t had = buffer_.size();
  buffer_.resize(had + kBlock);
  for (;;) {
    const ssize_t n = ::read(fd_, buffer_.data() + had, kBlock);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      buffer_.resize(had);
      throw InputError{"cannot read " + name_ + ": " + std::strerror(error)};
    }
    buffer_.resize(had + static_cast<std::size_t>(n));
    if (n == 0) ended_ = true;
    return n > 0;
  }
}

void Input::skipLine() {
  for (;;) {
    if (const std::size_t end = data().find('\n'); end != std::string_view::npos) {
      consume(end + 1);
      return;
    }
    consume(data().size());
    if (!fill()) return;
  }
}

}  // namespace ziwei::cli
