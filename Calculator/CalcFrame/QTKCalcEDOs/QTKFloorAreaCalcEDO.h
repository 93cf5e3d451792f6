// The floor area (element type 58): the building-area outline of one storey.
// Its solid is the outline over the storey height. The area rules add
// polygons, a running area and their method to it; scaffold rules ask for
// the clear space height above it, found among all floor areas of the
// project sorted by top elevation (one list per calculation session, shared
// by every floor area object under one lock) and, for the top floor areas,
// among the slabs above.
#pragma once

#include <memory>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TQTKFloorAreaCalcEDO final : public TQTKCalculatorEDO, public IQTKFloorAreaCalcEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    int GetAreaCalcMethod() override;
    void SetAreaCalcMethod(int method) override;
    void AddAreaPolygon(std::unique_ptr<TVRMMultiPolygon2d> polygon) override;
    std::unique_ptr<TVRMMultiPolygon2d> GetUncoveredPolygon(const TVRMMultiPolygon2d& polygon) override;
    void SetArea(double area) override;
    double GetArea() override;
    double GetSpaceHeight() override;
    double GetTopElevMinusTwo() override;

    // A swing window on the same floor that the floor area's outline meets,
    // an insulating layer overlapping it by more than 100 mm in height, or
    // any element whose solid meets the floor area's.
    bool IsIntersectWith(IRDXRecord* record) override;
    void ClearQtyItems() override;
    void FreeCalcCache() override;

protected:
    // The outline from the floor's structural elevation over its height; a
    // floor area without a floor is an assertion failure.
    std::unique_ptr<TVRMPolyhedron3d> BuildOriginalPolyhedron() override;

private:
    ~TQTKFloorAreaCalcEDO() override;
    double CalcSpaceHeight();

    int areaCalcMethod_ = 0;
    std::vector<std::unique_ptr<TVRMMultiPolygon2d>> addedPolygons_;
    double area_ = 0.0;
    double spaceHeight_ = -1.0;
};
