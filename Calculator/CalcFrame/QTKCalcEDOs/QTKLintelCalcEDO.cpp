#include "Calculator/CalcFrame/QTKCalcEDOs/QTKLintelCalcEDO.h"

#include <algorithm>
#include <stdexcept>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKLineEntBaseCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSolidBuilder.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"
#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKArchSectionPolygons.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr char CProjectionError[] = "计算过梁在墙上的投影出错";
constexpr int CAlcoveType = 13;

TVRMCustomLine2d OffsetCopy(const TVRMCustomLine2d& line, double d)
{
    TVRMCustomLine2d moved;
    if (IsZero(d) || !TVRMOffsetFunc2d::Offset(line, d, moved))
        return line;
    return moved;
}

double Prop(const IQTKElementDrawObj* drawObj, std::string_view name)
{
    return drawObj ? EdoPropValueFloat(drawObj->GetPropValues(), name) : 0.0;
}

// Trims a solid to the band between Line moved by -Half and +Half and puts
// its end faces last (start, then end).
void TrimAlong(TVRMPolyhedron3d& solid, const TVRMCustomLine2d& line, double half)
{
    const TVRMCustomLine2d left = OffsetCopy(line, -half), right = OffsetCopy(line, half);
    TVRMNewPolyBooleanOperator::Cut(solid, left, right);
    int start = -1, end = -1;
    TQTKLineEntBaseCalcEDO::LocateEndFaces(solid, left, right, start, end);
}

}  // namespace

TQTKLintelCalcEDO::TQTKLintelCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKCalculatorEDO(mode, drawObj), shapeHasArc_(drawObj && ShapeHasArc(drawObj))
{
}

TQTKLintelCalcEDO::~TQTKLintelCalcEDO()
{
    extendSlot_.Remove();
}

const IQTKLineShape* TQTKLintelCalcEDO::LineShape() const
{
    return GetDrawObjLineShape(GetElementDrawObj());
}

IRDXRecord* TQTKLintelCalcEDO::Record() const
{
    return GetElementDrawObj()->GetRecord();
}

const TVRMPolyhedron3d& TQTKLintelCalcEDO::OriginalSolid()
{
    static const TVRMPolyhedron3d empty;
    const TVRMPolyhedron3d* solid = GetOriginalPolyhedron();
    return solid ? *solid : empty;
}

// ---------------------------------------------------------------------------
// Settings and caches

void TQTKLintelCalcEDO::ClearQtyItems()
{
    TQTKCalculatorEDO::ClearQtyItems();
    IRDXRecord* settings = GetSettingRow(GetCalculatorSetting(), "QTKLintelCalcSettings");
    archTopFormboard_.store(FieldValueInteger(settings, "ArchLintelFormboardMethod", 0) == 1);
}

void TQTKLintelCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    std::lock_guard guard(DataLock());
    volumeCalc_.reset();
    formboardCalc_.reset();
    formboardShell_.reset();
    bottomCalc_.reset();
}

void TQTKLintelCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCalculatorEDO::FillDeductDetail(qtyRecord);
    if (!qtyRecord || !IsDeductDetailEmpty())
        return;
    switch (qtyRecord->GetID()) {
        case 32:
        case 640:
            GetVolumeCalc();
            break;
        case 33:
            GetFormboardShellCalc();
            break;
        default:
            AddOriginalSolidDetail(qtyRecord);
            break;
    }
}

// ---------------------------------------------------------------------------
// Section and calculation line

const TVRMMultiPolygon2d* TQTKLintelCalcEDO::GetPlanPolygon()
{
    std::call_once(sectionOnce_, [this] {
        const IQTKLineShape* shape = LineShape();
        if (!shape)
            return;
        auto section = shape->GetPolygon().Clone();
        const IQTKElementDrawObj* drawObj = GetElementDrawObj();
        if (drawObj->GetPropValues()->IsPropNull("SectionWidth") && section->GetCount() > 0) {
            std::vector<TVRMVertex2d>& vertices = section->GetItems(0).Vertices();
            const double half = shape->GetWidth() / 2.0;
            const double xs[] = {-half, half, half, -half};
            for (size_t i = 0; i < std::min<size_t>(4, vertices.size()); ++i)
                vertices[i].pt.x = xs[i];
        }
        section_ = std::move(section);
    });
    return section_.get();
}

