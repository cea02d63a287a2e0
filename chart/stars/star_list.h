#pragma once

#include <string>
#include <string_view>

namespace ziwei {

// A StarList is the text a star family returns for one palace: bare star
// names joined by "," without blanks, in the family's test order; the empty
// text when none of the family's stars lies there.
using StarList = std::string;

// Appends `name` to `list` by the StarList rule (a "," between names).
void appendStar(StarList& list, std::string_view name);

}  // namespace ziwei
