#include "Calculator/CalcFrame/QTKCalcEDOs/QTKFloorAreaCalcEDO.h"

#include <algorithm>
#include <mutex>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKOverHighBottomElevCalcInfo.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKCalculatorThreadSyncUtil.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CFloorAreaType = 58;
constexpr int CSwingWindowType = 66;
constexpr int CInsulatingLayerType = 68;
// An upper floor area counts as above when its top is more than this higher.
constexpr double CLayerTolerance = 100.0;
// The least area (mm2) an upper floor area must cover of this one.
constexpr double CCoverArea = 250000.0;

struct TFloorAreaEntry {
    IRDXRecord* record = nullptr;
    double top = 0.0;
};

// The floor areas of the element table, sorted by "TopElev" (equal tops in
// table order): built once per calculation session and table, under one
// lock, and handed out as copies.
class TFloorAreaList {
public:
    std::vector<TFloorAreaEntry> Get(const IRDXTable* table)
    {
        std::lock_guard guard(lock_);
        const uint64_t session = GetCalculationSessionNumber();
        if (!built_ || session_ != session || table_ != table) {
            items_.clear();
            for (int i = 0; table && i < table->GetRowCount(); ++i) {
                IRDXRecord* row = table->GetRow(i);
                if (GetRecordElementTypeID(row) != CFloorAreaType)
                    continue;
                const IQTKElementDrawObj* drawObj = GetRecordDrawObj(row);
                const double top = drawObj ? EdoPropValueFloat(drawObj->GetPropValues(), "TopElev")
                                           : FieldValueFloat(row, "TopElev", 0.0);
                items_.push_back({row, top});
            }
            std::stable_sort(items_.begin(), items_.end(),
                             [](const TFloorAreaEntry& a, const TFloorAreaEntry& b) { return a.top < b.top; });
            built_ = true;
            session_ = session;
            table_ = table;
        }
        return items_;
    }

private:
    std::mutex lock_;
    bool built_ = false;
    uint64_t session_ = 0;
    const IRDXTable* table_ = nullptr;
    std::vector<TFloorAreaEntry> items_;
};

TFloorAreaList& SharedFloorAreas()
{
    static TFloorAreaList list;
    return list;
}

double StoreyHeight(const IRDXRecord* record)
{
    return FieldValueFloat(GetRecordFloor(record), "Height", 0.0) * 1000.0;
}

}  // namespace

TQTKFloorAreaCalcEDO::~TQTKFloorAreaCalcEDO() = default;

int TQTKFloorAreaCalcEDO::GetAreaCalcMethod()
{
    std::lock_guard guard(DataLock());
    return areaCalcMethod_;
}

void TQTKFloorAreaCalcEDO::SetAreaCalcMethod(int method)
{
    std::lock_guard guard(DataLock());
    areaCalcMethod_ = method;
}

void TQTKFloorAreaCalcEDO::AddAreaPolygon(std::unique_ptr<TVRMMultiPolygon2d> polygon)
{
    std::lock_guard guard(DataLock());
    addedPolygons_.push_back(std::move(polygon));
}

std::unique_ptr<TVRMMultiPolygon2d> TQTKFloorAreaCalcEDO::GetUncoveredPolygon(const TVRMMultiPolygon2d& polygon)
{
    std::unique_ptr<TVRMMultiPolygon2d> result = SyncSubPolygon(polygon, GetElementDrawObj()->GetShape()->GetOutline());
    std::lock_guard guard(DataLock());
    for (const auto& added : addedPolygons_)
        if (added)
            result = SyncSubPolygon(*result, *added);
    return result;
}

void TQTKFloorAreaCalcEDO::SetArea(double area)
{
    std::lock_guard guard(DataLock());
    area_ = area;
}

double TQTKFloorAreaCalcEDO::GetArea()
{
    std::lock_guard guard(DataLock());
    return area_;
}

double TQTKFloorAreaCalcEDO::GetTopElevMinusTwo()
{
    return EdoPropValueFloat(GetElementDrawObj()->GetPropValues(), "TopElev") - 2.0;
}

double TQTKFloorAreaCalcEDO::GetSpaceHeight()
{
    {
        std::lock_guard guard(DataLock());
        if (spaceHeight_ >= 0.0)
            return spaceHeight_;
    }
    // Computed with no lock held: it asks other element objects.
    const double height = CalcSpaceHeight();
    std::lock_guard guard(DataLock());
    spaceHeight_ = height;
    return height;
}