TVRMCustomLine2d TQTKLintelCalcEDO::GetCalcLineByHangOut(const TVRMCustomLine2d& centre, int hangOut)
{
    const IQTKLineShape* shape = LineShape();
    const double bottom = shape->GetStartPtBottomElev();
    TQTKLinearCalc2d calc(centre, true, 1.0, 0.0);
    TRecordList related;
    GetRelatedByTypes(MakeElementTypeSet({0, 1, 25, 26}), &related);
    for (const RecordRef& other : related) {
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(other.get());
        const int type = drawObj ? drawObj->GetElementTypeID() : -1;
        if (type == 25 || type == 26) {
            const auto* point = dynamic_cast<const IQTKPointShape*>(drawObj->GetShape());
            if (point && LessEqualThan(point->GetBottomElev(), bottom) && LessEqualThan(bottom, point->GetTopElev()))
                calc.Append(drawObj->GetShape()->GetOutline(), 1, nullptr, true, CVRMEpsilon);
        } else if (type == 0 || type == 1) {
            const IQTKLineShape* wallShape = GetDrawObjLineShape(drawObj);
            if (!wallShape || !LessEqualThan(wallShape->GetStartPtBottomElev(), bottom) ||
                !LessEqualThan(bottom, wallShape->GetStartPtTopElev()))
                continue;
            const auto wall = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(other, true));
            if (const TVRMMultiPolygon2d* plan = wall ? wall->GetPlanPolygon() : nullptr)
                calc.Append(*plan, 1, nullptr, true, CVRMEpsilon);
        }
    }
    // Where the supports begin and end along the line. A line that nothing
    // covers, or that hangs out no more than the setting on a side, keeps
    // its own end there.
    const double length = centre.Length();
    double first = length, last = 0.0;
    TVRMPoint2d from = centre.StartPt(), to = centre.EndPt();
    const TVRMSeg2dList covered = calc.GetMarkedSegs();
    for (const TVRMCustomLine2d& piece : covered.Items()) {
        const double s = centre.LengthAtPoint(piece.StartPt()), e = centre.LengthAtPoint(piece.EndPt());
        if (s < first) {
            first = s;
            from = piece.StartPt();
        }
        if (e > last) {
            last = e;
            to = piece.EndPt();
        }
    }
    if (hangOut < first)
        from = centre.StartPt();
    if (hangOut < length - last)
        to = centre.EndPt();
    return TVRMPositionFunc2d::SubSeg(centre, from, to);
}

const TVRMCustomLine2d* TQTKLintelCalcEDO::GetCalcLine()
{
    std::call_once(calcLineOnce_, [this] {
        const IQTKLineShape* shape = LineShape();
        if (!shape)
            return;
        const TVRMCustomLine2d centre = OffsetCopy(shape->GetLine(), shape->GetWidth() / 2.0 - shape->GetAxisOffset());
        IRDXRecord* settings = GetSettingRow(GetCalculatorSetting(), "QTKLintelCalcSettings");
        const int hangOut = FieldValueInteger(settings, "HangOutLintelCalcMethod", 0);
        calcLine_ = std::make_unique<TVRMCustomLine2d>(hangOut == 0 ? centre : GetCalcLineByHangOut(centre, hangOut));
    });
    return calcLine_.get();
}

// ---------------------------------------------------------------------------
// Solids

