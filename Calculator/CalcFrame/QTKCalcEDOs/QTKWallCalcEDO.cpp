#include "Calculator/CalcFrame/QTKCalcEDOs/QTKWallCalcEDO.h"

#include <algorithm>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Calculator/Common/QTKFloatList.h"
#include "Calculator/Common/QTKShortArmShearWallBuilder.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculator.h"
#include "Host/ElementModel/QTKBoxService.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/ElementModel/QTKWallOverlay.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/PXEIntf.h"
#include "Host/RDX/RDXDataUtils.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr int CRatingThicknessRuleID = 653;
constexpr int CCalcThicknessQtyID = 2;
// Superposition kind sets of the host's shell subtraction.
constexpr int CContactKinds = 1;       // {0}
constexpr int CContactFlushKinds = 3;  // {0, 1}

const TQTKElementTypeSet& OpeningTypes()
{
    static const TQTKElementTypeSet types = MakeElementTypeSet({4, 5, 6, 7, 8, 9});
    return types;
}

const TQTKElementTypeSet& BeamTypes()
{
    static const TQTKElementTypeSet types = MakeElementTypeSet({15, 17, 18, 47});
    return types;
}

// The expression type of an element property: its field's in the record's table, else integer.
int PropertyDataType(const IRDXRecord* record, std::string_view name)
{
    const IRDXTable* table = record ? record->GetTable() : nullptr;
    const TRDXFieldDef* field = table ? table->FindField(name) : nullptr;
    return field ? RDXDataTypeToPXEDataType(field->type) : pdtInteger;
}

std::string RowText(const IRDXRecord* row, std::string_view field)
{
    if (!FieldExist(row, field) || row->IsNull(field))
        return {};
    const std::string text = row->GetAsString(field);
    return text.find_first_not_of(" \t\r\n") == std::string::npos ? std::string() : text;
}

}  // namespace

TQTKWallCalcEDO::TQTKWallCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj) : TQTKCustomWallCalcEDO(mode, drawObj)
{
    shortArmKind_ = TQTKShortArmShearWallBuilder::GetCreationKind(drawObj);
    if (drawObj) {
        thickness_ = EdoPropValueInteger(drawObj->GetPropValues(), "Thickness");
        typeLevel_ = GetTypeLevel(drawObj, 0);
    }
}

TQTKWallCalcEDO::~TQTKWallCalcEDO() = default;

template <class T, class Build>
const T* TQTKWallCalcEDO::KeepOwned(std::shared_ptr<T>& slot, Build&& build)
{
    return KeepOnce(slot, [&] { return std::shared_ptr<T>(build()); }).get();
}

// ---------------------------------------------------------------------------
// Thickness

int TQTKWallCalcEDO::GetCalcThickness()
{
    std::lock_guard guard(calcThicknessLock_);
    return calcThickness_;
}

void TQTKWallCalcEDO::SetCalcThickness(int value)
{
    std::lock_guard guard(calcThicknessLock_);
    calcThickness_ = value;
}

// The first row of internal quantity 2 whose subject expression is empty or
// holds for this wall decides: rule 653 rates the thickness through the
// settings' thickness list; any other row, or none, keeps the thickness.
int TQTKWallCalcEDO::CalcInternalQtyThickness(const TableSourceRef& ruleContext)
{
    std::lock_guard guard(calcThicknessLock_);
    if (calcThickness_ != -1)
        return calcThickness_;
    int result = thickness_;
    const TableSourceRef context = ResolveRuleContext(ruleContext);
    const IRDXTable* rules = context ? FindTableNear(context->GetDatabase(), "InternalQtyCalcRule") : nullptr;
    const ViewRef rows =
        rules ? SyncCreateRdxRecordList(rules, "InternalQtyID = " + std::to_string(CCalcThicknessQtyID)) : nullptr;
    IRDXRecord* record = GetRecord();
    for (int i = 0; rows && i < rows->GetRowCount(); ++i) {
        IRDXRecord* row = rows->GetRow(i);
        const std::string text = RowText(row, "SubjectMatchExpr");
        bool matches = text.empty();
        if (!matches) {
            Ref<IPXEParser> parser = RDXEngine("")->CreateParser();
            parser->SetValueCallback(
                [record](IPXEIdentifierNode& node) { GetMatchFieldValue(record, node.GetName(), node.Value()); });
            parser->Compile(text, [record](std::string_view name) { return PropertyDataType(record, name); });
            matches = parser->EvaluateBoolean();
        }
        if (!matches)
            continue;
        if (FieldValueInteger(row, "CalcRuleID", -1) == CRatingThicknessRuleID)
            result = GetEdoRatingThickness(this, ruleContext);
        break;
    }
    calcThickness_ = result;
    return result;
}

