#include "Calculator/CalcFrame/QTKCalcEDOs/QTKColumnCalcEDO.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKFloatList.h"
#include "Host/ElementModel/LineCalculator/QTKCompareElevCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronLines3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
constexpr int CColumnType = 25;
constexpr char CProjectionError[] = "计算柱在墙上投影出错";

// Two elevation ranges overlap (touching ranges do not).
bool RangesOverlap(double b1, double t1, double b2, double t2)
{
    if (LessEqualThan(b1, b2, CLengthTol))
        return GreaterThan(t1, b2, CLengthTol);
    return LessThan(b1, t2, CLengthTol);
}

std::vector<int> SideFaceIndexes(const TVRMPolyhedron3d& solid)
{
    std::vector<int> faces;
    for (int i = 0; i + 2 < solid.GetFaceCount(); ++i)
        faces.push_back(i);
    return faces;
}

}  // namespace

TQTKColumnCalculatorEDO::TQTKColumnCalculatorEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKCalculatorEDO(mode, drawObj)
{
}

// An extended-solid item keeps its column alive, so none is left here.
TQTKColumnCalculatorEDO::~TQTKColumnCalculatorEDO() = default;

const IQTKPointShape& TQTKColumnCalculatorEDO::PointShape() const
{
    const auto* shape = dynamic_cast<const IQTKPointShape*>(GetElementDrawObj()->GetShape());
    QTK_ASSERT_MSG(shape != nullptr, "the column has no point shape");
    return *shape;
}

const TVRMMultiPolygon2d& TQTKColumnCalculatorEDO::Outline() const
{
    return PointShape().GetOutline();
}

// ---------------------------------------------------------------------------
// Net elevations and solids

void TQTKColumnCalculatorEDO::EnsureNetElevations()
{
    {
        std::lock_guard guard(DataLock());
        if (netRange_)
            return;
    }
    double top = 0.0, bottom = 0.0;
    GetColumnNetElevRange(this, top, bottom);
    std::lock_guard guard(DataLock());
    if (!netRange_)
        netRange_ = std::make_pair(top, bottom);
}

double TQTKColumnCalculatorEDO::GetCalcBottomElev()
{
    EnsureNetElevations();
    return Kept(netRange_)->second;
}

double TQTKColumnCalculatorEDO::GetCalcTopElev()
{
    EnsureNetElevations();
    return Kept(netRange_)->first;
}

std::unique_ptr<TVRMPolyhedron3d> TQTKColumnCalculatorEDO::NetPrism(const TVRMMultiPolygon2d& plan)
{
    const double bottom = GetCalcBottomElev();
    return TVRMPolyhedron3d::CreatePrism(plan, bottom, GetCalcTopElev() - bottom);
}

std::unique_ptr<TVRMPolyhedron3d> TQTKColumnCalculatorEDO::BuildOriginalPolyhedron()
{
    return NetPrism(Outline());
}

std::unique_ptr<TVRMPolyhedron3d> TQTKColumnCalculatorEDO::BuildRelationPolyhedron()
{
    return GetElementDrawObj()->BuildPolyhedron(true, nullptr, 0.0, 0);
}

void TQTKColumnCalculatorEDO::AddRelated(IRDXRecord* record)
{
    QTK_ASSERT(record != nullptr);
    if (!IsVirtualWallRecord(record)) {
        TQTKCalculatorEDO::AddRelated(record);
        return;
    }
    if (!IsLineEntAndPointEntInt(record, GetElementDrawObj()->GetRecord(), 0.5))
        return;
    std::lock_guard guard(DataLock());
    for (const RecordRef& known : relatedLineEnts_)
        if (known.get() == record)
            return;
    relatedLineEnts_.emplace_back(record);
}

TRecordList TQTKColumnCalculatorEDO::GetRelatedLineEntList()
{
    EnsureRelatedList();
    return Kept(relatedLineEnts_);
}

// ---------------------------------------------------------------------------
// Extended solid

Ref<IQTKPolyhedron3dIntf> TQTKColumnCalculatorEDO::GetExtendedPolyhedron(IRDXRecord* source, bool mode, double distance)
{
    QTK_ASSERT(distance >= 0.0);
    if (SameValue(distance, 0.0, CLengthTol))
        return GetOriginalPolyhedronIntf();
    std::lock_guard guard(extendLock_);
    if (extendSource_.get() == static_cast<IInterface*>(source) && extendMode_ == mode &&
        SameValue(extendDistance_, distance, CLengthTol))
        if (Ref<IQTKPolyhedron3dIntf> kept = GExtendPolyhedronList.Touch(extendItem_))
            return kept;
    const TVRMCustomLine2d* line = nullptr;
    Ref<IQTKLineEntBaseCalcEDO> sourceEdo;
    if (source) {
        sourceEdo = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(source, true));
        if (sourceEdo)
            line = mode ? sourceEdo->GetLeftLine() : sourceEdo->GetRightLine();
    }
    const std::unique_ptr<TVRMMultiPolygon2d> polygon =
        GetOffsetOutline(GetElementDrawObj()->GetRecord(), line, mode, distance);
    std::unique_ptr<TVRMPolyhedron3d> solid = NetPrism(*polygon);
    extendSource_ = Ref<IInterface>(source);
    extendMode_ = mode;
    extendDistance_ = distance;
    return GExtendPolyhedronList.AddExtendItem(this, std::move(solid), distance, mode ? 1 : 0, extendSource_,
                                               extendItem_);
}

