#include "Calculator/Common/QTKOverHighBottomElevCalcInfo.h"

#include <algorithm>
#include <cmath>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKBoxService.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorThreadSyncUtil.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double COpenBound = 2147483647.0;

bool IsSlabType(int type)
{
    return type == 19 || type == 20;
}

bool IsSlabOrRaftType(int type)
{
    return IsSlabType(type) || type == 48;
}

// Bands that are taken whenever they cover something (the others stop the
// walk once a band holding the element's bottom has been taken).
bool IsAlwaysCoveringType(int type)
{
    switch (type) {
        case 21:
        case 28:
        case 29:
        case 30:
        case 31:
        case 47:
        case 51:
        case 52:
        case 53:
        case 85:
            return true;
        default:
            return false;
    }
}

int TypeOf(const IQTKElementDrawObj* drawObj)
{
    return drawObj ? drawObj->GetElementTypeID() : -1;
}

double Prop(const IQTKElementDrawObj* drawObj, std::string_view name)
{
    return EdoPropValueFloat(drawObj ? drawObj->GetPropValues() : nullptr, name, 0.0);
}

const IQTKPointShape* PointShapeOf(const IQTKElementDrawObj* drawObj)
{
    return drawObj ? dynamic_cast<const IQTKPointShape*>(drawObj->GetShape()) : nullptr;
}

// The top face of a face element is level.
bool HasLevelTop(const IQTKFaceShape& shape)
{
    const std::unique_ptr<TVRMPlane3d> top = GetFaceShapePlane(&shape, true);
    return top && SameValue(top->GetNormal().z, 1.0, CVRMPlaneEpsilon);
}

// Lowest and highest point of a sloped top face over the part of its outline
// inside Outline; False when the two do not overlap.
bool SlopedTopRangeOver(const IQTKFaceShape& shape, const TVRMMultiPolygon2d& outline, double& low, double& high)
{
    const std::unique_ptr<TVRMPlane3d> top = GetFaceShapePlane(&shape, true);
    const std::unique_ptr<TVRMMultiPolygon2d> over = TVRMIntersectFunc2d::IntPolygon(shape.GetOutline(), outline);
    if (!top || !over || over->IsEmpty())
        return false;
    low = COpenBound;
    high = -COpenBound;
    auto take = [&](const TVRMPoint2d& p) {
        double z = 0.0;
        if (top->GetZ(p.x, p.y, z)) {
            low = std::min(low, z);
            high = std::max(high, z);
        }
    };
    for (const TVRMPolygon2d& ring : over->Items())
        for (const TVRMCustomLine2d& edge : ring.GetEdges()) {
            take(edge.StartPt());
            if (edge.IsArc())
                take(edge.MiddlePoint());
        }
    return low <= high;
}

int CompareBandTops(const TQTKElevEDOInfo& a, const TQTKElevEDOInfo& b, bool ascending)
{
    const int byTop = ascending ? CompareValue(a.GetSecondElev(), b.GetSecondElev())
                                : CompareValue(b.GetSecondElev(), a.GetSecondElev());
    if (byTop != 0)
        return byTop;
    // Equal tops: a slab or raft comes after any other element.
    return static_cast<int>(IsSlabOrRaftType(TypeOf(a.GetDrawObj()))) -
           static_cast<int>(IsSlabOrRaftType(TypeOf(b.GetDrawObj())));
}

}  // namespace

// ---------------------------------------------------------------------------
// TQTKElevEDOInfo

TQTKElevEDOInfo::TQTKElevEDOInfo(IQTKElementDrawObj* drawObj, double refElev, double secondElev, double firstElev)
    : drawObj_(drawObj), refElev_(refElev), secondElev_(secondElev), firstElev_(firstElev)
{
}

TQTKElevEDOInfo::~TQTKElevEDOInfo() = default;

const TVRMMultiPolygon2d& TQTKElevEDOInfo::GetPolygon()
{
    if (TypeOf(drawObj_) != 21)
        return drawObj_->GetShape()->GetOutline();
    if (!spiralPolygon_)
        spiralPolygon_ = BuildSpiralSlabBandPolygon(*drawObj_, refElev_, firstElev_, secondElev_);
    return *spiralPolygon_;
}

