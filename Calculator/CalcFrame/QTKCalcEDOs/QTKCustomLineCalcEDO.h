// The custom line element (element type 72): a user-defined line element
// with a section, whose quantities are its length and its volume. It joins
// only custom lines, relates only custom elements, and keeps its solid in the
// original-solid cache.
#pragma once

#include <memory>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasSectionInfoLineEntCalcEDO.h"

class TQTKCustomLineCalcEDO final : public TQTKHasSectionInfoLineEntCalcEDO, public IQTKCustomLineCalcEDO {
public:
    using TQTKHasSectionInfoLineEntCalcEDO::TQTKHasSectionInfoLineEntCalcEDO;

    const TVRMCustomLine2d* GetMidLine() override { return TQTKHasSectionInfoLineEntCalcEDO::GetMidLine(); }
    const TVRMCustomLine2d* GetLeftLine() override { return TQTKHasSectionInfoLineEntCalcEDO::GetLeftLine(); }
    const TVRMCustomLine2d* GetRightLine() override { return TQTKHasSectionInfoLineEntCalcEDO::GetRightLine(); }
    // Builds the solid (with its end faces last) when there is none yet, so
    // that it comes back before the lines were ever asked for.
    TVRMPolyhedron3d* GetOriginalPolyhedron() override;
    std::shared_ptr<TQTKLinearCalc2d> GetLengthCalc() override;
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeSolidCalc() override;
    // Custom points, lines and faces by the inherited test; nothing else.
    bool IsIntersectWith(IRDXRecord* record) override;
    void FreeCalcCache() override;
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

protected:
    bool IsOriginalPolyhedronOwned() const override { return false; }
    TQTKElementTypeSet GetConnectElementTypes() override { return MakeElementTypeSet({72}); }

private:
    ~TQTKCustomLineCalcEDO() override;

    std::shared_ptr<TQTKLinearCalc2d> lengthCalc_;
    std::shared_ptr<TQTKSolidCalc3d> volumeSolidCalc_;
};
