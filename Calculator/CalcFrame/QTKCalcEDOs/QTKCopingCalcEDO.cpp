#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCopingCalcEDO.h"

#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr int CCopingType = 70;
constexpr double CFormboardAngle = 45.0;
// Superposition kind sets: {0} contact faces, {0, 1} contact and flush faces.
constexpr int CKindsContact = 1;
constexpr int CKindsShared = 3;

}  // namespace

TQTKCopingCalcEDO::~TQTKCopingCalcEDO() = default;

std::shared_ptr<TQTKSolidCalc3d> TQTKCopingCalcEDO::GetVolumeSolidCalc()
{
    return KeepOnce(volumeSolidCalc_, [this] {
        return std::make_shared<TQTKSolidCalc3d>(GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone(),
                                                 RecordRef(GetElementDrawObj()->GetRecord()), 1.0);
    });
}

std::shared_ptr<TQTKShellCalc3d> TQTKCopingCalcEDO::GetFormboardShellCalc()
{
    return KeepOnce(formboardShellCalc_, [this] {
        const Ref<IQTKPolyhedron3dIntf> holder = GetOriginalPolyhedronIntf();
        const TVRMPolyhedron3d& solid = *holder->GetPolyhedron();
        const TVRMCustomLine2d& line = *GetMidLine();
        // The two sides and the bottom, then the faces along the line (the end faces).
        std::vector<int> faces, along;
        GetFaceIndicesByDirection(solid, line, MakeFaceCodeSet({1, 2, 3}), faces, {}, CFormboardAngle);
        GetFaceIndicesByDirection(solid, line, MakeFaceCodeSet({5}), along, {}, CFormboardAngle);
        faces.insert(faces.end(), along.begin(), along.end());
        std::unique_ptr<TVRMPolyhedronShell3d> shell = BuildFaceShell(solid, faces);
        TRecordList copings;
        GetRelatedByType(CCopingType, &copings);
        for (const RecordRef& coping : copings) {
            const Ref<IQTKCalculatorEDO> other = GetCalcEDO(coping.get(), true);
            const int kinds = IsLineEdoCutBy(this, other.get(), false) ? CKindsShared : CKindsContact;
            shell->Subtract(*other->GetOriginalPolyhedronIntf()->GetPolyhedron(), kinds);
        }
        return std::make_shared<TQTKShellCalc3d>(std::move(shell), RecordRef(GetElementDrawObj()->GetRecord()), 1.0);
    });
}

void TQTKCopingCalcEDO::FreeCalcCache()
{
    TQTKHasSectionInfoLineEntCalcEDO::FreeCalcCache();
    Keep(volumeSolidCalc_, {});
    Keep(formboardShellCalc_, {});
    Keep(outAreaCalc_, {});
}

void TQTKCopingCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    if (!qtyRecord || !IsDeductDetailEmpty())
        return;
    switch (qtyRecord->GetID()) {
        case 486:
        case 642:
            GetVolumeSolidCalc();
            break;
        case 487:
            GetFormboardShellCalc();
            break;
        case 603: {
            TQTKDeductDetailContainer* container = GetDeductDetailContainer();
            if (!container)
                break;
            IRDXRecord* record = GetElementDrawObj()->GetRecord();
            TQTKCurrentQty qty = CurrentQtyOf(record);
            auto detail = std::make_unique<TQTKSolidDeductDetail>(
                RecordRef(record), std::move(qty.code), std::move(qty.desc),
                GetElementDrawObj()->BuildPolyhedron(true, nullptr, 0.0, 0), nullptr, MM3ToM3(GetOriginalQty()));
            detail->SetIsOriginalQty(true);
            container->Add(std::move(detail));
            break;
        }
        case 638:
            GetOutAreaCalc();
            break;
        default:
            break;
    }
}
