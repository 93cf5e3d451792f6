// The over-height builder of walls (type 0) and insulating wall units (86)
// from "QTKWallCalcSettings", and of the piers on a wall, which are cut with
// their wall's partition. The builder owns a copy of the solid it cuts: the
// drawn solid of an element measured along its (host wall's) axis, a wall's
// material-only solid when it calculates by material only, else the
// element's solid. The formwork is cut from the side-face shell. The value
// list reads the (host) wall's higher end top first, then the cuts.
//
// Top elevation by "OverHighTopElevCalcMethod": 0 the storey's top, 1 the
// higher end top, 2 the mean end top, 3 the top under the slabs on it by
// maxima, 4 by means, 5 the lower of the top under slabs (means of the slab,
// maxima of the wall) and the wall's top under the beams resting on it; any
// other method is an assertion. An unknown partition method means layers.
#pragma once

#include "Calculator/Strategies/Common/OverHigh/QTKOverHighCalcBuilder.h"

class TQTkWallOverHeightCalcBuilder : public TQTKOverHighCalcBuilder {
public:
    // ArcFlag goes to every formwork piece (the wall's axis is an arc).
    TQTkWallOverHeightCalcBuilder(const RecordRef& subject, const TableSourceRef& business,
                                  const TableSourceRef& ruleContext, bool arcFlag);
    ~TQTkWallOverHeightCalcBuilder() override;

    std::unique_ptr<TVRMOverhighSolidCalc3d> BuildVolumeCalc();
    // Nil when the element has no side-face shell. In detail mode the shell
    // is first filled with the faces the rule table bills.
    std::unique_ptr<TVRMOverhighShellCalc3d> BuildFormboardCalc();
    void FillWallSideShellForDetail();
    void FillUnitSideShellForDetail();

    const TVRMPolyhedron3d* GetSolid() const noexcept { return solid_.get(); }

protected:
    double CalcBottomElev() override;
    double CalcTopElev(int method) override;
    double GetValueListTop() override;
    bool IsTopFirstInValueList() const override { return true; }
    double GetLowestElev() override;
    void ReplaceSolid(std::unique_ptr<TVRMPolyhedron3d> solid);

private:
    bool IsWall() const;

    std::unique_ptr<TVRMPolyhedron3d> solid_;
};

// A pier's over-height volume cut at its wall's planes: made with the wall's
// (or insulating wall unit's) record, then given the pier's solid.
class TQTKPierOverHeightVolCalcBuilder : public TQTkWallOverHeightCalcBuilder {
public:
    using TQTkWallOverHeightCalcBuilder::TQTkWallOverHeightCalcBuilder;

    bool IsOverHigh() override;
    // Takes the solid over, releasing the one held.
    void SetSolid(std::unique_ptr<TVRMPolyhedron3d> solid);
};
