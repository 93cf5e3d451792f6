// The apron (element type 61): the paved strip around a building, drawn as a
// face. Its quantities are its area, its perimeter and the length along
// which it touches the building's walls; its object builds the calculators
// of the three and the net face (the outline less the walls standing on it).
#pragma once

#include <memory>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TQTKApronCalcEDO final : public TQTKCalculatorEDO, public IQTKApronCalcEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    // The floor's external wall outline (walls' outer faces) where it lies on
    // the apron; without such a piece, the side line of each related wall or
    // insulating wall on the apron's floor that runs longer within the
    // apron's holes (the building side of a ring apron). In detail mode for
    // the report "WWCD" it is built with detail mode off, and the outlines
    // of those walls then mark the perimeter calculator (mark: the wall's
    // index key).
    std::shared_ptr<TVRMLinearCalcContr> GetTunchWallLengthCalc() override;
    std::shared_ptr<TVRMMultiPolyLinearCalc2d> GetPerimeterCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetAreaShellCalc() override;
    std::shared_ptr<const TVRMMultiPolygon2d> GetNetFacePolygon() override;
    void FreeCalcCache() override;

protected:
    bool IsRelationSameAsOriginal() const override { return true; }

private:
    ~TQTKApronCalcEDO() override;
    std::shared_ptr<TVRMLinearCalcContr> BuildTunchWallLengthCalc();
    // The related walls and insulating walls on the apron's floor.
    TRecordList WallsOnFloor();

    std::shared_ptr<TVRMLinearCalcContr> tunchWallLengthCalc_;
    std::shared_ptr<TVRMMultiPolyLinearCalc2d> perimeterCalc_;
    std::shared_ptr<TQTKShellCalc3d> areaShellCalc_;
    std::shared_ptr<const TVRMMultiPolygon2d> netFacePolygon_;
};
