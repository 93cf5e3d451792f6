#include "Calculator/Common/QTKCalculatorExprMeasure.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

// The properties of an element of the given type; nil for another type.
const IPropValues* PropsOfType(const IRDXRecord* record, int typeId)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record);
    return drawObj && drawObj->GetElementTypeID() == typeId ? drawObj->GetPropValues() : nullptr;
}

// The single polygon of a set; nil when the set holds none or several.
const TVRMPolygon2d* SinglePolygon(const TVRMMultiPolygon2d& set)
{
    return set.GetCount() == 1 ? &set.GetItems(0) : nullptr;
}

// Width and length of the single rectangle of a shape's polygon (outline).
bool ShapeRectSize(const IQTKShape* shape, bool outline, double& width, double& length)
{
    if (!shape)
        return false;
    return GetPolygonRectSize(SinglePolygon(outline ? shape->GetOutline() : shape->GetPolygon()), width, length);
}

// Sizes by "SectionTypeID": 0 the two properties, 2 the point shape's plan
// rectangle, 4 the face shape's outline rectangle (when allowed).
bool SectionSizes(const IQTKElementDrawObj* drawObj, const char* firstProp, const char* secondProp, bool withFace,
                  double& first, double& second)
{
    const IPropValues* props = drawObj->GetPropValues();
    switch (props->GetInteger("SectionTypeID")) {
        case 0:
            first = props->GetFloat(firstProp);
            second = props->GetFloat(secondProp);
            return true;
        case 2:
            return ShapeRectSize(drawObj->GetShape(), false, first, second);
        case 4:
            return withFace && dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape()) &&
                   ShapeRectSize(drawObj->GetShape(), true, first, second);
        default:
            return false;
    }
}

bool PointFDUnitSize(IRDXRecord* record, int typeId, const char* firstProp, const char* secondProp, double& first,
                     double& second, double& third)
{
    const IPropValues* props = PropsOfType(record, typeId);
    if (!props || !SectionSizes(GetExprElement(record), firstProp, secondProp, true, first, second))
        return false;
    third = props->GetFloat("Height");
    return true;
}

// Shared part of the band and coping measures: end faces summed, side faces
// of one elevation range. Level: receives the level faces' area, or nil when
// a face that is not vertical fails the measure.
bool MeasureBand(const TVRMPolyhedronShell3d& shell, const TVRMCustomLine2d& line, double& endArea, double& height,
                 double* levelArea)
{
    endArea = 0.0;
    std::optional<std::pair<double, double>> range;
    for (const TVRMFace3d& face : shell.GetFaces()) {
        const TVRMVector3d& n = face.GetNormal();
        if (levelArea && !IsZero(n.z)) {
            if (!SameValue(std::abs(n.z), 1.0))
                return false;
            *levelArea += face.GetArea();
            continue;
        }
        const TVRMPoint3d& origin = face.GetPlane().GetBasePoint();
        const TVRMPoint2d foot =
            line.PointAtLength(std::clamp(line.LengthAtPoint({origin.x, origin.y}), 0.0, line.Length()));
        if (TVRMVector2d{n.x, n.y}.IsParallelTo(line.TangentAt(foot), CVRMEpsilon)) {
            endArea += face.GetArea();
            continue;
        }
        double bottom = 0.0;
        double top = 0.0;
        if (!GetFaceElevRange(face, bottom, top))
            return false;
        if (range && (!SameValue(range->first, bottom) || !SameValue(range->second, top)))
            return false;
        range = std::make_pair(bottom, top);
    }
    // The height is divided by: a band without height has no length.
    if (!range || SameValue(range->first, range->second))
        return false;
    height = range->second - range->first;
    return true;
}

}  // namespace

const IQTKElementDrawObj* GetExprElement(const IRDXRecord* record)
{
    return record ? dynamic_cast<const IQTKElementDrawObj*>(record->GetObject()) : nullptr;
}

const IQTKElementDrawObj* GetExprElement(const IRDXRecord* record, std::initializer_list<int> types)
{
    const IQTKElementDrawObj* drawObj = IsExprMode(record) ? GetExprElement(record) : nullptr;
    if (drawObj)
        for (int type : types)
            if (drawObj->GetElementTypeID() == type)
                return drawObj;
    return nullptr;
}

