#include "Calculator/CalcFrame/QTKCalcEDOs/QTKRoofCalcEDO.h"

#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

TQTKRoofCalcEDO::~TQTKRoofCalcEDO() = default;

std::shared_ptr<TQTKShellCalc3d> TQTKRoofCalcEDO::ShellCalc(std::shared_ptr<TQTKShellCalc3d>& slot)
{
    if (!IsCurvedFaceShape())
        return Kept(slot);
    return KeepOnce(slot, [this] {
        const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalPolyhedronIntf();
        return std::make_shared<TQTKShellCalc3d>(BuildTopOrBottomFaceShell(*solid->GetPolyhedron(), false),
                                                 RecordRef(GetElementDrawObj()->GetRecord()), 1.0);
    });
}

void TQTKRoofCalcEDO::ClearQtyItems()
{
    TQTKCalculatorEDO::ClearQtyItems();
    curved_.store(IsSlopedFaceDrawObj(GetElementDrawObj()));
}

void TQTKRoofCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    Keep(areaShellCalc_, {});
    Keep(waterproofShellCalc_, {});
}

bool TQTKRoofCalcEDO::AddOriginalQtyDetail(IRDXRecord* qtyRecord)
{
    if (qtyRecord)
        currentQtyItemId_.store(qtyRecord->GetID());
    return false;
}
