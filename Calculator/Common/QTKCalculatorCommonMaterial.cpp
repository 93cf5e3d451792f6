#include "Calculator/Common/QTKCalculatorCommonMaterial.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/Runtime/NameList.h"

namespace {

constexpr std::string_view CConcreteText = "混凝土";
constexpr std::string_view CConcreteShortText = "砼";
constexpr std::string_view CBlockText = "砌块";
constexpr std::string_view CPrecastText = "预制";

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

bool NamesConcrete(std::string_view text)
{
    return Contains(text, CConcreteText) || Contains(text, CConcreteShortText);
}

int Sign(long long value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

bool HasMaterial(const IQTKElementDrawObj* drawObj)
{
    const IPropValues* values = drawObj ? drawObj->GetPropValues() : nullptr;
    return values && values->HasProp("Material");
}

std::string OwnMaterialText(const IQTKElementDrawObj* drawObj)
{
    return GetElementMaterialText(drawObj, drawObj->GetPropValues()->GetPropString("Material"));
}

// The material table row of the element's type and material text; nil when
// the element has no "Material" or the host has no table.
const IRDXRecord* FindMaterialRow(const IQTKElementDrawObj* drawObj)
{
    return HasMaterial(drawObj) ? ::FindMaterialRow(drawObj, OwnMaterialText(drawObj)) : nullptr;
}

bool IsTypeIn(int typeId, std::initializer_list<int> types)
{
    for (int t : types)
        if (t == typeId)
            return true;
    return false;
}

// The subject gives way to an object of the kind by grade, then by record id.
bool IsCutByGrade(IRDXRecord* subject, IRDXRecord* object, int kindTypeId)
{
    if (GetRecordElementTypeID(object) != kindTypeId)
        return true;
    switch (CompareConcGrade(subject, object)) {
        case -1:
            return true;
        case 1:
            return false;
        default:
            return object->GetID() < subject->GetID();
    }
}

Ref<IQTKWallCalcEDO> WallObjectOf(IRDXRecord* record)
{
    return record ? RefCast<IQTKWallCalcEDO>(GetCalcEDO(record, true)) : nullptr;
}

// The pair's kind under A's material-only mode.
bool IsWallObjectPairSameKind(IQTKWallCalcEDO& a, IQTKWallCalcEDO& b)
{
    const std::string textA = a.GetMaterial();
    const std::string textB = b.GetMaterial();
    switch (a.GetCalcByOnlyMaterial()) {
        case 1:
            return IsConcreteMaterialText(textA) && IsConcreteMaterialText(textB);
        case 2: {
            const auto qualifies = [](std::string_view text) {
                return IsConcreteMaterialText(text) || ContainsSolidBrick(text);
            };
            return qualifies(textA) && qualifies(textB);
        }
        default:
            return false;
    }
}

}  // namespace

const IRDXRecord* FindMaterialRow(const IQTKElementDrawObj* drawObj, std::string_view text)
{
    const TableRef table = GMaterialTable();
    if (!table || !drawObj)
        return nullptr;
    const int typeId = drawObj->GetElementTypeID();
    for (int i = 0; i < table->GetRowCount(); ++i) {
        const IRDXRecord* row = table->GetRow(i);
        if (FieldValueInteger(row, "ElementTypeID", -1) == typeId && FieldExist(row, "Description") &&
            SameText(row->GetAsString("Description"), text))
            return row;
    }
    return nullptr;
}

bool IsConcreteMaterialText(std::string_view text)
{
    if (SameText(text, "加气砼块") || SameText(text, "加气混凝土") || Contains(text, CBlockText))
        return false;
    return NamesConcrete(text);
}

bool ContainsSolidBrick(std::string_view text)
{
    return Contains(text, "实心砖");
}

std::string GetElementMaterialText(const IQTKElementDrawObj* drawObj, std::string_view text)
{
    const int typeId = drawObj ? drawObj->GetElementTypeID() : -1;
    if (!text.empty() || (typeId != 36 && typeId != 37))
        return std::string(text);
    return GetFinishMaterial(drawObj);
}

std::string GetFinishMaterial(const IQTKElementDrawObj* drawObj)
{
    const IPropValues* values = drawObj ? drawObj->GetPropValues() : nullptr;
    if (!values || !values->HasProp("Material") || values->IsPropNull("Material"))
        return {};
    return values->GetPropString("Material");
}

std::string GetFinishMaterial(IRDXRecord* record)
{
    return GetFinishMaterial(GetRecordDrawObj(record));
}

int GetMaterialLevel(const IQTKElementDrawObj* drawObj)
{
    const IRDXRecord* row = FindMaterialRow(drawObj);
    return row ? FieldValueInteger(row, "Level", CQTKNoLevel) : CQTKNoLevel;
}

int GetMaterialTableType(const IQTKElementDrawObj* drawObj)
{
    const IRDXRecord* row = FindMaterialRow(drawObj);
    return row ? FieldValueInteger(row, "Type", -1) : -1;
}

bool IsCastConcreteElement(const IQTKElementDrawObj* drawObj)
{
    if (!drawObj)
        return false;
    if (!HasMaterial(drawObj))
        return IsTypeIn(drawObj->GetElementTypeID(), {19, 21, 63});
    switch (GetMaterialTableType(drawObj)) {
        case 0:
            return true;
        case -1: {
            const std::string text = OwnMaterialText(drawObj);
            return NamesConcrete(text) && !Contains(text, CBlockText) && !Contains(text, CPrecastText);
        }
        default:
            return false;
    }
}

bool IsConcreteElement(const IQTKElementDrawObj* drawObj)
{
    if (!drawObj)
        return false;
    if (!HasMaterial(drawObj))
        return IsTypeIn(drawObj->GetElementTypeID(), {19, 20, 21, 63});
    return IsConcreteMaterialText(OwnMaterialText(drawObj));
}

int GetMaterialRank(TQTKMaterialHelper& cache, const IQTKElementDrawObj* drawObj)
{
    const int key = drawObj->GetRecord()->GetID();
    int level = CQTKNoLevel;
    if (cache.Find(key, level))
        return level;
    // Computed outside the helper's lock: the level of a record never
    // changes, and the helper keeps the first value stored.
    cache.Add(key, GetMaterialLevel(drawObj));
    cache.Find(key, level);
    return level;
}

int CompareMaterialRank(const IQTKElementDrawObj* a, const IQTKElementDrawObj* b)
{
    if (!a || !b)
        return 0;
    return Sign(static_cast<long long>(GetMaterialRank(GMaterialHelper(), b)) - GetMaterialRank(GMaterialHelper(), a));
}

int CompareEdoMaterialRank(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    if (!a || !b)
        return 0;
    // The element objects answer from the material cache: fill it first.
    GetMaterialRank(GMaterialHelper(), a->GetElementDrawObj());
    GetMaterialRank(GMaterialHelper(), b->GetElementDrawObj());
    return Sign(static_cast<long long>(b->GetMaterialLevel()) - a->GetMaterialLevel());
}

int GetUnitMaterialRank(IQTKCalculatorEDO* edo)
{
    const IQTKElementDrawObj* drawObj = edo->GetElementDrawObj();
    const int rank = GetMaterialRank(GMaterialHelper(), drawObj);
    if (rank != CQTKNoLevel)
        return rank;
    const int typeId = drawObj->GetElementTypeID();
    if (IsTypeIn(typeId, {19, 21, 63}))
        return 20;
    return typeId == 20 ? 10 : CQTKNoLevel;
}

int CompareFormboardPriority(IRDXRecord* a, IRDXRecord* b, const TableSourceRef& ruleContext)
{
    const IQTKElementDrawObj* objectDraw = GetRecordDrawObj(b);
    const int typeB = GetRecordElementTypeID(b);
    if (!IsCastConcreteElement(objectDraw)) {
        if (IsConcreteElement(objectDraw) || typeB == 14 || typeB == 24)
            return -1;
        return 1;
    }
    const IRDXRecord* settings = GetSettingRow(ruleContext, "QTKOtherCalcSetting");
    const IRDXTable* list = settings ? settings->GetDetail("FormboardPriority") : nullptr;
    const auto position = [list](int typeId) {
        for (int i = 0; list && i < list->GetRowCount(); ++i)
            if (FieldValueInteger(list->GetRow(i), "ElementFormboardPriority", -1) == typeId)
                return i;
        return -1;
    };
    const int positionA = position(GetRecordElementTypeID(a));
    if (positionA < 0)
        return -1;
    const int positionB = position(typeB);
    if (positionB < 0)
        return 1;
    return positionB - positionA;
}

int CompareConcGrade(IRDXRecord* a, IRDXRecord* b)
{
    const auto grade = [](IRDXRecord* record) {
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
        return EdoPropValueInteger(drawObj ? drawObj->GetPropValues() : nullptr, "ConcGradeID", 0);
    };
    const int gradeA = grade(a);
    const int gradeB = grade(b);
    return Sign(static_cast<long long>(gradeA) - gradeB);
}

bool IsColumnBaseCutBy(IRDXRecord* subject, IRDXRecord* object)
{
    return IsCutByGrade(subject, object, 28);
}

bool IsColumnCapCutBy(IRDXRecord* subject, IRDXRecord* object)
{
    return IsCutByGrade(subject, object, 27);
}

bool IsPileCutBy(IRDXRecord* subject, IRDXRecord* object)
{
    return IsCutByGrade(subject, object, 54);
}

int ComparePartitionWall(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    if (!a || !b)
        return 0;
    const auto isWall = [](IQTKCalculatorEDO* edo) { return edo->GetElementDrawObj()->GetElementTypeID() == 0; };
    if (isWall(a) && a->GetType() == 254 && isWall(b) && b->GetType() != 254)
        return -1;
    return 0;
}

bool IsWallPairSameKind(IRDXRecord* a, IRDXRecord* b)
{
    const Ref<IQTKWallCalcEDO> wallA = WallObjectOf(a);
    const Ref<IQTKWallCalcEDO> wallB = WallObjectOf(b);
    return wallA && wallB && IsWallObjectPairSameKind(*wallA, *wallB);
}

int CompareWallMaterialPair(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b, TQTKEdoCompareFunc otherwise)
{
    QTK_ASSERT(otherwise != nullptr);
    auto* wallA = dynamic_cast<IQTKWallCalcEDO*>(a);
    auto* wallB = dynamic_cast<IQTKWallCalcEDO*>(b);
    if (wallA && wallB && IsWallObjectPairSameKind(*wallA, *wallB))
        return 2;
    return otherwise(a, b);
}

bool IsConcreteWallLinked(IRDXRecord* a, IRDXRecord* b)
{
    const Ref<IQTKWallCalcEDO> wallA = WallObjectOf(a);
    const Ref<IQTKWallCalcEDO> wallB = WallObjectOf(b);
    return wallA && wallB && IsConcreteMaterialText(wallA->GetMaterial()) && wallB->GetFillWallOverlayState() == 2 &&
           WallLinksId(b->GetID(), a);
}

bool WallLinksId(int id, IRDXRecord* wall)
{
    const Ref<IQTKWallCalcEDO> wallObject = WallObjectOf(wall);
    if (!wallObject)
        return false;
    // Only the listed ids: the answer past the end (-1) is no fill wall.
    const int count = wallObject->GetOverlayFillWallCount();
    for (int i = 0; i < count; ++i)
        if (wallObject->GetOverlayFillWallID(i) == id)
            return true;
    return false;
}
