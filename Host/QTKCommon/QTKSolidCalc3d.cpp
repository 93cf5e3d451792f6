#include "Host/QTKCommon/QTKSolidCalc3d.h"

#include <algorithm>
#include <utility>

#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

std::string VolumeText(const TVRMPolyhedron3d* part, double volume, double factor, bool formula)
{
    std::string text;
    if (formula && part && SolidFormulaText(*part, volume, factor, text))
        return text;
    return MM3ToM3(volume);
}

std::unique_ptr<TVRMPolyhedron3d> CopyOf(const TVRMPolyhedron3d* solid)
{
    return solid ? solid->Clone() : nullptr;
}

std::vector<TQTKGeometryFailure>& ThreadGeometryFailures()
{
    thread_local std::vector<TQTKGeometryFailure> failures;
    return failures;
}

}  // namespace

TQTKGeometryFailure MakeGeometryFailure(const IRDXRecord* record, int kind)
{
    TQTKGeometryFailure failure;
    failure.record = RecordRef(const_cast<IRDXRecord*>(record));
    failure.objectId = record ? record->GetID() : -1;
    failure.kind = kind;
    ThreadGeometryFailures().push_back(failure);
    return failure;
}

std::vector<TQTKGeometryFailure> TakeThreadGeometryFailures()
{
    return std::exchange(ThreadGeometryFailures(), {});
}

TQTKSolidCalc3d::TQTKSolidCalc3d(std::unique_ptr<TVRMPolyhedron3d> solid, RecordRef record, double factor)
    : TQTKSolidCalc3d(std::move(solid), std::move(record), nullptr, factor)
{
}

TQTKSolidCalc3d::TQTKSolidCalc3d(std::unique_ptr<TVRMPolyhedron3d> solid, RecordRef record,
                                 std::unique_ptr<TVRMPolyhedron3d> secondSolid, double factor)
    : solid_(std::move(solid)), secondSolid_(std::move(secondSolid)), record_(std::move(record)), factor_(factor)
{
    if (!record_ || !IsDetailRecording())
        return;
    const TQTKCurrentQty qty = CurrentQtyOf(record_.get());
    auto detail = std::make_unique<TQTKSolidDeductDetail>(
        record_, qty.code, qty.desc, CopyOf(secondSolid_ ? secondSolid_.get() : solid_.get()), nullptr,
        VolumeText(solid_.get(), GetVolume(), factor_, true));
    detail->SetIsOriginalQty(true);
    AddDeductDetail(std::move(detail));
}

TQTKSolidCalc3d::TQTKSolidCalc3d(std::unique_ptr<TVRMPolyhedron3d> solid, RecordRef record, double factor,
                                 bool /*unrecorded*/)
    : solid_(std::move(solid)), record_(std::move(record)), factor_(factor)
{
}

TQTKSolidCalc3d::~TQTKSolidCalc3d() = default;

double TQTKSolidCalc3d::GetVolume() const
{
    if (!solid_)
        return 0.0;
    double volume = solid_->GetVolume();
    for (const auto& piece : unbooked_)
        volume += piece->GetVolume();
    return volume * factor_;
}

double TQTKSolidCalc3d::ClaimUnbooked(const TVRMPolyhedron3d& solid)
{
    double claimed = 0.0;
    for (auto& piece : unbooked_) {
        if (!piece->GetBox().Meets(solid.GetBox()))
            continue;
        const double before = piece->GetVolume();
        std::unique_ptr<TVRMPolyhedron3d> rest = piece->Clone();
        if (!TVRMNewPolyBooleanOperator::BooleanOperate(*rest, solid, CVRMBoolSubtract))
            continue;
        if (before - rest->GetVolume() > CVRMEpsilon) {
            claimed += before - rest->GetVolume();
            piece = std::move(rest);
        }
    }
    return claimed;
}

