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
    // Where the top meets the bottom along Mid (ends of different heights), the
    // extension at that side stops at the crossing.
    void ClipExtendAtSlope(const TVRMCustomLine2d& mid, double& startExt, double& endExt);
    // A prism of the element's width centred on Line, between the shape's
    // elevations at its ends; empty for a width of 0.
    std::unique_ptr<TVRMPolyhedron3d> BuildBandOn(const TVRMCustomLine2d& line);
};