Ref<TQTKElevEDOInfo> TQTKElevEDOInfo::Copy() const
{
    return MakeRef<TQTKElevEDOInfo>(drawObj_, refElev_, secondElev_, firstElev_);
}

std::unique_ptr<TVRMMultiPolygon2d> BuildSpiralSlabBandPolygon(const IQTKElementDrawObj& drawObj, double refElev,
                                                               double firstElev, double secondElev)
{
    auto result = std::make_unique<TVRMMultiPolygon2d>();
    const IQTKPointShape* shape = PointShapeOf(&drawObj);
    const double height = Prop(&drawObj, "TopElev") - Prop(&drawObj, "BottomElev");
    if (!shape || IsZero(height))
        return result;
    const bool clockwise = EdoPropValueInteger(drawObj.GetPropValues(), "ClockWise", 0) == 1;
    const double spiral = Prop(&drawObj, "SpiralAngle");
    auto angleAt = [&](double z) {
        const double degrees = spiral * (z - refElev + height) / height;
        return (clockwise ? -degrees : degrees) * CVRMPi / 180.0;
    };
    const double a1 = angleAt(firstElev), a2 = angleAt(secondElev);
    const double inner = Prop(&drawObj, "InternalRadius");
    const double outer = inner + Prop(&drawObj, "Width");

    // The ring's centre is the origin of the shape's own frame: mirrored
    // about the line through the base point along x, turned about the base
    // point, then moved onto the insertion point.
    const TVRMPoint2d base = shape->GetBasePoint();
    const bool mirrored = shape->IsMirrored();
    const double turn = shape->GetRotateAngle();
    TVRMPoint2d centre{0.0, mirrored ? 2.0 * base.y : 0.0};
    const double dx = centre.x - base.x, dy = centre.y - base.y;
    const TVRMPoint3d insert = shape->GetPoint();
    centre = {base.x + dx * std::cos(turn) - dy * std::sin(turn) + insert.x - base.x,
              base.y + dx * std::sin(turn) + dy * std::cos(turn) + insert.y - base.y};
    auto placed = [&](double angle) { return (mirrored ? -angle : angle) + turn; };

    if (LessThan(std::fabs(a2 - a1), 2.0 * CVRMPi)) {
        const double mid = (inner + outer) / 2.0;
        const double sweep = mirrored ? -(a2 - a1) : a2 - a1;
        const TVRMCustomLine2d arc = TVRMCustomLine2d::ArcByCenter(centre, mid, placed(a1), sweep);
        TVRMPolygon2d band = TVRMPolygon2d::CreateBand(arc, (outer - inner) / 2.0, (outer - inner) / 2.0);
        if (band.IsClockwise())
            band.Reverse();
        result->Add(std::move(band));
    } else {
        result->Add(TVRMPolygon2d::CreateCircle(centre, outer));
        if (inner > 0.0)
            result->Add(TVRMPolygon2d::CreateCircle(centre, inner, true));
    }
    return result;
}

// ---------------------------------------------------------------------------
// Coverage calculators

TQTKPointFaceElevEDOCalculator::TQTKPointFaceElevEDOCalculator(IQTKCalculatorEDO* edo, double tolerance)
{
    Tolerance = tolerance;
    const IQTKElementDrawObj* drawObj = edo ? edo->GetElementDrawObj() : nullptr;
    QTK_ASSERT(drawObj != nullptr);
    Outline = drawObj->GetShape()->GetOutline();
    Remaining = Outline.Clone();
    if (IsSlabType(drawObj->GetElementTypeID())) {
        TRecordList walls;
        edo->GetRelatedByTypes(MakeElementTypeSet({0, 1, 15, 16, 17, 18, 25, 26}), &walls);
        for (const RecordRef& record : walls)
            if (const IQTKElementDrawObj* other = GetRecordDrawObj(record.get()))
                Remaining = SyncSubPolygon(*Remaining, other->GetShape()->GetOutline());
    }
    FullArea = Remaining->Area();
    if (FullArea == 0.0) {
        Remaining = Outline.Clone();
        FullArea = Remaining->Area();
    }
    RemainingArea = FullArea;
}

