#include "Calculator/Common/QTKCalculatorCommonJoin.h"

#include <algorithm>
#include <unordered_set>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Calculator/Common/QTKCalculatorCommonComposite.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/LineCalculator/QTKCompareElevCommon.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculatorImpl.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/FastCast.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

constexpr int CFDBeamType = 47;
constexpr int CPartitionWallType = 254;
// Shell superposition sets: {0} and {0, 1}.
constexpr int CKindsContact = 1;
constexpr int CKindsContactAndFlush = 3;

int Sign(double v) noexcept
{
    return (v > 0.0) - (v < 0.0);
}

int TypeOf(IQTKCalculatorEDO* edo)
{
    const IQTKElementDrawObj* drawObj = edo ? edo->GetElementDrawObj() : nullptr;
    return drawObj ? drawObj->GetElementTypeID() : -1;
}

IRDXRecord* RecordOf(IQTKCalculatorEDO* edo)
{
    const IQTKElementDrawObj* drawObj = edo ? edo->GetElementDrawObj() : nullptr;
    return drawObj ? drawObj->GetRecord() : nullptr;
}

int RecordIdOf(IQTKCalculatorEDO* edo)
{
    IRDXRecord* record = RecordOf(edo);
    return record ? record->GetID() : 0;
}

const IPropValues* PropsOf(IQTKCalculatorEDO* edo)
{
    const IQTKElementDrawObj* drawObj = edo ? edo->GetElementDrawObj() : nullptr;
    return drawObj ? drawObj->GetPropValues() : nullptr;
}

bool IsTypeIn(int type, std::initializer_list<int> types)
{
    return std::find(types.begin(), types.end(), type) != types.end();
}

template <class T>
T* As(IQTKCalculatorEDO* edo)
{
    return FastCast<T>(edo);
}

// The first non-zero comparison of the list, else 0.
int FirstDecision(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b,
                  std::initializer_list<int (*)(IQTKCalculatorEDO*, IQTKCalculatorEDO*)> compares)
{
    for (auto compare : compares)
        if (const int r = compare(a, b); r != 0)
            return r;
    return 0;
}

int CompareBeamDictValue(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b, int (IQTKBeamCalcEDO::*value)())
{
    auto* beamA = As<IQTKBeamCalcEDO>(a);
    auto* beamB = As<IQTKBeamCalcEDO>(b);
    if (!beamA || !beamB)
        return 0;
    return Sign(static_cast<double>((beamB->*value)()) - static_cast<double>((beamA->*value)()));
}

IQTKCalculatorEDO* EdoOf(IQTKLineEdoInfo* info)
{
    return FastCast<IQTKCalculatorEDO>(info);
}

const IQTKElementDrawObj* DrawObjOf(IQTKLineEdoInfo* info)
{
    if (IQTKCalculatorEDO* edo = EdoOf(info))
        return edo->GetElementDrawObj();
    return info ? GetRecordDrawObj(info->GetRecord()) : nullptr;
}

// The search of GetOverlappingLineEdoInfos.
struct TConnectedSearch {
    const TQTKElementTypeSet& types;
    const TQTKLineCandidateFunc& candidates;
    TQTKLineEdoInfoArray infos;
    std::unordered_set<int> visited;

    void Collect(IQTKCalculatorEDO* edo, bool atStart)
    {
        auto* current = FastCast<IQTKLineEdoInfo>(edo);
        if (!current)
            return;
        TRecordList list;
        if (candidates)
            candidates(edo, types, list);
        else
            edo->GetRelatedByTypes(types, &list);
        IRDXRecord* own = RecordOf(edo);
        for (const RecordRef& record : list) {
            // A line element's id is its record's: the record tests come before the
            // element object is looked up.
            if (!record || visited.count(record->GetID()) != 0 ||
                !IsLineEntAndLineEntIntByLength(own, record.get(), 0.1))
                continue;
            const Ref<IQTKCalculatorEDO> other = GetCalcEDO(record, false);
            auto* info = FastCast<IQTKLineEdoInfo>(other.get());
            if (!info || !info->IsMidlineConnectable())
                continue;
            bool endFlag = false, startFlag = false;
            if (!IsIntersect(current, atStart, info, endFlag, startFlag))
                continue;
            infos.push_back(Ref<IQTKLineEdoInfo>(info));
            visited.insert(info->GetID());
            if (startFlag)
                Collect(other.get(), true);
            if (endFlag)
                Collect(other.get(), false);
        }
    }
};

}  // namespace

