#include "Calculator/CalcFrame/QTKCalcEDOs/QTKWallHollowCalcEDO.h"

#include <utility>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/RDX/RDXDataUtils.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

// The band prism reaches this many wall widths beyond the wall's left face
// and is this many wall widths wide.
constexpr double CBandReach = 3.5;
constexpr double CBandWidths = 8.0;

const IQTKLineShape* LineShapeOfRecord(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = record ? GetRecordDrawObj(record) : nullptr;
    return drawObj ? dynamic_cast<const IQTKLineShape*>(drawObj->GetShape()) : nullptr;
}

// Position along a line of a point's foot on the line extended (not clipped to its ends).
double PositionOn(const TVRMCustomLine2d& line, const TVRMPoint2d& point, bool segment)
{
    return TVRMPositionFunc2d::LengthAtPoint(line, TVRMPositionFunc2d::ClosestPointTo(point, line, segment));
}

}  // namespace

TQTKWallHollowCalcEDO::TQTKWallHollowCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKCalculatorEDO(mode, drawObj), sectionLock_(std::make_unique<TVRMCmpxchgLock>())
{
}

TQTKWallHollowCalcEDO::~TQTKWallHollowCalcEDO() = default;

void TQTKWallHollowCalcEDO::Prepare(IRDXRecord* record)
{
    TQTKCalculatorEDO::Prepare(record);
    RecordRef host(GetElementDrawObj()->GetParentRecord());
    Ref<IQTKSectionPoly> dropped;
    {
        TVRMLockGuard guard(*sectionLock_);
        hostWall_ = std::move(host);
        // The outline goes with the wall it was built for: keeping one
        // without the other would hand a later caller another wall's outline.
        cachedWall_ = nullptr;
        std::swap(dropped, cachedSection_);
    }
}

RecordRef TQTKWallHollowCalcEDO::GetHostWallRecord() const
{
    TVRMLockGuard guard(*sectionLock_);
    return hostWall_;
}

// ---------------------------------------------------------------------------
// Properties and place

const IQTKPointShape* TQTKWallHollowCalcEDO::GetPointShape() const
{
    return dynamic_cast<const IQTKPointShape*>(GetElementDrawObj()->GetShape());
}

double TQTKWallHollowCalcEDO::PropFloat(std::string_view name) const
{
    return EdoPropValueFloat(GetElementDrawObj()->GetPropValues(), name);
}

int TQTKWallHollowCalcEDO::PropInteger(std::string_view name) const
{
    return EdoPropValueInteger(GetElementDrawObj()->GetPropValues(), name);
}

bool TQTKWallHollowCalcEDO::HasProp(std::string_view name) const
{
    const IPropValues* values = GetElementDrawObj()->GetPropValues();
    return values && values->HasProp(name);
}

bool TQTKWallHollowCalcEDO::GetHostPlace(THostPlace& place) const
{
    const IQTKLineShape* wall = LineShapeOfRecord(hostWall_.get());
    const IQTKPointShape* shape = GetPointShape();
    if (!wall || !shape)
        return false;
    place.axis = wall->GetLine();
    place.width = wall->GetLeftWidth();        // the wall's whole width
    place.leftOffset = wall->GetRightWidth();  // axis to the left face
    place.position = PositionOn(place.axis, shape->GetInsertPt(), false);
    return true;
}

std::unique_ptr<TVRMPolyhedron3d> TQTKWallHollowCalcEDO::BuildWallBandPrism(const THostPlace& place, double centre,
                                                                            double half, double bottom, double top)
{
    if (half <= CVRMEpsilon || bottom + CVRMEpsilon >= top)
        return nullptr;
    const TVRMCustomLine2d stretch = TVRMPositionFunc2d::SubSeg(place.axis, centre - half, centre + half, false);
    return TVRMPolyhedron3d::CreateBand(stretch, CBandWidths * place.width, place.leftOffset + CBandReach * place.width,
                                        bottom, top, bottom, top);
}

