#include "Calculator/Strategies/SlabStrategies/QTKSlabOverhighCalcBuilder.h"

#include <algorithm>
#include <utility>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKOverHighBottomElevCalculator.h"
#include "Calculator/Strategies/SlabStrategies/QTKSlabCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

// A floor slab's bottom: no top ever lies the critical height above it.
constexpr double CNeverOverHighBottom = 2147483647.0;
constexpr double CNoElev = 2147483647.0;

// Methods 0 and 2 measure the top face, the others the soffit.
bool MeasuresTopFace(int method)
{
    return method == 0 || method == 2;
}

}  // namespace

TQTkSlabOverhighCalcBuilder::TQTkSlabOverhighCalcBuilder(const RecordRef& subject, const TableSourceRef& business,
                                                         const TableSourceRef& ruleContext)
    : TQTKOverHighCalcBuilder(subject, business, ruleContext, "QTKSlabCalcSettings")
{
    slab_ = GetSlabEDO(GetDrawObj()->GetRecord());
    solid_ = slab_->GetOriginalPolyhedronIntf();
}

TQTkSlabOverhighCalcBuilder::~TQTkSlabOverhighCalcBuilder()
{
    // The first builder's elevations stay with the slab. A builder that
    // cannot measure the slab leaves none (its rule has failed already).
    try {
        if (!slab_->GetOverhighElev())
            slab_->SetOverhighElev(std::make_shared<TQTKOverhighElev>(TQTKOverhighElev{GetTopElev(), GetBottomElev()}));
    } catch (...) {
    }
}

const TVRMPolyhedron3d* TQTkSlabOverhighCalcBuilder::GetSlabSolid() const
{
    return solid_ ? solid_->GetPolyhedron() : nullptr;
}

bool TQTkSlabOverhighCalcBuilder::IsOverHigh()
{
    const TVRMPolyhedron3d* solid = GetSlabSolid();
    return solid && solid->GetFaceCount() >= 2 && TQTKOverHighCalcBuilder::IsOverHigh();
}

double TQTkSlabOverhighCalcBuilder::CalcBottomElev()
{
    if (EdoPropValueInteger(GetDrawObj()->GetPropValues(), "IsFloorSlab", 0) == 1)
        return CNeverOverHighBottom;
    return TQTKOverHighBottomElevCalculator::GetSlabBottomElev(slab_.get(), GetRuleContext());
}

TQTkSlabOverhighCalcBuilder::TZRange TQTkSlabOverhighCalcBuilder::CurvedFaceRange(bool up) const
{
    TZRange range{-CNoElev, CNoElev};
    const TVRMPolyhedron3d* solid = GetSlabSolid();
    for (int i = 0; solid && i < solid->GetFaceCount(); ++i) {
        const TVRMFace3d& face = solid->GetFace(i);
        const double z = face.GetNormal().z;
        if (up ? GreaterThan(z, 0.0) : LessThan(z, 0.0)) {
            const TVRMBox3d box = face.GetBox();
            range.hi = std::max(range.hi, box.max.z);
            range.lo = std::min(range.lo, box.min.z);
        }
    }
    return range;
}

double TQTkSlabOverhighCalcBuilder::CalcTopElev(int method)
{
    if (const std::shared_ptr<TQTKOverhighElev> stored = slab_->GetOverhighElev())
        return stored->FirstElev;
    if (slab_->IsCurvedFaceShape()) {
        const TZRange range = CurvedFaceRange(MeasuresTopFace(method));
        return method == 0 || method == 1 ? range.hi : (range.hi + range.lo) / 2;
    }
    const TVRMPolyhedron3d* solid = GetSlabSolid();
    QTK_ASSERT(solid && solid->GetFaceCount() >= 2);
    const int n = solid->GetFaceCount();
    const TVRMBox3d box = solid->GetFace(MeasuresTopFace(method) ? n - 2 : n - 1).GetBox();
    return method == 0 || method == 1 ? box.max.z : (box.max.z + box.min.z) / 2;
}

double TQTkSlabOverhighCalcBuilder::GetCountTopElev()
{
    const int method = GetTopElevCalcMethod();
    if (slab_->IsCurvedFaceShape()) {
        if (countTop_ == -1.0)
            countTop_ = method >= 0 && method <= 3 ? CurvedFaceRange(MeasuresTopFace(method)).hi : -CNoElev;
        return countTop_;
    }
    const TVRMPolyhedron3d* solid = GetSlabSolid();
    QTK_ASSERT(solid && solid->GetFaceCount() >= 2);
    const int n = solid->GetFaceCount();
    return solid->GetFace(MeasuresTopFace(method) ? n - 2 : n - 1).GetBox().max.z;
}

