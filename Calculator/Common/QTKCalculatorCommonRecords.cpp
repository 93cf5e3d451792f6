#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include <mutex>
#include "Host/Runtime/NameList.h"

#include <array>
#include <charconv>
#include <mutex>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculatorImpl.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/RDX/PXEIntf.h"
#include "Host/RDX/RDXDataUtils.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/Runtime/CorvaMathUtils.h"
#include "Host/Runtime/NameList.h"
#include "Host/Runtime/SysUtils.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CWallType = 0;
constexpr int CBeamType = 15;
constexpr int CColumnCapType = 27;
constexpr int CColumnBaseType = 28;
constexpr int CInsulatingWallUnitType = 86;

const IPropValues* PropsOf(const IQTKElementDrawObj* drawObj)
{
    return drawObj ? drawObj->GetPropValues() : nullptr;
}

const IQTKPointShape* PointShapeOf(const IQTKElementDrawObj* drawObj)
{
    return drawObj ? dynamic_cast<const IQTKPointShape*>(drawObj->GetShape()) : nullptr;
}

int ElementTypeOf(const IQTKElementDrawObj* drawObj)
{
    return drawObj ? drawObj->GetElementTypeID() : -1;
}

// A wall whose "Type" has the value.
bool IsWallOfType(IRDXRecord* record, int typeValue)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return ElementTypeOf(drawObj) == CWallType && EdoPropValueInteger(PropsOf(drawObj), "Type", -1) == typeValue;
}

// "StartFloorNo" of a floor; 1 (an ordinary floor) when it has none.
int StartFloorNo(const IRDXRecord* floor)
{
    return FieldValueInteger(floor, "StartFloorNo", 1);
}

int RegionOf(const IRDXRecord* floor)
{
    return FieldValueInteger(floor, "RegionID", -1);
}

double GroundElevOf(const IRDXTable* projInfo)
{
    const IRDXRecord* row = projInfo ? projInfo->GetRow(0) : nullptr;
    return FieldValueFloat(row, "GroundElev", 0.0) * 1000.0;
}

}  // namespace

// ---------------------------------------------------------------------------
// Settings and tables

TableSourceRef ResolveRuleContext(const TableSourceRef& ruleContext)
{
    return ruleContext ? ruleContext : GCalculatorSetting();
}

namespace {

// Settings tables asked for and missing, for the session they were noted in.
struct TMissingSettingTables {
    std::mutex lock;
    uint64_t session = 0;
    std::vector<std::string> names;
};

TMissingSettingTables& MissingSettingTables()
{
    static TMissingSettingTables missing;
    return missing;
}

void NoteMissingSettingTable(std::string_view tableName)
{
    TMissingSettingTables& missing = MissingSettingTables();
    std::lock_guard guard(missing.lock);
    if (missing.session != GetCalculationSessionNumber()) {
        missing.session = GetCalculationSessionNumber();
        missing.names.clear();
    }
    for (const std::string& name : missing.names)
        if (SameText(name, tableName))
            return;
    missing.names.emplace_back(tableName);
}

}  // namespace

IRDXRecord* GetSettingRow(const TableSourceRef& ruleContext, std::string_view tableName)
{
    const TableSourceRef source = ResolveRuleContext(ruleContext);
    const IRDXDatabase* database = source ? source->GetDatabase() : nullptr;
    const IRDXTable* table = database ? database->GetTable(tableName) : nullptr;
    if (database && !table)
        NoteMissingSettingTable(tableName);
    return table ? table->GetRow(0) : nullptr;
}

std::vector<std::string> GetMissingSettingTables()
{
    TMissingSettingTables& missing = MissingSettingTables();
    std::lock_guard guard(missing.lock);
    if (missing.session != GetCalculationSessionNumber())
        return {};
    return missing.names;
}

IRDXTable* FindTableNear(const IRDXDatabase* database, std::string_view tableName)
{
    if (!database)
        return nullptr;
    if (IRDXTable* table = database->GetTable(tableName))
        return table;
    const IRDXModel* model = database->GetModel();
    for (int i = 0; model && i < model->GetDatabaseCount(); ++i)
        if (IRDXTable* table = model->GetDatabaseByIndex(i)->GetTable(tableName))
            return table;
    return nullptr;
}

