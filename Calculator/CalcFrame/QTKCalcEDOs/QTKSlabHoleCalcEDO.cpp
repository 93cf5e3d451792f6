#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSlabHoleCalcEDO.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKBoxService.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
constexpr double CPlaneTol = 1.0123456789e-5;
constexpr int CRaftType = 48;
constexpr int CSlabType = 19;

const IQTKFaceShape* FaceShapeOf(const IQTKElementDrawObj* drawObj)
{
    return drawObj ? dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape()) : nullptr;
}

// Both elements have face shapes whose top planes are parallel.
bool HaveParallelFaces(const IQTKElementDrawObj* a, const IQTKElementDrawObj* b)
{
    const auto pa = GetFaceShapePlane(FaceShapeOf(a), true);
    const auto pb = GetFaceShapePlane(FaceShapeOf(b), true);
    return pa && pb && pa->GetNormal().CrossProduct(pb->GetNormal()).Length() <= CPlaneTol;
}

// Merges the level faces of each top and bottom plane, then puts the last
// top face at N-2 and the last bottom face at N-1.
void OrderSlabFaces(TVRMPolyhedron3d& solid)
{
    for (int i = 0; i < solid.GetFaceCount(); ++i) {
        const TVRMPlane3d plane = solid.GetFace(i).GetPlane();
        if (SameValue(std::abs(plane.GetNormal().z), 1.0, CLengthTol))
            solid.MergeFace(plane);
    }
    const int n = solid.GetFaceCount();
    if (n <= 2)
        return;
    int top = -1, bottom = -1;
    for (int i = 0; i < n; ++i) {
        const double z = solid.GetFace(i).GetNormal().z;
        if (SameValue(z, 1.0, CLengthTol))
            top = i;
        else if (SameValue(z, -1.0, CLengthTol))
            bottom = i;
    }
    if (top >= 0 && top != n - 2) {
        solid.ExchangeFace(top, n - 2);
        if (bottom == n - 2)
            bottom = top;
    }
    if (bottom >= 0 && bottom != n - 1)
        solid.ExchangeFace(bottom, n - 1);
}

}  // namespace

std::unique_ptr<TVRMPolyhedron3d> TQTKSlabHoleCalcEDO::BuildOriginalPolyhedron()
{
    auto result = std::make_unique<TVRMPolyhedron3d>();
    IQTKElementDrawObj* drawObj = GetElementDrawObj();
    IRDXRecord* parent = drawObj->GetParentRecord();
    const IQTKElementDrawObj* parentObj = parent ? GetRecordDrawObj(parent) : nullptr;
    TQTKElementTypeSet types = MakeElementTypeSet({33, 34, 67});
    if (parentObj)
        types.set(static_cast<size_t>(parentObj->GetElementTypeID()));
    TRecordList related;
    if (!GetRelatedByTypes(types, &related))
        return result;
    const auto prism = drawObj->BuildPolyhedron(true, nullptr, 0, 0);
    for (const RecordRef& record : related) {
        const bool isParent = parent && record->GetID() == parent->GetID();
        if (!isParent && !HaveParallelFaces(parentObj, GetRecordDrawObj(record.get())))
            continue;
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
        if (!edo)
            continue;
        const Ref<IQTKPolyhedron3dIntf> solid = edo->GetOriginalPolyhedronIntf();
        auto piece = prism->Clone();
        TVRMNewPolyBooleanOperator::BooleanOperate(*piece, *solid->GetPolyhedron(), CVRMBoolIntersect);
        if (!piece->HasFaces())
            continue;
        if (result->HasFaces())
            TVRMNewPolyBooleanOperator::BooleanOperate(*result, *piece, CVRMBoolUnion);
        else
            result = std::move(piece);
    }
    OrderSlabFaces(*result);
    return result;
}

std::unique_ptr<TVRMPolyhedron3d> TQTKSlabHoleCalcEDO::BuildRelationPolyhedron()
{
    IQTKElementDrawObj* drawObj = GetElementDrawObj();
    auto result = drawObj->BuildPolyhedron(true, nullptr, 0, 0);
    IRDXRecord* parent = drawObj->GetParentRecord();
    const IQTKElementDrawObj* parentObj = parent ? GetRecordDrawObj(parent) : nullptr;
    if (!parentObj)
        return result;
    const bool raft = parentObj->GetElementTypeID() == CRaftType;
    if (!raft && IsSlopedFaceDrawObj(parentObj)) {
        // Under a curved slab: the prism within the slabs around the hole.
        IRDXTable* table = nullptr;
        if (const TableSourceRef business = GetBusiness())
            if (IRDXDatabase* database = business->GetDatabase())
                table = database->GetTable("ElementDrawObj");
        QTK_ASSERT(table != nullptr);
        IQTKBoxService* service = GetQTKModelRuntimeOptions().GetBoxService();
        std::unique_ptr<TVRMPolyhedron3d> within;
        for (int id : service ? service->Query(drawObj->GetBox(), 1) : std::vector<int>{}) {
            IRDXRecord* record = table->GetRecordByID(id);
            const IQTKElementDrawObj* other = record ? GetRecordDrawObj(record) : nullptr;
            if (!other || other->GetElementTypeID() != CSlabType)
                continue;
            const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
            auto piece = result->Clone();
            TVRMNewPolyBooleanOperator::BooleanOperate(*piece, *edo->GetOriginalPolyhedronIntf()->GetPolyhedron(),
                                                       CVRMBoolIntersect);
            if (!piece->HasFaces())
                continue;
            if (within)
                TVRMNewPolyBooleanOperator::BooleanOperate(*within, *piece, CVRMBoolUnion);
            else
                within = std::move(piece);
        }
        return within ? std::move(within) : std::move(result);
    }
    const auto slab = parentObj->BuildPolyhedron(true, nullptr);
    TVRMPlane3d first, second;
    if (raft) {
        const TVRMBox3d box = slab->GetBox();
        first = TVRMPlane3d({0, 0, 1}, {0, 0, box.max.z}, 0);
        second = TVRMPlane3d({0, 0, -1}, {0, 0, box.min.z}, 0);
    } else {
        const int n = slab->GetFaceCount();
        if (n <= 2)
            return result;
        first = slab->GetFace(n - 1).GetPlane();
        second = slab->GetFace(n - 2).GetPlane();
    }
    for (const TVRMPlane3d* plane : {&first, &second}) {
        std::unique_ptr<TVRMPolyhedron3d> other;
        result = result->Cut(*plane, other, CPlaneTol);
    }
    return result;
}

void TQTKSlabHoleCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCalculatorEDO::FillDeductDetail(qtyRecord);
    TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    if (!container || container->GetCount() > 0)
        return;
    IRDXRecord* record = GetElementDrawObj()->GetRecord();
    auto solid = GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone();
    if (IRDXRecord* master = FindMasterRecord(record, "EDOPID"))
        if (const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(master, true))
            TVRMNewPolyBooleanOperator::BooleanOperate(*solid, *edo->GetOriginalPolyhedronIntf()->GetPolyhedron(),
                                                       CVRMBoolSubtract);
    TQTKCurrentQty current = CurrentQtyOf(record);
    auto detail =
        std::make_unique<TQTKSolidDeductDetail>(RecordRef(record), std::move(current.code), std::move(current.desc),
                                                std::move(solid), nullptr, MM3ToM3(GetOriginalQty()));
    detail->SetIsOriginalQty(true);
    container->Add(std::move(detail));
}
