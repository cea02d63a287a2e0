#include "page/page_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "page/big5.h"

namespace ziwei {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kBig5Meta =
    "<meta http-equiv='Content-Type' content='text/html; charset=big5'>";
constexpr std::string_view kUtf8Meta =
    "<meta http-equiv='Content-Type' content='text/html; charset=utf-8'>";

std::string encodeBig5Page(std::string_view page) {
  std::string out;
  out.reserve(page.size() + kLineEnd.size());
  appendBig5(out, page);
  out += kLineEnd;
  return out;
}

std::string encodeUtf8(std::string_view page) {
  std::string out;
  out.reserve(page.size() + kLineEnd.size());
  if (const std::size_t meta = page.find(kBig5Meta); meta != std::string_view::npos) {
    out.append(page.substr(0, meta));
    out += kUtf8Meta;
    out.append(page.substr(meta + kBig5Meta.size()));
  } else {
    out.append(page);
  }
  out += kLineEnd;
  return out;
}

[[noreturn]] void fail(const std::filesystem::path& path, std::string_view what, int error) {
  std::string message = "cannot write ";
  message += path.string();
  message += ": ";
  message += what;
  message += ": ";
  message += std::strerror(error);
  throw PageWriteError(message);
}

// A file of a fresh name beside `path`, open for writing; removed again by
// the destructor unless `keep()` was called.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::filesystem::path& path) : target_(path) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::filesystem::path name = path;
      name += ".tmp" + std::to_string(random());
      fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0) {
        name_ = std::move(name);
        return;
      }
      if (errno != EEXIST) break;
    }
    const int error = errno;
    fail(target_, "cannot create a temporary file beside it", error);
  }
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!kept_) ::unlink(name_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void write(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0) {
        if (errno == EINTR) continue;
        fail(target_, "write failed", errno);
      }
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
  }

  // Closes the file and renames it over the target.
  void commit() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail(target_, "write failed", errno);
    if (::rename(name_.c_str(), target_.c_str()) != 0) fail(target_, "cannot replace it", errno);
    kept_ = true;
  }

 private:
  std::filesystem::path target_;
  std::filesystem::path name_;
  int fd_ = -1;
  bool kept_ = false;
};

}  // namespace

std::string encodePage(std::string_view utf8Page, PageEncoding encoding) {
  return encoding == PageEncoding::Big5 ? encodeBig5Page(utf8Page) : encodeUtf8(utf8Page);
}

void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  TemporaryFile file(path);
  file.write(bytes);
  file.commit();
}

void writePageFile(const std::filesystem::path& path, std::string_view utf8Page,
                   PageEncoding encoding) {
  writeFileAtomically(path, encodePage(utf8Page, encoding));
}

}  // namespace ziwei