void TQTKColumnCalculatorEDO::ReleaseExtendItem(const TQTKExtendPolyhedronItem* item)
{
    extendItem_.Forget(item);
}

// ---------------------------------------------------------------------------
// Calculators and stored values

std::unique_ptr<TVRMPolyhedronShell3d> TQTKColumnCalculatorEDO::CreateSideFaceShell()
{
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalPolyhedronIntf();
    return std::make_unique<TVRMPolyhedronShell3d>(*solid->GetPolyhedron(), SideFaceIndexes(*solid->GetPolyhedron()));
}

std::shared_ptr<TQTKSolidCalc3d> TQTKColumnCalculatorEDO::GetVolumeCalc()
{
    return KeepOnce(volumeCalc_, [this] {
        return std::make_shared<TQTKSolidCalc3d>(GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone(),
                                                 RecordRef(GetElementDrawObj()->GetRecord()), 1.0);
    });
}

std::shared_ptr<TQTKShellCalc3d> TQTKColumnCalculatorEDO::GetSideFaceShellCalc()
{
    return KeepOnce(sideShellCalc_, [this] {
        auto calc =
            std::make_shared<TQTKShellCalc3d>(CreateSideFaceShell(), RecordRef(GetElementDrawObj()->GetRecord()), 1.0);
        calc->SetIsArc(PolygonHasArc(Outline()));
        return calc;
    });
}

void TQTKColumnCalculatorEDO::SetOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d> calc)
{
    Keep(overhighVolume_, std::move(calc));
}

void TQTKColumnCalculatorEDO::SetOverhighValueList(std::shared_ptr<TFloatList> list)
{
    Keep(overhighValues_, std::move(list));
}

void TQTKColumnCalculatorEDO::SetOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc)
{
    Keep(overhighFormboard_, std::move(calc));
}

double TQTKColumnCalculatorEDO::GetScaffoldHeight()
{
    std::lock_guard guard(DataLock());
    return scaffoldHeight_;
}

void TQTKColumnCalculatorEDO::SetScaffoldHeight(double value)
{
    std::lock_guard guard(DataLock());
    scaffoldHeight_ = value;
}

TVRMPolyhedronLines3d* TQTKColumnCalculatorEDO::GetCenterLine3d()
{
    return KeepOnce(centerLine_,
                    [this] {
                        const TVRMBox3d box = GetOriginalPolyhedronIntf()->GetPolyhedron()->GetBox();
                        const double x = (box.min.x + box.max.x) / 2.0;
                        const double y = (box.min.y + box.max.y) / 2.0;
                        auto lines = std::make_shared<TVRMPolyhedronLines3d>();
                        lines->AddEdge({x, y, box.max.z}, {x, y, box.min.z});
                        return lines;
                    })
        .get();
}

std::shared_ptr<TVRMPolyhedron3d> TQTKColumnCalculatorEDO::GetSolidCopy()
{
    return KeepOnce(solidCopy_, [this] {
        return std::shared_ptr<TVRMPolyhedron3d>(GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone());
    });
}

void TQTKColumnCalculatorEDO::SetSolidCopy(std::shared_ptr<TVRMPolyhedron3d> solid)
{
    Keep(solidCopy_, std::move(solid));
}

void TQTKColumnCalculatorEDO::AddFinishThickness(int key, int id, double low, double high, std::uint8_t side)
{
    std::lock_guard guard(finishLock_);
    for (TQTKFinishThick& entry : finishThicknesses_)
        if (entry.Key == key && entry.Id == id && entry.Side == side) {
            entry.Low = std::min(static_cast<float>(low), entry.Low);
            entry.High = std::max(static_cast<float>(high), entry.High);
            return;
        }
    finishThicknesses_.push_back(TQTKFinishThick{key, id, static_cast<float>(low), static_cast<float>(high), side});
}

void TQTKColumnCalculatorEDO::GetFinishThicknesses(int key, std::uint8_t side, std::vector<TQTKFinishThick>& list)
{
    list.clear();
    std::lock_guard guard(finishLock_);
    for (const TQTKFinishThick& entry : finishThicknesses_)
        if (entry.Key == key && entry.Side == side)
            list.push_back(entry);
}

// ---------------------------------------------------------------------------
// Projection on a wall

