#include "Calculator/CalcFrame/QTKCalcEDOs/QTKPileCalcEDO.h"

#include <algorithm>
#include <cmath>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonComposite.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKPlanarCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;

RecordRef OwnRecord(const IQTKCalculatorEDO& edo)
{
    return RecordRef(edo.GetElementDrawObj()->GetRecord());
}

std::shared_ptr<TQTKSolidCalc3d> SolidCalcOver(IQTKCalculatorEDO& edo, const TVRMPolyhedron3d& solid)
{
    return std::make_shared<TQTKSolidCalc3d>(solid.Clone(), OwnRecord(edo));
}

std::shared_ptr<TQTKSolidCalc3d> OriginalSolidCalc(IQTKCalculatorEDO& edo)
{
    const Ref<IQTKPolyhedron3dIntf> solid = edo.GetOriginalPolyhedronIntf();
    return SolidCalcOver(edo, *solid->GetPolyhedron());
}

// The original solid as an original-quantity detail, its volume in m3.
void AddOriginalVolumeDetail(IQTKCalculatorEDO& edo)
{
    TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    if (!container)
        return;
    IRDXRecord* record = edo.GetElementDrawObj()->GetRecord();
    TQTKCurrentQty qty = CurrentQtyOf(record);
    auto detail = std::make_unique<TQTKSolidDeductDetail>(RecordRef(record), std::move(qty.code), std::move(qty.desc),
                                                          edo.GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone(),
                                                          nullptr, MM3ToM3(edo.GetOriginalQty()));
    detail->SetIsOriginalQty(true);
    container->Add(std::move(detail));
}

// The perimeter of a unit's plan: its point shape's polygon, else its face
// shape's outline; 0 for any other shape.
double UnitPerimeter(const IQTKElementDrawObj* unit)
{
    const IQTKShape* shape = unit ? unit->GetShape() : nullptr;
    if (dynamic_cast<const IQTKPointShape*>(shape))
        return shape->GetPolygon().Perimeter();
    if (dynamic_cast<const IQTKFaceShape*>(shape))
        return shape->GetOutline().Perimeter();
    return 0.0;
}

}  // namespace

// ---------------------------------------------------------------------------
// TQTKPileCalcEDO

TQTKPileCalcEDO::~TQTKPileCalcEDO() = default;

std::shared_ptr<TQTKPlanarCalc2d> TQTKPileCalcEDO::GetSectionCalc()
{
    return KeepOnce(sectionCalc_, [this] {
        const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalPolyhedronIntf();
        return std::make_shared<TQTKPlanarCalc2d>(*solid->GetPolyhedron()->GetProjectiveXYPoly(), OwnRecord(*this));
    });
}

std::shared_ptr<TQTKSolidCalc3d> TQTKPileCalcEDO::GetEarthSolidCalc()
{
    return KeepOnce(earthCalc_, [this] { return OriginalSolidCalc(*this); });
}

std::shared_ptr<TQTKSolidCalc3d> TQTKPileCalcEDO::GetVolumeCalc()
{
    return KeepOnce(volumeCalc_, [this] { return OriginalSolidCalc(*this); });
}

void TQTKPileCalcEDO::Forget()
{
    std::shared_ptr<TQTKSolidCalc3d> earth, volume;
    std::shared_ptr<TQTKPlanarCalc2d> section;
    std::lock_guard guard(DataLock());
    std::swap(earth, earthCalc_);
    std::swap(section, sectionCalc_);
    std::swap(volume, volumeCalc_);
}

void TQTKPileCalcEDO::ClearQtyItems()
{
    TQTKCalculatorEDO::ClearQtyItems();
    Forget();
}

void TQTKPileCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    Forget();
}

void TQTKPileCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCalculatorEDO::FillDeductDetail(qtyRecord);
    if (qtyRecord && qtyRecord->GetID() >= 425 && qtyRecord->GetID() <= 433 && IsDeductDetailEmpty())
        AddOriginalVolumeDetail(*this);
}

// ---------------------------------------------------------------------------
// TQTKPileCapCalcEDO

TQTKPileCapCalcEDO::~TQTKPileCapCalcEDO() = default;

std::unique_ptr<TVRMPolyhedron3d> TQTKPileCapCalcEDO::BuildOriginalPolyhedron()
{
    return BuildCompositeSolid(GetElementDrawObj());
}

void TQTKPileCapCalcEDO::AddUnit(IQTKPileCapUnitCalcEDO* unit)
{
    QTK_ASSERT(unit != nullptr);
    const auto* unitObject = dynamic_cast<const TQTKPileCapUnitCalcEDO*>(unit);
    QTK_ASSERT(unitObject != nullptr);
    TUnitEntry entry{RecordRef(unit->GetElementDrawObj()->GetRecord()), unitObject->GetUnitIndex()};
    std::lock_guard guard(DataLock());
    for (const TUnitEntry& listed : units_)
        if (listed.record == entry.record)
            return;
    const auto before = std::find_if(units_.begin(), units_.end(),
                                     [&](const TUnitEntry& listed) { return listed.index > entry.index; });
    units_.insert(before, std::move(entry));
}

TRecordList TQTKPileCapCalcEDO::GetUnitRecords()
{
    std::lock_guard guard(DataLock());
    TRecordList records;
    for (const TUnitEntry& entry : units_)
        records.push_back(entry.record);
    return records;
}

