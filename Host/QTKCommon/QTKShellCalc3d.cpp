#include "Host/QTKCommon/QTKShellCalc3d.h"

#include <algorithm>
#include <utility>

#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

std::string AreaText(const TVRMPolyhedronShell3d& part, double area, double factor, bool formula)
{
    std::string text;
    if (formula && ShellFormulaText(part, area, factor, text))
        return text;
    return MM2ToM2(area);
}

TVRMBox3d ShellBox(const TVRMPolyhedronShell3d& shell)
{
    TVRMBox3d box;
    for (const TVRMFace3d& face : shell.GetFaces())
        box.Extend(face.GetBox());
    return box;
}

}  // namespace

TQTKShellCalc3d::TQTKShellCalc3d(std::unique_ptr<TVRMPolyhedronShell3d> shell, RecordRef record, double factor)
    : TQTKShellCalc3d(std::move(shell), std::move(record), nullptr, factor)
{
}

TQTKShellCalc3d::TQTKShellCalc3d(std::unique_ptr<TVRMPolyhedronShell3d> shell, RecordRef record,
                                 std::unique_ptr<TVRMPolyhedron3d> elementSolid, double factor)
    : TQTKShellCalc3d(std::move(shell), std::move(record), factor, true)
{
    elementSolid_ = std::move(elementSolid);
    if (!record_ || !IsDetailRecording())
        return;
    const TQTKCurrentQty qty = CurrentQtyOf(record_.get());
    auto detail = std::make_unique<TQTKShellDeductDetail>(record_, qty.code, qty.desc, shell_->Clone(),
                                                          elementSolid_ ? elementSolid_->Clone() : nullptr,
                                                          AreaText(*shell_, GetArea(), factor_, !isArc_));
    detail->SetIsOriginalQty(true);
    AddDeductDetail(std::move(detail));
}

TQTKShellCalc3d::TQTKShellCalc3d(std::unique_ptr<TVRMPolyhedronShell3d> shell, RecordRef record, double factor,
                                 bool /*unrecorded*/)
    : shell_(shell ? std::move(shell) : std::make_unique<TVRMPolyhedronShell3d>()),
      record_(std::move(record)),
      factor_(factor),
      area_(shell_->GetArea())
{
}

TQTKShellCalc3d::~TQTKShellCalc3d() = default;

double TQTKShellCalc3d::GetArea() const
{
    return area_ * factor_;
}

double TQTKShellCalc3d::CalcArea()
{
    area_ = shell_->GetArea() + UnbookedArea();
    return GetArea();
}

void TQTKShellCalc3d::SetFactor(double factor)
{
    factor_ = factor;
}

void TQTKShellCalc3d::WriteRemovedDetail(const TVRMPolyhedronShell3d& removed, double amount, const IRDXRecord* record,
                                         const TVRMPolyhedron3d* shown, bool formulaText) const
{
    const TQTKCurrentQty qty = CurrentQtyOf(record_ ? record_.get() : record);
    AddDeductDetail(std::make_unique<TQTKShellDeductDetail>(
        RecordRef(const_cast<IRDXRecord*>(record)), qty.code, qty.desc, removed.Clone(),
        shown ? shown->Clone() : nullptr, AreaText(removed, amount, factor_, formulaText && !isRatio_)));
}

double TQTKShellCalc3d::UnbookedArea() const
{
    double sum = 0.0;
    for (const auto& piece : unbooked_)
        sum += piece->GetArea();
    return sum;
}

double TQTKShellCalc3d::ClaimUnbooked(const TVRMPolyhedron3d& solid, int kinds, TVRMPolyhedronShell3d* claimed)
{
    double sum = 0.0;
    for (auto& piece : unbooked_) {
        if (!piece->HasFaces() || !ShellBox(*piece).Meets(solid.GetBox()))
            continue;
        std::unique_ptr<TVRMPolyhedronShell3d> covered = claimed ? piece->Clone() : nullptr;
        const double area = piece->Subtract(solid, kinds);
        if (area <= CVRMEpsilon)
            continue;
        sum += area;
        if (covered) {
            covered->Intersect(solid, kinds);
            for (const TVRMFace3d& face : covered->GetFaces())
                claimed->AddFace(face);
        }
    }
    return sum;
}