double TQTKSolidCalc3d::Apply(const TVRMPolyhedron3d& solid, int kind, const IRDXRecord* record,
                              const TVRMPolyhedron3d* shown, bool writeDetail, bool formulaText)
{
    if (!solid_ || !solid.HasFaces())
        return 0.0;
    const double claimed = kind == CVRMBoolSubtract && record && !unbooked_.empty() ? ClaimUnbooked(solid) : 0.0;
    if (kind == CVRMBoolSubtract && !solid_->GetBox().Meets(solid.GetBox()))
        return claimed * factor_;
    const double before = solid_->GetVolume();
    std::unique_ptr<TVRMPolyhedron3d> result = solid_->Clone();
    if (!TVRMNewPolyBooleanOperator::BooleanOperate(*result, solid, kind)) {
        failures_.push_back(MakeGeometryFailure(record, kind));
        return 0.0;
    }
    const double taken = kind == CVRMBoolSubtract ? before - result->GetVolume() : result->GetVolume() - before;
    if (taken <= CVRMEpsilon && claimed <= CVRMEpsilon)
        return 0.0;  // nothing taken or added: the solid keeps its faces and their order
    const double change = std::max(taken, 0.0) + claimed;
    std::unique_ptr<TVRMPolyhedron3d> previous =
        taken > CVRMEpsilon ? std::exchange(solid_, std::move(result)) : solid_->Clone();
    if (kind == CVRMBoolSubtract && !record && taken > CVRMEpsilon) {
        // Taken out of the remaining solid, not booked.
        auto piece = previous->Clone();
        if (TVRMNewPolyBooleanOperator::BooleanOperate(*piece, solid, CVRMBoolIntersect))
            unbooked_.push_back(std::move(piece));
    }
    const double amount = change * factor_;
    if (writeDetail && record && IsDetailRecording()) {
        std::unique_ptr<TVRMPolyhedron3d> part;
        if (formulaText) {
            part = kind == CVRMBoolSubtract ? std::move(previous) : solid.Clone();
            if (kind == CVRMBoolSubtract &&
                !TVRMNewPolyBooleanOperator::BooleanOperate(*part, solid, CVRMBoolIntersect))
                part.reset();
        }
        const TQTKCurrentQty qty = CurrentQtyOf(record_ ? record_.get() : record);
        auto detail = std::make_unique<TQTKSolidDeductDetail>(RecordRef(const_cast<IRDXRecord*>(record)), qty.code,
                                                              qty.desc, CopyOf(shown ? shown : &solid), nullptr,
                                                              VolumeText(part.get(), amount, factor_, formulaText));
        detail->SetIsAddition(kind == CVRMBoolUnion);
        AddDeductDetail(std::move(detail));
    }
    return amount;
}

double TQTKSolidCalc3d::Subtract(const TVRMPolyhedron3d& solid, const IRDXRecord* record,
                                 const TVRMPolyhedron3d* detailSolid, bool writeDetail, bool formulaText)
{
    return Apply(solid, CVRMBoolSubtract, record, detailSolid, writeDetail, formulaText);
}

double TQTKSolidCalc3d::Unite(const TVRMPolyhedron3d& piece, const IRDXRecord* record,
                              const TVRMPolyhedron3d* hostSolid, bool writeDetail, bool formulaText)
{
    return Apply(piece, CVRMBoolUnion, record, hostSolid, writeDetail, formulaText);
}

double TQTKSolidCalc3d::HandleVolumeExpr(bool writeExpr)
{
    const double volume = GetVolume();
    if (writeExpr && solid_ && record_) {
        std::string text;
        GVolumeExprParser(record_.get(), nullptr, *solid_, factor_, true, volume, text);
    }
    return volume;
}

void TQTKSolidCalc3d::Clear()
{
    solid_.reset();
    unbooked_.clear();
}

// ---------------------------------------------------------------------------

TVRMDividedSolidCalc3d::TVRMDividedSolidCalc3d(RecordRef record, std::unique_ptr<TVRMPolyhedron3d> solid, bool /*flag*/,
                                               double factor)
    : TQTKSolidCalc3d(std::move(solid), std::move(record), factor)
{
}

double TVRMDividedSolidCalc3d::Subtract(const TVRMPolyhedron3d& solid, const IRDXRecord* record,
                                        const TVRMPolyhedron3d* detailSolid, bool writeDetail, bool formulaText)
{
    const double removed = TQTKSolidCalc3d::Subtract(solid, record, detailSolid, writeDetail, formulaText);
    if (removed != 0.0)
        divides_.push_back({RecordRef(const_cast<IRDXRecord*>(record)), removed});
    return removed;
}

const TVRMDividedSolidCalc3d::TDivideItem& TVRMDividedSolidCalc3d::GetDivideItem(int index) const
{
    QTK_ASSERT(index >= 0 && index < GetDivideCount());
    return divides_[static_cast<size_t>(index)];
}

// ---------------------------------------------------------------------------

TVRMOverhighSolidCalcItem3d::TVRMOverhighSolidCalcItem3d(std::unique_ptr<TVRMPolyhedron3d> piece, RecordRef record,
                                                         std::unique_ptr<TVRMPolyhedron3d> referenceSolid,
                                                         double weight, double coefficient)
    : TQTKSolidCalc3d(std::move(piece), std::move(record), weight * coefficient, true),
      referenceSolid_(std::move(referenceSolid)),
      weight_(weight),
      coefficient_(coefficient)
{
}

TVRMOverhighSolidCalcItem3d::~TVRMOverhighSolidCalcItem3d() = default;
