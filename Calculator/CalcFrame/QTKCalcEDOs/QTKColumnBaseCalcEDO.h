// The column base (element type 28), the enlarged foot under a column: its
// object sorts the faces of its solid into top, bottom and sides and hands
// out calculators over them, with the formwork of a brick-mould base from the
// host's side shell.
#pragma once

#include <memory>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

// The faces of a solid by their normals (length tolerance): Sides every face
// with a horizontal component; Top (Bottom) the last face looking straight up
// (down), -1 when none. A face with no horizontal component that looks neither
// straight up nor down is an assertion failure.
struct TQTKColumnBaseFaces {
    std::vector<int> sides;
    int top = -1;
    int bottom = -1;
};
TQTKColumnBaseFaces ClassifyColumnBaseFaces(const TVRMPolyhedron3d& solid);

class TQTKColumnBaseCalculatorEDO final : public TQTKCalculatorEDO, public IQTKColumnBaseCalculatorEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetFormboardShellCalc() override;
    bool IsBrickModelType() override;
    std::shared_ptr<TQTKSolidCalc3d> GetBrickModelVolumeCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetTopFaceShellCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetBottomFaceShellCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetSideFaceShellCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetVerticalSideFaceShellCalc() override;

    // Drops the calculators (they are freed once no rule holds them), reads
    // "ColumnBaseType" and sorts the faces again.
    void ClearQtyItems() override;
    void FreeCalcCache() override;
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

private:
    ~TQTKColumnBaseCalculatorEDO() override;
    // Faces and type flag as of the last ClearQtyItems (made on first need).
    void EnsureFaces();
    std::shared_ptr<TQTKShellCalc3d> FaceCalc(std::shared_ptr<TQTKShellCalc3d>& slot, const std::vector<int>& faces);
    void DropCalculators();

    std::shared_ptr<TQTKSolidCalc3d> volumeCalc_;
    std::shared_ptr<TQTKShellCalc3d> formboardCalc_;
    std::shared_ptr<TQTKShellCalc3d> topCalc_;
    std::shared_ptr<TQTKShellCalc3d> bottomCalc_;
    std::shared_ptr<TQTKShellCalc3d> verticalSideCalc_;
    std::shared_ptr<TQTKShellCalc3d> sideCalc_;
    bool brickModelType_ = true;
    std::shared_ptr<TQTKSolidCalc3d> mergedCalc_;
    bool facesRead_ = false;
    TQTKColumnBaseFaces faces_;
};
