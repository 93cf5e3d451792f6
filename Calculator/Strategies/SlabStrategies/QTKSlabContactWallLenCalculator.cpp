#include "Calculator/Strategies/SlabStrategies/QTKSlabContactWallLenCalculator.h"

#include <memory>
#include <vector>

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/SlabStrategies/QTKSlabCalcCommon.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronLines3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

// Walls and insulating walls; columns and tie columns; doors, windows,
// door-windows, openings, ribbon windows and openings, alcoves.
const TQTKElementTypeSet& WallTypes()
{
    static const TQTKElementTypeSet types = MakeElementTypeSet({0, 1});
    return types;
}
const TQTKElementTypeSet& ColumnTypes()
{
    static const TQTKElementTypeSet types = MakeElementTypeSet({25, 26});
    return types;
}
const TQTKElementTypeSet& OpeningTypes()
{
    static const TQTKElementTypeSet types = MakeElementTypeSet({4, 5, 6, 7, 8, 9, 13});
    return types;
}

// What the soffit shell loses to a solid it stands on: inside and shared faces.
constexpr int CContactAndFlushKinds = 3;

bool IsOnPlane(const TVRMFace3d& face, const TVRMPoint3d& a, const TVRMPoint3d& b)
{
    return SameValue(face.GetPlane().GetDistance(a), 0.0) && SameValue(face.GetPlane().GetDistance(b), 0.0);
}

// The edge lies in an upright face of the wall's solid.
bool IsEdgeOnVerticalFace(const TVRMPoint3d& a, const TVRMPoint3d& b, const TVRMPolyhedron3d& wall)
{
    for (const TVRMFace3d& face : wall.GetFaces())
        if (SameValue(face.GetNormal().z, 0.0) && IsOnPlane(face, a, b))
            return true;
    return false;
}

// The edge lies in a side face of the column's solid (all but its last two).
bool IsEdgeOnSolidSideFace(const TVRMPoint3d& a, const TVRMPoint3d& b, const TVRMPolyhedron3d& column)
{
    const int n = column.GetFaceCount();
    for (int i = 0; i < n - 2; ++i)
        if (IsOnPlane(column.GetFace(i), a, b))
            return true;
    return false;
}

// Every edge of every loop of the shell that passes the test against the
// solid, added to Working as an edge of its own.
template <class Test>
void CollectEdges(const TVRMPolyhedronShell3d& shell, const TVRMPolyhedron3d& solid, TVRMPolyhedronLines3d& working,
                  Test test)
{
    for (const TVRMFace3d& face : shell.GetFaces())
        for (const TVRMLoop3d& loop : face.GetLoops())
            for (size_t i = 0; i < loop.size(); ++i) {
                const TVRMPoint3d& a = loop[i];
                const TVRMPoint3d& b = loop[(i + 1) % loop.size()];
                if (test(a, b, solid))
                    working.AddEdge(a, b);
            }
}

// The contact lines of the walls' faces along the soffit continue round a
// column standing in them: the lines inside the column go and the column's
// faces along what is left of the soffit come in. False when the column cuts
// no line or adds none (what it cut stays cut).
bool AddColumnContactLines(TVRMPolyhedronLines3d& lines, IRDXRecord* column, TVRMPolyhedronShell3d& soffit)
{
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(column);
    if (!solid)
        return false;
    const double before = lines.GetLength();
    lines.Subtract(*solid);
    if (SameValue(before, lines.GetLength()))
        return false;
    TVRMNewPolyBooleanOperator::BooleanOperate(soffit, *solid, CVRMBoolSubtract, CContactAndFlushKinds, 1);
    TVRMPolyhedronLines3d working;
    CollectEdges(soffit, *solid, working, IsEdgeOnSolidSideFace);
    if (working.GetEdgeCount() == 0)
        return false;
    working.Intersect(*solid);
    lines.Add(working);
    return true;
}

// Takes the element's solid off the slab's contact lines; the length removed
// (0 when the slab has no lines yet).
double SubtractSolidFromContactLines(IQTKSlabCalculator& slab, IRDXRecord* element)
{
    const std::shared_ptr<TVRMPolyhedronLines3d> lines = slab.GetContactWallLengthCalc();
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(element);
    if (!lines || !solid)
        return 0.0;
    const double before = lines->GetLength();
    lines->Subtract(*solid);
    return before - lines->GetLength();
}

}  // namespace

double TQTKSlabOriginalContactWallLen::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                 const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKSlabCalculator> slab = GetSlabEDO(subject.get());
    // Built afresh on every call: lines kept from an earlier call would be
    // counted twice.
    const auto lines = std::make_shared<TVRMPolyhedronLines3d>();
    slab->SetContactWallLengthCalc(lines);
    const std::unique_ptr<TVRMPolyhedronShell3d> soffit = BuildSoffitShell(*slab);

    TRecordList walls;
    slab->GetRelatedByTypes(WallTypes(), &walls);
    TVRMPolyhedronLines3d working;
    for (const RecordRef& wall : walls) {
        const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(wall.get());
        if (!solid)
            continue;
        lines->Subtract(*solid);
        TVRMNewPolyBooleanOperator::BooleanOperate(*soffit, *solid, CVRMBoolSubtract, CContactAndFlushKinds, 1);
        CollectEdges(*soffit, *solid, working, IsEdgeOnVerticalFace);
        working.Intersect(*solid);
        lines->Add(working);
        working.Clear();
    }

    // A column re-routes the lines it stands in; one that meets none yet is
    // tried again after the others of its pass added theirs.
    TRecordList columns;
    slab->GetRelatedByTypes(ColumnTypes(), &columns);
    size_t count = 0;
    do {
        count = columns.size();
        for (size_t i = columns.size(); i-- > 0;)
            if (AddColumnContactLines(*lines, columns[i].get(), *soffit))
                columns.erase(columns.begin() + static_cast<std::ptrdiff_t>(i));
    } while (!columns.empty() && columns.size() != count);

    TRecordList openings;
    slab->GetRelatedByTypes(OpeningTypes(), &openings);
    for (const RecordRef& opening : openings)
        SubtractSolidFromContactLines(*slab, opening.get());
    return lines->GetLength();
}

double TQTKSlabContactWallLenDeductFlight::Calculate(const RecordRef& subject, const RecordRef& object,
                                                     const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    GetFamilyEDO<IQTKFlightCalculator>(object.get(), "flight");
    return SubtractSolidFromContactLines(*GetSlabEDO(subject.get()), object.get());
}

void RegisterSlabContactWallLenRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKSlabOriginalContactWallLen);
    QTK_REGISTER(registry, TQTKSlabContactWallLenDeductFlight);
}
