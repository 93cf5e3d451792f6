// Line elements whose section is made of unit sub-elements (strip
// foundations, trenches): the solid is the units' sections swept along the
// extended middle line, each unit is told where its line runs and gets its
// own piece of that solid, and the units are laid again whenever the element
// is prepared.
#pragma once

#include <optional>
#include <unordered_map>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasSectionInfoLineEntCalcEDO.h"

class TQTKHasSectionInfoComplexLineEntCalcEDO : public TQTKHasSectionInfoLineEntCalcEDO,
                                                public virtual IQTKHasSectionInfoComplexLineEntCalcEDO {
public:
    TQTKHasSectionInfoComplexLineEntCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    TVRMCustomLine2d GetUnitAxisLine(double offset, double width, double axisOffset) override;
    double GetSectionMinOffset() override { return sectionMinOffset_; }
    std::unique_ptr<TVRMPolyhedron3d> BuildSectionSolid(IRDXRecord* unitRecord) override;

protected:
    // The units' sections along the extended middle line (its own section without units).
    std::unique_ptr<TVRMPolyhedron3d> BuildSolid() override;
    // Units that all come out as prisms (UnitBand) need no cut: their prisms
    // lie between the side lines already. Stacked ones are built whole
    // (BuildStackedUnitPrisms), others united.
    std::unique_ptr<TVRMPolyhedron3d> CreateSolid() override;
    // Lays every unit of the element's own unit type again (RebuildFromParent).
    void AfterPrepareSolid() override;
    // The union of the units' own solids (the drawn element's when it has no
    // units): relating elements never waits for joined lines.
    std::unique_ptr<TVRMPolyhedron3d> BuildRelationPolyhedron() override;
    // A point lies on that union when it lies on one of the units' solids:
    // the units answer without their union being built.
    bool IsPointInRelationSolid(const TVRMPoint3d& p, double tol) override;
    // Lines joined along another width (a calculation line, a section's
    // extent) moved onto the element's own "Width" and "AxisOffset", their
    // ends kept on the joins.
    void RebaseLinesOnOwnWidth(TVRMCustomLine2d& mid, TVRMCustomLine2d& left, TVRMCustomLine2d& right);

private:
    // A strip-foundation unit's piece of the solid without booleans: the
    // sweep of an upright rectangular section along a straight level line,
    // cut between the side lines, is the prism between the two edges of its
    // band (kept within the side lines) ended on the side lines' end edges,
    // wherever the sweep reaches past those ends. None where that does not hold.
    struct TUnitBand {
        TVRMCustomLine2d low, high;  // the prism's edges at the lesser and greater offset
        double lowOffset, highOffset, bottom, top;
    };
    std::optional<TUnitBand> UnitBand(const IQTKElementDrawObj* unit);
    static std::unique_ptr<TVRMPolyhedron3d> BuildUnitPrism(const TUnitBand& band);
    // The prism of a unit that CreateSolid built on the lines now in place,
    // taken from the kept ones (each is handed out once), else a new one.
    std::unique_ptr<TVRMPolyhedron3d> TakeUnitPrism(const IQTKElementDrawObj* unit);

    const double sectionMinOffset_;
    // Copies of the units' prisms CreateSolid united, by unit record id, for
    // the units' own pieces; they hold while the side and extended middle
    // lines they were built on are the ones in place (the lines replaced
    // stay alive, so their addresses are not reused).
    struct TKeptPrisms {
        const TVRMCustomLine2d *left = nullptr, *right = nullptr, *mid = nullptr;
        std::unordered_map<int, std::unique_ptr<TVRMPolyhedron3d>> byUnit;
    };
    TKeptPrisms keptPrisms_;  // guarded by DataLock()
};
