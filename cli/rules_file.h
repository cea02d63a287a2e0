#pragma once
// The rules file of --rules: a practitioner's tradition written once.

#include <string_view>

#include "chart/request.h"

namespace ziwei::cli {

// The rules the file at `path` sets over the defaults (rules/rule_text.h has
// its form). Throws a Refusal "what: PATH: ..." for a file that cannot be
// read, is larger than 64 KiB, or has a line refused ("PATH line N: ...").
ChartOptions readRulesFile(std::string_view what, std::string_view path);

}  // namespace ziwei::cli