bool TQTKPointFaceElevEDOCalculator::IsValid() const
{
    return FullArea != 0.0;
}

bool TQTKPointFaceElevEDOCalculator::IsCovered() const
{
    return !SameValue(RemainingArea, FullArea) && CompareValue(RemainingArea, 0.0, Tolerance) <= 0;
}

bool TQTKPointFaceElevEDOCalculator::TryCover(const TVRMMultiPolygon2d& polygon)
{
    std::unique_ptr<TVRMMultiPolygon2d> next = SyncSubPolygon(*Remaining, polygon);
    const double nextArea = next->Area();
    bool holds = SameValue(RemainingArea - nextArea, FullArea) || CompareValue(RemainingArea, nextArea, Tolerance) > 0;
    if (!holds && Tolerance == 0.0) {
        // A band that only touches (or exactly meets) the outline holds.
        auto meets = [](const TVRMPolygon2d& item, const TVRMMultiPolygon2d& set) {
            for (const TVRMPolygon2d& other : set.Items())
                switch (TVRMPositionFunc2d::PolyPolyPosition(item, other, CVRMEpsilon)) {
                    case 2:
                    case 3:
                    case 4:
                    case 7:
                        return true;
                    default:
                        break;
                }
            return false;
        };
        for (const TVRMPolygon2d& item : polygon.Items())
            if (meets(item, Outline) && meets(item, *Remaining)) {
                holds = true;
                break;
            }
    }
    if (holds) {
        Remaining = std::move(next);
        RemainingArea = nextArea;
    }
    return holds;
}

TQTKLineElevEDOCalculator::TQTKLineElevEDOCalculator(IQTKCalculatorEDO* edo, double tolerance)
{
    Tolerance = tolerance;
    Mark = 1;
    const TVRMCustomLine2d* left = nullptr;
    const TVRMCustomLine2d* right = nullptr;
    bool sided = true;
    if (auto* line = dynamic_cast<IQTKLineEntBaseCalcEDO*>(edo)) {
        left = line->GetLeftLine();
        right = line->GetRightLine();
    } else if (auto* unit = dynamic_cast<IQTKInsulatingWallUnitCalcEDO*>(edo)) {
        left = unit->GetLeftLine();
        right = unit->GetRightLine();
    } else if (auto* face = dynamic_cast<IQTKAttachWallFaceEntBaseCalcEDO*>(edo)) {
        left = face->GetLeftLine();
        right = face->GetRightLine();
    } else {
        sided = false;
    }
    const IQTKLineShape* shape = GetDrawObjLineShape(edo ? edo->GetElementDrawObj() : nullptr);
    QTK_ASSERT_MSG(sided && (shape || (left && right)), "the element offers no side lines");
    LeftCalc = std::make_unique<TQTKLinearCalc2d>(left ? *left : shape->GetLine(), false);
    RightCalc = std::make_unique<TQTKLinearCalc2d>(right ? *right : shape->GetLine(), false);
}

TQTKLineElevEDOCalculator::~TQTKLineElevEDOCalculator() = default;

bool TQTKLineElevEDOCalculator::IsValid() const
{
    return LeftCalc->GetAllLength() + RightCalc->GetAllLength() != 0.0;
}

bool TQTKLineElevEDOCalculator::IsCovered() const
{
    for (const TQTKLinearCalc2d* calc : {LeftCalc.get(), RightCalc.get()})
        if (SameValue(calc->GetNullLength(), calc->GetAllLength()) ||
            CompareValue(calc->GetNullLength(), 0.0, Tolerance) > 0)
            return false;
    return true;
}

bool TQTKLineElevEDOCalculator::TryCover(const TVRMMultiPolygon2d& polygon)
{
    const TQTKLinearCalc2d savedLeft = *LeftCalc, savedRight = *RightCalc;
    LeftCalc->Append(polygon, Mark, nullptr, false, CVRMEpsilon);
    RightCalc->Append(polygon, Mark, nullptr, false, CVRMEpsilon);
    const double a = LeftCalc->GetLengthFor(Mark), b = RightCalc->GetLengthFor(Mark);
    const bool holds = SameValue(a, LeftCalc->GetAllLength()) || SameValue(b, RightCalc->GetAllLength()) ||
                       CompareValue(std::max(a, b), 0.0, Tolerance) > 0;
    if (!holds) {
        *LeftCalc = savedLeft;
        *RightCalc = savedRight;
    }
    ++Mark;
    return holds;
}

