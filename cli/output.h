#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ziwei::cli {

// Writes `bytes` to standard output when there is no path. A file (or the
// file a link names) is replaced as a whole, so that a reader sees the old
// file or the new one, never a part; a device or pipe is written in place.
// Throws PageWriteError naming the output and the cause.
void writeOutput(const std::optional<std::string>& path, std::string_view bytes);

// Writes all of `bytes` to `fd`, resuming after interruptions; the error
// number of a failed write, or 0.
int writeAll(int fd, std::string_view bytes);

}  // namespace ziwei::cli
