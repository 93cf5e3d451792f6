#include "Calculator/Common/QTKCalculatorExprEarthwork.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonEarthwork.h"
#include "Calculator/Common/QTKCalculatorExprMeasure.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/VRMCalculatorExprAnalyser.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"

namespace {

constexpr int CExcavatedType = 40;
constexpr int CDitchType = 41;
constexpr int CPitType = 42;

// An excavation stated by its layers: a level face shape with an excavation object.
Ref<IQTKPitEarthCalcEDO> Excavation(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CExcavatedType});
    const auto* shape = drawObj ? dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape()) : nullptr;
    if (!shape || shape->GetFlag() == 0)
        return nullptr;
    const auto edo = RefCast<IQTKExcavatedEarthCalcEDO>(GetCalcEDO(record, true));
    return edo && edo->GetSlopeBottomPolygon() ? Ref<IQTKPitEarthCalcEDO>(edo.get()) : nullptr;
}

// A pit earth object of a record in expression mode (with a point shape when asked).
Ref<IQTKPitEarthCalcEDO> Pit(IRDXRecord* record, bool pointShape)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CPitType});
    if (!drawObj || (pointShape && !dynamic_cast<const IQTKPointShape*>(drawObj->GetShape())))
        return nullptr;
    const auto edo = RefCast<IQTKPitEarthCalcEDO>(GetCalcEDO(record, true));
    return edo && edo->GetSlopeBottomPolygon() ? edo : nullptr;
}

bool IsSloped(IRDXRecord* record)
{
    double factor = 0.0;
    GetEarthSlopeFactor(record, factor);
    return GreaterThan(factor, 0.0);
}

// The layer outline at a height above the slope bottom, with its printed area and its formula (if any).
struct TLayerPlan {
    double area = 0.0;  // m², rounded
    std::string formula;
    bool hasFormula = false;
};

TLayerPlan PlanAt(IRDXRecord* record, IQTKPitEarthCalcEDO& edo, double height)
{
    std::vector<double> widths;
    edo.GetSlopeWidths(widths, height);
    const std::unique_ptr<TVRMMultiPolygon2d> polygon = GetEarthPolygonOffset(record, widths);
    TLayerPlan plan;
    if (!polygon)
        return plan;
    plan.area = ExprArea(polygon->Area());
    plan.hasFormula = TVRMPoly2dAnalyser::ParseMultiPolygonToString(*polygon, plan.formula, 3);
    return plan;
}

TLayerPlan BottomPlan(IQTKPitEarthCalcEDO& edo)
{
    const TVRMMultiPolygon2d& polygon = *edo.GetSlopeBottomPolygon();
    TLayerPlan plan;
    plan.area = ExprArea(polygon.Area());
    plan.hasFormula = TVRMPoly2dAnalyser::ParseMultiPolygonToString(polygon, plan.formula, 3);
    return plan;
}

// The prismoid of a sloped layer: (bottom + top + middle x 4) x depth / 6, checked against the volume.
void WritePrismoid(IRDXRecord* record, const TLayerPlan& bottom, const TLayerPlan& top, const TLayerPlan& middle,
                   double depth, double volume, const char* formulaFormat, const char* areaFormat)
{
    const double d = ExprLength(depth);
    if (!IsExprConsistent((bottom.area + top.area + middle.area * 4) * d / 6, ExprVolume(volume),
                          CQTKExprVolumeTolerance))
        return;
    if (bottom.hasFormula && top.hasFormula && middle.hasFormula)
        AddExprText(record, Format(formulaFormat, {bottom.formula, top.formula, middle.formula, d}));
    else
        AddExprText(record, Format(areaFormat, {bottom.area, top.area, middle.area, d}));
}

// The ordinary and the wet layer of a sloped pit or excavation as prismoids
// (between the bottom and the cut depth, between the cut depth and the wet
// earth's top); False when the earthwork does not slope.
bool WriteSlopedCutLayer(IRDXRecord* record, IQTKPitEarthCalcEDO& edo, double volume)
{
    if (!IsSloped(record))
        return false;
    const double depth = edo.GetCutDepth();
    WritePrismoid(record, BottomPlan(edo), PlanAt(record, edo, depth), PlanAt(record, edo, depth / 2), depth, volume,
                  "((%s)<底面积>+(%s)<顶面积>+(%s)<中截面面积>*4)*%g<挖土深度>/6",
                  "(%g<底面积>+%g<顶面积>+%g<中截面面积>*4)*%g<挖土深度>/6");
    return true;
}

