#pragma once

#include <array>

#include "chart/frame/numbering.h"
#include "chart/stars/star_names.h"

namespace ziwei {

// The palace of each star of family F, in the family's order: nowhere for a
// star that lies in no palace (frame fields out of range).
template <Family F>
using FamilyPalaces = std::array<PalaceNum, familySize(F)>;

}  // namespace ziwei
