// The over-height builders of slabs (types 19 to 21), from
// "QTKSlabCalcSettings": a slab whose top lies more than the critical height
// above its bottom elevation has its solid (volume), its formwork shell or
// its side faces cut into weighted pieces by the common partition.
//
// Slab specifics:
// - a floor slab ("IsFloorSlab" 1) is never over height (its bottom reads
//   2147483647);
// - the top T by "OverHighTopElevCalcMethod": 0 the highest point of the top
//   face, 1 of the soffit, 2 the mid-height of the top face, 3 (and others) of
//   the soffit; a curved slab takes its faces that look up (0, 2) or down (1,
//   3). The first builder of a slab leaves its T and B on the slab, and every
//   later builder takes T from there whatever the method;
// - the layer count runs to the highest point of the top face (methods 0, 2)
//   or of the soffit (others); a curved slab's count top is kept per builder;
//   other round methods give floor(q + 0.5).
// One builder serves one rule call; the rules store what they build through
// the slab's guarded stores (the Get... functions below).
#pragma once

#include <memory>

#include "Calculator/Strategies/Common/OverHigh/QTKOverHighCalcBuilder.h"

class TQTkSlabOverhighCalcBuilder : public TQTKOverHighCalcBuilder {
public:
    TQTkSlabOverhighCalcBuilder(const RecordRef& subject, const TableSourceRef& business,
                                const TableSourceRef& ruleContext);
    // Leaves T and B on the slab unless an earlier builder has.
    ~TQTkSlabOverhighCalcBuilder() override;

    // Never for a slab without a solid.
    bool IsOverHigh() override;
    double GetCountTopElev() override;
    IQTKSlabCalculator& GetSlab() const noexcept { return *slab_; }
    // The slab's solid (nil without one).
    const TVRMPolyhedron3d* GetSlabSolid() const;

    // The weighted pieces of the solid (the slab's own when nil); empty when
    // the slab is not over height. The solid stays the caller's.
    std::unique_ptr<TVRMOverhighSolidCalc3d> BuildSolidCalc(const TVRMPolyhedron3d* solid = nullptr);
    // The weighted pieces of a shell; empty when the slab is not over height.
    std::unique_ptr<TVRMOverhighShellCalc3d> BuildShellCalc(const TVRMPolyhedronShell3d& shell);

protected:
    double CalcBottomElev() override;
    double CalcTopElev(int method) override;
    double GetValueListTop() override;
    bool IsRoundByHalfLayer() const override { return true; }

private:
    // Highest z and lowest z over the faces of a curved slab that look up (or down).
    struct TZRange {
        double hi;
        double lo;
    };
    TZRange CurvedFaceRange(bool up) const;

    Ref<IQTKSlabCalculator> slab_;
    Ref<IQTKPolyhedron3dIntf> solid_;
    double countTop_ = -1.0;  // a curved slab's count top, once computed
};

// For the volumes.
class TQTkSlabOverhighVolCalcBuilder final : public TQTkSlabOverhighCalcBuilder {
public:
    using TQTkSlabOverhighCalcBuilder::TQTkSlabOverhighCalcBuilder;
};

// For the formwork: the slab's formwork shell (the soffit, the top of a steep
// slab; a curved slab's downward or all sloped faces) cut into pieces.
class TQTkSlabOverhighFormboardCalcBuilder : public TQTkSlabOverhighCalcBuilder {
public:
    using TQTkSlabOverhighCalcBuilder::TQTkSlabOverhighCalcBuilder;

    std::unique_ptr<TVRMOverhighShellCalc3d> BuildOverhighFormboardCalc();

protected:
    virtual std::unique_ptr<TVRMPolyhedronShell3d> BuildOverhighFormboardShell();
};

// For the side formwork: the slab's side faces (a curved slab: its upright faces).
class TQTkSlabOverhighSideFormboardCalcBuilder final : public TQTkSlabOverhighFormboardCalcBuilder {
public:
    using TQTkSlabOverhighFormboardCalcBuilder::TQTkSlabOverhighFormboardCalcBuilder;

protected:
    std::unique_ptr<TVRMPolyhedronShell3d> BuildOverhighFormboardShell() override;
};

// The slab's stored over-height calculators, each built by the first rule of
// its family that needs it (the original or a deduction) under the slab's
// over-height lock, and kept (empty when the slab is not over height).
std::shared_ptr<TVRMOverhighSolidCalc3d> GetOrBuildSlabOverhighVolume(const RecordRef& subject,
                                                                      const TableSourceRef& business,
                                                                      const TableSourceRef& ruleContext);
std::shared_ptr<TVRMOverhighShellCalc3d> GetOrBuildSlabOverhighFormboard(const RecordRef& subject,
                                                                         const TableSourceRef& business,
                                                                         const TableSourceRef& ruleContext);
// Pieces of a slab whose shape has an arc, or of a curved slab, are marked as
// lying on an arc when built.
std::shared_ptr<TVRMOverhighShellCalc3d> GetOrBuildSlabOverhighSideFormboard(const RecordRef& subject,
                                                                             const TableSourceRef& business,
                                                                             const TableSourceRef& ruleContext);
