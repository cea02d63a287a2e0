#pragma once

namespace ziwei::cli {

// Exit statuses of every ziwei command.
inline constexpr int kExitDone = 0;
inline constexpr int kExitIoError = 1;  // an output that could not be written
inline constexpr int kExitUsage = 2;    // a command line that cannot be run
// Some input data (a date given to ziwei lunar) was refused; the rest was
// processed. Shares its number with kExitIoError: both mean "not all done".
inline constexpr int kExitBadData = 1;

}  // namespace ziwei::cli
