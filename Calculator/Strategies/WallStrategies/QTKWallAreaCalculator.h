// What a neighbouring element takes off a wall's area, or adds to it: the
// quantity masonry walls are priced by. The wall's own area is its element
// object's; these rules deduct from (or add to) the calculator the wall keeps.
// The setting "AreaCalcMethod" of "QTKWallCalcSettings" chooses it: 1 the
// wall's solid over its thickness, 2 over its rating thickness, anything else
// the wall's vertical middle face. Areas are mm².
#pragma once

#include <optional>

#include "Calculator/Common/QTKCalcStrategy.h"

class IQTKWallCalcEDO;
class TStrategyRegistry;
class TVRMPolyhedron3d;

// The base of the area rules; as a rule it measures nothing (0).
class TQTKWallAreaCalcStrategy : public TQTKCalcStrategy {
protected:
    // Whether the wall's area is measured on its middle face. Otherwise it is
    // its solid over a calculation thickness, which this sets on the wall
    // while the wall has none above 0: its thickness (method 1) or its rating
    // thickness (method 2).
    static bool IsAreaByFace(IQTKWallCalcEDO& wall, const TableSourceRef& ruleContext);
    // Takes Solid off the wall's area: off the middle face on behalf of
    // FaceRecord (contact and flush faces too), or off the solid measured by
    // the calculation thickness on behalf of SolidRecord. The area removed.
    static double DeductArea(IQTKWallCalcEDO& wall, const TVRMPolyhedron3d& solid, IRDXRecord* faceRecord,
                             IRDXRecord* solidRecord, const TableSourceRef& ruleContext);
    // The object's own solid taken off the wall's area (0 without a solid).
    static double DeductSolidArea(const RecordRef& wall, const RecordRef& object, const TableSourceRef& ruleContext);
};

// The object's own solid off the wall's area when the member's test passes.
class TQTKWallAreaDeductObjectSolid : public TQTKWallAreaCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether the object takes its part of this wall's area at all.
    virtual bool Deducts(IRDXRecord* /*wall*/, IRDXRecord* /*object*/) const { return false; }
};

// Any element, as it stands: the part of the wall it takes. In detail mode
// the detail shows the area in m².
class TQTKWallAreaDeductByFact : public TQTKWallAreaDeductObjectSolid {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    bool Deducts(IRDXRecord* /*wall*/, IRDXRecord* /*object*/) const override { return true; }
};

// A door, window or opening standing in this wall, as it stands; the members
// below leave small openings in the wall.
class TQTKWallAreaDeductOpeningByFact : public TQTKWallAreaDeductByFact {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* opening) const override;
    // Openings whose measure is at or below the limit stay in the wall.
    virtual std::optional<double> SizeLimit() const { return std::nullopt; }
    // The opening's outline area (mm²).
    virtual double Measure(IRDXRecord* opening) const;
};

// A ribbon window or ribbon opening along the wall, as it stands.
class TQTKWallAreaDeductRibbon final : public TQTKWallAreaDeductByFact {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* ribbon) const override;
};

// A lintel of more than 0.025 m³, wherever it lies.
class TQTKWallAreaDeductDot25M3LimitedLintel final : public TQTKWallAreaDeductByFact {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* lintel) const override;
};

// Openings in the wall of more than 0.1 m² outline area.
class TQTKWallAreaDeductDot1M2LimitedOpenning final : public TQTKWallAreaDeductOpeningByFact {
protected:
    std::optional<double> SizeLimit() const override { return 100'000.0; }
};

// ... of more than 0.3 m².
class TQTKWallAreaDeductDot3M2LimitedOpenning final : public TQTKWallAreaDeductOpeningByFact {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};

// ... of more than 0.05 m².
class TQTKWallAreaDeductDot05M2LimitedOpenning final : public TQTKWallAreaDeductOpeningByFact {
protected:
    std::optional<double> SizeLimit() const override { return 50'000.0; }
};

// Openings in the wall whose solid is more than 0.05 m³.
class TQTKWallAreaDeductDot05M3LimitedOpenning final : public TQTKWallAreaDeductOpeningByFact {
protected:
    std::optional<double> SizeLimit() const override { return 50'000'000.0; }
    double Measure(IRDXRecord* opening) const override;  // the solid's volume (mm³)
};

// ... of more than 1 m² outline area.
class TQTKWallAreaDeduct1m2LimitedOpenging final : public TQTKWallAreaDeductOpeningByFact {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};

// A door, window or opening in this wall by its frame: the clear opening
// inside the frame.
class TQTKWallAreaDeductHollowByFrame : public TQTKWallAreaCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual bool Deducts(IRDXRecord* wall, IRDXRecord* opening) const;
};

// A ribbon window or ribbon opening along the wall, by its frame.
class TQTKWallAreaDeductRibbonFrame final : public TQTKWallAreaDeductHollowByFrame {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* ribbon) const override;
};

// Beams along the wall.
class TQTKWallAreaDedcuctParallelBeam final : public TQTKWallAreaDeductObjectSolid {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* beam) const override;
};

// Beams across the wall.
class TQTKWallAreaDedcuctNonparallelBeam final : public TQTKWallAreaDeductObjectSolid {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* beam) const override;
};

// Beams along the wall that do not hold the wall within their width.
class TQTKWallAreaDedcuctParallelIrregularBeam final : public TQTKWallAreaDeductObjectSolid {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* beam) const override;
};

// Columns the walls do not cover, as they stand.
class TQTKWallAreaDeductIrregularColumn final : public TQTKWallAreaDeductByFact {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* column) const override;
};

// A tie column with its toothing into the masonry beside it (teeth of the
// whole "IndentingWidth"); only a tie column of "Type" 0 is toothed.
class TQTKWallAreaDeductWholeIndenting : public TQTKWallAreaCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual bool WholeTeeth() const { return true; }
};

// ... with teeth of half the "IndentingWidth".
class TQTKWallAreaDeductHalfIndenting final : public TQTKWallAreaDeductWholeIndenting {
protected:
    bool WholeTeeth() const override { return false; }
};

// The hollow of the trench a trench unit belongs to.
class TQTKWallAreaDeductTrenchHollow final : public TQTKWallAreaCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The whole trench a trench unit names ("EDOPID").
class TQTKWallAreaDeductTrench final : public TQTKWallAreaCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A pier standing against this wall ("EDOPID") adds its volume over the
// wall's thickness; in detail mode it is shown as an addition.
class TQTKWallAreaAddPierByThickness final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// ... over the wall's rating thickness.
class TQTKWallAreaAddPierByRatingThickness final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Another wall that cuts through this one, unless the two are a concrete wall
// and its fill wall or join as equals in material-only mode.
class TQTKWallAreaDeductWall final : public TQTKWallAreaDeductObjectSolid {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* other) const override;
};

// A fill wall laid in this concrete wall.
class TQTKWallAreaDeductFillWall final : public TQTKWallAreaDeductObjectSolid {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* fillWall) const override;
};

void RegisterWallAreaRules(TStrategyRegistry& registry);
