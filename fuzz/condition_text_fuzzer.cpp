// Fuzzes the reading of a search condition (find/condition_text.h): the
// input is the condition's text, whatever its bytes.
//
// A text is either refused with one line of valid UTF-8 without control
// characters (it goes to a terminal) and a character within the text or just
// past its end, or read as a sound condition that reads the same again.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

#include "find/condition_text.h"
#include "fuzz/fuzz_check.h"
#include "unicode/utf8.h"

namespace {

using ziwei::fuzz::require;

std::size_t characters(std::string_view text) {
  std::size_t count = 0;
  for (; !text.empty(); ++count) (void)ziwei::takeCodePoint(text);
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto read = ziwei::find::readCondition(text);
  if (const auto* error = std::get_if<ziwei::find::ConditionError>(&read)) {
    require(ziwei::fuzz::printable(error->message),
            "a refusal is one line of UTF-8 without controls");
    require(error->character >= 1 && error->character <= characters(text) + 1,
            "a refusal points into the text");
    return 0;
  }
  const auto& condition = std::get<ziwei::find::Condition>(read);
  require(!ziwei::find::conditionFault(condition), "a condition read is sound");
  const auto again = ziwei::find::readCondition(text);
  require(std::holds_alternative<ziwei::find::Condition>(again) &&
              std::get<ziwei::find::Condition>(again) == condition,
          "a text reads the same every time");
  return 0;
}