double CalcArcLengthOnPlane(const TVRMCustomLine2d& segment, const TVRMVector3d& normal)
{
    // A vertical plane has no height over the plan: the plan length stands.
    if (IsZero(normal.z, 1e-12))
        return segment.Length();
    const TVRMArcData arc = segment.IsArc() ? segment.GetArcData() : TVRMArcData{};
    if (arc.valid) {
        const double a0 = arc.startAngle;
        const double a1 = a0 + arc.sense * arc.sweep;
        const double radius = segment.Radius();
        const double h = (a0 - a1) / 2.0;
        const double m = (a0 + a1) / 2.0;
        const auto f = [&](double x) {
            const double t = m + h * x;
            const double g = (normal.x * std::sin(t) - normal.y * std::cos(t)) / normal.z;
            return radius * h * std::sqrt(1.0 + g * g);
        };
        return std::abs(0.5688889 * f(0.0) + 0.4786287 * (f(0.5384693) + f(-0.5384693)) +
                        0.2369269 * (f(0.9061798) + f(-0.9061798)));
    }
    const auto lift = [&](const TVRMPoint2d& p) {
        return TVRMPoint3d{p.x, p.y, -(normal.x * p.x + normal.y * p.y) / normal.z};
    };
    return lift(segment.StartPt()).DistanceTo(lift(segment.EndPt()));
}

bool HasShapeEdgeInfo(const IQTKShape* shape)
{
    if (const auto* point = dynamic_cast<const IQTKPointShape*>(shape)) {
        if (point->GetPolygon().IsEmpty())
            return false;
        for (int i = 0; i < point->GetEdgeCount(); ++i)
            if (point->GetEdgeInfo(i))
                return true;
        return false;
    }
    if (const auto* face = dynamic_cast<const IQTKFaceShape*>(shape)) {
        if (face->GetPolygon().IsEmpty())
            return false;
        const int count = face->GetPolygon().GetEdgeCount();
        for (int i = 0; i < count; ++i)
            if (face->GetEdgeInfo(i))
                return true;
    }
    return false;
}

bool GetRecordRectSize(IRDXRecord* record, double& firstSize, double& secondSize, bool& axisParallel)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record);
    const IQTKShape* shape = drawObj ? drawObj->GetShape() : nullptr;
    if (!shape || shape->GetPolygon().IsEmpty())
        return false;
    const TVRMPolygon2d& polygon = shape->GetPolygon().GetItems(0);
    if (!polygon.IsRectangle(CVRMEpsilon))
        return false;
    const double angle = polygon.GetEdge(0).Vector().Angle();
    if (IsSameAnglePI(angle, 0.0) || IsSameAnglePI(angle, CVRMPi / 2.0)) {
        axisParallel = true;
        const TVRMBox2d box = polygon.Box();
        firstSize = box.Width();
        secondSize = box.Height();
        return true;
    }
    axisParallel = false;
    TVRMPolygon2d cleaned = polygon;
    if (!cleaned.Normalize(CVRMEpsilon) || cleaned.GetEdgeCount() < 2)
        return false;
    const double a = NormalAnglePI(cleaned.GetEdge(0).Vector().Angle());
    const double edge0 = cleaned.GetEdge(0).Length();
    const double edge1 = cleaned.GetEdge(1).Length();
    const bool closerToX = a < CVRMPi / 4.0 || a > 3.0 * CVRMPi / 4.0;
    firstSize = closerToX ? edge0 : edge1;
    secondSize = closerToX ? edge1 : edge0;
    return true;
}

bool GetPolygonRectSize(const TVRMPolygon2d* polygon, double& width, double& length)
{
    if (!polygon || !polygon->IsRectangle(CVRMEpsilon))
        return false;
    const std::vector<TVRMCustomLine2d> edges = polygon->GetEdges();
    const TVRMVector2d e0 = edges[0].Vector();
    double s1 = edges[0].Length();
    double s2 = 0.0;
    for (size_t i = 1; i < edges.size(); ++i)
        (edges[i].Vector().IsParallelTo(e0) ? s1 : s2) += edges[i].Length();
    length = GreaterThan(s1, s2) ? s1 / 2.0 : s2 / 2.0;
    width = GreaterThan(s1, s2) ? s2 / 2.0 : s1 / 2.0;
    return true;
}

bool GetFaceRectSize(const TVRMFace3d* face, double& width, double& length)
{
    if (!face || !face->IsRectangle())
        return false;
    const TVRMLoop3d& loop = face->GetLoop(0);
    const TVRMVector3d e0 = loop[1] - loop[0];
    double s1 = 0.0;
    double s2 = 0.0;
    for (size_t i = 0; i < loop.size(); ++i) {
        const TVRMVector3d e = loop[(i + 1) % loop.size()] - loop[i];
        (e.CrossProduct(e0).IsZeroVector(CVRMEpsilon) ? s1 : s2) += e.Length();
    }
    length = GreaterThan(s1, s2) ? s1 / 2.0 : s2 / 2.0;
    width = GreaterThan(s1, s2) ? s2 / 2.0 : s1 / 2.0;
    return true;
}

