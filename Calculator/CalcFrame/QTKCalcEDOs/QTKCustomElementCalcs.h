// What the custom point, line and face element objects share: their volume
// calculator, their original-quantity detail and the custom element kinds
// they relate to.
#pragma once

#include <memory>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"

class TQTKCalculatorEDO;

inline constexpr int CQTKCustomPointType = 71;
inline constexpr int CQTKCustomLineType = 72;
inline constexpr int CQTKCustomFaceType = 73;

// A volume calculator over a copy of the object's original solid (its record, factor 1).
std::shared_ptr<TQTKSolidCalc3d> MakeOriginalVolumeCalc(TQTKCalculatorEDO& edo);
// With an empty detail container: the original solid with the original
// quantity in the quantity's unit, as an original-quantity detail.
void FillCustomElementDetail(TQTKCalculatorEDO& edo, IRDXRecord* qtyRecord);
// Whether the record's element is of one of the kinds.
bool IsRecordOfTypes(IRDXRecord* record, const TQTKElementTypeSet& types);
