// The pier (element type 3): a point element standing against its host wall
// (its parent) from "BottomElev" to "TopElev". Its volume calculator, the
// faces it shows and those against the wall, its outline split by the wall,
// the side of the wall it stands on, and its solid grown by a distance for
// the rules that deduct a widened pier. The volume survives FreeCalcCache.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"
#include "Calculator/Common/QTKRelationPolyhedronList.h"

class TQTKPierCalcEDO final : public TQTKCalculatorEDO,
                              public virtual IQTKPierCalcEDO,
                              public virtual IQTKExtendableCalcEdo {
public:
    TQTKPierCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    // IQTKCalculatorEDO
    // The host wall always; others by the inherited test.
    bool IsIntersectWith(IRDXRecord* record) override;
    // Keeps the volume (the calculator's, else the original solid's) and drops the calculators.
    void FreeCalcCache() override;
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

    // IQTKPierCalcEDO
    std::unique_ptr<TVRMLinearCalcContr> GetPerimeterLinearCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetOrnamentShellCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetContactWallOrnamentShellCalc() override;
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override;
    double GetVolume() override { return volume_.load(); }
    bool IsOnExternalSide() override;

    // IQTKExtendableCalcEdo: the outline grown by Distance (only the edges
    // facing Source's left or right line when there is a Source) from bottom
    // to top; Distance 0 is the original solid and makes no cache item.
    Ref<IQTKPolyhedron3dIntf> GetExtendedPolyhedron(IRDXRecord* source, bool onLeft, double distance) override;
    void ReleaseExtendItem(const TQTKExtendPolyhedronItem* item) override { extendSlot_.Forget(item); }

protected:
    bool IsRelationSameAsOriginal() const override { return true; }

private:
    ~TQTKPierCalcEDO() override;
    // Faces on the outline pieces of one kind: exposed (unmarked) or against the wall (marked).
    std::shared_ptr<TQTKShellCalc3d> BuildShellCalc(bool contact);

    RecordRef wall_;
    std::shared_ptr<TQTKShellCalc3d> ornamentCalc_, contactCalc_;
    std::shared_ptr<TQTKSolidCalc3d> volumeCalc_;
    std::atomic<double> volume_{0.0};
    std::once_flag externalOnce_;
    bool external_ = false;
    TQTKExtendSlot extendSlot_;
};