bool WriteSlopedWetLayer(IRDXRecord* record, IQTKPitEarthCalcEDO& edo, double volume)
{
    if (!IsSloped(record))
        return false;
    const double cut = edo.GetCutDepth();
    const double wet = edo.GetWetDepth();
    WritePrismoid(record, PlanAt(record, edo, cut), PlanAt(record, edo, cut + wet), PlanAt(record, edo, cut + wet / 2),
                  wet, volume, "((%s)<湿土底面积>+(%s)<湿土顶面积>+(%s)<湿土中截面面积>*4)*%g<湿土深度>/6",
                  "(%g<湿土底面积>+%g<湿土顶面积>+%g<湿土中截面面积>*4)*%g<湿土深度>/6");
    return true;
}

// The frozen layer on the plan under it, checked against the volume.
void WriteFrozenLayer(IRDXRecord* record, const TLayerPlan& plan, double depth, double volume)
{
    const double d = ExprLength(depth);
    if (!IsExprConsistent(plan.area * d, ExprVolume(volume), CQTKExprVolumeTolerance))
        return;
    if (plan.hasFormula)
        AddExprText(record, Format("(%s)<顶面积>*%g<冻土深度>", {plan.formula, d}));
    else
        AddExprText(record, Format("%g<顶面积>*%g<冻土深度>", {plan.area, d}));
}

// A ditch with a level bottom, and its printed length (0.97 of the middle line with line setting 2).
Ref<IQTKDitchEarthCalcEDO> Ditch(IRDXRecord* record, double& length, double* lengthMm = nullptr)
{
    if (!GetExprElement(record, {CDitchType}))
        return nullptr;
    const auto ditch = RefCast<IQTKDitchEarthCalcEDO>(GetCalcEDO(record, true));
    const TVRMCustomLine2d* midLine = ditch ? ditch->GetMidLine() : nullptr;
    if (!midLine || !ditch->IsLevelBottom())
        return nullptr;
    length = midLine->Length();
    if (GDitchEarthCalclineType == 2)
        length *= 0.97;
    if (lengthMm)
        *lengthMm = length;
    length = ExprLength(length);
    return ditch;
}

// A ditch layer's volume: by its trapezoid (a rectangle when both widths
// agree), else by its section area. Formats: rectangle, trapezoid, section;
// a nil rectangle format states the layer by its bottom width only.
void WriteDitchLayer(IRDXRecord* record, double volume, int layer, double section, double depth,
                     const char* rectangleFormat, const char* trapezoidFormat, const char* sectionFormat,
                     bool checkSection)
{
    double length = 0.0;
    double lengthMm = 0.0;
    if (!Ditch(record, length, &lengthMm) || !GreaterThan(section, 1.0))
        return;
    const double quantity = ExprVolume(volume);
    const double d = ExprLength(depth);
    const double bottomWidth = GetDitchEarthLayerWidth(record, layer, true);
    const double wb = ExprLength(bottomWidth);
    if (!trapezoidFormat) {
        if (AddCheckedExprText(record, wb * d * length, quantity, CVRMEpsilon, rectangleFormat, {wb, d, length}))
            return;
    } else {
        const double topWidth = GetDitchEarthLayerWidth(record, layer, false);
        const double wt = ExprLength(topWidth);
        if (IsExprConsistent((wb + wt) * d / 2 * length, quantity, CVRMEpsilon)) {
            if (SameValue(bottomWidth, topWidth))
                AddExprText(record, Format(rectangleFormat, {wb, d, length}));
            else
                AddExprText(record, Format(trapezoidFormat, {wb, wt, d, length}));
            return;
        }
    }
    const double s = ExprArea(section);
    if (!checkSection)
        AddExprText(record, Format(sectionFormat, {s, length}));
    else if (IsExprConsistent(ExprVolume(section * lengthMm), quantity, CVRMEpsilon))
        AddExprText(record, Format(sectionFormat, {s, length}));
}

}  // namespace

void BuildExcavatedEarthVolExpr(IRDXRecord* record, double volume)
{
    const Ref<IQTKPitEarthCalcEDO> edo = Excavation(record);
    if (!edo)
        return;
    if (WriteSlopedCutLayer(record, *edo, volume))
        return;
    const TLayerPlan bottom = BottomPlan(*edo);
    const double d = ExprLength(edo->GetCutDepth());
    if (bottom.hasFormula)
        AddExprText(record, Format("(%s)*%g<挖土深度>", {bottom.formula, d}));
    else
        AddCheckedExprText(record, bottom.area * d, ExprVolume(volume), CQTKExprVolumeTolerance,
                           "%g<底面积>*%g<挖土深度>", {bottom.area, d});
}