int TQTKWallCalcEDO::DecidedCalcThickness()
{
    const int value = GetCalcThickness();
    return value != -1 ? value : CalcInternalQtyThickness(GetCalculatorSetting());
}

void TQTKWallCalcEDO::ResetForQty(IRDXRecord* qtyRecord)
{
    TQTKCustomWallCalcEDO::ResetForQty(qtyRecord);
    SetCalcThickness(-1);
}

void TQTKWallCalcEDO::ClearQtyItems()
{
    TQTKCustomWallCalcEDO::ClearQtyItems();
    SetCalcThickness(thickness_);
    onlyMaterialMode_.store(0);
    // The side faces stay in the side-face shell (and its calculator) until
    // FreeCalcCache: the next quantity puts in none a second time.
}

void TQTKWallCalcEDO::FreeCalcCache()
{
    TQTKCustomWallCalcEDO::FreeCalcCache();
    sideFaces_.Clear();
    // Dropped outside the lock: a calculator may be freed here.
    std::shared_ptr<TQTKSolidCalc3d> volume, area;
    std::shared_ptr<TQTKShellCalc3d> midFace, externalSide;
    std::shared_ptr<TVRMOverhighShellCalc3d> formboard;
    std::shared_ptr<TVRMOverhighSolidCalc3d> overhighVolume;
    std::shared_ptr<TFloatList> values;
    std::shared_ptr<TQTKWallSteelMeshCalcContnr> steelMesh;
    std::map<int, std::shared_ptr<TVRMMultiPolygon2d>> overlayPolygons;
    std::lock_guard guard(DataLock());
    overlayPolygons.swap(overlayPolygons_);
    volume.swap(volumeCalc_);
    area.swap(areaCalc_);
    midFace.swap(midFaceCalc_);
    externalSide.swap(externalSideCalc_);
    formboard.swap(overhighFormboard_);
    overhighVolume.swap(overhighVolume_);
    values.swap(overhighValues_);
    steelMesh.swap(steelMesh_);
    pierFormboard_.Clear();
}

// ---------------------------------------------------------------------------
// Calculators

std::unique_ptr<TVRMPolyhedron3d> TQTKWallCalcEDO::CopyOfOriginal()
{
    const Ref<IQTKPolyhedron3dIntf> original = GetOriginalPolyhedronIntf();
    return original ? original->GetPolyhedron()->Clone() : std::make_unique<TVRMPolyhedron3d>();
}

std::unique_ptr<TVRMPolyhedron3d> TQTKWallCalcEDO::CopyOfCalcSolid()
{
    if (GetCalcByOnlyMaterial() != 0) {
        const TVRMPolyhedron3d* solid = GetOnlyMaterialSolid();
        return solid ? solid->Clone() : std::make_unique<TVRMPolyhedron3d>();
    }
    return CopyOfOriginal();
}

bool TQTKWallCalcEDO::IsArcAxis()
{
    const IQTKLineShape* shape = LineShape();
    return shape && shape->GetLine().IsArc();
}

