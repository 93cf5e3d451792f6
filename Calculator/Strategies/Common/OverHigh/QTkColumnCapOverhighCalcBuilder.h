// The over-height builder of column caps (type 27) from "QTKColumnCapCalcSetting":
// the column's partition on the cap's solid, with the cap's "TopElev" as its
// top (method 1 lowers it to the undersides of the related slabs over its
// insertion point; beams never do) and as the value list's last entry. The
// cap rules keep the soffit in the formwork pieces. The arc flag of every
// formwork piece: a "ColumnCapType" above 3, or a section polygon with arcs
// for the types 0 to 3 of a cap that is not at an edge.
#pragma once

#include "Calculator/Strategies/Common/OverHigh/QTKColumnOverHeightCalcBuilder.h"

class TQTkColumnCapOverhighCalcBuilder : public TQTkColumnOverHeightCalcBuilder {
public:
    TQTkColumnCapOverhighCalcBuilder(const RecordRef& subject, const TableSourceRef& business,
                                     const TableSourceRef& ruleContext);

    bool HasArcShape() const;

protected:
    double CalcTopElev(int method) override;
    double GetValueListTop() override;
    bool MayLowerTop(IRDXRecord* element) override;
};
