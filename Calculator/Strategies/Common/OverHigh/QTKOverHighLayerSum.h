// Over-height terms measured layer by layer: the reveal of an opening, the
// junction of a fill wall, the sides of a pier, a beam's haunch faces. Each
// takes the layers of the element's partition (lowest first, with their
// weights), measures its length or area within each layer and sums the
// measures times the weights. The layers come from the partition itself,
// not from a stored value list, so the sum is the same whichever
// over-height calculator was built first and in detail mode.
#pragma once

#include <functional>
#include <vector>

#include "Calculator/Strategies/Common/OverHigh/QTKOverHighCalcBuilder.h"

class TVRMLinearCalcContr;
class TVRMPolyhedronShell3d;

// The element's layers, lowest first; none when it is not over height.
template <class Builder, class... Extra>
std::vector<TQTKOverHighLayer> GetOverhighLayers(const RecordRef& subject, const TableSourceRef& business,
                                                 const TableSourceRef& ruleContext, Extra&&... extra)
{
    Builder builder(subject, business, ruleContext, std::forward<Extra>(extra)...);
    if (!builder.IsOverHigh())
        return {};
    return builder.GetLayers();
}

// One layer's measure (mm or mm²) and the layer's index, lowest first.
using TQTKLayerMeasure = std::function<double(const TQTKOverHighLayer& layer, int index)>;
// Called with each layer's measure that is not 0 and its weight (for expression terms).
using TQTKLayerTerm = std::function<void(double measure, double weight)>;

// Sum over the layers of weight x measure.
double SumOverLayers(const std::vector<TQTKOverHighLayer>& layers, const TQTKLayerMeasure& measure,
                     const TQTKLayerTerm& term = {});

// The base lines of Calc (in an elevation plane: y is the elevation) not yet
// marked, per layer: each layer marks the pieces between its bottom and top
// (a piece on a boundary goes to the lower layer) and measures their length.
// Sum over the layers of weight x length x Width; Term gets each layer's length.
double SumLayerLengths(TVRMLinearCalcContr& calc, const std::vector<TQTKOverHighLayer>& layers, double width,
                       const TQTKLayerTerm& term = {});

// The faces of Shell per layer (a face lying in a layer's boundary plane
// goes to the layer it faces into). Sum over the layers of weight x area.
double SumLayerShellAreas(const TVRMPolyhedronShell3d& shell, const std::vector<TQTKOverHighLayer>& layers,
                          const TQTKLayerTerm& term = {});