double TQTKPileCapCalcEDO::GetMaxUnitPerimeter()
{
    double longest = 0.0;
    for (const RecordRef& record : GetCompositeUnitRecords(GetElementDrawObj()->GetRecord())) {
        // A unit prepared here is listed with the cap like any other.
        GetCalcEDO(record, true);
        longest = std::max(longest, UnitPerimeter(GetRecordDrawObj(record.get())));
    }
    return longest;
}

std::shared_ptr<TVRMNumericalCalc2d> TQTKPileCapCalcEDO::GetHeightCalc()
{
    return KeepOnce(heightCalc_, [this] {
        const IPropValues* values = GetElementDrawObj()->GetPropValues();
        const double bottom = EdoPropValueFloat(values, "BottomElev");
        return std::make_shared<TVRMNumericalCalc2d>(bottom, bottom + EdoPropValueFloat(values, "Height"), false, 1.0);
    });
}

void TQTKPileCapCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    Keep(heightCalc_, {});
}

void TQTKPileCapCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCalculatorEDO::FillDeductDetail(qtyRecord);
    if (IsDeductDetailEmpty())
        AddOriginalVolumeDetail(*this);
}

// ---------------------------------------------------------------------------
// TQTKPileCapUnitCalcEDO

TQTKPileCapUnitCalcEDO::~TQTKPileCapUnitCalcEDO() = default;

std::shared_ptr<TQTKSolidCalc3d> TQTKPileCapUnitCalcEDO::GetVolumeCalc()
{
    return KeepOnce(volumeCalc_, [this] { return OriginalSolidCalc(*this); });
}

std::shared_ptr<TQTKSolidCalc3d> TQTKPileCapUnitCalcEDO::GetBrickMoldSolidCalc()
{
    return KeepOnce(brickMoldCalc_, [this] { return SolidCalcOver(*this, *GetMergedSolid()); });
}

std::shared_ptr<TQTKShellCalc3d> TQTKPileCapUnitCalcEDO::GetFormboardShell(const TableSourceRef& ruleContext)
{
    if (std::shared_ptr<TQTKShellCalc3d> kept = Kept(formboardShell_))
        return kept;
    auto shell = std::make_unique<TVRMPolyhedronShell3d>();
    if (!ruleContext) {
        // Without the angle nothing is known: an empty shell, not kept, so a
        // later request with a rule context builds the real one.
        return std::make_shared<TQTKShellCalc3d>(std::move(shell), OwnRecord(*this));
    }
    const double angle =
        FieldValueFloat(GetSettingRow(ruleContext, "QTKFDCalcSettings"), "PileCapFormboardAngle", 0.0) * CVRMPi / 180.0;
    const Ref<IQTKPolyhedron3dIntf> holder = GetOriginalPolyhedronIntf();
    const TVRMPoint3d up{0, 0, 1};
    for (const TVRMFace3d& face : holder->GetPolyhedron()->GetFaces()) {
        const double theta = face.GetNormal().AngleBetween(up);
        if (!LessThan(theta, angle, CLengthTol) && !SameValue(theta, CVRMPi, CLengthTol))
            shell->AddFace(face);
    }
    return KeepOnce(formboardShell_,
                    [&] { return std::make_shared<TQTKShellCalc3d>(std::move(shell), OwnRecord(*this)); });
}

Ref<IQTKPolyhedron3dIntf> TQTKPileCapUnitCalcEDO::GetPrioritySolid()
{
    return KeepOnce(prioritySolid_, [this] {
        std::unique_ptr<TVRMPolyhedron3d> net = BuildUnitNetSolid(this);
        return MakePolyhedronHolder(net ? std::move(net) : std::make_unique<TVRMPolyhedron3d>());
    });
}

void TQTKPileCapUnitCalcEDO::Prepare(IRDXRecord* record)
{
    TQTKCalculatorEDO::Prepare(record);
    IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    IRDXRecord* parent = drawObj ? drawObj->GetParentRecord() : nullptr;
    const TRecordList units = GetCompositeUnitRecords(parent);
    const auto found = std::find_if(units.begin(), units.end(), [&](const RecordRef& unit) {
        return unit.get() == record || (unit && record && unit->GetID() == record->GetID());
    });
    SetUnitIndex(found == units.end() ? -1 : static_cast<int>(found - units.begin()));
    const Ref<IQTKPileCapCalcEDO> cap = RefCast<IQTKPileCapCalcEDO>(GetCalcEDO(parent, true));
    if (!cap)
        throw EIntfCastError("the parent of pile cap unit " + std::to_string(record ? record->GetID() : 0) +
                             " is no pile cap");
    cap->AddUnit(this);
}

void TQTKPileCapUnitCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    std::shared_ptr<TQTKSolidCalc3d> volume, brickMold;
    std::shared_ptr<TQTKShellCalc3d> formboard, bottom, side, top;
    Ref<IQTKPolyhedron3dIntf> priority;
    std::lock_guard guard(DataLock());
    std::swap(formboard, formboardShell_);
    std::swap(volume, volumeCalc_);
    std::swap(bottom, bottomShell_);
    std::swap(side, sideShell_);
    std::swap(top, topShell_);
    std::swap(priority, prioritySolid_);
    std::swap(brickMold, brickMoldCalc_);
}

void TQTKPileCapUnitCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCalculatorEDO::FillDeductDetail(qtyRecord);
    if (qtyRecord && (qtyRecord->GetID() == 419 || qtyRecord->GetID() == 422) && IsDeductDetailEmpty())
        AddOriginalVolumeDetail(*this);
}