// Factor calculation thickness / thickness (0 for a wall without
// thickness). The openings in the wall leave the remaining solid without
// being booked: the opening rules book them.
std::shared_ptr<TQTKSolidCalc3d> TQTKWallCalcEDO::GetVolumeCalc()
{
    return KeepOnce(volumeCalc_, [this] {
        const double factor = thickness_ == 0 ? 0.0 : static_cast<double>(DecidedCalcThickness()) / thickness_;
        std::unique_ptr<TVRMPolyhedron3d> solid =
            GetUseAxisLength() ? GetElementDrawObj()->BuildPolyhedron(true, nullptr, 0.0, 0) : CopyOfCalcSolid();
        auto calc = std::make_shared<TQTKSolidCalc3d>(std::move(solid), RecordRef(GetRecord()), factor);
        TRecordList openings;
        GetRelatedByTypes(OpeningTypes(), &openings);
        for (const RecordRef& opening : openings) {
            const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(opening, true);
            const Ref<IQTKPolyhedron3dIntf> solid = edo ? edo->GetOriginalPolyhedronIntf() : nullptr;
            if (solid)
                calc->Subtract(*solid->GetPolyhedron(), nullptr, nullptr, true, false);
        }
        return calc;
    });
}

std::shared_ptr<TQTKSolidCalc3d> TQTKWallCalcEDO::GetAreaCalc()
{
    return KeepOnce(areaCalc_, [this] {
        const int calcThickness = DecidedCalcThickness();
        const double factor = calcThickness == 0 ? 1.0 : 1.0 / calcThickness;
        return std::make_shared<TQTKSolidCalc3d>(CopyOfCalcSolid(), RecordRef(GetRecord()), factor);
    });
}

std::shared_ptr<TQTKShellCalc3d> TQTKWallCalcEDO::GetMidFaceShellCalc()
{
    return KeepOnce(midFaceCalc_, [this] {
        const IQTKLineShape* shape = LineShape();
        TVRMCustomLine2d line = GetCalcByOnlyMaterial() != 0 ? *GetOnlyMaterialMidLine() : *GetMidLine();
        if (GetUseAxisLength() && shape && !SameValue(shape->GetLine().Length(), line.Length()))
            line = shape->GetLine();
        auto shell = std::make_unique<TVRMPolyhedronShell3d>();
        if (shape)
            shell->AddFace(line, true, shape->GetBottomElevAt(line.StartPt()), shape->GetTopElevAt(line.StartPt()),
                           shape->GetBottomElevAt(line.EndPt()), shape->GetTopElevAt(line.EndPt()));
        auto calc = std::make_shared<TQTKShellCalc3d>(std::move(shell), RecordRef(GetRecord()), 1.0);
        calc->SetIsArc(IsArcAxis());
        return calc;
    });
}

// The wall's formwork faces (the original detail written when the
// calculator is made shows both side faces).
TVRMPolyhedronShell3d* TQTKWallCalcEDO::GetSideFaceShell()
{
    return sideFaces_.Get(SideFaceMaker());
}

std::shared_ptr<TQTKShellCalc3d> TQTKWallCalcEDO::GetSideFaceShellCalc()
{
    return sideFaces_.GetCalc(SideFaceMaker(), [this](std::unique_ptr<TVRMPolyhedronShell3d> shell) {
        auto calc = std::make_shared<TQTKShellCalc3d>(std::move(shell), RecordRef(GetRecord()), 1.0);
        calc->SetIsArc(IsArcAxis());
        return calc;
    });
}

// A face on the left side line facing left, on the right one facing right,
// between the wall's end elevations.
TQTKSideFaceShell::TMakeSideFace TQTKWallCalcEDO::SideFaceMaker()
{
    return [this](bool left, TVRMPolyhedronShell3d& face) {
        const IQTKLineShape* shape = LineShape();
        if (!shape)
            return false;
        const TVRMCustomLine2d& line = left ? *GetLeftLine() : *GetRightLine();
        face.AddFace(line, left, shape->GetStartPtBottomElev(), shape->GetStartPtTopElev(), shape->GetEndPtBottomElev(),
                     shape->GetEndPtTopElev());
        return true;
    };
}