Ref<IQTKSectionPoly> TQTKColumnCalculatorEDO::CalcProjectionOnWall(IRDXRecord* wall)
{
    if (!wall)
        return nullptr;
    std::lock_guard guard(projectionLock_);
    if (projection_ && projectionWall_.get() == wall)
        return projection_;
    const Ref<IQTKLineEntBaseCalcEDO> wallEdo = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(wall, true));
    const TVRMCustomLine2d* mid = wallEdo ? wallEdo->GetMidLine() : nullptr;
    if (!mid)
        return nullptr;
    std::vector<TVRMPoint2d> points;
    TVRMIntersectFunc2d::Intersect(*mid, Outline(), points, CLengthTol);
    if (points.size() < 2)
        return nullptr;
    try {
        const IQTKLineShape* wallShape = GetRecordLineShape(wall);
        if (!wallShape)
            throw std::runtime_error("the wall has no line shape");
        TVRMPositionFunc2d::SortPoint(points, *mid);
        const TVRMPoint2d& pa = points.front();
        const TVRMPoint2d& pb = points.back();
        const double la = mid->LengthAtPoint(pa);
        const double lb = mid->LengthAtPoint(pb);
        const double top = GetCalcTopElev();
        const double bottom = GetCalcBottomElev();
        TVRMPolygon2d ring;
        ring.Add(TVRMPoint2d{la, std::min(top, wallShape->GetTopElevAt(pa))});
        ring.Add(TVRMPoint2d{la, std::max(bottom, wallShape->GetBottomElevAt(pa))});
        ring.Add(TVRMPoint2d{lb, std::max(bottom, wallShape->GetBottomElevAt(pb))});
        ring.Add(TVRMPoint2d{lb, std::min(top, wallShape->GetTopElevAt(pb))});
        auto polygon = std::make_unique<TVRMMultiPolygon2d>();
        polygon->Add(std::move(ring));
        projection_ = MakeRef<TQTKSectionPoly>(std::move(polygon));
        projectionWall_ = RecordRef(wall);
        return projection_;
    } catch (const std::exception&) {
        throw std::runtime_error(CProjectionError);
    }
}

// ---------------------------------------------------------------------------
// Standing free

bool TQTKColumnCalculatorEDO::IsIsolated()
{
    IQTKElementDrawObj* drawObj = GetElementDrawObj();
    if (drawObj->GetElementTypeID() != CColumnType)
        return true;
    TRecordList walls;
    if (!GetRelatedByTypes(MakeElementTypeSet({0, 1, 69}), &walls))
        return true;
    const TVRMBox3d box = drawObj->GetBox();
    const TVRMMultiPolygon2d& outline = Outline();
    for (const RecordRef& wall : walls) {
        const IQTKElementDrawObj* wallObj = GetRecordDrawObj(wall.get());
        if (!wallObj)
            continue;
        const TVRMBox3d wallBox = wallObj->GetBox();
        if (!RangesOverlap(box.min.z, box.max.z, wallBox.min.z, wallBox.max.z) || IsVirtualWallRecord(wall.get()))
            continue;
        const TVRMMultiPolygon2d& wallOutline = wallObj->GetShape()->GetOutline();
        if (outline.IsEmpty() || wallOutline.IsEmpty())
            continue;
        if (TVRMPositionFunc2d::PolyPolyPosition(outline.GetItems(0), wallOutline.GetItems(0), CLengthTol) != 0)
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Caches and details

void TQTKColumnCalculatorEDO::ClearQtyItems()
{
    TQTKCalculatorEDO::ClearQtyItems();
    Keep(solidCopy_, {});
}

void TQTKColumnCalculatorEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    Keep(overhighValues_, {});
    Keep(overhighVolume_, {});
    Keep(overhighFormboard_, {});
    Keep(volumeCalc_, {});
    Keep(sideShellCalc_, {});
    Keep(centerLine_, {});
}

bool TQTKColumnCalculatorEDO::AddOriginalQtyDetail(IRDXRecord* qtyRecord)
{
    if (!qtyRecord)
        return false;
    switch (qtyRecord->GetID()) {
        case 55:
        case 126: {
            if (TQTKDeductDetailContainer* container = GetDeductDetailContainer()) {
                IRDXRecord* record = GetElementDrawObj()->GetRecord();
                TQTKCurrentQty qty = CurrentQtyOf(record);
                auto detail = std::make_unique<TQTKShellDeductDetail>(RecordRef(record), std::move(qty.code),
                                                                      std::move(qty.desc), CreateSideFaceShell(),
                                                                      nullptr, MMToM(Outline().Perimeter()));
                detail->SetIsOriginalQty(true);
                container->Add(std::move(detail));
            }
            return true;
        }
        case 56:
        case 127:
        case 623:
        case 624:
            GetVolumeCalc();
            return false;
        case 57:
        case 128:
            GetSideFaceShellCalc();
            return false;
        default:
            return false;
    }
}

void TQTKColumnCalculatorEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCalculatorEDO::FillDeductDetail(qtyRecord);
    if (!qtyRecord || !IsDeductDetailEmpty())
        return;
    switch (qtyRecord->GetID()) {
        case 58:
        case 129:
            GetOverhighVolumeCalc();
            break;
        case 59:
        case 130:
            GetOverhighFormboardCalc();
            break;
        default:
            AddOriginalSolidDetail(qtyRecord);
            break;
    }
}
