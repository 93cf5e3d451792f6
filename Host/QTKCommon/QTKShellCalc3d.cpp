#include "Host/QTKCommon/QTKShellCalc3d.h"

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
    area_ = shell_->GetArea();
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

double TQTKShellCalc3d::Subtract(const TVRMPolyhedron3d& solid, const IRDXRecord* record, int kinds,
                                 const TVRMPolyhedron3d* detailSolid, bool writeDetail, bool formulaText)
{
    if (!shell_->HasFaces() || !solid.HasFaces() || !ShellBox(*shell_).Meets(solid.GetBox()))
        return 0.0;
    const bool recording = writeDetail && record && IsDetailRecording();
    std::unique_ptr<TVRMPolyhedronShell3d> removed = recording ? shell_->Clone() : nullptr;
    int unresolved = 0;
    const double area = shell_->Subtract(solid, kinds, &unresolved);
    if (unresolved > 0)
        failures_.push_back(MakeGeometryFailure(record, CVRMBoolSubtract));
    area_ = shell_->GetArea();
    if (area <= CVRMEpsilon)
        return 0.0;
    const double amount = area * factor_;
    if (removed) {
        removed->Intersect(solid, kinds);
        WriteRemovedDetail(*removed, amount, record, detailSolid ? detailSolid : &solid, formulaText);
    }
    return amount;
}

double TQTKShellCalc3d::AddShell(const TVRMPolyhedronShell3d& shell, const IRDXRecord* /*record*/,
                                 const TVRMPolyhedron3d* /*solid*/)
{
    for (const TVRMFace3d& face : shell.GetFaces())
        shell_->AddFace(face);
    const double before = area_;
    area_ = shell_->GetArea();
    return (area_ - before) * factor_;
}

void TQTKShellCalc3d::Cut(const TVRMPlane3d& plane, const IRDXRecord* record, bool writeDetail, bool formulaText)
{
    if (!shell_->HasFaces())
        return;
    std::unique_ptr<TVRMPolyhedronShell3d> beyond;
    std::unique_ptr<TVRMPolyhedronShell3d> kept = shell_->Cut(plane, beyond);
    if (!kept)
        kept = std::make_unique<TVRMPolyhedronShell3d>();
    const double removed = beyond ? beyond->GetArea() : 0.0;
    if (removed <= CVRMEpsilon)
        return;  // nothing beyond the plane: the shell keeps its faces
    shell_ = std::move(kept);
    area_ = shell_->GetArea();
    if (writeDetail && record && IsDetailRecording())
        WriteRemovedDetail(*beyond, removed * factor_, record, nullptr, formulaText);
}

void TQTKShellCalc3d::Clear()
{
    shell_->Clear();
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