bool GetShellRectSize(const TVRMPolyhedronShell3d* shell, double& width, double& length)
{
    return shell && shell->GetFaceCount() == 1 && GetFaceRectSize(&shell->GetFace(0), width, length);
}

bool GetShellCalcRectSize(const TQTKShellCalc3d* calc, double& width, double& length)
{
    return calc && GetShellRectSize(calc->GetShell(), width, length);
}

bool GetFaceElevRange(const TVRMFace3d& face, double& bottom, double& top)
{
    if (face.GetLoopCount() != 1 || !face.IsRectangle())
        return false;
    const TVRMLoop3d& loop = face.GetLoop(0);
    bool found = false;
    for (size_t i = 0; i < loop.size(); ++i) {
        const TVRMPoint3d& a = loop[i];
        const TVRMPoint3d& b = loop[(i + 1) % loop.size()];
        if (SameValue(a.z, b.z))
            continue;
        const double low = std::min(a.z, b.z);
        const double high = std::max(a.z, b.z);
        bottom = found ? std::min(bottom, low) : low;
        top = found ? std::max(top, high) : high;
        found = true;
    }
    return found;
}

bool GetBandShellSize(const TQTKShellCalc3d* calc, const TVRMCustomLine2d* line, double& length, double& endArea,
                      double& height, double totalArea)
{
    const TVRMPolyhedronShell3d* shell = calc ? calc->GetShell() : nullptr;
    if (!shell || !shell->HasFaces() || !line)
        return false;
    if (!MeasureBand(*shell, *line, endArea, height, nullptr))
        return false;
    length = (totalArea - endArea) / height;
    return true;
}

bool GetCopingShellSize(const TQTKShellCalc3d* calc, const TVRMCustomLine2d* line, double& length, double& endArea,
                        double& horizontalArea, double& height)
{
    const TVRMPolyhedronShell3d* shell = calc ? calc->GetShell() : nullptr;
    if (!shell || !shell->HasFaces() || !line)
        return false;
    horizontalArea = 0.0;
    if (!MeasureBand(*shell, *line, endArea, height, &horizontalArea))
        return false;
    length = (calc->GetArea() - horizontalArea - endArea) / height;
    return true;
}

bool GetBeddingSize(IRDXRecord* record, int& shapeKind, int& sectionType, double& sizeB, double& sizeA,
                    double& thickness, double& lineLength, const TVRMPolyhedronShell3d* shell)
{
    sectionType = -1;
    const IPropValues* props = PropsOfType(record, 55);
    if (!props)
        return false;
    const IQTKElementDrawObj* drawObj = GetExprElement(record);
    const IQTKShape* shape = drawObj->GetShape();
    shapeKind = props->GetInteger("Shape");
    switch (shapeKind) {
        case 0:
            if (HasShapeEdgeInfo(shape))
                return false;
            sectionType = props->GetInteger("SectionTypeID");
            thickness = props->GetFloat("Thickness");
            if (sectionType == 0) {
                sizeA = props->GetFloat("SectionWidth");
                sizeB = props->GetFloat("SectionHeight");
                return true;
            }
            return sectionType == 2 && ShapeRectSize(shape, true, sizeB, sizeA);
        case 1: {
            const Ref<IQTKLineBeddingCalcEDO> bedding = RefCast<IQTKLineBeddingCalcEDO>(GetCalcEDO(record, true));
            const TVRMCustomLine2d* midLine = bedding ? bedding->GetMidLine() : nullptr;
            if (!midLine)
                return false;
            lineLength = midLine->Length() * bedding->GetSlopeFactor();
            sectionType = props->GetInteger("SectionTypeID");
            if (sectionType == 0) {
                sizeA = props->GetFloat("Thickness");
                sizeB = props->GetFloat("SectionHeight");
                return true;
            }
            return sectionType == 2 && ShapeRectSize(shape, false, sizeB, sizeA);
        }
        case 2: {
            if (HasShapeEdgeInfo(shape))
                return false;
            bool measured = false;
            if (shell) {
                measured = GetShellRectSize(shell, sizeB, sizeA);
            } else {
                const auto* face = dynamic_cast<const IQTKFaceShape*>(shape);
                measured = face && face->GetFlag() != 0 && ShapeRectSize(face, true, sizeB, sizeA);
            }
            if (measured)
                thickness = props->GetFloat("Thickness");
            return measured;
        }
        default:
            return false;
    }
}