double TQTKFloorAreaCalcEDO::CalcSpaceHeight()
{
    IQTKElementDrawObj* drawObj = GetElementDrawObj();
    IRDXRecord* record = drawObj->GetRecord();
    const double storey = StoreyHeight(record);
    const std::vector<TFloorAreaEntry> list = SharedFloorAreas().Get(record ? record->GetTable() : nullptr);
    const auto own =
        std::find_if(list.begin(), list.end(), [&](const TFloorAreaEntry& e) { return e.record == record; });
    if (own == list.end())
        return storey;

    const IRDXRecord* settings = GetSettingRow(nullptr, "QTKFloorAreaCalcSettings");
    if (!settings)
        return storey;
    const double ownTop = GetTopElevMinusTwo();
    std::unique_ptr<TVRMMultiPolygon2d> uncovered = drawObj->GetShape()->GetOutline().Clone();
    double area = uncovered->Area();

    // The floor areas above that cover this one.
    const int method = FieldValueInteger(settings, "UnTopFloorAreaGetFloorCalcSetting", 0);
    double height = -1.0;
    bool covered = false;
    for (auto it = own + 1; it != list.end(); ++it) {
        const double top = it->top - 2.0;
        if (CompareValue(top, ownTop, CLayerTolerance) != 1)
            continue;
        const IQTKElementDrawObj* upper = GetRecordDrawObj(it->record);
        if (!upper)
            continue;
        std::unique_ptr<TVRMMultiPolygon2d> rest = SyncSubPolygon(*uncovered, upper->GetShape()->GetOutline());
        const double restArea = rest->Area();
        if (!GreaterEqualThan(area - restArea, CCoverArea))
            continue;
        covered = true;
        area = restArea;
        uncovered = std::move(rest);
        const double space = top - ownTop;
        switch (method) {
            case 0:
                return storey;
            case 1:
                height = std::max(height, space);
                break;
            case 2:
                if (height < 0.0 || space < height)
                    height = space;
                break;
            default:
                QTK_ASSERT_MSG(false, "UnTopFloorAreaGetFloorCalcSetting is 0, 1 or 2");
        }
    }
    if (covered)
        return height;

    // A top floor area: the elements above it.
    const int topMethod = FieldValueInteger(settings, "TopFloorAreaGetFloorCalcSetting", 0);
    if (topMethod == 0)
        return storey;
    TQTKElevEDOInfoList above;
    TQTKFloorAreaOverHighBottomElevAnalyzer(drawObj).FindBottomElement(above, CQTKNoLowerBound);
    if (above.empty())
        return storey;
    for (const Ref<IQTKElevEDOInfo>& band : above) {
        const double space = band->GetDrawObj()->GetBox().max.z - ownTop;
        switch (topMethod) {
            case 1:
                if (height < 0.0 || height > space)
                    height = space;
                break;
            case 2:
                height = std::max(height, space);
                break;
            default:
                QTK_ASSERT_MSG(false, "TopFloorAreaGetFloorCalcSetting is 0, 1 or 2");
        }
    }
    return height;
}

bool TQTKFloorAreaCalcEDO::IsIntersectWith(IRDXRecord* record)
{
    const IQTKElementDrawObj* own = GetElementDrawObj();
    const IQTKElementDrawObj* other = GetRecordDrawObj(record);
    if (!other)
        return false;
    switch (other->GetElementTypeID()) {
        case CSwingWindowType: {
            if (other->GetFloorID() == own->GetFloorID() &&
                GetCalcEDO(record, false)->IsIntersectWith(own->GetRecord()))
                return true;
            const TVRMMultiPolygon2d& a = other->GetShape()->GetOutline();
            const TVRMMultiPolygon2d& b = own->GetShape()->GetOutline();
            return !a.IsEmpty() && !b.IsEmpty() &&
                   TVRMPositionFunc2d::PolyPolyPosition(a.GetItems(0), b.GetItems(0), CVRMEpsilon) != 0;
        }
        case CInsulatingLayerType: {
            const Ref<IQTKPolyhedron3dIntf> solid = GetRelationPolyhedronIntf();
            if (!solid)
                return false;
            const TVRMBox3d ownBox = solid->GetPolyhedron()->GetBox(), box = other->GetBox();
            if (!(box.min.z + CLayerTolerance < ownBox.max.z && ownBox.min.z + CLayerTolerance < box.max.z))
                return false;
            break;
        }
        default:
            break;
    }
    return TQTKCalculatorEDO::IsIntersectWith(record);
}

void TQTKFloorAreaCalcEDO::ClearQtyItems()
{
    TQTKCalculatorEDO::ClearQtyItems();
    std::vector<std::unique_ptr<TVRMMultiPolygon2d>> dropped;
    std::lock_guard guard(DataLock());
    areaCalcMethod_ = 0;
    dropped.swap(addedPolygons_);
    area_ = 0.0;
    spaceHeight_ = -1.0;
}

void TQTKFloorAreaCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    std::lock_guard guard(DataLock());
    addedPolygons_.clear();
}

std::unique_ptr<TVRMPolyhedron3d> TQTKFloorAreaCalcEDO::BuildOriginalPolyhedron()
{
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const IRDXRecord* floor = GetRecordFloor(drawObj->GetRecord());
    QTK_ASSERT_MSG(floor != nullptr, "a floor area lies on a floor");
    return TVRMPolyhedron3d::CreatePrism(drawObj->GetShape()->GetOutline(),
                                         FieldValueFloat(floor, "StructuralElevation", 0.0) * 1000.0,
                                         FieldValueFloat(floor, "Height", 0.0) * 1000.0);
}
