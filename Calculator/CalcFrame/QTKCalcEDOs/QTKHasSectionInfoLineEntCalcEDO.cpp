#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasSectionInfoLineEntCalcEDO.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSolidBuilder.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/RDX/RDXIntf.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

constexpr int CCopingType = 70;

}  // namespace

TQTKHasSectionInfoLineEntCalcEDO::~TQTKHasSectionInfoLineEntCalcEDO()
{
    GExtendPolyhedronList.Remove(extendItem_);
    GExtendPolyhedronList.Remove(zeroExtendItem_);
}

void TQTKHasSectionInfoLineEntCalcEDO::Prepare(IRDXRecord* record)
{
    TQTKLineEntBaseCalcEDO::Prepare(record);
    const double length = GetMidLine()->Length();
    const IPropValues* props = GetElementDrawObj()->GetPropValues();
    const double rise = std::abs(EdoPropValueFloat(props, "StartPtTopElev") - EdoPropValueFloat(props, "EndPtTopElev"));
    lengthRate_.store(IsZero(rise) || IsZero(length) ? 1.0 : 1.0 / std::cos(std::atan(rise / length)));
    GExtendPolyhedronList.Remove(extendItem_);
    GExtendPolyhedronList.Remove(zeroExtendItem_);
}

bool TQTKHasSectionInfoLineEntCalcEDO::IsMidlineConnectable()
{
    // Asked for every candidate of every joined-line search: read once.
    int connectable = midlineConnectable_.load(std::memory_order_relaxed);
    if (connectable < 0) {
        const IQTKLineShape* shape = LineShape();
        connectable = shape && GreaterEqualThan(shape->GetLine().Length(), shape->GetWidth()) &&
                              !IsPartialArchDrawObj(GetElementDrawObj())
                          ? 1
                          : 0;
        midlineConnectable_.store(connectable, std::memory_order_relaxed);
    }
    return connectable == 1;
}

std::unique_ptr<TVRMPolyhedron3d> TQTKHasSectionInfoLineEntCalcEDO::BuildSolid()
{
    return TQTKSolidBuilder::BuildSectionSolidAlongLine(GetElementDrawObj(), *GetExtendedMidLine(), false);
}

// ---------------------------------------------------------------------------
// Extended solid

Ref<IQTKPolyhedron3dIntf> TQTKHasSectionInfoLineEntCalcEDO::GetExtendedPolyhedron(IRDXRecord* source, bool mode,
                                                                                  double distance)
{
    QTK_ASSERT(distance >= 0.0);
    const bool zero = IsZero(distance);
    TQTKCacheSlot& slot = zero ? zeroExtendItem_ : extendItem_;
    TExtendKey& key = zero ? zeroExtendKey_ : extendKey_;
    const auto hit = [&]() -> Ref<IQTKPolyhedron3dIntf> {
        if (key.source.get() != static_cast<IInterface*>(source) || key.mode != mode ||
            !SameValue(key.distance, distance))
            return nullptr;
        return GExtendPolyhedronList.Touch(slot);
    };
    {
        std::lock_guard guard(extendLock_);
        if (Ref<IQTKPolyhedron3dIntf> kept = hit())
            return kept;
    }
    // Built with no lock held: the source's lines and this element's face
    // lines come from calculators that ask other elements.
    bool parallel = false;
    if (source) {
        const Ref<IQTKCalculatorEDO> sourceEdo = GetCalcEDO(source, true);
        auto* sourceLine = dynamic_cast<IQTKLineEntBaseCalcEDO*>(sourceEdo.get());
        parallel = sourceLine && TVRMPositionFunc2d::IsParallel(*GetMidLine(), *sourceLine->GetMidLine());
    }
    std::unique_ptr<TVRMPolyhedron3d> solid = BuildExtendedPolyhedron(source, mode, parallel, distance);
    if (!solid)
        solid = std::make_unique<TVRMPolyhedron3d>();
    std::lock_guard guard(extendLock_);
    if (Ref<IQTKPolyhedron3dIntf> kept = hit())
        return kept;  // another thread kept the same one meanwhile
    key = TExtendKey{Ref<IInterface>(source), mode, distance};
    return GExtendPolyhedronList.AddExtendItem(this, std::move(solid), distance, mode ? 1 : 0, key.source, slot);
}