// ---------------------------------------------------------------------------
// The search

bool TQTKCustomOverHighBottomElevAnalyzer::CollectElevInfos(const TVRMMultiPolygon2d& outline, const IRDXTable* table,
                                                            int regionId, int recordId, TQTKElevEDOInfoList& elevInfos,
                                                            double lowerBound)
{
    elevInfos.clear();
    std::vector<Ref<TQTKElevEDOInfo>> bands;

    // The top of the region's foundation floor: bands at or below it are not
    // looked at (unless foundations are). No such floor: no bound.
    double floor0Top = CQTKNoLowerBound;
    if (!IncludesFoundations()) {
        const IRDXTable* floors = table ? FindTableNear(table->GetDatabase(), "Floor") : nullptr;
        for (int i = 0; floors && i < floors->GetRowCount(); ++i) {
            const IRDXRecord* row = floors->GetRow(i);
            if (FieldValueInteger(row, "RegionID", -1) == regionId && FieldValueInteger(row, "StartFloorNo", 1) == 0) {
                floor0Top =
                    (FieldValueFloat(row, "StructuralElevation", 0.0) + FieldValueFloat(row, "Height", 0.0)) * 1000.0;
                break;
            }
        }
    }

    const IQTKBoxService* service = GetQTKModelRuntimeOptions().GetBoxService();
    const std::vector<int> ids = service && table ? service->Query(GetSearchBox(), 1) : std::vector<int>();
    const TQTKElementTypeSet foundationTypes = GetFoundationTypes();
    for (int id : ids) {
        IRDXRecord* candidate = table->GetRecordByID(id);
        if (!candidate || candidate->GetID() == recordId)
            continue;
        IQTKElementDrawObj* drawObj = GetRecordDrawObj(candidate);
        if (!drawObj)
            continue;
        const int type = drawObj->GetElementTypeID();
        const TVRMBox3d box = drawObj->GetBox();
        double bottom = 0.0, top = 0.0, ref = 0.0, threshold = lowerBound;
        switch (type) {
            case 19:
            case 20: {
                const auto* face = dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape());
                if (!face || EdoPropValueInteger(drawObj->GetPropValues(), "IsFloorSlab", 0) != 0 ||
                    TQTKOverHighBottomElevAnalyzer::IsStairPart(drawObj))
                    continue;
                if (HasLevelTop(*face)) {
                    top = GetFaceShapePlane(face, true)->GetBasePoint().z;
                    if (!GreaterThan(top, floor0Top))
                        continue;
                    bottom = GetFaceShapePlane(face, false)->GetBasePoint().z;
                    ref = top;
                } else if (AcceptsSlopedSlabs()) {
                    // The part of the sloped top over the element, from its
                    // lowest to its highest point.
                    if (!SlopedTopRangeOver(*face, outline, bottom, top))
                        continue;
                    ref = box.max.z;
                    threshold = lowerBound + bottom - top;
                } else {
                    continue;
                }
                break;
            }
            case 21:
                if (TQTKOverHighBottomElevAnalyzer::IsStairPart(drawObj))
                    continue;
                top = Prop(drawObj, "TopElev");
                bottom = Prop(drawObj, "BottomElev");
                ref = top;
                threshold = lowerBound + bottom - top;
                break;
            case 30:
            case 31:
                if (!AcceptsStairs())
                    continue;
                bottom = Prop(drawObj, "BottomElev");
                top = bottom + Prop(drawObj, "Height");
                ref = top;
                threshold = lowerBound + bottom - top;
                break;
            case 29:
            case 85:
            case 48:
                if (type != 48 && !AcceptsStairs())
                    continue;
                top = box.max.z;
                bottom = box.min.z;
                ref = top;
                threshold = lowerBound + bottom - top;
                break;
            case 28:
            case 47:
            case 51:
            case 52:
            case 53:
            case 54: {
                if (!IncludesFoundations() || !foundationTypes.test(static_cast<size_t>(type)))
                    continue;
                TVRMPoint2d probe;
                if (const IQTKLineShape* line = GetDrawObjLineShape(drawObj)) {
                    if (GetProbePoint(probe)) {
                        top = line->GetTopElevAt(probe);
                        bottom = line->GetBottomElevAt(probe);
                    } else {
                        top = (line->GetStartPtTopElev() + line->GetEndPtTopElev()) / 2.0;
                        bottom = (line->GetStartPtBottomElev() + line->GetEndPtBottomElev()) / 2.0;
                    }
                } else {
                    top = box.max.z;
                    bottom = box.min.z;
                }
                ref = box.max.z;
                break;
            }
            default:
                continue;
        }

        // One band per storey of the candidate's standard floor. A floor row
        // without "StdFloorCount" is one storey.
        const IRDXRecord* floor = GetRecordFloor(candidate);
        const double storey = FieldValueFloat(floor, "Height", 0.0) * 1000.0;
        const int count = FieldValueInteger(floor, "StdFloorCount", 1);
        for (int k = 0; k < count; ++k) {
            const double raisedBottom = bottom + k * storey, raisedTop = top + k * storey;
            if (GreaterThan(raisedBottom, threshold) && GreaterThan(raisedTop, floor0Top) &&
                AcceptsBand(drawObj, raisedBottom, raisedTop))
                bands.push_back(MakeRef<TQTKElevEDOInfo>(drawObj, ref + k * storey, raisedTop, raisedBottom));
        }
    }

    const bool ascending = IsAscending();
    std::stable_sort(bands.begin(), bands.end(),
                     [ascending](const auto& a, const auto& b) { return CompareBandTops(*a, *b, ascending) < 0; });

    // The nearest band is the last one.
    const std::unique_ptr<TQTKElevEDOCalculator> calc = CreateElevCalculator();
    if (!calc->IsValid())
        return false;
    bool foundInBand = false;
    for (auto it = bands.rbegin(); it != bands.rend(); ++it) {
        TQTKElevEDOInfo& band = **it;
        if (IsAlwaysCoveringType(TypeOf(band.GetDrawObj()))) {
            if (calc->TryCover(band.GetPolygon()))
                elevInfos.push_back(band.Copy());
        } else {
            const bool inBand = IsInBand(band);
            if (foundInBand && !inBand)
                break;
            if (calc->TryCover(band.GetPolygon())) {
                foundInBand = foundInBand || inBand;
                elevInfos.push_back(band.Copy());
            }
        }
        if (calc->IsCovered())
            break;
    }
    return calc->IsCovered();
}