// ---------------------------------------------------------------------------
// Join priority

int CompareLineEdoPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    if (As<IQTKRibbonOpeningCalcEDO>(a))
        return As<IQTKRibbonOpeningCalcEDO>(b) ? CompareRibbonOpeningPriority(a, b) : 1;
    if (As<IQTKRibbonOpeningCalcEDO>(b))
        return -1;
    if (!a)
        return 0;
    switch (TypeOf(a)) {
        case 0:
        case 1:
            return As<IQTKCustomWallCalcEDO>(b) ? CompareWallJoinPriority(a, b) : 0;
        case 15:
        case 17:
        case 18:
        case CFDBeamType:
            return As<IQTKBeamCalcEDO>(b) ? CompareBeamEdoPriority(a, b) : 0;
        case 41:
            return As<IQTKDitchEarthCalcEDO>(b) ? CompareStartBottomElev(a, b) : 0;
        case 44:
            return As<IQTKDitchBackfillCalcEDO>(b) ? CompareStartBottomElev(a, b) : 0;
        case 51:
            return As<IQTKStripFDCalcEDO>(b) ? CompareStripFDPriority(a, b) : 0;
        case 55:
            return As<IQTKBeddingCalcEDO>(b) ? CompareBeddingPriority(a, b) : 0;
        case 69:
            return As<IQTKParapetCalcEDO>(b) ? CompareParapetPriority(a, b) : 0;
        case 70:
            return As<IQTKCopingCalcEDO>(b) ? CompareCopingPriority(a, b) : 0;
        default:
            return 0;
    }
}

// The differences of type, material rank and "InnerOuterFlag" are reduced to
// their sign: callers of the material-only comparison read 2 as "same kind".
int CompareWallJoinPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    int r = Sign(TypeOf(a) - TypeOf(b));
    if (r == 0)
        r = ComparePartitionWall(a, b);
    if (r == 0)
        r = Sign(CompareEdoMaterialRank(a, b));
    if (r == 0)
        r = Sign(EdoPropValueInteger(PropsOf(a), "InnerOuterFlag") - EdoPropValueInteger(PropsOf(b), "InnerOuterFlag"));
    if (r == 0 && As<IQTKWallCalcEDO>(a) && As<IQTKWallCalcEDO>(b))
        r = CompareWallTypeValue(a, b);
    return r;
}

int CompareBeamEdoPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    int r = CompareBeamMaterialPriority(a, b);
    if (r == 0)
        r = CompareBeamKindForJoin(a, b);
    if (r == 0 && TypeOf(a) == TypeOf(b))
        r = FirstDecision(a, b, {CompareBeamTypeValue, CompareBeamType1Value, CompareBeamType2Value});
    if (r == 0)
        r = CompareBeamSectionHeight(a, b);
    return r;
}

int CompareBeamJoinPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    const int r = FirstDecision(a, b,
                                {CompareBeamMaterialPriority, CompareBeamTypeValue, CompareBeamType1Value,
                                 CompareBeamType2Value, CompareBeamSectionHeight});
    return r != 0 ? r : 1;
}

int CompareBeamMaterialPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    return CompareEdoMaterialRank(a, b);
}

int CompareBeamTypeValue(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    return CompareBeamDictValue(a, b, &IQTKBeamCalcEDO::GetTypeDictValue);
}

int CompareBeamType1Value(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    return CompareBeamDictValue(a, b, &IQTKBeamCalcEDO::GetType1DictValue);
}

