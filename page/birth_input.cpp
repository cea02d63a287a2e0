#include "page/birth_input.h"

namespace ziwei {

BirthSelection toSelection(const BirthInput& input) {
  BirthSelection selection;
  selection.year = std::to_string(input.year);
  selection.month = std::to_string(input.month);
  selection.leap = input.leap ? "閏" : "正";
  selection.day = std::to_string(input.day);
  selection.hour = std::to_string(input.hour);
  selection.minute = std::to_string(input.minute);
  selection.second = std::to_string(input.second);
  selection.male = input.male;
  return selection;
}

}  // namespace ziwei
