// The tie column (element type 26): a small cast-in-place column inside
// masonry walls whose concrete reaches into the walls in a toothed joint (the
// indenting). Besides what every column offers, its object builds the
// indenting solid and polyhedron, the calculators over them less the
// elements that take precedence, and keeps its own over-height calculators.
#pragma once

#include <memory>
#include <mutex>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKColumnCalcEDO.h"

class TQTKTieColumnCalculatorEDO final : public TQTKColumnCalculatorEDO, public IQTKTieColumnCalculatorEDO {
public:
    TQTKTieColumnCalculatorEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    const TVRMPolyhedron3d* GetIndentingSolid() override;
    int GetIndentingTag() override;
    void SetIndentingTag(int value) override;
    int GetIndentingLengthMode() override;
    void SetIndentingLengthMode(int value) override;
    const TVRMPolyhedron3d* GetIndentingPolyhedron() override;
    void BuildIndentingPolyhedron() override;
    std::shared_ptr<TQTKSolidCalc3d> CalcIndentingVolume(double lengthFactor) override;
    std::shared_ptr<TQTKShellCalc3d> GetIndentingSideShellCalc(double factor) override;
    std::shared_ptr<TVRMOverhighSolidCalc3d> GetTieOverhighVolumeCalc() override { return Kept(tieOverhighVolume_); }
    void SetTieOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d> calc) override;
    std::shared_ptr<TVRMOverhighShellCalc3d> GetTieOverhighFormboardCalc() override
    {
        return Kept(tieOverhighFormboard_);
    }
    void SetTieOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc) override;
    std::shared_ptr<TVRMOverhighSolidCalc3d> GetOrBuildTieOverhighVolumeCalc(
        const std::function<std::shared_ptr<TVRMOverhighSolidCalc3d>()>& build) override;
    std::shared_ptr<TVRMOverhighShellCalc3d> GetOrBuildTieOverhighFormboardCalc(
        const std::function<std::shared_ptr<TVRMOverhighShellCalc3d>()>& build) override;

    // Frees the indenting calculators and the tie over-height calculators;
    // the indenting solid and polyhedron are kept.
    void FreeCalcCache() override;

    // The column prism with each outline edge that a wall's axis (moved
    // through the insertion point) crosses moved out by the indenting width
    // (Full) or half of it.
    std::unique_ptr<TVRMPolyhedron3d> BuildIndentedOutlinePolyhedron(bool full);

protected:
    ~TQTKTieColumnCalculatorEDO() override;
    // "Type" not 0: the element's own solid; otherwise the outline grown by
    // "IndentingWidth" from the point shape's bottom to its top.
    std::unique_ptr<TVRMPolyhedron3d> BuildRelationPolyhedron() override;

private:
    int indentingTag_ = 0;
    int indentingLengthMode_ = 1;
    std::shared_ptr<TVRMPolyhedron3d> indentingSolid_;
    std::shared_ptr<TVRMPolyhedron3d> indentingPolyhedron_;
    std::mutex indentingLock_;
    std::shared_ptr<TQTKSolidCalc3d> indentingVolumeCalc_;
    std::shared_ptr<TQTKShellCalc3d> indentingSideShellCalc_;
    std::shared_ptr<TVRMOverhighSolidCalc3d> tieOverhighVolume_;
    std::shared_ptr<TVRMOverhighShellCalc3d> tieOverhighFormboard_;
};
