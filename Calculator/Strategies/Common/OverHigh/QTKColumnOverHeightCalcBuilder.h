// The over-height builder of columns (types 25, 26) from "QTKColumnCalcSettings":
// the column's own bottom elevation analysis; pieces cut from its solid, and
// formwork pieces made of the non-horizontal faces of each cut part (a column
// keeps no formwork shell of its own). The value list reads the cuts, then
// the column's calculation top. Other round methods round N by
// floor((x + H/2) / H); a partition method outside 0..3 is an assertion.
//
// Top elevation: the calculation top, lowered by "OverHighTopElevCalcMethod"
// 1 to the undersides of the related slabs (19, 20) and 2 of the related
// beams (15 to 18) that meet the column at its insertion point.
#pragma once

#include <functional>

#include "Calculator/Strategies/Common/OverHigh/QTKOverHighCalcBuilder.h"

class TQTkColumnOverHeightCalcBuilder : public TQTKOverHighCalcBuilder {
public:
    TQTkColumnOverHeightCalcBuilder(const RecordRef& subject, const TableSourceRef& business,
                                    const TableSourceRef& ruleContext);

    std::unique_ptr<TVRMOverhighSolidCalc3d> BuildVolumeCalc();
    // Never nil; the column rules pass False (the soffit never stays).
    std::unique_ptr<TVRMOverhighShellCalc3d> BuildFormboardCalc(bool includeSoffit);

protected:
    // For the builders that follow the column's (indenting, column cap): their
    // settings table and the source lines of their unknown-method assertions.
    TQTkColumnOverHeightCalcBuilder(const RecordRef& subject, const TableSourceRef& business,
                                    const TableSourceRef& ruleContext, std::string_view settingsTable,
                                    int formboardAssertLine, int volumeAssertLine);

    double CalcBottomElev() override;
    double CalcTopElev(int method) override;
    double GetValueListTop() override;
    bool IsRoundByHalfLayer() const override { return true; }
    int CheckPartitionMethod(int method, bool forVolume) override;
    // Whether a related element may lower the top (the indenting also asks
    // that the insertion point is not outside its outline).
    virtual bool MayLowerTop(IRDXRecord* element);
    // The column's calculation top.
    double GetCalcTopElev();
    // The element's outline does not leave this element's insertion point outside.
    bool IsInsertPtNotOutside(IRDXRecord* element) const;

private:
    int formboardAssertLine_;
    int volumeAssertLine_;
};

// The top T0 lowered to the undersides of the related elements of Types that
// meet the point element at its insertion point: a face element (slab) at
// its surface elevation there less "Thickness" x its thickness factor, a line
// element (beam) at its bottom there. Filter (may be empty) must let an element count.
double LowerTopToRelated(IQTKCalculatorEDO* edo, double top, const TQTKElementTypeSet& types,
                         const std::function<bool(IRDXRecord*)>& filter);
