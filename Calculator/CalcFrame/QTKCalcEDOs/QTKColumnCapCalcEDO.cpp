#include "Calculator/CalcFrame/QTKCalcEDOs/QTKColumnCapCalcEDO.h"

#include "Calculator/Common/QTKFloatList.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;

bool IsLevel(const TVRMVector3d& n)
{
    return IsZero(n.x, CLengthTol) && IsZero(n.y, CLengthTol);
}

}  // namespace

TQTKColumnCapFaces ClassifyColumnCapFaces(const TVRMPolyhedron3d& solid)
{
    TQTKColumnCapFaces faces;
    const TVRMBox3d box = solid.GetBox();
    for (int i = 0; i < solid.GetFaceCount(); ++i) {
        const TVRMFace3d& face = solid.GetFace(i);
        const TVRMVector3d& n = face.GetNormal();
        const double z = face.GetPlane().GetBasePoint().z;
        const bool atBottom = SameValue(z, box.min.z, CLengthTol);
        const bool atTop = SameValue(z, box.max.z, CLengthTol);
        const bool up = IsLevel(n) && n.z > 0.0;
        if (!((SameValue(n.z, -1.0, CLengthTol) && atBottom) || (SameValue(n.z, 1.0, CLengthTol) && atTop)))
            faces.sides.push_back(i);
        if (faces.lowest < 0 && IsLevel(n) && atBottom)
            faces.lowest = i;
        if (!up)
            faces.formboard.push_back(i);
    }
    return faces;
}

TQTKColumnCapCalculatorEDO::~TQTKColumnCapCalculatorEDO() = default;

void TQTKColumnCapCalculatorEDO::DropFields()
{
    Keep(volumeCalc_, {});
    Keep(formboardCalc_, {});
    Keep(sideCalc_, {});
    Keep(lowestCalc_, {});
    Keep(overhighVolume_, {});
    Keep(overhighFormboard_, {});
    Keep(overhighValues_, {});
}

void TQTKColumnCapCalculatorEDO::ClearQtyItems()
{
    TQTKCalculatorEDO::ClearQtyItems();
    DropFields();
}

void TQTKColumnCapCalculatorEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    DropFields();
}

void TQTKColumnCapCalculatorEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCalculatorEDO::FillDeductDetail(qtyRecord);
    if (IsDeductDetailEmpty())
        AddOriginalSolidDetail(qtyRecord);
}

std::shared_ptr<TQTKShellCalc3d> TQTKColumnCapCalculatorEDO::ShellCalc(std::unique_ptr<TVRMPolyhedronShell3d> shell)
{
    return std::make_shared<TQTKShellCalc3d>(std::move(shell), RecordRef(GetElementDrawObj()->GetRecord()), 1.0);
}

std::shared_ptr<TQTKSolidCalc3d> TQTKColumnCapCalculatorEDO::GetVolumeCalc()
{
    return KeepOnce(volumeCalc_, [this] {
        return std::make_shared<TQTKSolidCalc3d>(GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone(),
                                                 RecordRef(GetElementDrawObj()->GetRecord()), 1.0);
    });
}

std::unique_ptr<TVRMPolyhedronShell3d> TQTKColumnCapCalculatorEDO::CreateFormboardShell()
{
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalPolyhedronIntf();
    return std::make_unique<TVRMPolyhedronShell3d>(*solid->GetPolyhedron(),
                                                   ClassifyColumnCapFaces(*solid->GetPolyhedron()).formboard);
}

std::shared_ptr<TQTKShellCalc3d> TQTKColumnCapCalculatorEDO::GetFormboardShellCalc()
{
    return KeepOnce(formboardCalc_, [this] { return ShellCalc(CreateFormboardShell()); });
}

std::shared_ptr<TQTKShellCalc3d> TQTKColumnCapCalculatorEDO::GetSideFaceShellCalc()
{
    return KeepOnce(sideCalc_, [this] {
        const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalPolyhedronIntf();
        return ShellCalc(std::make_unique<TVRMPolyhedronShell3d>(
            *solid->GetPolyhedron(), ClassifyColumnCapFaces(*solid->GetPolyhedron()).sides));
    });
}

std::shared_ptr<TQTKShellCalc3d> TQTKColumnCapCalculatorEDO::GetTopFaceShellCalc()
{
    return KeepOnce(lowestCalc_, [this] {
        const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalPolyhedronIntf();
        const int lowest = ClassifyColumnCapFaces(*solid->GetPolyhedron()).lowest;
        return ShellCalc(lowest < 0 ? std::make_unique<TVRMPolyhedronShell3d>()
                                    : std::make_unique<TVRMPolyhedronShell3d>(*solid->GetPolyhedron(), lowest));
    });
}

void TQTKColumnCapCalculatorEDO::SetOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d> calc)
{
    Keep(overhighVolume_, std::move(calc));
}

void TQTKColumnCapCalculatorEDO::SetOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc)
{
    Keep(overhighFormboard_, std::move(calc));
}

void TQTKColumnCapCalculatorEDO::SetOverhighValueList(std::shared_ptr<TFloatList> list)
{
    Keep(overhighValues_, std::move(list));
}
