#include "Calculator/Strategies/Common/OverHigh/QTKOverHighLayerSum.h"

#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
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

double SumLayerShellAreas(const TVRMPolyhedronShell3d& shell, const std::vector<TQTKOverHighLayer>& layers,
                          const TQTKLayerTerm& term)
{
    return SumOverLayers(
        layers,
        [&](const TQTKOverHighLayer& layer, int) {
            std::unique_ptr<TVRMPolyhedronShell3d> below, above;
            const std::unique_ptr<TVRMPolyhedronShell3d> upper = shell.Cut(
                TVRMPlane3d(TVRMVector3d(0, 0, -1), TVRMPoint3d(0, 0, layer.bottom), 0), below, CVRMPlaneEpsilon);
            if (!upper)
                return 0.0;
            const std::unique_ptr<TVRMPolyhedronShell3d> within = upper->Cut(
                TVRMPlane3d(TVRMVector3d(0, 0, 1), TVRMPoint3d(0, 0, layer.top), 0), above, CVRMPlaneEpsilon);
            return within ? within->GetArea() : 0.0;
        },
        term);
}
