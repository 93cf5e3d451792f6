#include "Calculator/Strategies/Common/OverHigh/QTKOverHighLayerSum.h"

#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

// Layer marks stay clear of the marks of covered pieces.
constexpr int CFirstLayerMark = 1000;

}  // namespace

double SumOverLayers(const std::vector<TQTKOverHighLayer>& layers, const TQTKLayerMeasure& measure,
                     const TQTKLayerTerm& term)
{
    double sum = 0.0;
    for (int i = 0; i < static_cast<int>(layers.size()); ++i) {
        const double value = measure(layers[i], i);
        if (value == 0.0)
            continue;
        sum += layers[i].weight * value;
        if (term)
            term(value, layers[i].weight);
    }
    return sum;
}

double SumLayerLengths(TVRMLinearCalcContr& calc, const std::vector<TQTKOverHighLayer>& layers, double width,
                       const TQTKLayerTerm& term)
{
    return width * SumOverLayers(
                       layers,
                       [&](const TQTKOverHighLayer& layer, int index) {
                           const int mark = CFirstLayerMark + index;
                           calc.AppendY(layer.bottom, layer.top, mark, nullptr, true, CVRMEpsilon);
                           return calc.GetLengthFor(mark);
                       },
                       term);
}