double TQTKShellCalc3d::Subtract(const TVRMPolyhedron3d& solid, const IRDXRecord* record, int kinds,
                                 const TVRMPolyhedron3d* detailSolid, bool writeDetail, bool formulaText)
{
    if (!solid.HasFaces())
        return 0.0;
    const bool recording = writeDetail && record && IsDetailRecording();
    auto removed = std::make_unique<TVRMPolyhedronShell3d>();
    const double claimed =
        record && !unbooked_.empty() ? ClaimUnbooked(solid, kinds, recording ? removed.get() : nullptr) : 0.0;
    double area = 0.0;
    if (shell_->HasFaces() && ShellBox(*shell_).Meets(solid.GetBox())) {
        // The part taken is kept unbooked without a record, shown in the detail with one.
        std::unique_ptr<TVRMPolyhedronShell3d> taken = !record || recording ? shell_->Clone() : nullptr;
        int unresolved = 0;
        area = shell_->Subtract(solid, kinds, &unresolved);
        if (unresolved > 0)
            failures_.push_back(MakeGeometryFailure(record, CVRMBoolSubtract));
        if (area > CVRMEpsilon && taken) {
            taken->Intersect(solid, kinds);
            if (!record) {
                unbooked_.push_back(std::move(taken));
            } else {
                for (const TVRMFace3d& face : taken->GetFaces())
                    removed->AddFace(face);
            }
        }
        area = std::max(area, 0.0);
    }
    area_ = shell_->GetArea() + UnbookedArea();
    if (!record)
        return area > CVRMEpsilon ? area * factor_ : 0.0;
    if (area + claimed <= CVRMEpsilon)
        return 0.0;
    const double amount = (area + claimed) * factor_;
    if (recording)
        WriteRemovedDetail(*removed, amount, record, detailSolid ? detailSolid : &solid, formulaText);
    return amount;
}

double TQTKShellCalc3d::AddShell(const TVRMPolyhedronShell3d& shell, const IRDXRecord* /*record*/,
                                 const TVRMPolyhedron3d* /*solid*/)
{
    for (const TVRMFace3d& face : shell.GetFaces())
        shell_->AddFace(face);
    const double before = area_;
    area_ = shell_->GetArea() + UnbookedArea();
    return (area_ - before) * factor_;
}

void TQTKShellCalc3d::Cut(const TVRMPlane3d& plane, const IRDXRecord* record, bool writeDetail, bool formulaText)
{
    auto removed = std::make_unique<TVRMPolyhedronShell3d>();
    // Every part beyond the plane goes, the unbooked pieces' included (booked by the cut).
    const auto cutOff = [&](std::unique_ptr<TVRMPolyhedronShell3d>& shell) {
        if (!shell->HasFaces())
            return;
        std::unique_ptr<TVRMPolyhedronShell3d> beyond;
        std::unique_ptr<TVRMPolyhedronShell3d> kept = shell->Cut(plane, beyond);
        if (!beyond || beyond->GetArea() <= CVRMEpsilon)
            return;  // nothing beyond the plane: the shell keeps its faces
        for (const TVRMFace3d& face : beyond->GetFaces())
            removed->AddFace(face);
        shell = kept ? std::move(kept) : std::make_unique<TVRMPolyhedronShell3d>();
    };
    cutOff(shell_);
    for (auto& piece : unbooked_)
        cutOff(piece);
    const double area = removed->GetArea();
    if (area <= CVRMEpsilon)
        return;
    area_ = shell_->GetArea() + UnbookedArea();
    if (writeDetail && record && IsDetailRecording())
        WriteRemovedDetail(*removed, area * factor_, record, nullptr, formulaText);
}

void TQTKShellCalc3d::Clear()
{
    shell_->Clear();
    unbooked_.clear();
    area_ = 0.0;
}

double TQTKShellPerimterCalcItem3d::GetPerimter() const
{
    double sum = 0.0;
    for (const TVRMFace3d& face : GetShell()->GetFaces())
        sum += face.GetLength();
    return sum;
}

namespace {

std::unique_ptr<TVRMPolyhedronShell3d> Joined(std::unique_ptr<TVRMPolyhedronShell3d> first,
                                              const std::unique_ptr<TVRMPolyhedronShell3d>& second)
{
    if (!first)
        first = std::make_unique<TVRMPolyhedronShell3d>();
    if (second)
        for (const TVRMFace3d& face : second->GetFaces())
            first->AddFace(face);
    return first;
}

}  // namespace

TQTKFDBottomAreaShellCalc3d::TQTKFDBottomAreaShellCalc3d(std::unique_ptr<TVRMPolyhedronShell3d> bottomShell,
                                                         double factor, RecordRef record,
                                                         std::unique_ptr<TVRMPolyhedronShell3d> inclinedShell)
    : TQTKShellCalc3d(Joined(std::move(bottomShell), inclinedShell), std::move(record), factor)
{
}

double TQTKFDBottomAreaShellCalc3d::Subtract(const TVRMPolyhedron3d& solid, const IRDXRecord* record, int kinds,
                                             const TVRMPolyhedron3d* detailSolid, bool writeDetail, bool formulaText,
                                             bool /*lastFlag*/)
{
    return TQTKShellCalc3d::Subtract(solid, record, kinds, detailSolid, writeDetail, formulaText);
}

TVRMOverhighShellCalcItem3d::TVRMOverhighShellCalcItem3d(std::unique_ptr<TVRMPolyhedronShell3d> piece, RecordRef record,
                                                         std::unique_ptr<TVRMPolyhedron3d> referenceSolid,
                                                         double weight, double ratio, bool isArc, bool useRatio)
    : TQTKShellCalc3d(std::move(piece), std::move(record), useRatio ? weight * ratio : weight, true),
      referenceSolid_(std::move(referenceSolid)),
      weight_(weight),
      ratio_(ratio),
      useRatio_(useRatio)
{
    SetIsArc(isArc);
}

TVRMOverhighShellCalcItem3d::~TVRMOverhighShellCalcItem3d() = default;
