// The eave drawn along a line with a section (element type 64 whose "Shape"
// is 1). Its object keeps the outer, inner and top face calculators to
// which the eave's face-area rules add shells; eave lines join only eave
// lines, and relate by the section swept along the drawn line.
#pragma once

#include <memory>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasSectionInfoLineEntCalcEDO.h"

class TQTKEaveLineCalcEDO final : public TQTKHasSectionInfoLineEntCalcEDO, public IQTKEaveLineCalcEDO {
public:
    using TQTKHasSectionInfoLineEntCalcEDO::TQTKHasSectionInfoLineEntCalcEDO;

    std::shared_ptr<TQTKShellCalc3d> GetOuterAreaCalc() override { return Kept(outerAreaCalc_); }
    void SetOuterAreaCalc(std::shared_ptr<TQTKShellCalc3d> calc) override { Keep(outerAreaCalc_, std::move(calc)); }
    std::shared_ptr<TQTKShellCalc3d> GetInnerAreaShellCalc() override { return Kept(innerAreaShellCalc_); }
    void SetInnerAreaShellCalc(std::shared_ptr<TQTKShellCalc3d> calc) override
    {
        Keep(innerAreaShellCalc_, std::move(calc));
    }
    std::shared_ptr<TQTKShellCalc3d> GetTopAreaShellCalc() override { return Kept(topAreaShellCalc_); }
    void SetTopAreaShellCalc(std::shared_ptr<TQTKShellCalc3d> calc) override
    {
        Keep(topAreaShellCalc_, std::move(calc));
    }

    // Each of the three calculators afresh: an empty shell of the eave's
    // record over its original solid.
    void ClearQtyItems() override;
    void FreeCalcCache() override;

protected:
    TQTKElementTypeSet GetConnectElementTypes() override { return MakeElementTypeSet({64}); }
    // The section swept along the drawn line (not the extended middle line);
    // the host's solid for a shape that is not a line.
    std::unique_ptr<TVRMPolyhedron3d> BuildRelationPolyhedron() override;

private:
    ~TQTKEaveLineCalcEDO() override;

    std::shared_ptr<TQTKShellCalc3d> outerAreaCalc_;
    std::shared_ptr<TQTKShellCalc3d> innerAreaShellCalc_;
    std::shared_ptr<TQTKShellCalc3d> topAreaShellCalc_;
};
