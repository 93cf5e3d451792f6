#include "Calculator/CalcFrame/QTKCalcEDOs/QTKColumnBaseCalcEDO.h"

#include "Host/ElementModel/QTKColumnAccBaseShell.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;

}  // namespace

TQTKColumnBaseFaces ClassifyColumnBaseFaces(const TVRMPolyhedron3d& solid)
{
    TQTKColumnBaseFaces faces;
    for (int i = 0; i < solid.GetFaceCount(); ++i) {
        const TVRMVector3d& n = solid.GetFace(i).GetNormal();
        if (!IsZero(n.x, CLengthTol) || !IsZero(n.y, CLengthTol))
            faces.sides.push_back(i);
        else if (SameValue(n.z, -1.0, CLengthTol))
            faces.bottom = i;
        else if (SameValue(n.z, 1.0, CLengthTol))
            faces.top = i;
        else
            QTK_ASSERT(false);
    }
    return faces;
}

TQTKColumnBaseCalculatorEDO::~TQTKColumnBaseCalculatorEDO() = default;

void TQTKColumnBaseCalculatorEDO::DropCalculators()
{
    Keep(volumeCalc_, {});
    Keep(formboardCalc_, {});
    Keep(topCalc_, {});
    Keep(bottomCalc_, {});
    Keep(verticalSideCalc_, {});
    Keep(sideCalc_, {});
    Keep(mergedCalc_, {});
}

void TQTKColumnBaseCalculatorEDO::ClearQtyItems()
{
    TQTKCalculatorEDO::ClearQtyItems();
    DropCalculators();
    {
        std::lock_guard guard(DataLock());
        facesRead_ = false;
    }
    EnsureFaces();
}

void TQTKColumnBaseCalculatorEDO::EnsureFaces()
{
    {
        std::lock_guard guard(DataLock());
        if (facesRead_)
            return;
    }
    TQTKColumnBaseFaces faces = ClassifyColumnBaseFaces(*GetOriginalPolyhedronIntf()->GetPolyhedron());
    const bool brickModel = EdoPropValueInteger(GetElementDrawObj()->GetPropValues(), "ColumnBaseType") < 5;
    std::lock_guard guard(DataLock());
    if (!facesRead_) {
        faces_ = std::move(faces);
        brickModelType_ = brickModel;
        facesRead_ = true;
    }
}

void TQTKColumnBaseCalculatorEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    DropCalculators();
}

void TQTKColumnBaseCalculatorEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCalculatorEDO::FillDeductDetail(qtyRecord);
    if (IsDeductDetailEmpty())
        AddOriginalSolidDetail(qtyRecord);
}

bool TQTKColumnBaseCalculatorEDO::IsBrickModelType()
{
    EnsureFaces();
    std::lock_guard guard(DataLock());
    return brickModelType_;
}

std::shared_ptr<TQTKShellCalc3d> TQTKColumnBaseCalculatorEDO::FaceCalc(std::shared_ptr<TQTKShellCalc3d>& slot,
                                                                       const std::vector<int>& faces)
{
    return KeepOnce(slot, [this, &faces] {
        const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalPolyhedronIntf();
        return std::make_shared<TQTKShellCalc3d>(
            std::make_unique<TVRMPolyhedronShell3d>(*solid->GetPolyhedron(), faces),
            RecordRef(GetElementDrawObj()->GetRecord()), 1.0);
    });
}

std::shared_ptr<TQTKSolidCalc3d> TQTKColumnBaseCalculatorEDO::GetVolumeCalc()
{
    return KeepOnce(volumeCalc_, [this] {
        return std::make_shared<TQTKSolidCalc3d>(GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone(),
                                                 RecordRef(GetElementDrawObj()->GetRecord()), 1.0);
    });
}

std::shared_ptr<TQTKShellCalc3d> TQTKColumnBaseCalculatorEDO::GetFormboardShellCalc()
{
    if (IsBrickModelType()) {
        EnsureFaces();
        const std::vector<int> sides = Kept(faces_).sides;
        return FaceCalc(formboardCalc_, sides);
    }
    return KeepOnce(formboardCalc_, [this] {
        std::unique_ptr<TVRMPolyhedronShell3d> shell = BuildRaftSideShell3d(GetElementDrawObj(), 1);
        if (!shell)
            shell = std::make_unique<TVRMPolyhedronShell3d>();
        return std::make_shared<TQTKShellCalc3d>(std::move(shell), RecordRef(GetElementDrawObj()->GetRecord()), 1.0);
    });
}

std::shared_ptr<TQTKSolidCalc3d> TQTKColumnBaseCalculatorEDO::GetBrickModelVolumeCalc()
{
    if (IsBrickModelType())
        return nullptr;
    return KeepOnce(mergedCalc_, [this] {
        return std::make_shared<TQTKSolidCalc3d>(GetMergedSolid()->Clone(), RecordRef(GetElementDrawObj()->GetRecord()),
                                                 1.0);
    });
}

std::shared_ptr<TQTKShellCalc3d> TQTKColumnBaseCalculatorEDO::GetTopFaceShellCalc()
{
    EnsureFaces();
    const int top = Kept(faces_).top;
    return FaceCalc(topCalc_, top < 0 ? std::vector<int>{} : std::vector<int>{top});
}

std::shared_ptr<TQTKShellCalc3d> TQTKColumnBaseCalculatorEDO::GetBottomFaceShellCalc()
{
    EnsureFaces();
    const int bottom = Kept(faces_).bottom;
    return FaceCalc(bottomCalc_, bottom < 0 ? std::vector<int>{} : std::vector<int>{bottom});
}

std::shared_ptr<TQTKShellCalc3d> TQTKColumnBaseCalculatorEDO::GetSideFaceShellCalc()
{
    EnsureFaces();
    const std::vector<int> sides = Kept(faces_).sides;
    return FaceCalc(sideCalc_, sides);
}

std::shared_ptr<TQTKShellCalc3d> TQTKColumnBaseCalculatorEDO::GetVerticalSideFaceShellCalc()
{
    EnsureFaces();
    const std::vector<int> sides = Kept(faces_).sides;
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalPolyhedronIntf();
    std::vector<int> vertical;
    for (int i : sides)
        if (IsZero(solid->GetPolyhedron()->GetFace(i).GetNormal().z, CLengthTol))
            vertical.push_back(i);
    return FaceCalc(verticalSideCalc_, vertical);
}
