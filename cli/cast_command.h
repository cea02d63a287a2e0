#pragma once

#include <string>

#include "cli/command_line.h"

namespace ziwei::cli {

// What a cast writes: the encoded page, or the JSON document and a line
// feed. Throws std::invalid_argument for birth data the engine refuses.
std::string castOutput(const CastOptions& options);

// Casts the chart and writes it where the options say. Returns the exit
// status; reports a failure as one line on standard error.
int runCast(const CastOptions& options);

}  // namespace ziwei::cli
