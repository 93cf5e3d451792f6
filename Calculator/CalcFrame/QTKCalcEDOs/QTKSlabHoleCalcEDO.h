// The slab hole (element types 14, 24): the slab material the hole removes
// (its prism within its parent slab and the room faces and roofs parallel to
// it, top face second to last and bottom face last), the prism trimmed to its
// parent's thickness for relation tests, and its volume detail.
#pragma once

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TQTKSlabHoleCalcEDO final : public TQTKCalculatorEDO, public IQTKSlabHoleCalcEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    // With an empty detail container: the hole's solid, less its master
    // element's solid when "EDOPID" names one, as an original-quantity detail.
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

protected:
    // The hole's prism within the parent and within each related room face,
    // ceiling or roof (types 33, 34, 67) or element of the parent's type
    // whose face is parallel to the parent's; empty without any.
    std::unique_ptr<TVRMPolyhedron3d> BuildOriginalPolyhedron() override;
    // The prism cut to the parent's top and bottom planes (a raft's: its box
    // levels); under a curved slab, the prism within the curved slabs around it.
    std::unique_ptr<TVRMPolyhedron3d> BuildRelationPolyhedron() override;

private:
    ~TQTKSlabHoleCalcEDO() override = default;
};