void BuildExcavatedEarthWetVolExpr(IRDXRecord* record, double volume)
{
    const Ref<IQTKPitEarthCalcEDO> edo = Excavation(record);
    if (!edo)
        return;
    if (WriteSlopedWetLayer(record, *edo, volume))
        return;
    const TLayerPlan bottom = BottomPlan(*edo);
    const double d = ExprLength(edo->GetWetDepth());
    if (bottom.hasFormula)
        AddExprText(record, Format("(%s)<湿土底面积>*%g<湿土深度>", {bottom.formula, d}));
    else
        AddExprText(record, Format("%g<湿土底面积>*%g<湿土深度>", {bottom.area, d}));
}

void BuildExcavatedEarthFrozenVolExpr(IRDXRecord* record, double volume)
{
    const Ref<IQTKPitEarthCalcEDO> edo = Excavation(record);
    if (!edo)
        return;
    const TLayerPlan plan =
        IsSloped(record) ? PlanAt(record, *edo, edo->GetCutDepth() + edo->GetWetDepth()) : BottomPlan(*edo);
    WriteFrozenLayer(record, plan, edo->GetFrozenDepth(), volume);
}

void BuildEarthLaggingBoardAreaExpr(IRDXRecord* record)
{
    Ref<IQTKPitEarthCalcEDO> edo = Excavation(record);
    if (!edo)
        edo = Pit(record, true);
    if (!edo)
        return;
    std::string formula;
    if (IsSloped(record) ||
        !TVRMPerimeterParamExpr::ParseMultiPolyPerimeterToString(*edo->GetSlopeBottomPolygon(), formula, -1))
        return;
    AddExprText(record, Format("%s*%g<挖土深度>", {formula, ExprLength(edo->GetCutDepth() + edo->GetWetDepth())}));
}

void BuildDitchEarthVolExpr(IRDXRecord* record, double volume)
{
    double length = 0.0;
    const Ref<IQTKDitchEarthCalcEDO> ditch = Ditch(record, length);
    if (ditch)
        WriteDitchLayer(record, volume, 0, ditch->GetSectionArea(true), ditch->GetCutDepth(),
                        "%g<宽度>*%g<挖土深度>*%g<长度>", "(%g<底边宽度>+%g<顶边宽度>)*%g<挖土深度>/2*%g<长度>",
                        "%g<截面面积>*%g<长度>", true);
}

void BuildDitchEarthWetVolExpr(IRDXRecord* record, double volume)
{
    double length = 0.0;
    const Ref<IQTKDitchEarthCalcEDO> ditch = Ditch(record, length);
    if (ditch)
        WriteDitchLayer(record, volume, 1, ditch->GetWetSectionArea(true), ditch->GetWetDepth(),
                        "%g<宽度>*%g<湿土深度>*%g<长度>", "(%g<底边宽度>+%g<顶边宽度>)*%g<湿土深度>/2*%g<长度>",
                        "%g<湿土截面面积>*%g<长度>", false);
}

void BuildDitchEarthFrozenVolExpr(IRDXRecord* record, double volume)
{
    double length = 0.0;
    const Ref<IQTKDitchEarthCalcEDO> ditch = Ditch(record, length);
    if (ditch)
        WriteDitchLayer(record, volume, 2, ditch->GetFrozenSectionArea(true), ditch->GetFrozenDepth(),
                        "%g<宽度>*%g<冻土深度>*%g<长度>", nullptr, "%g<冻土截面面积>*%g<长度>", false);
}

void BuildDitchEarthBottomAreaExpr(IRDXRecord* record, double area)
{
    double length = 0.0;
    if (!Ditch(record, length))
        return;
    const double w = ExprLength(GetDitchEarthLayerWidth(record, 0, true));
    AddCheckedExprText(record, w * length, ExprArea(area), CVRMEpsilon, "%g<宽度>*%g<长度>", {w, length});
}

void BuildDitchEarthSideAreaExpr(IRDXRecord* record, double area)
{
    double length = 0.0;
    const Ref<IQTKDitchEarthCalcEDO> ditch = Ditch(record, length);
    if (!ditch)
        return;
    const bool workingFace = ditch->HasWorkingFace();
    const TVRMCustomLine2d* left = workingFace ? ditch->GetLeftWorkingFaceLine() : ditch->GetLeftLine();
    const TVRMCustomLine2d* right = workingFace ? ditch->GetRightWorkingFaceLine() : ditch->GetRightLine();
    if (!left || !right)
        return;
    const double depth = ditch->GetCutDepth() + ditch->GetWetDepth();
    double h1 = depth;
    double h2 = depth;
    if (IsSloped(record)) {
        const IPropValues* props = GetExprElement(record, {CDitchType})->GetPropValues();
        h1 = std::hypot(props->GetFloat("LeftSlopeFactor") * depth, depth);
        h2 = std::hypot(props->GetFloat("RightSlopeFactor") * depth, depth);
    }
    const double l1 = left->Length();
    const double l2 = right->Length();
    if (!SameValue(ExprArea(l1 * h1 + l2 * h2), ExprArea(area)))
        return;
    if (SameValue(h1, h2) && SameValue(l1, l2))
        AddExprText(record, Format("%g<折算高度>*%g<长度>*2", {ExprLength(h1), ExprLength(l1)}));
    else
        AddExprText(record, Format("%g<折算高度1>*%g<长度1>+%g<折算高度2>*%g<长度2>",
                                   {ExprLength(h1), ExprLength(l1), ExprLength(h2), ExprLength(l2)}));
}