bool FieldValueBoolean(const IRDXRecord* record, std::string_view field, bool defaultValue)
{
    if (!record || !FieldExist(record, field) || record->IsNull(field))
        return defaultValue;
    return record->GetAsBoolean(field);
}

IRDXRecord* FindMasterRecord(const IRDXRecord* record, std::string_view field)
{
    return record && FieldExist(record, field) ? GetMasterRecord(record, field) : nullptr;
}

TQTKLineEndElevs GetLineEndElevs(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = record ? GetRecordDrawObj(record) : nullptr;
    const auto* shape = drawObj ? dynamic_cast<const IQTKLineShape*>(drawObj->GetShape()) : nullptr;
    TQTKLineEndElevs elevs;
    if (shape)
        elevs = {shape->GetStartPtBottomElev(), shape->GetStartPtTopElev(), shape->GetEndPtBottomElev(),
                 shape->GetEndPtTopElev()};
    return {FieldValueFloat(record, "StartPtBottomElev", elevs.startBottom),
            FieldValueFloat(record, "StartPtTopElev", elevs.startTop),
            FieldValueFloat(record, "EndPtBottomElev", elevs.endBottom),
            FieldValueFloat(record, "EndPtTopElev", elevs.endTop)};
}

const IPropValues* GetRecordPropValues(IRDXRecord* record)
{
    return PropsOf(GetRecordDrawObj(record));
}

double GetRecordPropFloat(IRDXRecord* record, std::string_view name, double defaultValue)
{
    return EdoPropValueFloat(GetRecordPropValues(record), name, defaultValue);
}

IRDXRecord* GetOwnerRecord(const IRDXRecord* record)
{
    const IRDXTable* table = record ? record->GetTable() : nullptr;
    return table && table->FindField("EDOPID") ? GetMasterRecord(record, "EDOPID") : nullptr;
}

int GetRecordElementTypeID(IRDXRecord* record)
{
    if (!record)
        return -1;
    if (const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record))
        return drawObj->GetElementTypeID();
    if (const IRDXRecord* element = FindMasterRecord(record, "ElementID"))
        return FieldValueInteger(element, "ElementTypeID", -1);
    return FieldValueInteger(record, "ElementTypeID", -1);
}

// ---------------------------------------------------------------------------
// Floors and project

IRDXRecord* GetRecordFloor(const IRDXRecord* record)
{
    return FindMasterRecord(record, "FloorID");
}

bool IsOnFirstFloor(const IRDXRecord* record)
{
    return FieldValueBoolean(GetRecordFloor(record), "FirstFloorFlag", false);
}

bool IsFoundationFloorRecord(const IRDXRecord* floor)
{
    return floor && StartFloorNo(floor) == 0;
}

bool IsOnFoundationFloor(const IRDXRecord* record)
{
    return IsFoundationFloorRecord(GetRecordFloor(record));
}

bool IsOnBasementFloor(const IRDXRecord* record)
{
    const IRDXRecord* floor = GetRecordFloor(record);
    return floor && StartFloorNo(floor) < 0;
}

IRDXRecord* FindFirstFloorOfRegion(const IRDXRecord* floor)
{
    const IRDXTable* table = floor ? floor->GetTable() : nullptr;
    if (!table)
        return nullptr;
    const int region = RegionOf(floor);
    for (int i = 0; i < table->GetRowCount(); ++i) {
        IRDXRecord* row = table->GetRow(i);
        if (RegionOf(row) == region && FieldValueBoolean(row, "FirstFloorFlag", false))
            return row;
    }
    return nullptr;
}

IRDXRecord* FindLowestBasementFloor(const IRDXRecord* floor)
{
    const IRDXTable* table = floor ? floor->GetTable() : nullptr;
    if (!table)
        return nullptr;
    const int region = RegionOf(floor);
    IRDXRecord* lowest = nullptr;
    double lowestElev = 2147483647.0;
    for (int i = 0; i < table->GetRowCount(); ++i) {
        IRDXRecord* row = table->GetRow(i);
        if (RegionOf(row) != region || StartFloorNo(row) >= 0)
            continue;
        const double elev = FieldValueFloat(row, "StructuralElevation", 0.0);
        if (elev < lowestElev) {
            lowestElev = elev;
            lowest = row;
        }
    }
    return lowest;
}

