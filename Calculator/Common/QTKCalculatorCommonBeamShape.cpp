#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"

#include <algorithm>
#include <cmath>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr int CBeamTypeID = 15;
constexpr int CFDBeamTypeID = 47;
// Inner product beyond which a face is turned along or against a direction (cos 45 degrees).
const double CHalfRightAngleCos = std::sqrt(2.0) / 2.0;

bool IsTypeOf(const IQTKElementDrawObj* drawObj, std::initializer_list<int> types)
{
    return drawObj && std::find(types.begin(), types.end(), drawObj->GetElementTypeID()) != types.end();
}

template <class Test>
bool RecordTest(IRDXRecord* record, Test test)
{
    return test(GetRecordDrawObj(record));
}

TVRMVector2d PlanNormal(const TVRMFace3d& face)
{
    return TVRMVector2d{face.GetNormal().x, face.GetNormal().y}.Normal();
}

template <class Faces>
void ClassifyFaces(const Faces& faces, const IQTKElementDrawObj* drawObj, const TVRMCustomLine2d& line,
                   TQTKFaceCodeSet codes, const std::vector<int>& skip, double margin, std::vector<int>& indices)
{
    indices.clear();
    TVRMVector3d normal;
    GetInclinedLineNormal(drawObj, normal);
    for (int i = 0; i < static_cast<int>(faces.size()); ++i)
        if (std::find(skip.begin(), skip.end(), i) == skip.end() &&
            FaceCodeSetHas(codes, ClassifyFaceByLine(line, faces[i], normal, margin)))
            indices.push_back(i);
}

}  // namespace

bool IsArchDrawObj(const IQTKElementDrawObj* drawObj)
{
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    return IsTypeOf(drawObj, {12, 15, 17, 18}) && shape && shape->GetSectionInfo().archHeight > 0.0;
}

bool IsArchRecord(IRDXRecord* record)
{
    return RecordTest(record, IsArchDrawObj);
}

bool IsPartialArchDrawObj(const IQTKElementDrawObj* drawObj)
{
    if (!IsArchDrawObj(drawObj))
        return false;
    const TQTKLineSectionInfo& info = GetDrawObjLineShape(drawObj)->GetSectionInfo();
    return info.startIndex == -1 || info.endIndex == -1;
}

bool IsSlopedFaceDrawObj(const IQTKElementDrawObj* drawObj)
{
    return drawObj && IsSlopedFaceShape(dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape()));
}

bool IsSlopedFaceRecord(IRDXRecord* record)
{
    return RecordTest(record, IsSlopedFaceDrawObj);
}

bool IsGradientBeamDrawObj(const IQTKElementDrawObj* drawObj)
{
    if (!IsTypeOf(drawObj, {CBeamTypeID, CFDBeamTypeID}))
        return false;
    const IPropValues* props = drawObj->GetPropValues();
    return props && EdoPropValueInteger(props, "SectionTypeID", 0) == 0 && props->HasProp("EndPtGradChangeHeight") &&
           EdoPropValueInteger(props, "SectionHeight", 0) != EdoPropValueInteger(props, "EndPtGradChangeHeight", 0);
}

bool IsGradientBeamRecord(IRDXRecord* record)
{
    return RecordTest(record, IsGradientBeamDrawObj);
}

bool IsHaunchedBeamDrawObj(const IQTKElementDrawObj* drawObj)
{
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    return IsTypeOf(drawObj, {CBeamTypeID, CFDBeamTypeID}) && shape && shape->GetSectionInfo().haunch > 0.0;
}

bool IsHaunchedBeamRecord(IRDXRecord* record)
{
    return RecordTest(record, IsHaunchedBeamDrawObj);
}

bool IsCalcAloneBeamFinishQty(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    const int value = drawObj ? EdoPropValueInteger(drawObj->GetPropValues(), "CalcAloneBeamFinishQty", -1)
                              : FieldValueInteger(record, "CalcAloneBeamFinishQty", -1);
    return value == 1;
}

void GetInclinedLineNormal(const IQTKElementDrawObj* drawObj, TVRMVector3d& normal)
{
    QTK_ASSERT(drawObj != nullptr);
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    if (!shape) {
        normal = {0, 0, 1};
        return;
    }
    const TVRMVector2d chord = shape->GetLine().Vector();
    const TVRMVector2d across = chord.RotateHalfPi(true);
    double rise = 0.0;
    if (IsTypeOf(drawObj, {15, 16, 17, 18})) {
        const IPropValues* props = drawObj->GetPropValues();
        rise = EdoPropValueFloat(props, "EndPtTopElev", shape->GetEndPtTopElev()) -
               EdoPropValueFloat(props, "StartPtTopElev", shape->GetStartPtTopElev());
    }
    normal = TVRMVector3d{across.x, across.y, 0.0}.CrossProduct({chord.x, chord.y, rise}).Unit();
}