int CompareBeamType2Value(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    return CompareBeamDictValue(a, b, &IQTKBeamCalcEDO::GetType2DictValue);
}

int CompareWallTypeValue(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    auto* wallA = As<IQTKWallCalcEDO>(a);
    auto* wallB = As<IQTKWallCalcEDO>(b);
    if (!wallA || !wallB)
        return 0;
    return Sign(static_cast<double>(wallB->GetTypeDictValue()) - static_cast<double>(wallA->GetTypeDictValue()));
}

int CompareBeamSectionHeight(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    auto* beamA = As<IQTKBeamCalcEDO>(a);
    auto* beamB = As<IQTKBeamCalcEDO>(b);
    if (!beamA || !beamB)
        return 0;
    return CompareValue(beamA->GetSectionHeight(), beamB->GetSectionHeight());
}

int CompareBeamKindForJoin(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    auto kind = [](IQTKCalculatorEDO* edo) {
        const int type = TypeOf(edo);
        return type == CFDBeamType ? 0 : type;
    };
    return Sign(kind(b) - kind(a));
}

int CompareStartBottomElev(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    return Sign(EdoPropValueFloat(PropsOf(a), "StartPtBottomElev") -
                EdoPropValueFloat(PropsOf(b), "StartPtBottomElev"));
}

int CompareBeddingPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    if (const int r = CompareEdoMaterialRank(a, b); r != 0)
        return r;
    auto lowest = [](IQTKCalculatorEDO* edo) {
        const IPropValues* props = PropsOf(edo);
        return std::min(EdoPropValueFloat(props, "StartPtBottomElev"), EdoPropValueFloat(props, "EndPtBottomElev"));
    };
    return Sign(lowest(b) - lowest(a));
}

int CompareStripFDPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    // A strip foundation keeps its units' ranks.
    const auto ranks = [](IQTKCalculatorEDO* edo, int& rank, bool& same) {
        if (auto* strip = As<IQTKStripFDCalcEDO>(edo))
            strip->GetUnitsMaterialRank(rank, same);
        else
            GetCompositeMaterialRank(edo ? edo->GetElementDrawObj() : nullptr, rank, same);
    };
    int rankA = 0, rankB = 0;
    bool sameA = true, sameB = true;
    ranks(a, rankA, sameA);
    ranks(b, rankB, sameB);
    if (sameA || sameB)
        return Sign(static_cast<double>(rankB) - static_cast<double>(rankA));
    return 0;
}

int CompareParapetPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    return CompareEdoMaterialRank(a, b);
}

int CompareCopingPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    return CompareEdoMaterialRank(a, b);
}

int CompareCustomLinePriority(IQTKCalculatorEDO*, IQTKCalculatorEDO*)
{
    return 0;
}

int CompareRibbonOpeningPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    auto recalculating = [](IQTKCalculatorEDO* edo) {
        auto* ribbon = As<IQTKRibbonOpeningCalcEDO>(edo);
        return ribbon && ribbon->IsRecalculating();
    };
    if (recalculating(a))
        return 1;
    return recalculating(b) ? -1 : 0;
}

int ComparePartitionWallPriority(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    if (!a || !b)
        return 0;
    const int typeA = EdoPropValueInteger(PropsOf(a), "Type", -1);
    const int typeB = EdoPropValueInteger(PropsOf(b), "Type", -1);
    if (typeA == -1)
        return typeB == CPartitionWallType ? 1 : 0;
    if (typeB == -1 || (typeA == CPartitionWallType && typeB == CPartitionWallType))
        return 0;
    if (typeA == CPartitionWallType)
        return -1;
    return typeB == CPartitionWallType ? 1 : 0;
}

int CompareEdoDrawObjMaterialRank(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    if (!a || !b)
        return 0;
    return CompareMaterialRank(a->GetElementDrawObj(), b->GetElementDrawObj());
}

void GetCompositeMaterialRank(IRDXRecord* record, int& rank, bool& allSame)
{
    GetCompositeMaterialRank(GetRecordDrawObj(record), rank, allSame);
}