bool IsFirstFloorOfRegion(const IRDXRecord* floor)
{
    const IRDXTable* table = floor ? floor->GetTable() : nullptr;
    if (!table)
        return true;
    const int region = RegionOf(floor);
    for (int i = 0; i < table->GetRowCount(); ++i) {
        const IRDXRecord* row = table->GetRow(i);
        if (RegionOf(row) == region)
            return row->GetID() == floor->GetID();
    }
    return true;
}

bool GetRegionFlag(const IRDXRecord* record)
{
    if (FieldValueInteger(record, "FloorID", -1) < 0)
        return true;
    const IRDXRecord* floor = GetRecordFloor(record);
    if (!floor)
        return false;
    const TQTKRegionInfo* info = GetRegionInfo(RegionOf(floor));
    return info && info->flag;
}

double GetFloorStructuralElev(const IRDXRecord* record)
{
    return FieldValueFloat(GetRecordFloor(record), "StructuralElevation", 0.0) * 1000.0;
}

double GetFloorStructuralElev(const IRDXRecord* record, bool /*flag*/)
{
    return GetFloorStructuralElev(record);
}

double GetProjectGroundElev(const IRDXRecord* record)
{
    const IRDXTable* table = record ? record->GetTable() : nullptr;
    return GroundElevOf(table ? FindTableNear(table->GetDatabase(), "ProjInfo") : nullptr);
}

double GetProjectGroundElev(const TableSourceRef& ruleContext)
{
    const TableSourceRef source = ResolveRuleContext(ruleContext);
    const IRDXTable* table = source ? FindTableNear(source->GetDatabase(), "ProjInfo") : nullptr;
    if (!table) {
        const TableSourceRef business = GBusiness();
        table = business ? FindTableNear(business->GetDatabase(), "ProjInfo") : nullptr;
    }
    return GroundElevOf(table);
}

double GetBeamFormboardAngle(const TableSourceRef& ruleContext)
{
    return FieldValueFloat(GetSettingRow(ruleContext, "QTKBeamCalcSettings"), "BeamFormboardAngle", 0.0);
}

// ---------------------------------------------------------------------------
// Element kinds

bool IsVirtualWallRecord(IRDXRecord* record)
{
    return IsWallOfType(record, 255);
}

bool IsPartitionWallRecord(IRDXRecord* record)
{
    return IsWallOfType(record, 254);
}

bool IsNonFloorSlabRecord(IRDXRecord* record)
{
    return EdoPropValueInteger(PropsOf(GetRecordDrawObj(record)), "IsFloorSlab", -1) == 0;
}

bool IsSingleBeamRecord(IRDXRecord* record)
{
    const IPropValues* values = PropsOf(GetRecordDrawObj(record));
    return values && values->HasProp("Type2") && !values->IsPropNull("Type2") && values->GetInteger("Type2") == 0;
}

bool IsInnerDrawObj(const IQTKElementDrawObj* drawObj)
{
    return EdoPropValueInteger(PropsOf(drawObj), "InnerOuterFlag", 0) == 0;
}

bool IsOuterDrawObj(const IQTKElementDrawObj* drawObj)
{
    return !IsInnerDrawObj(drawObj);
}

bool IsInnerWallRecord(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    if (ElementTypeOf(drawObj) == CInsulatingWallUnitType) {
        // The unit's side is its insulating wall's: by "ElementID" when the
        // record names it, else the unit's owning element.
        if (IRDXRecord* wall = FindMasterRecord(record, "ElementID"))
            drawObj = GetRecordDrawObj(wall);
        else
            drawObj = drawObj->GetParentDrawObj();
    }
    return IsInnerDrawObj(drawObj);
}

bool IsOuterWallRecord(IRDXRecord* record)
{
    return !IsInnerWallRecord(record);
}