std::unique_ptr<TVRMPolyhedron3d> TQTKLintelCalcEDO::BuildOriginalPolyhedron()
{
    const TVRMCustomLine2d* line = GetCalcLine();
    QTK_ASSERT(line != nullptr);
    const IQTKLineShape* shape = LineShape();
    const double topStart = shape->GetTopElevAt(line->StartPt()), topEnd = shape->GetTopElevAt(line->EndPt());
    const TQTKLineSectionInfo& info = shape->GetSectionInfo();
    if (!(info.archHeight > 0.0)) {
        // The section's top centre travels along the centre line.
        const TVRMMultiPolygon2d* section = GetPlanPolygon();
        if (!section || section->GetCount() == 0)
            return nullptr;
        const TVRMBox2d box = section->Box();
        return TVRMPolyhedron3d::CreateSweep(*section, *line, TVRMPoint2d{(box.min.x + box.max.x) / 2.0, box.max.y},
                                             topStart, topEnd);
    }
    TVRMMultiPolygon2d profile;
    TVRMCustomLine2d across;
    const double height = EdoPropValueInteger(GetElementDrawObj()->GetPropValues(), "SectionHeight");
    const bool built = info.endIndex == -1
                           ? GetLineHalfArchSectionPolyAndExtendLine(shape->GetLine(), info, height, shape->GetWidth(),
                                                                     shape->GetAxisOffset(), profile, across)
                           : GetLineOneArchSectionPolyAndExtendLine(shape->GetLine(), info, height, shape->GetWidth(),
                                                                    shape->GetAxisOffset(), profile, across);
    if (!built)
        return nullptr;
    // The profile is swept across the lintel, so both ends of the sweep stand
    // at the top of the lintel's start.
    auto solid = TVRMPolyhedron3d::CreateSweep(profile, across, TVRMPoint2d{0.0, 0.0}, topStart, topStart);
    if (solid && solid->HasFaces())
        TrimAlong(*solid, *line, shape->GetWidth());
    return solid;
}

std::unique_ptr<TVRMPolyhedron3d> TQTKLintelCalcEDO::BuildRelationPolyhedron()
{
    return GetElementDrawObj()->BuildPolyhedron(true, nullptr);
}

std::vector<int> TQTKLintelCalcEDO::EndFaces()
{
    const int n = OriginalSolid().GetFaceCount();
    if (n < 2)
        return {};
    return {n - 2, n - 1};
}

Ref<IQTKPolyhedron3dIntf> TQTKLintelCalcEDO::GetExtendedPolyhedron(IRDXRecord* source, bool mode, double distance)
{
    QTK_ASSERT(distance >= 0.0);
    if (IsZero(distance))
        return GetOriginalPolyhedronIntf();
    if (Ref<IQTKPolyhedron3dIntf> kept = extendSlot_.Find(source, mode, distance))
        return kept;
    std::unique_ptr<TVRMPolyhedron3d> solid;
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const IQTKLineShape* shape = LineShape();
    const TVRMCustomLine2d* line = GetCalcLine();
    if (shape && line && IsArchDrawObj(drawObj)) {
        solid = TQTKSolidBuilder::BuildArchBeamOffsetSolid(drawObj, shape->GetLine(), distance, shape->GetAxisOffset(),
                                                           shape->GetWidth());
        if (solid && solid->HasFaces())
            TrimAlong(*solid, *line, shape->GetWidth() / 2.0 + distance);
    } else if (line) {
        const TVRMMultiPolygon2d* section = GetPlanPolygon();
        const auto grown = GetOffsetLineEntOutline(Record(), false, source, distance, mode, true);
        if (section && section->GetCount() > 0 && grown && grown->GetCount() > 0) {
            const TVRMBox2d box = section->Box();
            solid = TVRMPolyhedron3d::CreateSweep(*grown, *line, TVRMPoint2d{(box.min.x + box.max.x) / 2.0, box.max.y},
                                                  Prop(drawObj, "StartPtTopElev"), Prop(drawObj, "EndPtTopElev"));
        }
    }
    if (!solid)
        solid = std::make_unique<TVRMPolyhedron3d>();
    return extendSlot_.Keep(this, std::move(solid), source, mode, distance);
}

// ---------------------------------------------------------------------------
// Formwork and calculators

std::unique_ptr<TQTKShellCalc3d> TQTKLintelCalcEDO::MakeShellCalc(std::unique_ptr<TVRMPolyhedronShell3d> shell)
{
    auto calc = std::make_unique<TQTKShellCalc3d>(std::move(shell), RecordRef(Record()), 1.0);
    calc->SetIsArc(shapeHasArc_);
    return calc;
}

