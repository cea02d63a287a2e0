#include "chart/stars/star_list.h"

namespace ziwei {

void appendStar(StarList& list, std::string_view name) {
  if (!list.empty()) list += ',';
  list += name;
}

}  // namespace ziwei
