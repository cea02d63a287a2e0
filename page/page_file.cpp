#include "page/page_file.h"

#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

#include "page/user_text.h"

namespace ziwei {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kBig5Meta =
    "<meta http-equiv='Content-Type' content='text/html; charset=big5'>";
constexpr std::string_view kUtf8Meta =
    "<meta http-equiv='Content-Type' content='text/html; charset=utf-8'>";

// One conversion from UTF-8 to Big5 through the C library.
class Big5Converter {
 public:
  Big5Converter() : cd_(iconv_open("BIG5", "UTF-8")) {
    if (cd_ == invalid()) {
      throw std::system_error(errno, std::generic_category(),
                              "the C library cannot convert UTF-8 to Big5");
    }
  }
  ~Big5Converter() { iconv_close(cd_); }
  Big5Converter(const Big5Converter&) = delete;
  Big5Converter& operator=(const Big5Converter&) = delete;

  // Appends the Big5 form of `run` (bytes of characters outside ASCII) to
  // `out`. A character that Big5 cannot hold is written as "&#N;"; a
  // malformed UTF-8 sequence as the replacement character U+FFFD.
  void appendRun(std::string_view run, std::string& out) {
    while (!run.empty()) {
      // A character of two to four bytes becomes at most two bytes.
      const std::size_t start = out.size();
      out.resize(start + run.size());
      char* in = const_cast<char*>(run.data());  // iconv's interface; it reads only
      std::size_t inLeft = run.size();
      char* to = out.data() + start;
      std::size_t toLeft = run.size();
      const std::size_t result = iconv(cd_, &in, &inLeft, &to, &toLeft);
      out.resize(out.size() - toLeft);
      run.remove_prefix(run.size() - inLeft);
      if (result != static_cast<std::size_t>(-1)) break;
      // Stopped at a character it cannot convert: write it as a reference.
      const std::optional<char32_t> codePoint = takeCodePoint(run);
      out += "&#";
      out += std::to_string(static_cast<std::uint32_t>(codePoint.value_or(U'\uFFFD')));
      out += ';';
    }
  }

 private:
  static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }
  iconv_t cd_;
};

std::string encodeBig5(std::string_view page) {
  std::string out;
  out.reserve(page.size() + kLineEnd.size());
  Big5Converter converter;
  const auto isAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
  // ASCII is the same in Big5: copy it, convert only the runs between.
  while (!page.empty()) {
    std::size_t n = 0;
    while (n < page.size() && isAscii(page[n])) ++n;
    out.append(page.substr(0, n));
    page.remove_prefix(n);
    n = 0;
    while (n < page.size() && !isAscii(page[n])) ++n;
    if (n != 0) converter.appendRun(page.substr(0, n), out);
    page.remove_prefix(n);
  }
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
  return encoding == PageEncoding::Big5 ? encodeBig5(utf8Page) : encodeUtf8(utf8Page);
}

void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  TemporaryFile file(path);
  file.write(bytes);
  file.commit();
}

void writePageFile(const std::filesystem::path& path, std::string_view utf8Page,
                   PageEncoding encoding) {
  std::string bytes;
  try {
    bytes = encodePage(utf8Page, encoding);
  } catch (const std::system_error& error) {
    throw PageWriteError("cannot write " + path.string() + ": " + error.what());
  }
  writeFileAtomically(path, bytes);
}

}  // namespace ziwei