void TQTKLintelCalcEDO::SubtractSupports(TVRMPolyhedronShell3d& shell, bool withOpenings)
{
    TRecordList supports;
    if (!GetElementDrawObj()->GetParentRecord() || !GetRelatedByTypes(MakeElementTypeSet({0, 1, 69}), &supports) ||
        supports.empty())
        return;
    TRecordList openings;
    if (withOpenings && (!GetRelatedByTypes(MakeElementTypeSet({4, 5, 6, 7, 8, 9, 13}), &openings) || openings.empty()))
        return;
    const auto solidOf = [](const RecordRef& record) -> Ref<IQTKPolyhedron3dIntf> {
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
        return edo ? edo->GetOriginalPolyhedronIntf() : nullptr;
    };
    for (const RecordRef& support : supports) {
        const Ref<IQTKPolyhedron3dIntf> solid = solidOf(support);
        if (!solid)
            continue;
        if (!withOpenings) {
            shell.Subtract(*solid->GetPolyhedron(), CVRMSuperpositionContact);
            continue;
        }
        auto rest = solid->GetPolyhedron()->Clone();
        for (const RecordRef& opening : openings)
            if (const Ref<IQTKPolyhedron3dIntf> hole = solidOf(opening))
                TVRMNewPolyBooleanOperator::BooleanOperate(*rest, *hole->GetPolyhedron(), CVRMBoolSubtract);
        shell.Subtract(*rest, CVRMSuperpositionContact);
    }
}

std::unique_ptr<TVRMPolyhedronShell3d> TQTKLintelCalcEDO::FacesByCodes(TQTKFaceCodeSet codes)
{
    const TVRMPolyhedron3d& solid = OriginalSolid();
    const TVRMCustomLine2d* line = GetCalcLine();
    if (!line)
        return std::make_unique<TVRMPolyhedronShell3d>();
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    if (IsArchDrawObj(drawObj)) {
        std::vector<int> faces;
        GetInclinedFaceIndices(drawObj, solid, *line, codes, EndFaces(), faces);
        return std::make_unique<TVRMPolyhedronShell3d>(solid, faces);
    }
    return BuildShellByDirection(solid, *line, codes, EndFaces(), GetBeamFormboardAngle(GetCalculatorSetting()));
}

double TQTKLintelCalcEDO::AppendToFormboardShell(std::unique_ptr<TVRMPolyhedronShell3d> shell)
{
    SubtractSupports(*shell, false);
    const double area = shell->GetArea();
    std::lock_guard guard(DataLock());
    if (!formboardShell_)
        formboardShell_ = std::make_unique<TVRMPolyhedronShell3d>();
    for (const TVRMFace3d& face : shell->GetFaces())
        formboardShell_->AddFace(face);
    return area;
}

double TQTKLintelCalcEDO::CalcEndFormboardArea()
{
    const TVRMCustomLine2d* line = GetCalcLine();
    if (!line)
        return 0.0;
    // With the along code alone: the two end faces themselves.
    return AppendToFormboardShell(BuildShellByDirection(OriginalSolid(), *line, MakeFaceCodeSet({CQTKFaceDirAlong}),
                                                        EndFaces(), GetBeamFormboardAngle(GetCalculatorSetting())));
}

double TQTKLintelCalcEDO::CalcSideFormboardArea()
{
    return AppendToFormboardShell(FacesByCodes(MakeFaceCodeSet({CQTKFaceDirLeft, CQTKFaceDirRight})));
}

TQTKShellCalc3d* TQTKLintelCalcEDO::GetBottomShellCalc()
{
    {
        std::lock_guard guard(DataLock());
        if (bottomCalc_)
            return bottomCalc_.get();
    }
    const bool archTop = IsArchDrawObj(GetElementDrawObj()) && archTopFormboard_.load();
    auto shell = FacesByCodes(archTop ? MakeFaceCodeSet({CQTKFaceDirBottom, CQTKFaceDirTop})
                                      : MakeFaceCodeSet({CQTKFaceDirBottom}));
    SubtractSupports(*shell, true);
    auto calc = std::make_unique<TQTKShellCalc3d>(std::move(shell), RecordRef(Record()), OriginalSolid().Clone(), 1.0);
    calc->SetIsArc(shapeHasArc_);
    std::lock_guard guard(DataLock());
    if (!bottomCalc_)
        bottomCalc_ = std::move(calc);
    return bottomCalc_.get();
}