TQTKOverHighBottomElevAnalyzer::TQTKOverHighBottomElevAnalyzer(IQTKElementDrawObj* source) : Source(source)
{
    QTK_ASSERT(source != nullptr);
    IncludeFoundations = false;
}

bool TQTKOverHighBottomElevAnalyzer::IsStairPart(const IQTKElementDrawObj* drawObj)
{
    const IQTKElementDrawObj* parent = drawObj ? drawObj->GetParentDrawObj() : nullptr;
    return parent && parent->GetElementTypeID() == 29;
}

Ref<IQTKCalculatorEDO> TQTKOverHighBottomElevAnalyzer::SourceEDO()
{
    return GetCalcEDO(Source->GetRecord(), true);
}

bool TQTKOverHighBottomElevAnalyzer::FindBottomElement(TQTKElevEDOInfoList& elevInfos, double lowerBound)
{
    elevInfos.clear();
    IRDXRecord* record = Source->GetRecord();
    const int regionId = FieldValueInteger(GetRecordFloor(record), "RegionID", -1);
    return CollectElevInfos(Source->GetShape()->GetOutline(), record ? record->GetTable() : nullptr, regionId,
                            record ? static_cast<int>(record->GetID()) : -1, elevInfos, lowerBound);
}

void TQTKOverHighBottomElevAnalyzer::Analyze(TQTKOverHighBottomElevInfo& info, double lowerBound)
{
    TQTKElevEDOInfoList list;
    info = TQTKOverHighBottomElevInfo();
    info.NotCovered = !FindBottomElement(list, lowerBound);
    info.Elevs.reserve(list.size());
    for (const Ref<IQTKElevEDOInfo>& band : list) {
        const int type = TypeOf(band->GetDrawObj());
        switch (type) {
            case 19:
            case 20: {
                const auto* face = dynamic_cast<const IQTKFaceShape*>(band->GetDrawObj()->GetShape());
                if (face && HasLevelTop(*face))
                    info.Elevs.push_back({band->GetSecondElev(), band->GetFirstElev()});
                else
                    info.Elevs.push_back({band->GetFirstElev(), band->GetSecondElev()});
                break;
            }
            case 28:
            case 47:
            case 48:
            case 51:
            case 52:
            case 53:
            case 54:
                info.Elevs.push_back({band->GetSecondElev(), band->GetFirstElev()});
                break;
            case 21:
                info.HasSpiralSlab = true;
                continue;
            default:
                info.HasOtherElement = true;
                continue;
        }
        if (info.Elevs.size() == 1)
            info.FirstInBand = IsInBand(*band);
    }
}