int GetTypeLevel(const IQTKElementDrawObj* drawObj, int index)
{
    static constexpr std::array<std::string_view, 3> typeFields = {"Type", "Type1", "Type2"};
    const IRDXRecord* record = drawObj ? drawObj->GetRecord() : nullptr;
    const IRDXTable* table = record ? record->GetTable() : nullptr;
    const IRDXTable* dict = table ? FindTableNear(table->GetDatabase(), "TypeDict") : nullptr;
    if (!dict || index < 0 || index > 2)
        return CQTKNoLevel;
    const int value = EdoPropValueInteger(drawObj->GetPropValues(), typeFields[static_cast<size_t>(index)], -1);
    if (value == -1)
        return CQTKNoLevel;
    const std::array<TRDXValue, 3> key = {std::int64_t{drawObj->GetElementTypeID()}, std::int64_t{value},
                                          std::int64_t{index}};
    const IRDXRecord* row = dict->Locate("ElementTypeID;Index;TypeIndex", key);
    return row ? FieldValueInteger(row, "Level", CQTKNoLevel) : CQTKNoLevel;
}

int GetEdoTypeLevel(IQTKCalculatorEDO* edo, int index)
{
    return edo ? GetTypeLevel(edo->GetElementDrawObj(), index) : CQTKNoLevel;
}

// ---------------------------------------------------------------------------
// Shapes

IQTKLineShape* GetRecordLineShape(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    if (ElementTypeOf(drawObj) == CInsulatingWallUnitType)
        drawObj = drawObj->GetParentDrawObj();
    return drawObj ? dynamic_cast<IQTKLineShape*>(drawObj->GetShape()) : nullptr;
}

bool IsLineEntsParallel(IRDXRecord* a, IRDXRecord* b)
{
    const IQTKLineShape* shapeA = GetRecordLineShape(a);
    const IQTKLineShape* shapeB = GetRecordLineShape(b);
    return shapeA && shapeB && TVRMPositionFunc2d::IsParallel(shapeA->GetLine(), shapeB->GetLine(), 0.002);
}

int IntersectLineEdoShapes(IQTKLineEdoInfo* a, IQTKLineEdoInfo* b)
{
    return IntersectShape(a, b);
}

void GetColumnNetElevRange(IQTKCalculatorEDO* edo, double& top, double& bottom)
{
    QTK_ASSERT(edo != nullptr);
    const IQTKPointShape* shape = PointShapeOf(edo->GetElementDrawObj());
    QTK_ASSERT(shape != nullptr);
    top = shape->GetTopElev();
    bottom = shape->GetBottomElev();
    TRecordList related;
    edo->GetRelatedByType(CColumnCapType, &related);
    for (const RecordRef& cap : related)
        if (const IQTKPointShape* capShape = PointShapeOf(GetRecordDrawObj(cap.get())))
            if (GreaterThan(capShape->GetBottomElev(), bottom))
                top = capShape->GetBottomElev();
    edo->GetRelatedByType(CColumnBaseType, &related);
    for (const RecordRef& base : related)
        if (const IQTKPointShape* baseShape = PointShapeOf(GetRecordDrawObj(base.get())))
            if (LessThan(baseShape->GetTopElev(), top))
                bottom = baseShape->GetTopElev();
}

std::vector<IQTKElementDrawObj*> GetParamSubDrawObjs(IRDXRecord* record, int subId)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? drawObj->FindSubEDOByID(subId) : std::vector<IQTKElementDrawObj*>{};
}

bool IsIntegerInArray(int value, std::span<const int> items)
{
    for (int item : items)
        if (item == value)
            return true;
    return false;
}

// ---------------------------------------------------------------------------
// Match expressions

void GetMatchFieldValue(IRDXRecord* record, std::string_view name, TPXEValue& value)
{
    TQTKMatchFieldSlot slot;
    GetMatchFieldValue(record, GetRecordDrawObj(record), name, value, slot);
}

