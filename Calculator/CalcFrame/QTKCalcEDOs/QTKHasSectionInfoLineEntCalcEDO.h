// Line elements described by a cross-section swept along the line (beams,
// parapets, copings, custom line elements, eave lines): the slope length
// factor, joins only when the element is at least as long as it is wide and
// not an arch open at one end, and the section swept along the extended
// middle line.
#pragma once

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKLineEntBaseCalcEDO.h"

class TQTKHasSectionInfoLineEntCalcEDO : public TQTKLineEntBaseCalcEDO,
                                         public virtual IQTKHasSectionInfoWithLengthRateCalcEDO {
public:
    using TQTKLineEntBaseCalcEDO::TQTKLineEntBaseCalcEDO;

    void Prepare(IRDXRecord* record) override;
    bool IsMidlineConnectable() override;
    // 1 / cos of the slope between "StartPtTopElev" and "EndPtTopElev" over the middle line; 1.0 when level.
    double GetLengthRate() override { return lengthRate_.load(); }

protected:
    std::unique_ptr<TVRMPolyhedron3d> BuildSolid() override;

private:
    std::atomic<double> lengthRate_{1.0};
};
