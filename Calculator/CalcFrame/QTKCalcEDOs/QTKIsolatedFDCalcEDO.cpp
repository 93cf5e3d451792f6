#include "Calculator/CalcFrame/QTKCalcEDOs/QTKIsolatedFDCalcEDO.h"

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKRaftFDCalcEDO.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonComposite.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKPlanarCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronLines3d.h"

namespace {

constexpr int CRaftType = 48;
constexpr int CIsolatedFDType = 52;
constexpr int CParamSectionType = 3;
constexpr int CCupSectionKind = 2;

}  // namespace

// ---------------------------------------------------------------------------
// TQTKIsolatedFDCalcEDO

TQTKIsolatedFDCalcEDO::~TQTKIsolatedFDCalcEDO() = default;

std::unique_ptr<TVRMPolyhedron3d> TQTKIsolatedFDCalcEDO::BuildOriginalPolyhedron()
{
    return BuildCompositeSolid(GetElementDrawObj());
}

const TVRMMultiPolygon2d* TQTKIsolatedFDCalcEDO::GetScaffoldPolygon()
{
    return KeepOnce(scaffoldPolygon_,
                    [this]() -> std::shared_ptr<TVRMMultiPolygon2d> {
                        IRDXRecord* settings = GetSettingRow(GetCalculatorSetting(), "QTKFDCalcSettings");
                        if (!IsFDScaffoldRequired(GetElementDrawObj(),
                                                  FieldValueInteger(settings, "IsolateFDScaffoldCaclCondition", 0)))
                            return std::make_shared<TVRMMultiPolygon2d>();
                        return BuildFDScaffoldOutline(GetElementDrawObj(),
                                                      FieldValueInteger(settings, "IsolateFDScaffoldCalcMethord", 0));
                    })
        .get();
}

std::shared_ptr<TQTKPlanarCalc2d> TQTKIsolatedFDCalcEDO::GetScaffoldCalc()
{
    return KeepOnce(scaffoldCalc_, [this] {
        // The outline is empty exactly when no scaffold is needed.
        return std::make_shared<TQTKPlanarCalc2d>(*GetScaffoldPolygon(), RecordRef(GetElementDrawObj()->GetRecord()));
    });
}

const TVRMMultiPolygon2d* TQTKIsolatedFDCalcEDO::GetExpandedPolygon()
{
    return KeepOnce(
               expandedPolygon_,
               [this]() -> std::shared_ptr<TVRMMultiPolygon2d> { return BuildFDExpandedPolygon(GetElementDrawObj()); })
        .get();
}

bool TQTKIsolatedFDCalcEDO::IsIntersectWith(IRDXRecord* record)
{
    if (TQTKCalculatorEDO::IsIntersectWith(record))
        return true;
    const IQTKElementDrawObj* other = GetRecordDrawObj(record);
    const int otherType = other ? other->GetElementTypeID() : -1;
    if (otherType != CRaftType && otherType != CIsolatedFDType)
        return false;
    return !GetScaffoldPolygon()->IsEmpty() && IsWithinFDReach(*GetExpandedPolygon(), record);
}

void TQTKIsolatedFDCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    Keep(heightLines_, {});
    Keep(scaffoldPolygon_, {});
    Keep(scaffoldCalc_, {});
}

void TQTKIsolatedFDCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCalculatorEDO::FillDeductDetail(qtyRecord);
    // Only into an empty container, as every element object: a second
    // request for the same quantity must not list the original twice.
    if (qtyRecord && (qtyRecord->GetID() == 413 || qtyRecord->GetID() == 416) && IsDeductDetailEmpty())
        AddOriginalSolidDetail(qtyRecord);
}

// ---------------------------------------------------------------------------
// TQTKIsolatedFDUnitCalcEDO

TQTKIsolatedFDUnitCalcEDO::~TQTKIsolatedFDUnitCalcEDO() = default;

bool TQTKIsolatedFDUnitCalcEDO::IsCupulate()
{
    const IPropValues* values = GetElementDrawObj()->GetPropValues();
    if (EdoPropValueInteger(values, "SectionTypeID") != CParamSectionType)
        return false;
    TQTKParamPolySection section;
    return StringToParamPoly(VariantToParamPolyString(values, "SectionInfo"), section) &&
           section.kind == CCupSectionKind;
}

std::shared_ptr<TQTKSolidCalc3d> TQTKIsolatedFDUnitCalcEDO::GetBrickMoldSolidCalc()
{
    return KeepOnce(brickMoldCalc_, [this] {
        return std::make_shared<TQTKSolidCalc3d>(GetMergedSolid()->Clone(),
                                                 RecordRef(GetElementDrawObj()->GetRecord()));
    });
}

Ref<IQTKPolyhedron3dIntf> TQTKIsolatedFDUnitCalcEDO::GetPrioritySolid()
{
    return KeepOnce(prioritySolid_, [this] {
        std::unique_ptr<TVRMPolyhedron3d> net = BuildUnitNetSolid(this);
        return MakePolyhedronHolder(net ? std::move(net) : std::make_unique<TVRMPolyhedron3d>());
    });
}

void TQTKIsolatedFDUnitCalcEDO::Forget(bool all)
{
    std::shared_ptr<TQTKSolidCalc3d> volume, brickMold;
    std::shared_ptr<TQTKShellCalc3d> formboard, bottom, side, top;
    Ref<IQTKPolyhedron3dIntf> priority;
    std::lock_guard guard(DataLock());
    std::swap(bottom, bottomShell_);
    std::swap(side, sideShell_);
    std::swap(top, topShell_);
    std::swap(priority, prioritySolid_);
    if (all) {
        std::swap(volume, volumeCalc_);
        std::swap(formboard, formboardShell_);
        std::swap(brickMold, brickMoldCalc_);
    }
}

void TQTKIsolatedFDUnitCalcEDO::ClearQtyItems()
{
    TQTKCalculatorEDO::ClearQtyItems();
    Forget(false);
}

void TQTKIsolatedFDUnitCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    Forget(true);
}

void TQTKIsolatedFDUnitCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCalculatorEDO::FillDeductDetail(qtyRecord);
    if (!qtyRecord || (qtyRecord->GetID() != 417 && qtyRecord->GetID() != 632) || !IsDeductDetailEmpty())
        return;
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalPolyhedronIntf();
    SetVolumeCalc(std::make_shared<TQTKSolidCalc3d>(solid->GetPolyhedron()->Clone(),
                                                    RecordRef(GetElementDrawObj()->GetRecord())));
}