// ---------------------------------------------------------------------------
// The analyzers

namespace {

TVRMBox3d WithZ(TVRMBox3d box, double low, double high)
{
    box.min.z = low;
    box.max.z = high;
    return box;
}

// Bottom elevations of a line element's ends (0 without a line shape).
void LineEndBottoms(const IQTKElementDrawObj* drawObj, double& start, double& end)
{
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    start = shape ? shape->GetStartPtBottomElev() : 0.0;
    end = shape ? shape->GetEndPtBottomElev() : 0.0;
}

// Below a line element: down from the higher of its end bottoms.
TVRMBox3d LineSearchBox(const IQTKElementDrawObj* drawObj)
{
    double start = 0.0, end = 0.0;
    LineEndBottoms(drawObj, start, end);
    return WithZ(drawObj->GetBox(), -COpenBound, std::max(start, end));
}

double PointBottom(const IQTKElementDrawObj* drawObj)
{
    const IQTKPointShape* shape = PointShapeOf(drawObj);
    return shape ? shape->GetBottomElev() : drawObj->GetBox().min.z;
}

}  // namespace

TVRMBox3d TQTKWallOverHighBottomElevAnalyzer::GetSearchBox()
{
    return LineSearchBox(Source);
}

bool TQTKWallOverHighBottomElevAnalyzer::AcceptsBand(IQTKElementDrawObj*, double bottom, double)
{
    double start = 0.0, end = 0.0;
    LineEndBottoms(Source, start, end);
    return GreaterEqualThan(std::max(start, end), bottom);
}

bool TQTKWallOverHighBottomElevAnalyzer::IsInBand(IQTKElevEDOInfo& band)
{
    double start = 0.0, end = 0.0;
    LineEndBottoms(Source, start, end);
    return LessEqualThan(std::min(start, end), band.GetSecondElev()) &&
           GreaterEqualThan(std::max(start, end), band.GetFirstElev());
}

std::unique_ptr<TQTKElevEDOCalculator> TQTKWallOverHighBottomElevAnalyzer::CreateElevCalculator()
{
    return std::make_unique<TQTKLineElevEDOCalculator>(SourceEDO().get(), 500.0);
}

TQTKElementTypeSet TQTKWallOverHighBottomElevAnalyzer::GetFoundationTypes()
{
    return MakeElementTypeSet({47, 51});
}

TVRMBox3d TQTKColumnOverHighBottomElevAnalyzer::GetSearchBox()
{
    return WithZ(Source->GetBox(), -COpenBound, PointBottom(Source));
}

bool TQTKColumnOverHighBottomElevAnalyzer::AcceptsBand(IQTKElementDrawObj*, double bottom, double)
{
    return GreaterEqualThan(PointBottom(Source), bottom);
}

bool TQTKColumnOverHighBottomElevAnalyzer::IsInBand(IQTKElevEDOInfo& band)
{
    const double bottom = PointBottom(Source);
    return LessEqualThan(band.GetFirstElev(), bottom) && LessEqualThan(bottom, band.GetSecondElev());
}

std::unique_ptr<TQTKElevEDOCalculator> TQTKColumnOverHighBottomElevAnalyzer::CreateElevCalculator()
{
    return std::make_unique<TQTKPointFaceElevEDOCalculator>(SourceEDO().get(), 0.0);
}