TQTKShellCalc3d* TQTKLintelCalcEDO::GetFormboardShellCalc()
{
    std::lock_guard guard(DataLock());
    if (!formboardCalc_)
        formboardCalc_ =
            MakeShellCalc(formboardShell_ ? std::move(formboardShell_) : std::make_unique<TVRMPolyhedronShell3d>());
    return formboardCalc_.get();
}

TQTKSolidCalc3d* TQTKLintelCalcEDO::GetVolumeCalc()
{
    {
        std::lock_guard guard(DataLock());
        if (volumeCalc_)
            return volumeCalc_.get();
    }
    auto calc = std::make_unique<TQTKSolidCalc3d>(OriginalSolid().Clone(), RecordRef(Record()), 1.0);
    std::lock_guard guard(DataLock());
    if (!volumeCalc_)
        volumeCalc_ = std::move(calc);
    return volumeCalc_.get();
}

// ---------------------------------------------------------------------------
// Wall projection and alcove offset

Ref<IQTKSectionPoly> TQTKLintelCalcEDO::CalcProjectionOnWall(IRDXRecord* wall)
{
    TVRMLockGuard guard(projectionLock_);
    if (projection_ && projectionWall_.get() == wall)
        return projection_;
    projection_ = Ref<IQTKSectionPoly>(new TQTKSectionPoly(std::make_unique<TVRMMultiPolygon2d>()));
    projectionWall_ = RecordRef(wall);
    IRDXRecord* used = wall;
    if (!used) {
        const IQTKElementDrawObj* opening = GetRecordDrawObj(GetElementDrawObj()->GetParentRecord());
        used = opening ? opening->GetParentRecord() : nullptr;
    }
    const auto wallEdo = used ? RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(RecordRef(used), true)) : nullptr;
    const TVRMCustomLine2d* mid = wallEdo ? wallEdo->GetMidLine() : nullptr;
    const TVRMCustomLine2d* line = GetCalcLine();
    if (!mid || !line || !TVRMPositionFunc2d::IsParallel(*mid, *line, 0.002))
        return projection_;
    const TVRMPoint2d p1 = TVRMPositionFunc2d::ClosestPointTo(line->StartPt(), *mid, true);
    const TVRMPoint2d p2 = TVRMPositionFunc2d::ClosestPointTo(line->EndPt(), *mid, true);
    if (IsZero(p1.DistanceTo(p2)))
        return projection_;
    try {
        const IQTKElementDrawObj* drawObj = GetElementDrawObj();
        const double top = Prop(drawObj, "TopElev"), height = Prop(drawObj, "SectionHeight");
        const double l1 = mid->LengthAtPoint(p1), l2 = mid->LengthAtPoint(p2);
        TVRMPolygon2d ring(std::vector<TVRMPoint2d>{{l1, top}, {l1, top - height}, {l2, top - height}, {l2, top}});
        // Outer rings run counter-clockwise (a lintel running against the wall's line gives it clockwise).
        if (ring.IsClockwise())
            ring.Reverse();
        projection_->GetPolygon()->Add(std::move(ring));
    } catch (const std::exception&) {
        throw std::runtime_error(CProjectionError);
    }
    return projection_;
}

double TQTKLintelCalcEDO::GetAlcoveOffset(IRDXRecord* wall)
{
    const IQTKElementDrawObj* alcove = GetRecordDrawObj(GetElementDrawObj()->GetParentRecord());
    if (!alcove || alcove->GetElementTypeID() != CAlcoveType || !wall)
        return 0.0;
    const IQTKElementDrawObj* wallDrawObj = GetRecordDrawObj(wall);
    const IQTKLineShape* wallShape = GetDrawObjLineShape(wallDrawObj);
    const auto* point = dynamic_cast<const IQTKPointShape*>(alcove->GetShape());
    if (!wallShape || !point)
        return 0.0;
    const double d = -(Prop(wallDrawObj, "Thickness") - Prop(alcove, "Depth")) / 2.0;
    return TVRMPositionFunc2d::PointSegSide(point->GetInsertPt(), wallShape->GetLine(), CVRMEpsilon) == 1 ? -d : d;
}
