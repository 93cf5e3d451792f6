// Balconies (element type 10) and swing windows (66): composite elements
// whose parts (slabs, walls, beams, parapets) name them in "CompositeEDOPID".
// The object takes its elevations from the parts, its horizontal polygon from
// the composite outline and its body as the prism of that polygon; it
// evaluates the formulas of a parametric balcony and relates the walls it
// stands against.
#pragma once

#include <memory>
#include <string_view>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TParamPolyInfo;

class TQTKBalconyAndSwingWinCalcEDO final : public TQTKCalculatorEDO, public IQTKBalconyAndSwingWinCalcEDO {
public:
    TQTKBalconyAndSwingWinCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    std::shared_ptr<const TVRMPolyhedron3d> GetBodySolid(int mode) override;
    double GetTopElev() override { return topElev_; }
    double GetBottomElev() override { return bottomElev_; }
    std::shared_ptr<const TVRMMultiPolygon2d> GetHorizonPolygon(int mode) override;
    double CalcParamExpression(std::string_view formula, bool buildExpr) override;
    int GetParamPolyInfoType() override;

    // Its own parts always; walls, insulating walls, swing windows and
    // parapets overlapping it by more than 100 mm vertically when a part
    // meets them; nothing else.
    bool IsIntersectWith(IRDXRecord* record) override;
    // Reads the parametric information again.
    void ClearQtyItems() override;
    void FreeCalcCache() override;
    // Quantity 351 of a balcony: its original solid as the original detail.
    bool AddOriginalQtyDetail(IRDXRecord* qtyRecord) override;

protected:
    bool IsRelationSameAsOriginal() const override { return true; }

private:
    ~TQTKBalconyAndSwingWinCalcEDO() override;
    bool SearchElevations();

    std::shared_ptr<const TVRMPolyhedron3d> bodySolid_;
    double topElev_ = 0.0;
    double bottomElev_ = 0.0;
    ViewRef parts_;
    std::shared_ptr<const TVRMMultiPolygon2d> horizonPolygon_;
    bool elevationsFound_ = false;
    std::shared_ptr<const TParamPolyInfo> paramInfo_;
};
