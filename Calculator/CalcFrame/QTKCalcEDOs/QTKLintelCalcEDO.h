// The element object of lintels (type 12): the lintel over an opening is
// calculated along its calculation line (the centre line of its section,
// cut back to its supports where it hangs out less than the setting allows),
// with its section swept along that line, formwork shells less the walls and
// columns it rests on, a solid grown by a distance for the finishes, and its
// projection on a wall.
//
// The section polygon and the calculation line are built once and kept for
// the object's life; the calculators go at FreeCalcCache. The projection has
// its own lock; the other members are kept under the object's data lock.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"
#include "Calculator/Common/QTKRelationPolyhedronList.h"
#include "Host/Runtime/VRMThreadSyncUtils.h"

class IQTKLineShape;

class TQTKLintelCalcEDO final : public TQTKCalculatorEDO,
                                public virtual IQTKLintelCalcEDO,
                                public virtual IQTKExtendableCalcEdo {
public:
    TQTKLintelCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    // IQTKCalculatorEDO
    void ClearQtyItems() override;
    void FreeCalcCache() override;
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

    // IQTKLintelCalcEDO
    TQTKSolidCalc3d* GetVolumeCalc() override;
    double CalcSideFormboardArea() override;
    double CalcEndFormboardArea() override;
    // Takes the formwork shell over: later formwork calls start a new shell.
    TQTKShellCalc3d* GetFormboardShellCalc() override;
    TQTKShellCalc3d* GetBottomShellCalc() override;
    // A lintel without "SectionWidth" is centred on its axis with its shape's width.
    const TVRMMultiPolygon2d* GetPlanPolygon() override;
    double GetAlcoveOffset(IRDXRecord* wall) override;
    const TVRMCustomLine2d* GetCalcLine() override;
    // Nil asks for the host wall (the wall of the lintel's opening). The
    // projection of the wall asked for last is kept, empty when that wall is
    // not parallel to the lintel. A failure raises "计算过梁在墙上的投影出错".
    Ref<IQTKSectionPoly> CalcProjectionOnWall(IRDXRecord* wall) override;

    // IQTKExtendableCalcEdo: the section grown by Distance (toward Source's
    // side as Mode says) along the calculation line, kept under the key
    // (Source, Mode, Distance).
    Ref<IQTKPolyhedron3dIntf> GetExtendedPolyhedron(IRDXRecord* source, bool mode, double distance) override;
    void ReleaseExtendItem(const TQTKExtendPolyhedronItem* item) override { extendSlot_.Forget(item); }

protected:
    std::unique_ptr<TVRMPolyhedron3d> BuildOriginalPolyhedron() override;
    std::unique_ptr<TVRMPolyhedron3d> BuildRelationPolyhedron() override;

private:
    ~TQTKLintelCalcEDO() override;

    const IQTKLineShape* LineShape() const;
    IRDXRecord* Record() const;
    const TVRMPolyhedron3d& OriginalSolid();
    // The centre line cut back to the supports that the hang-out N leaves it on.
    TVRMCustomLine2d GetCalcLineByHangOut(const TVRMCustomLine2d& centre, int hangOut);
    // Takes the supports (walls, insulating walls, parapets) off Shell; with
    // openings, the supports less the openings, and nothing without openings.
    void SubtractSupports(TVRMPolyhedronShell3d& shell, bool withOpenings);
    // The original solid's faces of Codes against the formwork angle (an
    // arched lintel's by its inclined faces), end faces skipped.
    std::unique_ptr<TVRMPolyhedronShell3d> FacesByCodes(std::uint8_t codes);
    double AppendToFormboardShell(std::unique_ptr<TVRMPolyhedronShell3d> shell);
    std::unique_ptr<TQTKShellCalc3d> MakeShellCalc(std::unique_ptr<TVRMPolyhedronShell3d> shell);
    std::vector<int> EndFaces();

    std::unique_ptr<TQTKSolidCalc3d> volumeCalc_;
    std::unique_ptr<TVRMPolyhedronShell3d> formboardShell_;
    std::unique_ptr<TQTKShellCalc3d> formboardCalc_;
    std::unique_ptr<TQTKShellCalc3d> bottomCalc_;

    TVRMCmpxchgLock projectionLock_;
    RecordRef projectionWall_;
    Ref<IQTKSectionPoly> projection_;

    std::once_flag sectionOnce_, calcLineOnce_;
    std::unique_ptr<TVRMMultiPolygon2d> section_;
    std::unique_ptr<TVRMCustomLine2d> calcLine_;
    bool shapeHasArc_ = false;
    std::atomic<bool> archTopFormboard_{false};

    TQTKExtendSlot extendSlot_;
};