void GetCompositeMaterialRank(const IQTKElementDrawObj* drawObj, int& rank, bool& allSame)
{
    allSame = true;
    rank = CVRMMaxInt;
    bool first = true;
    for (const IQTKElementDrawObj* unit : GetCompositeUnitDrawObjs(drawObj)) {
        const int unitRank = GetMaterialRank(GMaterialHelper(), unit);
        if (first) {
            rank = unitRank;
            first = false;
        } else if (unitRank != rank) {
            allSame = false;
            rank = std::min(rank, unitRank);
        }
    }
}

TQTKLineEdoInfoArray GetOverlappingLineEdoInfos(IQTKCalculatorEDO* edo, const TQTKElementTypeSet& types, bool atStart,
                                                const TQTKLineCandidateFunc& candidates)
{
    auto* self = FastCast<IQTKLineEdoInfo>(edo);
    if (!self)
        return {};
    TConnectedSearch search{types, candidates, {}, {self->GetID()}};
    search.Collect(edo, atStart);

    IRDXRecord* record = RecordOf(edo);
    TQTKLineEdoInfoArray kept;
    for (const Ref<IQTKLineEdoInfo>& info : search.infos)
        if (IsLineEntAndLineEntIntByLength(record, info->GetRecord(), 0.1))
            kept.push_back(info);

    // Relate the element and its composite units to the elements found and their units.
    const IQTKElementDrawObj* drawObj = edo->GetElementDrawObj();
    for (const Ref<IQTKLineEdoInfo>& info : kept) {
        IQTKCalculatorEDO* other = EdoOf(info.get());
        if (!other)
            continue;
        edo->AddRelated(info->GetRecord());
        const IQTKElementDrawObj* otherDrawObj = other->GetElementDrawObj();
        for (int i = 0; drawObj && otherDrawObj && i < drawObj->GetChildCount(); ++i) {
            IQTKElementDrawObj* child = drawObj->GetChild(i);
            if (!child || !IsCompositeUnitType(child->GetElementTypeID()))
                continue;
            const Ref<IQTKCalculatorEDO> unit = GetOrCreateCalcEDO(child, false);
            for (int j = 0; j < otherDrawObj->GetChildCount(); ++j) {
                IQTKElementDrawObj* otherChild = otherDrawObj->GetChild(j);
                if (otherChild && IsCompositeUnitType(otherChild->GetElementTypeID()))
                    unit->AddRelated(otherChild->GetRecord());
            }
        }
    }
    return kept;
}

// ---------------------------------------------------------------------------
// Junction precedence

int CompareLineInfoByJunction(IQTKLineEdoInfo* a, IQTKLineEdoInfo* b)
{
    switch (IntersectLineEdoShapes(a, b)) {
        case 5:
        case 6:
        case 8:
        case 11:
        case 12:
            return -1;
        case 4:
        case 7:
        case 10:
        case 13:
        case 14:
            return 1;
        case 15: {
            const IQTKElementDrawObj* drawA = DrawObjOf(a);
            const IQTKElementDrawObj* drawB = DrawObjOf(b);
            if (!drawA || !drawB)
                return 0;
            return Sign(static_cast<double>(drawB->GetIndexKey()) - static_cast<double>(drawA->GetIndexKey()));
        }
        default:
            return 0;
    }
}

int CompareLineEdosByJunction(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b)
{
    auto* infoA = FastCast<IQTKLineEdoInfo>(a);
    auto* infoB = FastCast<IQTKLineEdoInfo>(b);
    return infoA && infoB ? CompareLineInfoByJunction(infoA, infoB) : 0;
}

int CompareJunctionBottomLevel(IQTKLineEdoInfo* a, IQTKLineEdoInfo* b, const TVRMPoint2d& point)
{
    const IQTKElementDrawObj* drawA = DrawObjOf(a);
    const IQTKElementDrawObj* drawB = DrawObjOf(b);
    if (drawA && drawA->GetElementTypeID() == 41)
        return CompareLineBottomElevLevel(drawA, drawB, point);
    return CompareLineBottomElevLevel(drawB, drawA, point);
}

