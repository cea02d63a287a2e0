#include "cli/output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "page/page_file.h"

namespace ziwei::cli {

namespace {

void writeStandardOutput(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      throw PageWriteError(std::string("cannot write to standard output: ") + std::strerror(errno));
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

}  // namespace

void writeOutput(const std::optional<std::string>& path, std::string_view bytes) {
  if (path) {
    writeFileAtomically(*path, bytes);
  } else {
    writeStandardOutput(bytes);
  }
}

}  // namespace ziwei::cli