std::unique_ptr<TVRMPolyhedron3d> TQTKWallHollowCalcEDO::CopyOwnSolid()
{
    return GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone();
}

// ---------------------------------------------------------------------------
// Cutting solid

std::unique_ptr<TVRMPolyhedron3d> TQTKWallHollowCalcEDO::BuildClearCutSolid(double sideFrame, double bottomFrame,
                                                                            double topFrame)
{
    THostPlace place;
    if (PropInteger("SectionTypeID") != 0 || !GetHostPlace(place))
        return CopyOwnSolid();
    const IQTKPointShape* shape = GetPointShape();
    auto solid = BuildWallBandPrism(place, place.position, PropFloat("OpeningWidth") / 2 - sideFrame,
                                    shape->GetBottomElev() + bottomFrame, shape->GetTopElev() - topFrame);
    return solid ? std::move(solid) : std::make_unique<TVRMPolyhedron3d>();
}

std::unique_ptr<TVRMPolyhedron3d> TQTKWallHollowCalcEDO::BuildCutSolid()
{
    const double frame = PropFloat("FillingHeight") / 2;
    return BuildClearCutSolid(PropFloat("FillingWidth") / 2, frame, frame);
}

const TVRMPolyhedron3d* TQTKWallHollowCalcEDO::GetCutSolid()
{
    TVRMLockGuard guard(*sectionLock_);
    if (!cutSolid_)
        cutSolid_ = BuildCutSolid();
    return cutSolid_.get();
}

// ---------------------------------------------------------------------------
// Plan polygon

std::unique_ptr<TVRMMultiPolygon2d> TQTKWallHollowCalcEDO::BuildPlanPolygon(const TQTKHollowWallLines&)
{
    IRDXRecord* wall = hostWall_.get();
    QTK_ASSERT_MSG(wall != nullptr, "the opening has no host wall");
    const IQTKLineShape* wallShape = LineShapeOfRecord(wall);
    const IQTKPointShape* shape = GetPointShape();
    QTK_ASSERT_MSG(wallShape && shape, "the opening or its host wall has no shape to place it by");
    const TVRMCustomLine2d& axis = wallShape->GetLine();
    const double s = TVRMPositionFunc2d::LengthAtPoint(axis, shape->GetInsertPt());
    const double half = PropFloat("OpeningWidth") / 2;
    const IPropValues* wallProps = GetRecordDrawObj(wall)->GetPropValues();
    const double thickness = EdoPropValueFloat(wallProps, "Thickness");
    const double axisOffset = EdoPropValueFloat(wallProps, "AxisOffset");
    // Width "Thickness" whose centre lies Thickness / 2 - AxisOffset right of
    // the axis: AxisOffset on the axis's left, the rest on its right.
    auto polygon = TVRMMultiPolygon2d::Create();
    polygon->Add(TVRMPolygon2d::CreateBand(TVRMPositionFunc2d::SubSeg(axis, s - half, s + half, false), axisOffset,
                                           thickness - axisOffset));
    return polygon;
}

const TVRMMultiPolygon2d* TQTKWallHollowCalcEDO::GetPlanPolygon()
{
    {
        TVRMLockGuard guard(*sectionLock_);
        if (planPolygon_)
            return planPolygon_.get();
    }
    const TQTKHollowWallLines lines = GatherPlanWallLines();
    TVRMLockGuard guard(*sectionLock_);
    if (!planPolygon_)
        planPolygon_ = BuildPlanPolygon(lines);
    return planPolygon_.get();
}

// ---------------------------------------------------------------------------
// Outline on a wall