int ClassifyFaceByLine(const TVRMCustomLine2d& line, const TVRMFace3d& face, const TVRMVector3d& direction,
                       double margin)
{
    if (face.GetLoopCount() == 0 || face.GetLoop(0).empty())
        return 0;
    const TVRMVector3d& n = face.GetNormal();
    if (!IsZero(n.z)) {
        // Exactly 45 degrees is neither: it falls through to the plan test.
        const double ip = direction.InnerProduct(n);
        if (ip < -CHalfRightAngleCos - CVRMZero)
            return CQTKFaceDirBottom;
        if (ip > CHalfRightAngleCos + CVRMZero)
            return CQTKFaceDirTop;
    }
    const TVRMLoop3d& loop = face.GetLoop(0);
    const TVRMPoint3d mid = (loop[0] + loop[1 % loop.size()]) * 0.5;
    const double c = line.TangentAt({mid.x, mid.y}).CrossProduct(PlanNormal(face));
    if (std::abs(c) <= CVRMZero) {
        if (margin <= 1.0)
            return CQTKFaceDirAlong;
        const TVRMBox3d box = face.GetBox();
        TVRMBox2d plan{{box.min.x - margin, box.min.y - margin}, {box.max.x + margin, box.max.y + margin}};
        const bool atEnd = plan.Contains(line.StartPt()) || plan.Contains(line.EndPt());
        return atEnd ? CQTKFaceDirAlong : CQTKFaceDirBottom;
    }
    return c > 0.0 ? CQTKFaceDirLeft : CQTKFaceDirRight;
}

void GetInclinedFaceIndices(const IQTKElementDrawObj* drawObj, const TVRMPolyhedron3d& solid,
                            const TVRMCustomLine2d& line, TQTKFaceCodeSet codes, const std::vector<int>& skip,
                            std::vector<int>& indices)
{
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    ClassifyFaces(solid.GetFaces(), drawObj, line, codes, skip, shape ? shape->GetLeftWidth() : 0.0, indices);
}

void GetInclinedShellFaceIndices(const IQTKElementDrawObj* drawObj, const TQTKShellCalc3d& calc,
                                 const TVRMCustomLine2d& line, TQTKFaceCodeSet codes, const std::vector<int>& skip,
                                 std::vector<int>& indices)
{
    static const std::vector<TVRMFace3d> none;
    ClassifyFaces(calc.GetShell() ? calc.GetShell()->GetFaces() : none, drawObj, line, codes, skip, -1.0, indices);
}

void GetBeamEndFaceIndices(const IQTKElementDrawObj* drawObj, const TVRMPolyhedron3d& solid, std::vector<int>& indices)
{
    indices.clear();
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    if (!shape)
        return;
    const TVRMVector2d chord = shape->GetLine().Vector();
    const double rise = drawObj->GetElementTypeID() == CBeamTypeID
                            ? shape->GetEndPtTopElev() - shape->GetStartPtTopElev()
                            : shape->GetEndPtBottomElev() - shape->GetStartPtBottomElev();
    const TVRMVector3d axis = TVRMVector3d{chord.x, chord.y, rise}.Unit();
    for (int i = 0; i < solid.GetFaceCount(); ++i)
        if (solid.GetFace(i).GetNormal().IsParallel(axis))
            indices.push_back(i);
}

std::vector<int> GetArcSideFaceIndices(const TVRMCustomLine2d& line, const TVRMPolyhedron3d& solid, bool clockwise,
                                       int count, const std::vector<int>& skip)
{
    const auto skipEnd = skip.begin() + std::clamp(count, 0, static_cast<int>(skip.size()));
    TVRMPoint2d centre;
    const bool arc = line.IsArc() && line.CenterPt(centre);
    const TVRMVector2d left = line.Vector().RotateHalfPi(false).Normal();
    std::vector<int> faces;
    for (int i = 0; i < solid.GetFaceCount(); ++i) {
        if (std::find(skip.begin(), skipEnd, i) != skipEnd)
            continue;
        const TVRMFace3d& face = solid.GetFace(i);
        const TVRMVector2d m = PlanNormal(face);
        bool takes;
        if (arc) {
            const TVRMPoint3d& base = face.GetPlane().GetBasePoint();
            const double ip = m.InnerProduct((centre - TVRMPoint2d{base.x, base.y}).Normal());
            // Matching sense: the faces turned away from the centre.
            takes = clockwise == line.IsClockwise() ? LessThan(ip, 0.0) : GreaterThan(ip, 0.0);
        } else {
            const double ip = m.InnerProduct(left);
            takes = clockwise ? GreaterThan(ip, 0.0) : LessThan(ip, 0.0);
        }
        if (takes)
            faces.push_back(i);
    }
    return faces;
}