int CompareJunctionTopLevel(IQTKLineEdoInfo* a, IQTKLineEdoInfo* b, const TVRMPoint2d& point)
{
    return CompareLineTopElevLevel(DrawObjOf(a), DrawObjOf(b), point);
}

namespace {

bool IsConnectedTo(IQTKCalculatorEDO* edo, int id)
{
    auto* provider = FastCast<IQTKLineEdoInfoProvider>(edo);
    if (!provider)
        return false;
    const Ref<IQTKConnectedEdoIDInfo> connected = provider->GetConnectedEdoIDInfo();
    const int key = edo->GetElementDrawObj()->GetIndexKey();
    return connected && (connected->IsConnectedAtStart(key, id) || connected->IsConnectedAtEnd(key, id));
}

bool TieRule(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b, IQTKLineEdoInfo* infoA, IQTKLineEdoInfo* infoB)
{
    if (TVRMPositionFunc2d::IsParallel(infoA->GetLine(), infoB->GetLine(), CVRMParallelEpsilon))
        return RecordIdOf(a) > RecordIdOf(b);
    const bool haunchedA = IsHaunchedBeamDrawObj(a->GetElementDrawObj());
    const bool haunchedB = IsHaunchedBeamDrawObj(b->GetElementDrawObj());
    if (haunchedA && haunchedB)
        return RecordIdOf(a) > RecordIdOf(b);
    return haunchedA != haunchedB;
}

// -1 gives true, 1 false, 0 goes on.
bool Decided(int r, bool& result)
{
    if (r == 0)
        return false;
    result = r < 0;
    return true;
}

bool IsLineEdoCutByChain(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b, IQTKLineEdoInfo* infoA, IQTKLineEdoInfo* infoB)
{
    bool result = false;
    if (Decided(Sign(CompareLineEdoPriority(a, b)), result))
        return result;
    const TVRMPoint2d point = GetJunctionPoint(infoA, infoB);
    if (Decided(CompareJunctionBottomLevel(infoA, infoB, point), result) ||
        Decided(CompareJunctionTopLevel(infoA, infoB, point), result) ||
        Decided(CompareLineEdosByJunction(a, b), result))
        return result;
    if (IsConnectedTo(a, infoB->GetID()))
        return IsConnectedTo(b, infoA->GetID()) ? TieRule(a, b, infoA, infoB) : true;
    if (IsConnectedTo(b, infoA->GetID()))
        return false;
    return TieRule(a, b, infoA, infoB);
}

}  // namespace

bool IsLineEdoCutBy(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b, bool axisFlag)
{
    auto* infoA = FastCast<IQTKLineEdoInfo>(a);
    auto* infoB = FastCast<IQTKLineEdoInfo>(b);
    if (!infoA || !infoB)
        return false;
    bool result = IsLineEdoCutByChain(a, b, infoA, infoB);
    if (result && axisFlag) {
        auto* lineEnt = As<IQTKLineEntBaseCalcEDO>(a);
        if (lineEnt && lineEnt->GetUseAxisLength()) {
            if (TVRMPositionFunc2d::IsParallel(infoA->GetLine(), infoB->GetLine(), CVRMParallelEpsilon))
                return false;
            const int kind = IntersectShape(infoA, infoB, 255);
            result = kind != 1 && kind != 2;
        }
    }
    return result;
}

bool IsLineEntCutBy(IRDXRecord* a, IRDXRecord* b, bool axisFlag)
{
    const Ref<IQTKCalculatorEDO> edoB = GetCalcEDO(b, true);
    const Ref<IQTKCalculatorEDO> edoA = GetCalcEDO(a, true);
    return IsLineEdoCutBy(edoA.get(), edoB.get(), axisFlag);
}