void GetMatchFieldValue(IRDXRecord* record, const IQTKElementDrawObj* drawObj, std::string_view name, TPXEValue& value,
                        TQTKMatchFieldSlot& slot)
{
    QTK_ASSERT(record != nullptr);
    if (name == "Material" || name == "Type") {
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, false);
        if (name == "Material")
            value.SetAsString(edo->GetMaterial());
        else
            value.SetAsInteger(edo->GetType());
        return;
    }
    // A wall object knows its short-limb kind (deciding it for its group when
    // it is automatic); other elements answer from their properties.
    if (name == "ShortArmShearWall") {
        if (const auto wall = RefCast<IQTKWallCalcEDO>(GetCalcEDO(record, false))) {
            value.SetAsInteger(wall->GetShortArmShearWallType());
            return;
        }
    }
    const IPropValues* values = PropsOf(drawObj);
    if ((!values || !values->HasProp(name)) && ElementTypeOf(drawObj) == CInsulatingWallUnitType) {
        drawObj = drawObj->GetParentDrawObj();
        values = PropsOf(drawObj);
    }
    if (!values || !values->HasProp(name)) {
        if (FieldExist(record, name) && !record->IsNull(name))
            value.SetAsInteger(record->GetAsInteger(name));
        else
            value.SetNull();
        return;
    }
    const IRDXTable* table = drawObj->GetRecord() ? drawObj->GetRecord()->GetTable() : nullptr;
    if (!slot.table || slot.table != table) {
        const TRDXFieldDef* field = table ? table->FindField(name) : nullptr;
        slot.table = table;
        slot.kind = field ? RDXDataTypeToPXEDataType(field->type) : pdtString;
    }
    switch (slot.kind) {
        case pdtInteger:
            if (values->IsPropNull(name))
                value.SetAsInteger(ElementTypeOf(drawObj) == CBeamType ? -1 : 0);
            else
                value.SetAsInteger(values->GetInteger(name));
            break;
        case pdtFloat:
            value.SetAsFloat(values->GetFloat(name));
            break;
        case pdtString:
            value.SetAsString(values->GetPropString(name));
            break;
        case pdtBoolean:
            value.SetAsBoolean(values->GetInteger(name) != 0);
            break;
        default:
            QTK_ASSERT_MSG(false, "unsupported field kind of a match identifier");
    }
}

// ---------------------------------------------------------------------------
// Internal quantities and deduction details

std::vector<TQTKInternalQtyEntry> FindInternalQty(int elementTypeId, std::string_view name)
{
    return GEdoQtyManager().FindInternalQty(GIsBillRule != 0, elementTypeId, name);
}

double GetInternalQtyByName(int recordId, std::string_view name, double factor)
{
    const TableSourceRef business = GBusiness();
    const IRDXTable* elements = business ? FindTableNear(business->GetDatabase(), "ElementDrawObj") : nullptr;
    IRDXRecord* record = elements ? elements->GetRecordByID(recordId) : nullptr;
    if (!record)
        return 0.0;
    for (const TQTKInternalQtyEntry& entry : FindInternalQty(GetRecordElementTypeID(record), name))
        if (entry.recordId == recordId)
            return entry.value * factor;
    return 0.0;
}

namespace {

// The last detail of the calling thread's container when it belongs to the
// record and detail mode is on; nil otherwise.
TQTKDeductDetail* LastDetailOf(const IRDXRecord* record)
{
    if (!GIsDetailMode || !record)
        return nullptr;
    const TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    TQTKDeductDetail* last = container ? container->GetLast() : nullptr;
    return last && last->GetRecord() && last->GetRecord()->GetID() == record->GetID() ? last : nullptr;
}

}  // namespace

void SetLastDeductDetailFlag(const IRDXRecord* record, std::uint8_t flag)
{
    if (TQTKDeductDetail* detail = LastDetailOf(record))
        detail->SetFlag(flag);
}

void ReplaceLastDeductExpr(const IRDXRecord* record, std::string (*format)(double), double value)
{
    TQTKDeductDetail* detail = LastDetailOf(record);
    if (detail && format)
        detail->SetDedcutExpr(format(value));
}

void ScaleLastDeductExpr(const IRDXRecord* record, double factor)
{
    TQTKDeductDetail* detail = LastDetailOf(record);
    if (!detail)
        return;
    const std::string& text = detail->GetDedcutExpr();
    double number = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec != std::errc() || end != text.data() + text.size())
        return;
    detail->SetDedcutExpr(FloatToStr(FRound(number * factor, 4, 1e-12)));
}