void TQTKHasSectionInfoLineEntCalcEDO::ReleaseExtendItem(const TQTKExtendPolyhedronItem* item)
{
    extendItem_.Forget(item);
    zeroExtendItem_.Forget(item);
}

std::unique_ptr<TVRMPolyhedron3d> TQTKHasSectionInfoLineEntCalcEDO::BuildExtendedPolyhedron(IRDXRecord* source,
                                                                                            bool mode, bool parallel,
                                                                                            double distance)
{
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    // The attach-wall-face lines moved Distance apart.
    const auto widened = [&] {
        auto left = std::make_unique<TVRMCustomLine2d>(*GetAttachWallFaceLeftLine());
        auto right = std::make_unique<TVRMCustomLine2d>(*GetAttachWallFaceRightLine());
        WidenLinePair(left, right, distance);
        return std::pair(std::move(left), std::move(right));
    };
    const auto cutBetweenFaces = [&](std::unique_ptr<TVRMPolyhedron3d> solid) {
        if (solid && solid->HasFaces()) {
            const auto [left, right] = widened();
            TVRMNewPolyBooleanOperator::Cut(*solid, *left, *right);
        }
        return solid;
    };
    if (auto solid = TQTKSolidBuilder::BuildOffsetSolid(drawObj, distance))
        return cutBetweenFaces(std::move(solid));

    const IQTKLineShape* shape = LineShape();
    if (!shape || shape->GetPolygon().GetCount() == 0)
        return nullptr;
    const TVRMBox2d box = shape->GetPolygon().Box();
    const std::unique_ptr<TVRMMultiPolygon2d> outline = GetOffsetLineEntOutline(
        GetRecord(), drawObj->GetElementTypeID() == CCopingType, source, distance, mode, parallel);
    if (!outline || outline->GetCount() == 0)
        return nullptr;
    const auto sweep = [&](const TVRMCustomLine2d& path, const TVRMPoint2d& reference) {
        return TVRMPolyhedron3d::CreateSweep(*outline, path, reference, shape->GetTopElevAt(path.StartPt()),
                                             shape->GetTopElevAt(path.EndPt()));
    };

    if (parallel) {
        // Along the face towards (Mode) or away from the source, over the drawn length at least.
        const IQTKElementDrawObj* sourceDrawObj = GetRecordDrawObj(source);
        const auto* sourceShape =
            sourceDrawObj ? dynamic_cast<const IQTKLineShape*>(sourceDrawObj->GetShape()) : nullptr;
        const bool sameDirection =
            sourceShape && TVRMPositionFunc2d::IsSameDirection(sourceShape->GetLine(), *GetMidLine());
        const bool onLeft = sameDirection == mode;
        const TVRMCustomLine2d& face = onLeft ? *GetAttachWallFaceLeftLine() : *GetAttachWallFaceRightLine();
        const TVRMCustomLine2d axis = GetLine();
        const double from = std::min(0.0, face.LengthAtPoint(axis.StartPt()));
        const double to = std::max(face.Length(), face.LengthAtPoint(axis.EndPt()));
        return sweep(TVRMPositionFunc2d::SubSeg(face, from, to, false), {onLeft ? box.min.x : box.max.x, box.max.y});
    }
    if (outline->GetItems(0).IsRectangle(CVRMEpsilon)) {
        if (IsZero(distance))
            return TQTKSolidBuilder::BuildExpandedSolidBetweenLines(drawObj, *GetAttachWallFaceLeftLine(), 0.0,
                                                                    *GetAttachWallFaceRightLine());
        // Up and down by the distance square to a sloping top.
        const double length = GetLine().Length();
        const IPropValues* props = drawObj->GetPropValues();
        const double rise = EdoPropValueFloat(props, "StartPtTopElev") - EdoPropValueFloat(props, "EndPtTopElev");
        const double scale =
            IsZero(rise) || length < 0.0 || IsZero(length) ? 1.0 : std::sqrt(length * length + rise * rise) / length;
        const auto [left, right] = widened();
        if (auto solid = TQTKSolidBuilder::BuildExpandedSolidBetweenLines(drawObj, *left, distance * scale, *right))
            return solid;
    }
    return cutBetweenFaces(sweep(*GetExtendedMidLine(), {(box.min.x + box.max.x) / 2.0, box.max.y}));
}
