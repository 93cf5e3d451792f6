// Line elements described by a thickness and a height that may vary along the
// line (walls, insulating walls, ribbons, post-cast strips): lines from the
// actual-middle calculator, a prism of the element's width on the extended
// middle line, and an extension that stops where the top meets the bottom.
#pragma once

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKLineEntBaseCalcEDO.h"

class TQTKHasThicknessInfoLineEntCalcEDO : public TQTKLineEntBaseCalcEDO {
public:
    using TQTKLineEntBaseCalcEDO::TQTKLineEntBaseCalcEDO;

protected:
    bool IsCalcByActualMiddle() override { return true; }
    void CalcExtendLength(double& startExt, double& endExt) override;
    // Empty for a width of 0.
    std::unique_ptr<TVRMPolyhedron3d> BuildSolid() override;
};
