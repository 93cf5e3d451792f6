#include "Calculator/Common/QTKCalculatorExprBackfill.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonEarthwork.h"
#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Calculator/Common/QTKCalculatorExprMeasure.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/VRMCalculatorExprAnalyser.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

constexpr int CRoomBackfillType = 46;
constexpr int CExcavatedUnitType = 87;
constexpr int CDitchUnitType = 88;
constexpr int CPitUnitType = 89;

// The section area (mm²) of a backfill at a height above its bottom.
using TSectionArea = std::function<double(double height)>;

// The backfill object that owns a unit.
template <class TBackfill>
Ref<TBackfill> UnitBackfill(IRDXRecord* unit)
{
    const auto edo = RefCast<IQTKEarthBackfillUnitCalcEDO>(GetCalcEDO(unit, true));
    const RecordRef backfill = edo ? edo->GetBackfillRecord() : nullptr;
    return backfill ? RefCast<TBackfill>(GetCalcEDO(backfill.get(), true)) : nullptr;
}

// The prismoid of a layer whose top and bottom are level: its sections come
// from the backfill (heights above the backfill's bottom elevation).
void WriteUnitPrismoid(IRDXRecord* record, const TVRMPolyhedron3d& solid, double backfillBottom,
                       const TSectionArea& section)
{
    const TVRMBox3d box = solid.GetBox();
    const double zb = box.min.z;
    const double zt = box.max.z;
    if (!GreaterThan(zt, zb))
        return;
    for (const TVRMFace3d& face : solid.GetFaces()) {
        const double nz = face.GetNormal().z;
        const double z = face.GetPlane().GetBasePoint().z;
        if ((SameValue(nz, 1.0) && !SameValue(z, zt)) || (SameValue(nz, -1.0) && !SameValue(z, zb)))
            return;
    }
    const double b = ExprArea(section(zb - backfillBottom));
    const double t = ExprArea(section(zt - backfillBottom));
    const double m = ExprArea(section((zb + zt) / 2 - backfillBottom));
    const double d = ExprLength(zt - zb);
    AddCheckedExprText(record, (b + t + 4 * m) * d / 6, ExprVolume(solid.GetVolume()), CQTKExprVolumeTolerance,
                       "(%g<底面积>+%g<顶面积>+%g<中截面面积>*4)*%g<深度>/6", {b, t, m, d});
}

// Pit and excavation backfills: the bottom outline widened by the slope widths.
void WritePitLikePrismoid(IRDXRecord* record, int type, const TVRMPolyhedron3d* solid)
{
    if (!solid || !GetExprElement(record, {type}))
        return;
    const Ref<IQTKPitBackfillCalcEDO> backfill = UnitBackfill<IQTKPitBackfillCalcEDO>(record);
    const TVRMMultiPolygon2d* bottom = backfill ? backfill->GetBottomPolygon() : nullptr;
    if (!bottom)
        return;
    WriteUnitPrismoid(record, *solid, backfill->GetBottomElev(), [&](double height) {
        std::vector<double> widths;
        backfill->CalcSlopeWidths(widths, height);
        return GetOffsetPolygonArea(*bottom, widths);
    });
}

void WriteOriginalVolume(IRDXRecord* record, int type, const TVRMPolyhedron3d* solid, const char* format)
{
    if (!solid || !GetExprElement(record, {type}))
        return;
    const double v = ExprVolume(solid->GetVolume());
    if (GreaterThan(v, 0.0))
        AddExprText(record, Format(format, {v}));
}

}  // namespace