std::shared_ptr<TQTKShellCalc3d> TQTKWallCalcEDO::GetExternalSideShellCalc()
{
    return KeepOnce(externalSideCalc_, [this] {
        const IQTKLineShape* shape = LineShape();
        auto shell = std::make_unique<TVRMPolyhedronShell3d>();
        for (bool left : {true, false}) {
            if (!shape || !(left ? IsLeftSideExternal() : IsRightSideExternal()))
                continue;
            shell->AddFace(left ? *GetLeftLine() : *GetRightLine(), left, shape->GetStartPtBottomElev(),
                           shape->GetStartPtTopElev(), shape->GetEndPtBottomElev(), shape->GetEndPtTopElev());
        }
        auto calc = std::make_shared<TQTKShellCalc3d>(std::move(shell), RecordRef(GetRecord()), 1.0);
        calc->SetIsArc(IsArcAxis());
        return calc;
    });
}

// ---------------------------------------------------------------------------
// Outlines and solids

const TVRMMultiPolygon2d* TQTKWallCalcEDO::GetProfilePolygon()
{
    return KeepOwned(profile_, [this] {
        const IQTKLineShape* shape = LineShape();
        const TVRMCustomLine2d& mid = *GetMidLine();
        const double length = mid.Length();
        auto set = std::make_unique<TVRMMultiPolygon2d>();
        if (!shape)
            return set;
        TVRMPolygon2d ring;
        ring.Add(TVRMPoint2d{0.0, shape->GetBottomElevAt(mid.StartPt())});
        ring.Add(TVRMPoint2d{length, shape->GetBottomElevAt(mid.EndPt())});
        ring.Add(TVRMPoint2d{length, shape->GetTopElevAt(mid.EndPt())});
        ring.Add(TVRMPoint2d{0.0, shape->GetTopElevAt(mid.StartPt())});
        set->Add(std::move(ring));
        return set;
    });
}

const TVRMPolygon2d* TQTKWallCalcEDO::GetPlanOutline()
{
    return KeepOwned(planOutline_, [this] {
        return std::make_unique<TVRMPolygon2d>(CreatePolygonFromLines(*GetLeftLine(), *GetRightLine()));
    });
}

const TVRMPolyhedron3d* TQTKWallCalcEDO::GetDeductedSolid()
{
    return KeepOwned(deductedSolid_, [this] {
        TQTKSolidCalc3d calc(CopyOfOriginal(), nullptr, 1.0);
        TRecordList beams;
        GetRelatedByTypes(BeamTypes(), &beams);
        for (const RecordRef& beam : beams) {
            if (!IsLineEntsParallel(GetRecord(), beam.get()))
                continue;
            const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(beam, true);
            const Ref<IQTKPolyhedron3dIntf> solid = edo ? edo->GetOriginalPolyhedronIntf() : nullptr;
            if (solid)
                calc.Subtract(*solid->GetPolyhedron(), nullptr, nullptr, true, false);
        }
        return calc.GetSolid() ? calc.GetSolid()->Clone() : std::make_unique<TVRMPolyhedron3d>();
    });
}

// The end faces at the connected ends (a chord face for an arc wall) less
// the concrete walls met there: a wall that takes formwork precedence takes
// the faces it touches too. The faces join the side-face shell on the first
// call only, so asking again never counts them twice.
double TQTKWallCalcEDO::GetConnectedEndFaceArea()
{
    GetSideFaceShell();
    TVRMPolyhedronShell3d faces;
    const Ref<IQTKConnectedEdoIDInfo> info = (GetMidLine(), GetConnectedEdoIDInfo());
    const int key = GetElementDrawObj()->GetIndexKey();
    const IQTKLineShape* shape = LineShape();
    const bool arc = IsArcAxis();
    for (bool atStart : {true, false}) {
        const int index = atStart ? GetStartFaceIndex() : GetEndFaceIndex();
        if (index == -1 || !(atStart ? info->IsStartConnected(key) : info->IsEndConnected(key)))
            continue;
        if (arc && shape) {
            const TVRMPoint2d a = atStart ? GetLeftLine()->StartPt() : GetLeftLine()->EndPt();
            const TVRMPoint2d b = atStart ? GetRightLine()->StartPt() : GetRightLine()->EndPt();
            const double bottom = atStart ? shape->GetStartPtBottomElev() : shape->GetEndPtBottomElev();
            const double top = atStart ? shape->GetStartPtTopElev() : shape->GetEndPtTopElev();
            faces.AddFace(TVRMCustomLine2d(a, b), !atStart, bottom, top, bottom, top);
        } else if (const TVRMPolyhedron3d* solid = GetOriginalPolyhedron()) {
            faces.AddFace(solid->GetFace(index));
        }
    }
    TRecordList walls;
    GetRelatedByType(0, &walls);
    for (const RecordRef& wall : walls) {
        if (!IsConcreteElement(GetRecordDrawObj(wall.get())))
            continue;
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(wall, true);
        const Ref<IQTKPolyhedron3dIntf> solid = edo ? edo->GetOriginalPolyhedronIntf() : nullptr;
        if (!solid)
            continue;
        const bool yields = CompareFormboardPriority(GetRecord(), wall.get(), GetCalculatorSetting()) < 0;
        faces.Subtract(*solid->GetPolyhedron(), yields ? CContactFlushKinds : CContactKinds);
    }
    sideFaces_.AddEndsOnce(faces);
    return faces.GetArea();
}