void BuildPitEarthVolExpr(IRDXRecord* record, double volume)
{
    const Ref<IQTKPitEarthCalcEDO> pit = Pit(record, true);
    if (!pit)
        return;
    if (WriteSlopedCutLayer(record, *pit, volume))
        return;
    const TLayerPlan bottom = BottomPlan(*pit);
    const double d = ExprLength(pit->GetCutDepth());
    if (!IsExprConsistent(bottom.area * d, ExprVolume(volume), CQTKExprVolumeTolerance))
        return;
    if (bottom.hasFormula)
        AddExprText(record, Format("(%s)<底面积>*%g<挖土深度>", {bottom.formula, d}));
    else
        AddExprText(record, Format("%g<底面积>*%g<挖土深度>", {bottom.area, d}));
}

void BuildPitEarthWetVolExpr(IRDXRecord* record, double volume)
{
    const Ref<IQTKPitEarthCalcEDO> pit = Pit(record, false);
    if (!pit)
        return;
    if (WriteSlopedWetLayer(record, *pit, volume))
        return;
    const TLayerPlan bottom = BottomPlan(*pit);
    const double d = ExprLength(pit->GetWetDepth());
    if (bottom.hasFormula)
        AddExprText(record, Format("(%s)*%g<湿土深度>", {bottom.formula, d}));
    else
        AddCheckedExprText(record, bottom.area * d, ExprVolume(volume), CQTKExprVolumeTolerance,
                           "%g<湿土底面积>*%g<湿土深度>", {bottom.area, d});
}

void BuildPitEarthFrozenVolExpr(IRDXRecord* record, double volume)
{
    const Ref<IQTKPitEarthCalcEDO> pit = Pit(record, true);
    if (!pit)
        return;
    const double d = ExprLength(pit->GetFrozenDepth());
    if (IsSloped(record)) {
        WriteFrozenLayer(record, PlanAt(record, *pit, pit->GetCutDepth() + pit->GetWetDepth()), pit->GetFrozenDepth(),
                         volume);
        return;
    }
    const TLayerPlan bottom = BottomPlan(*pit);
    if (bottom.hasFormula)
        AddExprText(record, Format("(%s)*%g<冻土深度>", {bottom.formula, d}));
    else
        AddCheckedExprText(record, bottom.area * d, ExprVolume(volume), CQTKExprVolumeTolerance,
                           "%g<顶面积>*%g<冻土深度>", {bottom.area, d});
}

void BuildPitEarthBottomAreaExpr(IRDXRecord* record)
{
    const Ref<IQTKPitEarthCalcEDO> pit = Pit(record, false);
    if (!pit || IsSloped(record))
        return;
    const TLayerPlan bottom = BottomPlan(*pit);
    if (bottom.hasFormula)
        AddExprText(record, bottom.formula);
}

void BuildEarthBottomAreaExpr(IRDXRecord* record)
{
    Ref<IQTKPitEarthCalcEDO> edo = Excavation(record);
    if (!edo)
        edo = Pit(record, false);
    if (!edo)
        return;
    const TLayerPlan bottom = BottomPlan(*edo);
    if (bottom.hasFormula)
        AddExprText(record, bottom.formula);
}

void BuildEarthSideAreaExpr(IRDXRecord* record)
{
    // The sides are where the lagging boards stand.
    BuildEarthLaggingBoardAreaExpr(record);
}

void BuildDitchEarthLaggingBoardAreaExpr(IRDXRecord* record, double area)
{
    double length = 0.0;
    double lengthMm = 0.0;
    const Ref<IQTKDitchEarthCalcEDO> ditch = Ditch(record, length, &lengthMm);
    if (!ditch || !GreaterThan(lengthMm, 0.0))
        return;
    const double depth = ditch->GetCutDepth() + ditch->GetWetDepth();
    if (SameValue(ExprArea(lengthMm * depth * 2), ExprArea(area)))
        AddExprText(record, Format("%g<深度>*%g<长度>*2", {ExprLength(depth), length}));
}
