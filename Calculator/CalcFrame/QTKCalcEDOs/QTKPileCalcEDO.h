// Piles (element type 54), pile caps (53) and pile cap units (83).
//
// A pile keeps three calculators over its solid: its plan section, the earth
// dug for it and its volume. A pile cap is a composite of units: its solid is
// the union of its units' solids, it lists its prepared units by unit index
// (held by record, not owned), gives the largest unit perimeter and a range
// calculator over its height. A unit keeps its calculators and face shells,
// builds its formwork shell from "PileCapFormboardAngle" and registers itself
// with its cap when it is prepared.
#pragma once

#include <memory>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TQTKPileCalcEDO final : public TQTKCalculatorEDO, public IQTKPileCalcEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    std::shared_ptr<TQTKPlanarCalc2d> GetSectionCalc() override;
    std::shared_ptr<TQTKSolidCalc3d> GetEarthSolidCalc() override;
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override;

    // Forgets the three calculators (a rule holding one keeps it); the next
    // requests build new ones.
    void ClearQtyItems() override;
    void FreeCalcCache() override;
    // With an empty detail container, quantities 425 to 433: the original solid as a detail.
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

protected:
    bool IsRelationSameAsOriginal() const override { return true; }

private:
    ~TQTKPileCalcEDO() override;
    void Forget();

    std::shared_ptr<TQTKSolidCalc3d> earthCalc_;
    std::shared_ptr<TQTKPlanarCalc2d> sectionCalc_;
    std::shared_ptr<TQTKSolidCalc3d> volumeCalc_;
};

class TQTKPileCapCalcEDO final : public TQTKCalculatorEDO, public IQTKPileCapCalcEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    // Lists the unit by its unit index, after the units of an equal or lower
    // index; a unit already listed is not listed again.
    void AddUnit(IQTKPileCapUnitCalcEDO* unit) override;
    // Over the cap's unit records (each prepared, so listed): 0 without any.
    double GetMaxUnitPerimeter() override;
    std::shared_ptr<TVRMNumericalCalc2d> GetHeightCalc() override;

    // The records of the listed units, in list order.
    TRecordList GetUnitRecords();

    void FreeCalcCache() override;
    // With an empty detail container, any quantity: the original solid as a detail.
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

protected:
    // The union of the unit records' solids, in list order; empty without units.
    std::unique_ptr<TVRMPolyhedron3d> BuildOriginalPolyhedron() override;

private:
    struct TUnitEntry {
        RecordRef record;
        int index = -1;
    };
    ~TQTKPileCapCalcEDO() override;

    std::shared_ptr<TVRMNumericalCalc2d> heightCalc_;
    std::vector<TUnitEntry> units_;
};

class TQTKPileCapUnitCalcEDO : public TQTKCalculatorEDO, public IQTKPileCapUnitCalcEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override;
    std::shared_ptr<TQTKSolidCalc3d> GetBrickMoldSolidCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetFormboardShell(const TableSourceRef& ruleContext) override;
    std::shared_ptr<TQTKShellCalc3d> GetBottomShell() override { return Kept(bottomShell_); }
    void SetBottomShell(std::shared_ptr<TQTKShellCalc3d> shell) override { Keep(bottomShell_, std::move(shell)); }
    std::shared_ptr<TQTKShellCalc3d> GetSideShell() override { return Kept(sideShell_); }
    void SetSideShell(std::shared_ptr<TQTKShellCalc3d> shell) override { Keep(sideShell_, std::move(shell)); }
    std::shared_ptr<TQTKShellCalc3d> GetTopShell() override { return Kept(topShell_); }
    void SetTopShell(std::shared_ptr<TQTKShellCalc3d> shell) override { Keep(topShell_, std::move(shell)); }
    Ref<IQTKPolyhedron3dIntf> GetPrioritySolid() override;

    // The position of the unit's record among its cap's unit records; -1
    // before preparation or when the cap does not list it.
    int GetUnitIndex() const noexcept { return unitIndex_; }

    // Finds the unit index and lists the unit with its cap (prepared first);
    // a parent that is no pile cap raises EIntfCastError.
    void Prepare(IRDXRecord* record) override;
    void FreeCalcCache() override;
    // With an empty detail container, quantity 419 or 422: the original solid as a detail.
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

protected:
    ~TQTKPileCapUnitCalcEDO() override;
    bool IsRelationSameAsOriginal() const override { return true; }
    void SetUnitIndex(int index) noexcept { unitIndex_ = index; }

private:
    std::shared_ptr<TQTKSolidCalc3d> volumeCalc_;
    std::shared_ptr<TQTKShellCalc3d> formboardShell_;
    int unitIndex_ = -1;
    std::shared_ptr<TQTKSolidCalc3d> brickMoldCalc_;
    std::shared_ptr<TQTKShellCalc3d> bottomShell_;
    std::shared_ptr<TQTKShellCalc3d> sideShell_;
    std::shared_ptr<TQTKShellCalc3d> topShell_;
    Ref<IQTKPolyhedron3dIntf> prioritySolid_;
};