// ---------------------------------------------------------------------------
// Original-quantity details

void TQTKWallCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCustomWallCalcEDO::FillDeductDetail(qtyRecord);
    const int q = qtyRecord ? qtyRecord->GetID() : -1;
    TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    if (container && container->GetCount() > 0) {
        // The volume replaces a shell written before it as the original quantity.
        if (q == CQTKWallQtyVolume)
            for (int i = 0; i < container->GetCount(); ++i) {
                const TQTKDeductDetail* detail = container->GetItems(i);
                if (detail->GetIsOriginalQty() && dynamic_cast<const TQTKShellDeductDetail*>(detail)) {
                    container->Delete(i);
                    break;
                }
            }
        for (int i = 0; i < container->GetCount(); ++i)
            if (container->GetItems(i)->GetIsOriginalQty())
                return;
        if (q == CQTKWallQtyMidFaceArea)
            GetMidFaceShellCalc();
        else if (q == CQTKWallQtyVolume)
            GetVolumeCalc();
        else if (q == CQTKWallQtySideFaceArea)
            GetSideFaceShellCalc();
        return;
    }
    switch (q) {
        case CQTKWallQtyMidFaceArea:
            GetMidFaceShellCalc();
            break;
        case CQTKWallQtyVolume:
        case CQTKWallQtyVolumeAlt:
            GetVolumeCalc();
            break;
        case CQTKWallQtySideFaceArea:
        case CQTKWallQtyFormboardArea:
            GetSideFaceShellCalc();
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------------------
// Short-limb shear walls and overlays

std::uint8_t TQTKWallCalcEDO::GetShortArmShearWallFlag()
{
    std::lock_guard guard(DataLock());
    return shortArmKind_;
}

void TQTKWallCalcEDO::SetShortArmShearWallType(std::uint8_t value)
{
    std::lock_guard guard(DataLock());
    shortArmKind_ = value;
}

std::uint8_t TQTKWallCalcEDO::GetShortArmShearWallType()
{
    if (GetShortArmShearWallFlag() == 0) {
        IRDXRecord* record = GetRecord();
        TQTKShortArmShearWallBuilder builder(record ? record->GetTable() : nullptr);
        builder.Recognize(record);
    }
    return GetShortArmShearWallFlag();
}

// ---------------------------------------------------------------------------
// Material-only calculation

namespace {

int CompareWallMaterialOrLine(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    return CompareWallMaterialPair(a, b, CompareLineEdoPriority);
}

}  // namespace

TQTKLineEntBaseCalcEDO::TEdoCompareFunc TQTKWallCalcEDO::GetPriorityCompareFunc()
{
    return GetCalcByOnlyMaterial() != 0 ? CompareWallMaterialOrLine : TQTKCustomWallCalcEDO::GetPriorityCompareFunc();
}

// The three lines come from one run of the material-only calculator (with
// no lock held: it asks the neighbours); its connections replace the wall's.
const TVRMCustomLine2d* TQTKWallCalcEDO::OnlyMaterialLine(std::shared_ptr<TVRMCustomLine2d>& slot)
{
    if (const std::shared_ptr<TVRMCustomLine2d> line = Kept(slot))
        return line.get();
    auto mid = std::make_shared<TVRMCustomLine2d>(), left = std::make_shared<TVRMCustomLine2d>(),
         right = std::make_shared<TVRMCustomLine2d>();
    Ref<IQTKConnectedEdoIDInfo> info;
    TQTKActualMiddleCalculatorOnlyMaterialCalculator(MakeArgs(false, false)).Calculate(*mid, *left, *right, info);
    if (info && IsKeepConnectedEdoIDInfo())
        SetConnectedEdoIDInfo(info);
    std::lock_guard guard(DataLock());
    if (!slot) {
        onlyMaterialMid_ = mid;
        onlyMaterialLeft_ = left;
        onlyMaterialRight_ = right;
    }
    return slot.get();
}

const TVRMCustomLine2d* TQTKWallCalcEDO::GetOnlyMaterialExtendedMidLine()
{
    return KeepOwned(onlyMaterialExtendedMid_, [this] {
        const TVRMCustomLine2d mid = *GetOnlyMaterialMidLine();
        double startExt = 0.0, endExt = 0.0;
        CalcExtendLength(startExt, endExt);
        ClipExtendAtSlope(mid, startExt, endExt);
        return std::make_unique<TVRMCustomLine2d>(
            TVRMPositionFunc2d::SubSeg(mid, -startExt, mid.Length() + endExt, false));
    });
}

std::unique_ptr<TVRMPolyhedron3d> TQTKWallCalcEDO::BuildOnlyMaterialSolid()
{
    return BuildBandOn(*GetOnlyMaterialExtendedMidLine());
}

const TVRMMultiPolygon2d* TQTKWallCalcEDO::GetOnlyMaterialPolygon()
{
    return KeepOwned(onlyMaterialPolygon_, [this] {
        auto set = std::make_unique<TVRMMultiPolygon2d>();
        set->Add(CreatePolygonFromLines(*GetOnlyMaterialLeftLine(), *GetOnlyMaterialRightLine()));
        return set;
    });
}

// A straight wall whose top is above its bottom at both ends of both side
// lines gets the solid between the side lines (slanted where the lines are
// of different lengths); otherwise the prism on the extended middle line cut
// between them.
void TQTKWallCalcEDO::CalcOnlyMaterialSolid()
{
    const TVRMCustomLine2d left = *GetOnlyMaterialLeftLine(), right = *GetOnlyMaterialRightLine();
    const IQTKLineShape* shape = LineShape();
    std::unique_ptr<TVRMPolyhedron3d> solid;
    if (shape && !IsArcAxis()) {
        const auto above = [shape](const TVRMPoint2d& p) {
            return shape->GetTopElevAt(p) > shape->GetBottomElevAt(p) + CVRMEpsilon;
        };
        if (above(left.StartPt()) && above(left.EndPt()) && above(right.StartPt()) && above(right.EndPt()))
            solid = TVRMPolyhedron3d::CreateBetweenLines(
                left, shape->GetBottomElevAt(left.StartPt()), shape->GetTopElevAt(left.StartPt()),
                shape->GetBottomElevAt(left.EndPt()), shape->GetTopElevAt(left.EndPt()), right,
                shape->GetBottomElevAt(right.StartPt()), shape->GetTopElevAt(right.StartPt()),
                shape->GetBottomElevAt(right.EndPt()), shape->GetTopElevAt(right.EndPt()));
    }
    if (!solid) {
        solid = BuildOnlyMaterialSolid();
        if (solid->HasFaces())
            TVRMNewPolyBooleanOperator::Cut(*solid, left, right);
    }
    int start = -1, end = -1;
    LocateEndFaces(*solid, left, right, start, end);
    onlyMaterialStartFace_.store(start);
    onlyMaterialEndFace_.store(end);
    SetOnlyMaterialSolid(std::move(solid));
}

void TQTKWallCalcEDO::SetOnlyMaterialSolid(std::unique_ptr<TVRMPolyhedron3d> solid)
{
    Keep(onlyMaterialSolid_, std::shared_ptr<TVRMPolyhedron3d>(std::move(solid)));
}

const TVRMPolyhedron3d* TQTKWallCalcEDO::GetOnlyMaterialSolid()
{
    if (!Kept(onlyMaterialSolid_))
        CalcOnlyMaterialSolid();
    return Kept(onlyMaterialSolid_).get();
}

// ---------------------------------------------------------------------------
// Fill-wall overlay

namespace {

const int CWallTypes[] = {0};

TVRMMultiPolygon2d AsSet(const TVRMPolygon2d& polygon)
{
    TVRMMultiPolygon2d set;
    set.Add(polygon);
    return set;
}

// Position codes of one polygon set against another that leave no overlap.
bool IsApartOrTouching(int position)
{
    return position == 0 || position == 2;
}

}  // namespace

// A fill wall is an overlaying one when a parallel wall whose polygon its
// outline neither misses nor only touches actually shares a volume with it.
int TQTKWallCalcEDO::GetFillWallOverlayState()
{
    if (const int state = overlayState_.load())
        return state;
    std::lock_guard guard(overlayStateLock_);
    if (const int state = overlayState_.load())
        return state;
    int state = 1;
    IQTKElementDrawObj* self = GetElementDrawObj();
    if (self && GetIsFillWall(self)) {
        IRDXRecord* record = GetRecord();
        const TVRMMultiPolygon2d outline = AsSet(*GetPlanOutline());
        const TVRMCustomLine2d axis = GetLine();
        for (IQTKElementDrawObj* candidate :
             TQTKBoxServiceOp::GetBoxIntersectEDOs(record ? record->GetTable() : nullptr, self->GetBox(), CWallTypes)) {
            if (candidate->GetIndexKey() == self->GetIndexKey())
                continue;
            const auto* shape = dynamic_cast<const IQTKLineShape*>(candidate->GetShape());
            if (!shape || !TVRMPositionFunc2d::IsParallel(axis, shape->GetLine(), CVRMParallelEpsilon))
                continue;
            const auto wall = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(RecordRef(candidate->GetRecord()), true));
            const TVRMMultiPolygon2d* polygon = wall ? wall->GetPlanPolygon() : nullptr;
            if (!polygon ||
                IsApartOrTouching(TVRMPositionFunc2d::MultiPolyMultiPolyPosition(outline, *polygon, CVRMEpsilon)))
                continue;
            if (IsActuallyOverlay(self, candidate, 0, 0)) {
                state = 2;
                break;
            }
        }
    }
    overlayState_.store(state);
    return state;
}

