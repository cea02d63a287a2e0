#include "chart/stars/cycles.h"

namespace ziwei {

FamilyPalaces<Family::LifeMarkers> getSkySSTreeStar(PalaceNum LiftNum) {
  if (!LiftNum.valid()) return {};
  return {LiftNum - 7, LiftNum - 5};
}

}  // namespace ziwei
