#include "cli/output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "page/page_file.h"

namespace ziwei::cli {

namespace {

[[noreturn]] void fail(const std::string& what, int error) {
  throw PageWriteError("cannot write " + what + ": " + std::strerror(error));
}

// A device, pipe or socket is written in place: it cannot be replaced, and
// replacing it (say /dev/null) would be wrong.
void writeSpecialFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) fail(path, errno);
  const int error = writeAll(fd, bytes);
  if (::close(fd) != 0 && error == 0) fail(path, errno);
  if (error != 0) fail(path, error);
}

}  // namespace

void writeOutput(const std::optional<std::string>& path, std::string_view bytes) {
  if (!path) {
    if (const int error = writeAll(STDOUT_FILENO, bytes); error != 0) {
      fail("to standard output", error);
    }
    return;
  }
  struct stat target {};
  if (::stat(path->c_str(), &target) == 0 && !S_ISREG(target.st_mode) && !S_ISDIR(target.st_mode)) {
    writeSpecialFile(*path, bytes);
    return;
  }
  // A link is followed to the file it names, which is replaced (or made),
  // as a shell's ">" would write it; the link stays.
  std::filesystem::path resolved = *path;
  std::error_code error;
  for (int hops = 0; hops < 40 && std::filesystem::is_symlink(resolved, error); ++hops) {
    const std::filesystem::path next = std::filesystem::read_symlink(resolved, error);
    if (error) break;
    resolved = next.is_absolute() ? next : resolved.parent_path() / next;
  }
  // Renaming over a file needs only a writable folder; a file that the user
  // may not write (a read-only page, say) is refused as a shell's ">" would
  // refuse it, and stays as it was.
  if (::faccessat(AT_FDCWD, resolved.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT) {
    fail(*path, errno);
  }
  writeFileAtomically(resolved, bytes);
}

int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

}  // namespace ziwei::cli