// A concrete wall loses the overlaying fill walls that lie in it (parallel,
// overlapping in plan, sharing a volume); their index keys are listed.
void TQTKWallCalcEDO::BuildSolidWithoutOverlayFillWalls()
{
    if (overlaySolidBuilt_.load())
        return;
    std::lock_guard guard(overlaySolidLock_);
    if (overlaySolidBuilt_.load())
        return;
    std::vector<int> ids;
    ids.reserve(10);
    std::unique_ptr<TVRMPolyhedron3d> solid = CopyOfOriginal();
    IQTKElementDrawObj* self = GetElementDrawObj();
    if (self && IsConcreteMaterialText(GetMaterial())) {
        IRDXRecord* record = GetRecord();
        const TVRMMultiPolygon2d* own = GetPlanPolygon();
        const TVRMCustomLine2d mid = *GetMidLine();
        for (IQTKElementDrawObj* candidate :
             TQTKBoxServiceOp::GetBoxIntersectEDOs(record ? record->GetTable() : nullptr, self->GetBox(), CWallTypes)) {
            if (candidate->GetIndexKey() == self->GetIndexKey())
                continue;
            const auto fill = RefCast<IQTKWallCalcEDO>(GetCalcEDO(RecordRef(candidate->GetRecord()), true));
            if (!fill || fill->GetFillWallOverlayState() != 2 ||
                !TVRMPositionFunc2d::IsParallel(mid, *fill->GetMidLine(), CVRMParallelEpsilon) ||
                IsApartOrTouching(
                    TVRMPositionFunc2d::MultiPolyMultiPolyPosition(*own, *fill->GetPlanPolygon(), CVRMEpsilon)) ||
                !IsActuallyOverlay(self, candidate, 0, 0))
                continue;
            ids.push_back(candidate->GetIndexKey());
            const Ref<IQTKPolyhedron3dIntf> fillSolid = fill->GetOriginalPolyhedronIntf();
            if (fillSolid && solid->HasFaces())
                TVRMNewPolyBooleanOperator::BooleanOperate(*solid, *fillSolid->GetPolyhedron(), CVRMBoolSubtract);
        }
    }
    {
        std::lock_guard data(DataLock());
        overlayIds_ = std::move(ids);
        solidWithoutOverlays_ = std::move(solid);
    }
    overlaySolidBuilt_.store(true);
}

