#include "Calculator/CalcFrame/QTKCalcEDOs/QTKWallCalcEDO.h"

#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Calculator/Common/QTKFloatList.h"
#include "Calculator/Common/QTKShortArmShearWallBuilder.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
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
    std::lock_guard guard(DataLock());
    leftFaceAdded_ = rightFaceAdded_ = false;
}

void TQTKWallCalcEDO::FreeCalcCache()
{
    TQTKCustomWallCalcEDO::FreeCalcCache();
    // Dropped outside the lock: a calculator may be freed here.
    std::shared_ptr<TQTKSolidCalc3d> volume, area;
    std::shared_ptr<TQTKShellCalc3d> midFace, sideFace, externalSide;
    std::shared_ptr<TVRMOverhighShellCalc3d> formboard;
    std::shared_ptr<TVRMOverhighSolidCalc3d> overhighVolume;
    std::shared_ptr<TFloatList> values;
    std::shared_ptr<TQTKWallSteelMeshCalcContnr> steelMesh;
    std::unique_ptr<TVRMPolyhedronShell3d> shell;
    std::lock_guard guard(DataLock());
    volume.swap(volumeCalc_);
    area.swap(areaCalc_);
    midFace.swap(midFaceCalc_);
    sideFace.swap(sideFaceCalc_);
    externalSide.swap(externalSideCalc_);
    formboard.swap(overhighFormboard_);
    overhighVolume.swap(overhighVolume_);
    values.swap(overhighValues_);
    steelMesh.swap(steelMesh_);
    shell.swap(sideFaceShell_);
    leftFaceAdded_ = rightFaceAdded_ = endFacesAdded_ = false;
}

// ---------------------------------------------------------------------------
// Calculators

std::unique_ptr<TVRMPolyhedron3d> TQTKWallCalcEDO::CopyOfOriginal()
{
    const Ref<IQTKPolyhedron3dIntf> original = GetOriginalPolyhedronIntf();
    return original ? original->GetPolyhedron()->Clone() : std::make_unique<TVRMPolyhedron3d>();
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
            GetUseAxisLength() ? GetElementDrawObj()->BuildPolyhedron(true, nullptr, 0.0, 0) : CopyOfOriginal();
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
        return std::make_shared<TQTKSolidCalc3d>(CopyOfOriginal(), RecordRef(GetRecord()), factor);
    });
}

std::shared_ptr<TQTKShellCalc3d> TQTKWallCalcEDO::GetMidFaceShellCalc()
{
    return KeepOnce(midFaceCalc_, [this] {
        const IQTKLineShape* shape = LineShape();
        TVRMCustomLine2d line = *GetMidLine();
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

TVRMPolyhedronShell3d* TQTKWallCalcEDO::GetSideFaceShell()
{
    std::lock_guard guard(DataLock());
    if (!sideFaceShell_)
        sideFaceShell_ = std::make_unique<TVRMPolyhedronShell3d>();
    return sideFaceShell_.get();
}

std::shared_ptr<TQTKShellCalc3d> TQTKWallCalcEDO::GetSideFaceShellCalc()
{
    return KeepOnce(sideFaceCalc_, [this] {
        std::unique_ptr<TVRMPolyhedronShell3d> shell;
        {
            std::lock_guard guard(DataLock());
            shell = GetSideFaceShell()->Clone();
        }
        auto calc = std::make_shared<TQTKShellCalc3d>(std::move(shell), RecordRef(GetRecord()), 1.0);
        calc->SetIsArc(IsArcAxis());
        return calc;
    });
}

// A face on the left side line facing left, on the right one facing right,
// between the wall's end elevations.
void TQTKWallCalcEDO::AddSideFace(bool left)
{
    const IQTKLineShape* shape = LineShape();
    const TVRMCustomLine2d& line = left ? *GetLeftLine() : *GetRightLine();
    std::lock_guard guard(DataLock());
    bool& added = left ? leftFaceAdded_ : rightFaceAdded_;
    if (added || !shape)
        return;
    GetSideFaceShell()->AddFace(line, left, shape->GetStartPtBottomElev(), shape->GetStartPtTopElev(),
                                shape->GetEndPtBottomElev(), shape->GetEndPtTopElev());
    added = true;
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
    std::lock_guard guard(DataLock());
    if (!endFacesAdded_) {
        for (const TVRMFace3d& face : faces.GetFaces())
            sideFaceShell_->AddFace(face);
        endFacesAdded_ = true;
    }
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

int TQTKWallCalcEDO::GetOverlayFillWallID(int index)
{
    QTK_ASSERT(index >= 0);
    return -1;
}
