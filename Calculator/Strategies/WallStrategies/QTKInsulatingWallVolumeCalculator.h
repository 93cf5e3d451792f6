// An insulating wall layer (a unit of an insulating wall) measured: its
// middle length, height, drawn and rated thickness, and what neighbours take
// off its volume or add to it. Each deduction takes its share off the one
// volume calculator the unit keeps and returns what it removed (mm³; the
// opening rules an area, mm², the volume over the layer's thickness), so an
// overlap is taken once. 0 when the rule does not apply.
#pragma once

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// The unit's middle line length (mm).
class TQTKInsulatingWallMiddleLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The mean of the start and end heights; 0 below 1 mm.
class TQTKInsulatingWallHeight final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// "Thickness" as drawn.
class TQTKInsulatingWallThickness final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The thickness rated by the wall settings' thickness table (the row of the
// rounded drawn thickness); the drawn thickness without a row or a table.
class TQTKInsulatingWallRatingThickness final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// An opening by its own solid, returned as the layer area it takes (volume
// over the layer's thickness; 0 for a layer of no thickness).
class TQTKInsulatingWallVolumeDeductHollowByFact : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether the opening is deducted at all.
    virtual bool Deducts(IRDXRecord* /*unit*/, IRDXRecord* /*opening*/) const { return true; }
};

// A ribbon window or opening along the layer.
class TQTKInsulatingWallVolumeDeductRibbonByFact final : public TQTKInsulatingWallVolumeDeductHollowByFact {
protected:
    bool Deducts(IRDXRecord* unit, IRDXRecord* ribbon) const override;
};

// Openings of more than 0.3 m² outline area.
class TQTKInsulatingWallVolumeDeductDot3M2LimitedOpenning final : public TQTKInsulatingWallVolumeDeductHollowByFact {
protected:
    bool Deducts(IRDXRecord* unit, IRDXRecord* opening) const override;
};

// Any element as it stands. Layers of one insulating wall never take from
// each other; of two crossing insulating walls, only the layers of the one
// that gives way lose volume (of two equally wide, the one of the higher id).
class TQTKInsulatingWallVolumeDeductByFact : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual bool Deducts(IRDXRecord* /*unit*/, IRDXRecord* /*object*/) const { return true; }
};

// Beams across (along) the layer, as they stand.
class TQTKInsulatingWallVolumeDeductNotParallelBeam final : public TQTKInsulatingWallVolumeDeductByFact {
protected:
    bool Deducts(IRDXRecord* unit, IRDXRecord* beam) const override;
};
class TQTKInsulatingWallVolumeDeductParallelBeam final : public TQTKInsulatingWallVolumeDeductByFact {
protected:
    bool Deducts(IRDXRecord* unit, IRDXRecord* beam) const override;
};

// A beam's part left after the elements it gives way to: along a layer its
// width does not hold (regular); also across (irregular).
class TQTKInsulatingWallVolumeDeductRegularParallelBeam : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual bool TakesCrossingBeams() const { return false; }
};
class TQTKInsulatingWallVolumeDeductIrRegularParallelBeam final
    : public TQTKInsulatingWallVolumeDeductRegularParallelBeam {
protected:
    bool TakesCrossingBeams() const override { return true; }
};

// A tie column ("Type" 0) with its teeth of the whole "IndentingWidth" (half of it).
class TQTKInsulatingWallVolumeDeductWholeIndenting : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual bool Whole() const { return true; }
};
class TQTKInsulatingWallVolumeDeductHalfIndenting final : public TQTKInsulatingWallVolumeDeductWholeIndenting {
protected:
    bool Whole() const override { return false; }
};

// A pier standing on the layer's insulating wall adds its volume (outside
// detail mode, with its expression).
class TQTKInsulatingWallVolumeAddPier final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterInsulatingWallVolumeRules(TStrategyRegistry& registry);