const TVRMPolyhedron3d* TQTKWallCalcEDO::GetSolidWithoutOverlayFillWalls()
{
    BuildSolidWithoutOverlayFillWalls();
    return Kept(solidWithoutOverlays_).get();
}

int TQTKWallCalcEDO::GetOverlayFillWallCount()
{
    BuildSolidWithoutOverlayFillWalls();
    std::lock_guard guard(DataLock());
    return static_cast<int>(overlayIds_.size());
}

int TQTKWallCalcEDO::GetOverlayFillWallID(int index)
{
    QTK_ASSERT(index >= 0);
    BuildSolidWithoutOverlayFillWalls();
    std::lock_guard guard(DataLock());
    return index < static_cast<int>(overlayIds_.size()) ? overlayIds_[static_cast<size_t>(index)] : -1;
}

// This fill wall's elevation outline in the plane of the wall of Record (x
// along that wall's middle line, y elevation), when that wall lists it among
// its overlaying fill walls; kept per record.
const TVRMMultiPolygon2d* TQTKWallCalcEDO::GetOverlayPolygon(IRDXRecord* record)
{
    if (!record)
        return nullptr;
    {
        std::lock_guard guard(DataLock());
        const auto found = overlayPolygons_.find(record->GetID());
        if (found != overlayPolygons_.end())
            return found->second.get();
    }
    const IQTKElementDrawObj* other = GetRecordDrawObj(record);
    if (GetFillWallOverlayState() != 2 || !other || other->GetElementTypeID() != 0)
        return nullptr;
    const auto wall = RefCast<IQTKWallCalcEDO>(GetCalcEDO(RecordRef(record), true));
    if (!wall)
        return nullptr;
    const int key = GetElementDrawObj()->GetIndexKey();
    bool listed = false;
    for (int i = 0, n = wall->GetOverlayFillWallCount(); i < n && !listed; ++i)
        listed = wall->GetOverlayFillWallID(i) == key;
    std::shared_ptr<TVRMMultiPolygon2d> set;
    const IQTKLineShape* shape = LineShape();
    if (listed && shape) {
        const TVRMCustomLine2d& plane = *wall->GetMidLine();
        const TVRMCustomLine2d& mid = *GetMidLine();
        const auto along = [&plane](const TVRMPoint2d& p) {
            return TVRMPositionFunc2d::LengthAtPoint(plane, TVRMPositionFunc2d::ClosestPointTo(p, plane));
        };
        const double b = along(mid.StartPt()), d = along(mid.EndPt());
        TVRMPolygon2d ring;
        ring.Add(TVRMPoint2d{b, shape->GetBottomElevAt(mid.StartPt())});
        ring.Add(TVRMPoint2d{b, shape->GetTopElevAt(mid.StartPt())});
        ring.Add(TVRMPoint2d{d, shape->GetTopElevAt(mid.EndPt())});
        ring.Add(TVRMPoint2d{d, shape->GetBottomElevAt(mid.EndPt())});
        if (ring.IsClockwise())
            ring.Reverse();
        set = std::make_shared<TVRMMultiPolygon2d>();
        set->Add(std::move(ring));
    }
    std::lock_guard guard(DataLock());
    return overlayPolygons_.emplace(record->GetID(), std::move(set)).first->second.get();
}