Ref<IQTKSectionPoly> TQTKWallHollowCalcEDO::BuildSectionPoly(const TVRMCustomLine2d& wallLine) const
{
    auto result = TVRMMultiPolygon2d::Create();
    const IQTKShape* shape = GetElementDrawObj()->GetShape();
    if (const auto* point = dynamic_cast<const IQTKPointShape*>(shape)) {
        // The outline in its own plane, centred on the opening's position
        // along the wall and standing on its bottom elevation.
        const double s0 = PositionOn(wallLine, point->GetInsertPt(), false);
        const double z0 = point->GetPoint().z;
        const TVRMMultiPolygon2d& own = point->GetPolygon();
        const TVRMBox2d box = own.Box();
        for (TVRMPolygon2d ring : own.Items()) {
            ring.Move({s0 - (box.min.x + box.max.x) / 2, z0 - box.min.y});
            result->Add(std::move(ring));
        }
    } else if (const auto* line = dynamic_cast<const IQTKLineShape*>(shape)) {
        const double p1 = PositionOn(wallLine, line->GetLine().StartPt(), true);
        const double p2 = PositionOn(wallLine, line->GetLine().EndPt(), true);
        TVRMPolygon2d ring(std::vector<TVRMPoint2d>{{p1, PropFloat("StartPtBottomElev")},
                                                    {p1, PropFloat("StartPtTopElev")},
                                                    {p2, PropFloat("EndPtTopElev")},
                                                    {p2, PropFloat("EndPtBottomElev")}});
        if (ring.IsClockwise())
            ring.Reverse();
        result->Add(std::move(ring));
    }
    return Ref<IQTKSectionPoly>(new TQTKSectionPoly(std::move(result)));
}

Ref<IQTKSectionPoly> TQTKWallHollowCalcEDO::GetSectionPolyOnWall(IRDXRecord* wall)
{
    RecordRef target(wall);
    {
        TVRMLockGuard guard(*sectionLock_);
        if (!target)
            target = hostWall_;
        if (target && cachedSection_ && cachedWall_.get() == target.get())
            return cachedSection_;
    }
    QTK_ASSERT_MSG(target != nullptr, "an opening without a host wall has no outline on its host wall");
    // The wall's middle line (another element object: fetched before the lock).
    const TVRMCustomLine2d* found = GetLineEntAxisLine(target.get());
    QTK_ASSERT_MSG(found != nullptr, "the wall has no middle line");
    const TVRMCustomLine2d wallLine = *found;

    Ref<IQTKSectionPoly> result, dropped;
    {
        TVRMLockGuard guard(*sectionLock_);
        if (cachedSection_ && cachedWall_.get() == target.get())
            return cachedSection_;
        result = BuildSectionPoly(wallLine);
        dropped = std::exchange(cachedSection_, result);
        cachedWall_ = target;
    }
    return result;
}

// ---------------------------------------------------------------------------
// Relation solid and details

std::unique_ptr<TVRMPolyhedron3d> TQTKWallHollowCalcEDO::BuildRelationPolyhedron()
{
    const IQTKLineShape* wall = LineShapeOfRecord(GetHostWallRecord().get());
    double extension = 0.0;
    if (wall)
        extension = wall->GetLeftWidth() / (wall->GetLine().IsArc() ? 2.0 : 8.0);
    return GetElementDrawObj()->BuildPolyhedron(true, nullptr, extension);
}

void TQTKWallHollowCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    if (!container || container->GetCount() != 0)
        return;
    IRDXRecord* record = GetElementDrawObj()->GetRecord();
    std::unique_ptr<TVRMPolyhedron3d> solid = CopyOwnSolid();
    IRDXRecord* master = FieldExist(record, "EDOPID") ? GetMasterRecord(record, "EDOPID") : nullptr;
    if (master)
        if (const Ref<IQTKCalculatorEDO> masterEdo = GetCalcEDO(master, true))
            TVRMNewPolyBooleanOperator::BooleanOperate(*solid, *masterEdo->GetOriginalPolyhedronIntf()->GetPolyhedron(),
                                                       0);
    TQTKCurrentQty qty = CurrentQtyOf(record);
    auto detail =
        std::make_unique<TQTKSolidDeductDetail>(RecordRef(record), std::move(qty.code), std::move(qty.desc),
                                                std::move(solid), nullptr, UnitChange(qtyRecord, GetOriginalQty()));
    detail->SetIsOriginalQty(true);
    container->Add(std::move(detail));
}
