#pragma once
// Folding Latin letters for comparison, and the names close to a misspelt one,
// for messages that suggest what a user may have meant.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ziwei {

// `text` with the ASCII letters A-Z made lower case; every other byte kept.
std::string foldAsciiCase(std::string_view text);

// The names among `names` that differ from `given` by at most two letters
// (inserted, removed or changed; ASCII case does not count), the closest
// first and in their order among equals, at most `most` of them and no name
// twice.
std::vector<std::string_view> closeNames(std::string_view given,
                                         std::span<const std::string_view> names,
                                         std::size_t most = 3);

// The same counted in characters (code points) instead of bytes, at most
// `edits` of them: for names whose every character is a syllable (紫微,
// 天機), where one character changed is already as far as two letters.
std::vector<std::string_view> closeNamesByCharacter(std::string_view given,
                                                    std::span<const std::string_view> names,
                                                    std::size_t edits, std::size_t most = 3);

}  // namespace ziwei
