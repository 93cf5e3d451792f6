// The side formwork of a slab: the upright faces of its solid (its edges),
// kept as a shell calculator on the slab's element object by the first rule
// that needs it; the deductions take what touches the edges off it. Also the
// length of the slab's edges. Areas are mm², lengths mm.
#pragma once

#include <functional>

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;
class TVRMPolyhedron3d;

// The base of the side formwork rules (not registered); it measures nothing.
class TQTKSlabCustomSideFormboardArea : public TQTKCalcStrategy {};

// The area of the slab's edges, with its formula.
class TQTKSlabOriginalSideFormboardArea final : public TQTKSlabCustomSideFormboardArea {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The length of the slab's edges: a sloped slab's soffit perimeter, a level
// slab's plan outline with the polygons other elements add to or cut from it.
class TQTKSlabOriginalSideFormboardLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Any element against the edges, as it stands; one whose formwork comes
// first, and a slab hole always, takes the faces flush with its own too.
class TQTKSlabDeductSideFormboardArea final : public TQTKSlabCustomSideFormboardArea {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A neighbouring slab: its solid and a 10 mm skin on each of its faces, so
// the edges it abuts go even where the two solids only touch.
class TQTKSlabDeductSlabSideFormboardArea final : public TQTKSlabCustomSideFormboardArea {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// What the side and over-height side formwork rules share.
// The kinds an element takes off a slab's edges: the faces flush with its
// own too (3) for a slab hole and for an element whose formwork comes first,
// else the faces it stands against (1).
int SlabSideFormboardKinds(IRDXRecord* slab, IRDXRecord* element, const TableSourceRef& ruleContext);
// A neighbouring slab taken off by Subtract: its solid, then a 10 mm skin
// laid outward on each of its faces; the sum of what each removes.
double SubtractSlabWithSkins(IRDXRecord* neighbour, const std::function<double(const TVRMPolyhedron3d&)>& subtract);

void RegisterSlabSideFormboardAreaRules(TStrategyRegistry& registry);
