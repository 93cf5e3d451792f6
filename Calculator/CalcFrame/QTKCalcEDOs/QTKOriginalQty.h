// Original quantities that no rule computes: the host reads them from the
// calculator the element object carries (a wall's volume and faces, a
// column's volume and side faces, an insulating wall layer's volume), by the
// quantity record's id.
#pragma once

#include <optional>

class IQTKCalculatorEDO;

// The quantity id of an insulating wall layer's volume.
inline constexpr int CQTKInsulatingUnitQtyVolume = 861;

// The quantity (mm, mm², mm³) of the element object's calculator for a bill
// item id; none when the object carries no calculator for it.
std::optional<double> GetOriginalQtyByQtyId(IQTKCalculatorEDO* edo, int qtyId);