double TQTkSlabOverhighCalcBuilder::GetValueListTop()
{
    const TVRMPolyhedron3d* solid = GetSlabSolid();
    return solid && solid->HasFaces() ? solid->GetBox().max.z : GetDrawObj()->GetBox().max.z;
}

std::unique_ptr<TVRMOverhighSolidCalc3d> TQTkSlabOverhighCalcBuilder::BuildSolidCalc(const TVRMPolyhedron3d* solid)
{
    if (!solid)
        solid = GetSlabSolid();
    if (!solid || !IsOverHigh())
        return std::make_unique<TVRMOverhighSolidCalc3d>();
    return TQTKOverHighCalcBuilder::BuildSolidCalc(*solid);
}

std::unique_ptr<TVRMOverhighShellCalc3d> TQTkSlabOverhighCalcBuilder::BuildShellCalc(const TVRMPolyhedronShell3d& shell)
{
    if (!IsOverHigh())
        return std::make_unique<TVRMOverhighShellCalc3d>();
    return TQTKOverHighCalcBuilder::BuildShellCalc(shell);
}

std::unique_ptr<TVRMOverhighShellCalc3d> TQTkSlabOverhighFormboardCalcBuilder::BuildOverhighFormboardCalc()
{
    if (!IsOverHigh())
        return std::make_unique<TVRMOverhighShellCalc3d>();
    return BuildShellCalc(*BuildOverhighFormboardShell());
}

std::unique_ptr<TVRMPolyhedronShell3d> TQTkSlabOverhighFormboardCalcBuilder::BuildOverhighFormboardShell()
{
    const TVRMPolyhedron3d* solid = GetSlabSolid();
    if (!solid)
        return std::make_unique<TVRMPolyhedronShell3d>();
    return BuildSlabFormboardShell(*solid, GetSlab().IsCurvedFaceShape(), GetRuleContext());
}

std::unique_ptr<TVRMPolyhedronShell3d> TQTkSlabOverhighSideFormboardCalcBuilder::BuildOverhighFormboardShell()
{
    const TVRMPolyhedron3d* solid = GetSlabSolid();
    if (!solid)
        return std::make_unique<TVRMPolyhedronShell3d>();
    if (GetSlab().IsCurvedFaceShape())
        return BuildVerticalFaceShell(*solid);
    std::vector<int> sides;
    for (int i = 0; i + 2 < solid->GetFaceCount(); ++i)
        sides.push_back(i);
    return BuildFaceShell(*solid, sides);
}

namespace {

Ref<IQTKOverhighCalcHolder> SlabHolder(const RecordRef& subject)
{
    QTK_ASSERT(subject);
    const Ref<IQTKOverhighCalcHolder> holder = RefCast<IQTKOverhighCalcHolder>(GetSlabEDO(subject.get()));
    QTK_ASSERT(holder);
    return holder;
}

}  // namespace

std::shared_ptr<TVRMOverhighSolidCalc3d> GetOrBuildSlabOverhighVolume(const RecordRef& subject,
                                                                      const TableSourceRef& business,
                                                                      const TableSourceRef& ruleContext)
{
    return SlabHolder(subject)
        ->GetOrBuildOverhighCalcs([&](TQTKOverhighCalcSet& stored) {
            if (!stored.volume)
                stored.volume = TQTkSlabOverhighVolCalcBuilder(subject, business, ruleContext).BuildSolidCalc();
        })
        .volume;
}

std::shared_ptr<TVRMOverhighShellCalc3d> GetOrBuildSlabOverhighFormboard(const RecordRef& subject,
                                                                         const TableSourceRef& business,
                                                                         const TableSourceRef& ruleContext)
{
    return SlabHolder(subject)
        ->GetOrBuildOverhighCalcs([&](TQTKOverhighCalcSet& stored) {
            if (!stored.formboard)
                stored.formboard =
                    TQTkSlabOverhighFormboardCalcBuilder(subject, business, ruleContext).BuildOverhighFormboardCalc();
        })
        .formboard;
}

std::shared_ptr<TVRMOverhighShellCalc3d> GetOrBuildSlabOverhighSideFormboard(const RecordRef& subject,
                                                                             const TableSourceRef& business,
                                                                             const TableSourceRef& ruleContext)
{
    const Ref<IQTKSlabCalculator> slab = GetSlabEDO(subject.get());
    return slab->GetOrBuildOverhighSideFormboardCalc([&]() {
        std::shared_ptr<TVRMOverhighShellCalc3d> calc =
            TQTkSlabOverhighSideFormboardCalcBuilder(subject, business, ruleContext).BuildOverhighFormboardCalc();
        if (ShapeHasArc(slab->GetElementDrawObj()) || slab->IsCurvedFaceShape())
            for (int i = 0; i < calc->GetCount(); ++i)
                calc->GetItem(i)->SetIsArc(true);
        return calc;
    });
}
