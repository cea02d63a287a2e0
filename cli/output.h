#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ziwei::cli {

// Writes `bytes` to the file `path`, replacing it as a whole (a reader sees
// the old file or the new one, never a part), or to standard output when
// there is no path. Throws PageWriteError naming the output and the cause.
void writeOutput(const std::optional<std::string>& path, std::string_view bytes);

}  // namespace ziwei::cli