void BuildEarthBackfillUnitVolExpr(IRDXRecord* record, const TVRMMultiPolygon2d* bottomPolygon,
                                   const TVRMPolyhedron3d* solid)
{
    if (!solid || !GetExprElement(record, {CExcavatedUnitType, CDitchUnitType, CPitUnitType}))
        return;
    const double v = ExprVolume(solid->GetVolume());
    for (const TVRMExprInfo3dRecord& part : TVRMColumnInfoAnalyser::Analyse(*solid, true)) {
        if ((part.kind != 3 && part.kind != 4) || !SameValue(std::abs(part.orientation), 1.0))
            continue;
        const double h = ExprLength(part.thirdSize);
        if (part.kind == 3) {
            // The analyser's second size is the box's width, printed under 长度.
            if (IsExprConsistent(ExprVolume(part.firstSize * part.secondSize * part.thirdSize), v,
                                 CQTKExprVolumeTolerance))
                AddExprText(record, Format("%g<长度>*%g<宽度>*%g<挖土深度>",
                                           {ExprLength(part.secondSize), ExprLength(part.firstSize), h}));
            return;
        }
        const double area = bottomPolygon ? bottomPolygon->Area() : 0.0;
        if (!IsExprConsistent(ExprVolume(part.thirdSize * area), v, CQTKExprVolumeTolerance))
            return;
        std::string formula;
        if (bottomPolygon && TVRMPoly2dAnalyser::ParseMultiPolygonToString(*bottomPolygon, formula, 3))
            AddExprText(record, Format("(%s)*%g<挖土深度>", {formula, h}));
        else
            AddExprText(record, Format("%g<底面积>*%g<挖土深度>", {ExprArea(area), h}));
        return;
    }
}

void BuildExcavatedBackfillUnitPrismoidExpr(IRDXRecord* record, const TVRMPolyhedron3d* solid)
{
    WritePitLikePrismoid(record, CExcavatedUnitType, solid);
}

void BuildPitBackfillUnitPrismoidExpr(IRDXRecord* record, const TVRMPolyhedron3d* solid)
{
    WritePitLikePrismoid(record, CPitUnitType, solid);
}

void BuildDitchBackfillUnitPrismoidExpr(IRDXRecord* record, const TVRMPolyhedron3d* solid)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CDitchUnitType});
    if (!solid || !drawObj)
        return;
    const Ref<IQTKDitchBackfillCalcEDO> backfill = UnitBackfill<IQTKDitchBackfillCalcEDO>(record);
    IRDXRecord* parent = drawObj->GetParentRecord();
    const auto* parentObj = parent ? dynamic_cast<const IQTKElementDrawObj*>(parent->GetObject()) : nullptr;
    if (!backfill || !parentObj)
        return;
    const bool workingFace = backfill->HasWorkingFace();
    const TVRMCustomLine2d* left = workingFace ? backfill->GetLeftWorkingFaceLine() : backfill->GetLeftLine();
    const TVRMCustomLine2d* right = workingFace ? backfill->GetRightWorkingFaceLine() : backfill->GetRightLine();
    // A ditch without length has no sections to state.
    if (!left || !right || !GreaterThan(left->Length(), 0.0) || !GreaterThan(right->Length(), 0.0))
        return;
    const double leftFactor = parentObj->GetPropValues()->GetFloat("LeftSlopeFactor");
    const double rightFactor = parentObj->GetPropValues()->GetFloat("RightSlopeFactor");
    WriteUnitPrismoid(record, *solid, backfill->GetBottomElev(), [&](double height) {
        return BuildOffsetBandPolygon(*left, *right, height * leftFactor, height * rightFactor).Area();
    });
}

void BuildExcavatedBackfillUnitOriginalVolExpr(IRDXRecord* record, const TVRMPolyhedron3d* solid)
{
    WriteOriginalVolume(record, CExcavatedUnitType, solid, "%g<原始大开挖灰土回填体积>");
}

void BuildDitchBackfillUnitOriginalVolExpr(IRDXRecord* record, const TVRMPolyhedron3d* solid)
{
    WriteOriginalVolume(record, CDitchUnitType, solid, "%g<原始基槽灰土回填体积>");
}

void BuildRoomBackfillAreaExpr(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CRoomBackfillType});
    if (!drawObj || !drawObj->GetShape())
        return;
    std::string formula;
    if (TVRMPoly2dAnalyser::ParseMultiPolygonToString(drawObj->GetShape()->GetPolygon(), formula, 3))
        AddExprText(record, formula);
}
