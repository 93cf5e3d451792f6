#include "Calculator/CalcFrame/QTKCalcEDOs/QTKApronCalcEDO.h"

#include <optional>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKCalculatorThreadSyncUtil.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/Runtime/NameList.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
constexpr int CMarkInner = 2;

const TQTKElementTypeSet& WallTypes()
{
    static const TQTKElementTypeSet types = MakeElementTypeSet({0, 1});
    return types;
}

const TVRMMultiPolygon2d& OutlineOf(const IQTKElementDrawObj* drawObj)
{
    return drawObj->GetShape()->GetOutline();
}

bool HasThickness(const IQTKElementDrawObj* drawObj)
{
    return !IsZero(EdoPropValueFloat(drawObj->GetPropValues(), "Thickness"));
}

// In detail mode, the report whose wall-touch lengths are reported by the
// walls themselves.
bool IsWallTouchReport()
{
    if (!GIsDetailMode)
        return false;
    const RecordRef report = GReportRecord();
    return report && SameText(report->GetAsString("Code"), "WWCD");
}

// Marks the pieces of the line inside the apron's holes (inner boundary
// included) with CMarkInner; pieces outside the apron's outer rings never lie
// in a hole.
void MarkInnerPieces(TQTKLinearCalc2d& calc, const TVRMMultiPolygon2d& outline)
{
    for (const TVRMPolygon2d& ring : outline.Items())
        if (ring.IsHole()) {
            TVRMPolygon2d region = ring;
            region.Reverse();
            calc.Append(region, CMarkInner, nullptr, false, CLengthTol);
        }
}

}  // namespace

TQTKApronCalcEDO::~TQTKApronCalcEDO() = default;

TRecordList TQTKApronCalcEDO::WallsOnFloor()
{
    TRecordList walls, onFloor;
    GetRelatedByTypes(WallTypes(), &walls);
    const int floorId = GetElementDrawObj()->GetFloorID();
    for (const RecordRef& wall : walls)
        if (const IQTKElementDrawObj* drawObj = GetRecordDrawObj(wall.get());
            drawObj && drawObj->GetFloorID() == floorId)
            onFloor.push_back(wall);
    return onFloor;
}

std::shared_ptr<const TVRMMultiPolygon2d> TQTKApronCalcEDO::GetNetFacePolygon()
{
    return KeepOnce(netFacePolygon_, [this]() -> std::shared_ptr<const TVRMMultiPolygon2d> {
        const TVRMMultiPolygon2d& outline = OutlineOf(GetElementDrawObj());
        TRecordList walls;
        if (!GetRelatedByTypes(WallTypes(), &walls))
            return std::make_shared<TVRMMultiPolygon2d>(outline);
        std::unique_ptr<TVRMMultiPolygon2d> net;
        for (const RecordRef& wall : walls) {
            const IQTKElementDrawObj* drawObj = GetRecordDrawObj(wall.get());
            if (drawObj && HasThickness(drawObj))
                net = SyncSubPolygon(net ? *net : outline, OutlineOf(drawObj));
            else if (!net)
                net = std::make_unique<TVRMMultiPolygon2d>(outline);
        }
        net->Normalize(CLengthTol);
        return net;
    });
}

std::shared_ptr<TVRMMultiPolyLinearCalc2d> TQTKApronCalcEDO::GetPerimeterCalc()
{
    return KeepOnce(perimeterCalc_, [this] {
        auto calc = std::make_shared<TVRMMultiPolyLinearCalc2d>();
        calc->Add(*GetNetFacePolygon(), false);
        return calc;
    });
}

std::shared_ptr<TQTKShellCalc3d> TQTKApronCalcEDO::GetAreaShellCalc()
{
    return KeepOnce(areaShellCalc_, [this] {
        const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalPolyhedronIntf();
        return std::make_shared<TQTKShellCalc3d>(BuildTopOrBottomFaceShell(*solid->GetPolyhedron(), true),
                                                 RecordRef(GetElementDrawObj()->GetRecord()), 1.0);
    });
}

std::shared_ptr<TVRMLinearCalcContr> TQTKApronCalcEDO::GetTunchWallLengthCalc()
{
    if (auto kept = Kept(tunchWallLengthCalc_))
        return kept;
    const bool wallTouchReport = IsWallTouchReport();
    std::shared_ptr<TVRMLinearCalcContr> built;
    {
        // The walls report the lengths themselves: no details of the apron's own.
        std::optional<TQTKDetailModeScope> detailsOff;
        if (wallTouchReport)
            detailsOff.emplace(false);
        built = BuildTunchWallLengthCalc();
    }
    {
        std::lock_guard guard(DataLock());
        if (tunchWallLengthCalc_)
            return tunchWallLengthCalc_;
        tunchWallLengthCalc_ = built;
    }
    if (wallTouchReport) {
        const std::shared_ptr<TVRMMultiPolyLinearCalc2d> perimeter = GetPerimeterCalc();
        for (const RecordRef& wall : WallsOnFloor()) {
            const IQTKElementDrawObj* drawObj = GetRecordDrawObj(wall.get());
            perimeter->Append(OutlineOf(drawObj), drawObj->GetIndexKey(), nullptr, true, CLengthTol);
        }
    }
    return built;
}

std::shared_ptr<TVRMLinearCalcContr> TQTKApronCalcEDO::BuildTunchWallLengthCalc()
{
    auto container = std::make_shared<TVRMLinearCalcContr>();
    const IQTKElementDrawObj* own = GetElementDrawObj();
    const TVRMMultiPolygon2d& outline = OutlineOf(own);
    const std::unique_ptr<TVRMMultiPolygon2d> external = BuildFloorExternalWallOutline(own->GetFloorID());
    if (!external->IsEmpty()) {
        TVRMMultiPolyLinearCalc2d edges;
        edges.Add(*external, true);
        edges.Append(outline, 1, nullptr, true, CLengthTol);
        const TVRMSeg2dList marked = edges.GetMarkedSegs();
        for (const TVRMCustomLine2d& seg : marked.Items())
            container->Add(seg);
        if (container->GetCount() > 0)
            return container;
    }
    for (const RecordRef& wall : WallsOnFloor()) {
        const Ref<IQTKLineEntBaseCalcEDO> line = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(wall.get(), true));
        if (!line)
            continue;
        const bool thick = HasThickness(GetRecordDrawObj(wall.get()));
        const TVRMCustomLine2d* leftLine = thick ? line->GetAttachWallFaceLeftLine() : line->GetMidLine();
        const TVRMCustomLine2d* rightLine = thick ? line->GetAttachWallFaceRightLine() : line->GetMidLine();
        if (!leftLine || !rightLine)
            continue;
        TQTKLinearCalc2d left(*leftLine, false), right(*rightLine, false);
        MarkInnerPieces(left, outline);
        MarkInnerPieces(right, outline);
        const TQTKLinearCalc2d& longer = left.GetLengthFor(CMarkInner) > right.GetLengthFor(CMarkInner) ? left : right;
        const TVRMSeg2dList inner = longer.BuildSubLines(CMarkInner);
        for (const TVRMCustomLine2d& seg : inner.Items())
            container->Add(seg);
    }
    return container;
}

void TQTKApronCalcEDO::FreeCalcCache()
{
    Keep(tunchWallLengthCalc_, {});
    Keep(perimeterCalc_, {});
    Keep(areaShellCalc_, {});
    Keep(netFacePolygon_, {});
    TQTKCalculatorEDO::FreeCalcCache();
}