TQTKElementTypeSet TQTKColumnOverHighBottomElevAnalyzer::GetFoundationTypes()
{
    return MakeElementTypeSet({28, 51, 52, 53});
}

bool TQTKColumnOverHighBottomElevAnalyzer::GetProbePoint(TVRMPoint2d& point)
{
    const IQTKPointShape* shape = PointShapeOf(Source);
    if (!shape)
        return false;
    point = shape->GetInsertPt();
    return true;
}

TVRMBox3d TQTKSlabOverHighBottomElevAnalyzer::GetSearchBox()
{
    const TVRMBox3d box = Source->GetBox();
    return WithZ(box, -COpenBound, box.min.z);
}

bool TQTKSlabOverHighBottomElevAnalyzer::AcceptsBand(IQTKElementDrawObj* drawObj, double bottom, double top)
{
    const TVRMBox3d box = Source->GetBox();
    const int type = TypeOf(drawObj);
    if (IsSlabType(type)) {
        // The analysed slab's upward face comes second to last in its solid.
        const Ref<IQTKPolyhedron3dIntf> solid = SourceEDO()->GetOriginalPolyhedronIntf();
        const TVRMPolyhedron3d* polyhedron = solid ? solid->GetPolyhedron() : nullptr;
        const bool levelTop =
            polyhedron && polyhedron->GetFaceCount() >= 2 &&
            SameValue(polyhedron->GetFace(polyhedron->GetFaceCount() - 2).GetNormal().z, 1.0, CVRMPlaneEpsilon);
        return levelTop ? LessThan(top, box.min.z) : LessEqualThan(bottom, box.min.z);
    }
    if (type == 48)
        return LessThan(top, box.min.z);
    return LessEqualThan(bottom, box.max.z);
}

std::unique_ptr<TQTKElevEDOCalculator> TQTKSlabOverHighBottomElevAnalyzer::CreateElevCalculator()
{
    return std::make_unique<TQTKPointFaceElevEDOCalculator>(SourceEDO().get(), 250000.0);
}

TVRMBox3d TQTKBeamOverHighBottomElevAnalyzer::GetSearchBox()
{
    return LineSearchBox(Source);
}

bool TQTKBeamOverHighBottomElevAnalyzer::AcceptsBand(IQTKElementDrawObj* drawObj, double bottom, double)
{
    const TVRMBox3d box = Source->GetBox();
    if (!IsSlabOrRaftType(TypeOf(drawObj)))
        return LessEqualThan(bottom, box.max.z);
    double start = 0.0, end = 0.0;
    LineEndBottoms(Source, start, end);
    return SameValue(start, end) ? LessThan(bottom, box.min.z) : LessEqualThan(bottom, box.min.z);
}

std::unique_ptr<TQTKElevEDOCalculator> TQTKBeamOverHighBottomElevAnalyzer::CreateElevCalculator()
{
    return std::make_unique<TQTKLineElevEDOCalculator>(SourceEDO().get(), 500.0);
}

double TQTKFloorAreaOverHighBottomElevAnalyzer::BaseElev()
{
    return Prop(Source, "BottomElev");
}

TVRMBox3d TQTKFloorAreaOverHighBottomElevAnalyzer::GetSearchBox()
{
    return WithZ(Source->GetBox(), BaseElev(), COpenBound);
}

bool TQTKFloorAreaOverHighBottomElevAnalyzer::AcceptsBand(IQTKElementDrawObj*, double bottom, double)
{
    return GreaterEqualThan(bottom, BaseElev());
}

std::unique_ptr<TQTKElevEDOCalculator> TQTKFloorAreaOverHighBottomElevAnalyzer::CreateElevCalculator()
{
    return std::make_unique<TQTKPointFaceElevEDOCalculator>(SourceEDO().get(), 250000.0);
}

double TQTKHungCeilingOverHighBottomElevAnalyzer::BaseElev()
{
    const Ref<IQTKHungCeilingCalcEDO> ceiling = RefCast<IQTKHungCeilingCalcEDO>(SourceEDO());
    return ceiling ? ceiling->GetElevation() : Prop(Source, "BottomElev");
}