bool IsInsulatingWallCutBy(IRDXRecord* a, IRDXRecord* b)
{
    if (IsLineEntCutBy(a, b, true))
        return true;
    constexpr int CEqualCrossing = 9;
    const Ref<IQTKCalculatorEDO> edoA = GetCalcEDO(a, true);
    const Ref<IQTKCalculatorEDO> edoB = GetCalcEDO(b, true);
    auto* infoA = FastCast<IQTKLineEdoInfo>(edoA.get());
    auto* infoB = FastCast<IQTKLineEdoInfo>(edoB.get());
    return infoA && infoB && IntersectLineEdoShapes(infoA, infoB) == CEqualCrossing &&
           !IsLineEdoCutBy(edoB.get(), edoA.get(), true) && a->GetID() > b->GetID();
}

bool IsLineEntCutByForFinish(IRDXRecord* a, IRDXRecord* b, bool& endFlag)
{
    endFlag = false;
    const Ref<IQTKCalculatorEDO> edoA = GetCalcEDO(a, true);
    const Ref<IQTKCalculatorEDO> edoB = GetCalcEDO(b, true);
    auto* infoA = FastCast<IQTKLineEdoInfo>(edoA.get());
    auto* infoB = FastCast<IQTKLineEdoInfo>(edoB.get());
    if (!infoA || !infoB || !IsLineEntAndLineEntInt(a, b, 0.1))
        return false;
    const TVRMPoint2d point = GetJunctionPoint(infoA, infoB);
    bool result = false;
    if (Decided(CompareEdoDrawObjMaterialRank(edoA.get(), edoB.get()), result) ||
        Decided(CompareJunctionBottomLevel(infoA, infoB, point), result) ||
        Decided(CompareJunctionTopLevel(infoA, infoB, point), result))
        return result;
    const int kind = IntersectLineEdoShapes(infoA, infoB);
    if (IsTypeIn(kind, {4, 7, 10, 13, 14}))
        return false;
    if (!IsTypeIn(kind, {5, 6, 8, 11, 12}))
        endFlag = true;
    return true;
}

double SubtractCutterFromSolidCalc(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b, TQTKSolidCalc3d& calc,
                                   const TVRMPolyhedron3d* solid)
{
    if (!IsLineEdoCutBy(a, b, true))
        return 0.0;
    Ref<IQTKPolyhedron3dIntf> original;
    if (!solid) {
        original = b->GetOriginalPolyhedronIntf();
        if (!original)
            return 0.0;
        solid = original->GetPolyhedron();
    }
    return calc.Subtract(*solid, RecordOf(b));
}

double SubtractCutterFromShellCalc(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b, TQTKShellCalc3d& calc,
                                   const TVRMPolyhedron3d* solid)
{
    Ref<IQTKPolyhedron3dIntf> original;
    if (!solid) {
        original = b->GetOriginalPolyhedronIntf();
        if (!original)
            return 0.0;
        solid = original->GetPolyhedron();
    }
    const int kinds = IsLineEdoCutBy(a, b, false) ? CKindsContactAndFlush : CKindsContact;
    return calc.Subtract(*solid, RecordOf(b), kinds);
}

double GetLineEntNetLength(IRDXRecord* record)
{
    const Ref<IQTKLineEntBaseCalcEDO> edo = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(record, true));
    if (!edo)
        return 0.0;
    const TVRMCustomLine2d* mid = edo->GetMidLine();
    if (!mid)
        return 0.0;
    TRecordList related;
    if (!edo->GetRelatedByType(TypeOf(edo.get()), &related))
        return mid->Length();
    TQTKLinearCalc2d calc(*mid, false);
    for (const RecordRef& other : related) {
        if (!IsLineEntCutBy(record, other.get(), true))
            continue;
        const Ref<IQTKLineEntBaseCalcEDO> cutter = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(other, true));
        if (const TVRMMultiPolygon2d* polygon = cutter ? cutter->GetPlanPolygon() : nullptr)
            calc.Append(*polygon, other->GetID(), other.get(), false, CVRMEpsilon);
    }
    return calc.GetNullLength();
}