bool GetCopingSectionSize(IRDXRecord* record, double& firstSize, double& secondSize, double& length)
{
    const IPropValues* props = PropsOfType(record, 70);
    if (!props || !SectionSizes(GetExprElement(record), "SectionWidth", "SectionHeight", false, firstSize, secondSize))
        return false;
    const Ref<IQTKHasSectionInfoWithLengthRateCalcEDO> coping =
        RefCast<IQTKHasSectionInfoWithLengthRateCalcEDO>(GetCalcEDO(record, true));
    const TVRMCustomLine2d* midLine = coping ? coping->GetMidLine() : nullptr;
    if (!midLine)
        return false;
    length = midLine->Length() * coping->GetLengthRate();
    return true;
}

void GetDoorWinDoorSize(IRDXRecord* record, double& width, double& height, double& topBottomDeduct, double& sideDeduct)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record);
    const IPropValues* props = drawObj ? drawObj->GetPropValues() : nullptr;
    if (!props)
        return;
    width = props->GetFloat("OpeningWidth") - props->GetFloat("WinWidth");
    height = props->GetFloat("OpeningHeight");
    sideDeduct = props->GetFloat("DoorFillingWidth");
    topBottomDeduct = props->GetFloat("DoorFillingHeight");
}

void GetDoorWinWinSize(IRDXRecord* record, double& width, double& height, double& topBottomDeduct, double& sideDeduct)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record);
    const IPropValues* props = drawObj ? drawObj->GetPropValues() : nullptr;
    if (!props)
        return;
    width = props->GetFloat("WinWidth");
    height = props->GetFloat("OpeningHeight") - props->GetFloat("WinAboveFloorHeight");
    sideDeduct = props->GetFloat("WinFillingWidth");
    topBottomDeduct = props->GetFloat("WinFillingHeight");
}

bool GetIsolatedFDUnitSize(IRDXRecord* record, double& firstSize, double& secondSize, double& thirdSize)
{
    return PointFDUnitSize(record, 82, "SectionWidth", "SectionHeight", firstSize, secondSize, thirdSize);
}

bool GetPileCapUnitSize(IRDXRecord* record, double& firstSize, double& secondSize, double& thirdSize)
{
    return PointFDUnitSize(record, 83, "Width", "Len", firstSize, secondSize, thirdSize);
}

bool GetStripFDUnitSize(IRDXRecord* record, double& firstSize, double& secondSize, double& thirdSize)
{
    if (!PropsOfType(record, 81) ||
        !SectionSizes(GetExprElement(record), "SectionWidth", "SectionHeight", false, firstSize, secondSize))
        return false;
    const Ref<IQTKStripFDUnitCalcEDO> unit = RefCast<IQTKStripFDUnitCalcEDO>(GetCalcEDO(record, true));
    const TVRMCustomLine2d* line = unit ? unit->GetUnitLine() : nullptr;
    if (!line)
        return false;
    thirdSize = line->Length();
    return true;
}

bool GetBeamSectionSize(IRDXRecord* record, double& width, double& height)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record);
    const IPropValues* props = drawObj ? drawObj->GetPropValues() : nullptr;
    if (!props || IsArchRecord(record))
        return false;
    switch (props->GetInteger("SectionTypeID")) {
        case 0:
            width = props->GetFloat("SectionWidth");
            height = props->GetFloat("SectionHeight");
            if (props->HasProp("EndPtGradChangeHeight"))
                height = (height + props->GetFloat("EndPtGradChangeHeight")) / 2.0;
            return true;
        case 2: {
            bool axisParallel = false;
            return GetRecordRectSize(record, width, height, axisParallel);
        }
        default:
            return false;
    }
}

double GetBeddingEndArea(IRDXRecord* record, const TVRMPolyhedronShell3d& formworkShell)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record);
    if (!drawObj)
        return 0.0;
    const Ref<IQTKLineEdoInfoProvider> provider = RefCast<IQTKLineEdoInfoProvider>(GetCalcEDO(record, true));
    const Ref<IQTKConnectedEdoIDInfo> info = provider ? provider->GetConnectedEdoIDInfo() : nullptr;
    if (!info)
        return 0.0;
    const int key = drawObj->GetIndexKey();
    const bool start = info->GetStartConnectedID(key) != 0;
    const bool end = info->GetEndConnectedID(key) != 0;
    const int count = formworkShell.GetFaceCount();
    if (start && end && count > 1)
        return formworkShell.GetFace(count - 1).GetArea() + formworkShell.GetFace(count - 2).GetArea();
    if (start != end && count >= 1)
        return formworkShell.GetFace(count - 1).GetArea();
    return 0.0;
}