namespace {

// The element types of two records; False when either has no element.
bool GetRecordTypes(IRDXRecord* a, IRDXRecord* b, int& typeA, int& typeB)
{
    const IQTKElementDrawObj* drawA = GetRecordDrawObj(a);
    const IQTKElementDrawObj* drawB = GetRecordDrawObj(b);
    if (!drawA || !drawB)
        return false;
    typeA = drawA->GetElementTypeID();
    typeB = drawB->GetElementTypeID();
    return true;
}

}  // namespace

bool IsBeamCutByType(IRDXRecord* a, IRDXRecord* b)
{
    int typeA = -1, typeB = -1;
    if (!GetRecordTypes(a, b, typeA, typeB))
        return false;
    const bool beamA = typeA >= 15 && typeA <= 18;
    if (beamA && typeB >= 15 && typeB <= 18)
        return typeB < typeA;
    return beamA && typeB == 12;
}

bool IsSubBeam(IRDXRecord* a, IRDXRecord* b)
{
    const Ref<IQTKCalculatorEDO> edoA = GetCalcEDO(a, true);
    const Ref<IQTKCalculatorEDO> edoB = GetCalcEDO(b, true);
    if (!edoA || !edoB)
        return false;
    bool result = false;
    auto height = [](IQTKCalculatorEDO* edo) {
        auto* beam = As<IQTKBeamCalcEDO>(edo);
        return beam ? beam->GetSectionHeight() : EdoPropValueFloat(PropsOf(edo), "SectionHeight");
    };
    auto width = [](IQTKCalculatorEDO* edo) { return EdoPropValueFloat(PropsOf(edo), "SectionWidth"); };
    if (Decided(CompareEdoMaterialRank(edoA.get(), edoB.get()), result) ||
        Decided(CompareBeamType1Value(edoA.get(), edoB.get()), result) ||
        Decided(CompareBeamType2Value(edoA.get(), edoB.get()), result) ||
        Decided(CompareValue(height(edoA.get()), height(edoB.get())), result) ||
        Decided(CompareValue(width(edoA.get()), width(edoB.get())), result))
        return result;
    auto* infoA = FastCast<IQTKLineEdoInfo>(edoA.get());
    auto* infoB = FastCast<IQTKLineEdoInfo>(edoB.get());
    const int kind = infoA && infoB ? IntersectLineEdoShapes(infoA, infoB) : 0;
    return !IsTypeIn(kind, {1, 2, 3, 4, 7, 10, 11, 12, 13, 14});
}

bool IsBrickMoldCutBy(IRDXRecord* a, IRDXRecord* b)
{
    int typeA = -1, typeB = -1;
    if (!GetRecordTypes(a, b, typeA, typeB))
        return false;
    const bool lowerId = b->GetID() < a->GetID();
    if (IsTypeIn(typeA, {15, 17, 18, 47})) {
        if (IsTypeIn(typeB, {15, 17, 18, 47}))
            return IsLineEntCutBy(a, b, true);
        return IsTypeIn(typeB, {28, 48, 56, 81, 82, 83});
    }
    if (IsTypeIn(typeA, {28, 56})) {
        if (IsTypeIn(typeB, {28, 56}))
            return lowerId;
        return typeB == 48;
    }
    if (typeA == 48)
        return typeB == 48 && lowerId;
    if (typeA == 81) {
        if (typeB == 81) {
            IRDXRecord* masterA = GetRecordDrawObj(a)->GetParentRecord();
            IRDXRecord* masterB = GetRecordDrawObj(b)->GetParentRecord();
            return masterA && masterB && IsLineEntCutBy(masterA, masterB, true);
        }
        return IsTypeIn(typeB, {28, 48, 56, 82, 83});
    }
    if (IsTypeIn(typeA, {82, 83})) {
        if (IsTypeIn(typeB, {82, 83}))
            return lowerId;
        return IsTypeIn(typeB, {28, 48, 56});
    }
    return false;
}
