// The column (element type 25): its solid between its net elevations (down
// to a column cap above it, up to a column base below it), the calculators
// its rules share, its extended solid for finishes, its projection on a wall
// it stands in, whether it stands free of walls, and the finish thicknesses
// laid against its sides.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"
#include "Calculator/Common/QTKFinishColumnOutLines.h"

class IQTKPointShape;

class TQTKColumnCalculatorEDO : public TQTKCalculatorEDO,
                                public virtual IQTKColumnCalculatorEDO,
                                public IQTKExtendableCalcEdo,
                                public virtual IQTKOverhighCalcHolder {
public:
    TQTKColumnCalculatorEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    Ref<IQTKPolyhedron3dIntf> GetExtendedPolyhedron(IRDXRecord* source, bool mode, double distance) override;
    void ReleaseExtendItem(const TQTKExtendPolyhedronItem* item) override;

    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetSideFaceShellCalc() override;
    std::shared_ptr<TVRMOverhighSolidCalc3d> GetOverhighVolumeCalc() override { return Kept(overhighVolume_); }
    std::shared_ptr<TVRMOverhighShellCalc3d> GetOverhighFormboardCalc() override { return Kept(overhighFormboard_); }
    std::shared_ptr<TFloatList> GetOverhighValueList() override { return Kept(overhighValues_); }
    void SetOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d> calc) override;
    void SetOverhighValueList(std::shared_ptr<TFloatList> list) override;
    void SetOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc) override;
    TQTKOverhighCalcSet GetOrBuildOverhighCalcs(const TQTKOverhighCalcBuild& build) override
    {
        return GetOrBuildOverhighSetOf(*this, build);
    }
    std::unique_ptr<TVRMPolyhedronShell3d> CreateSideFaceShell() override;
    Ref<IQTKSectionPoly> CalcProjectionOnWall(IRDXRecord* wall) override;
    double GetScaffoldHeight() override;
    void SetScaffoldHeight(double value) override;
    TVRMPolyhedronLines3d* GetCenterLine3d() override;
    std::shared_ptr<TVRMPolyhedron3d> GetSolidCopy() override;
    void AddFinishThickness(int key, int id, double low, double high, std::uint8_t side) override;
    void GetFinishThicknesses(int key, std::uint8_t side, std::vector<TQTKFinishThick>& list) override;
    TRecordList GetRelatedLineEntList() override;
    bool IsIsolated() override;
    double GetCalcBottomElev() override;
    double GetCalcTopElev() override;
    void SetSolidCopy(std::shared_ptr<TVRMPolyhedron3d> solid) override;

    // A virtual wall goes to the related line elements when it meets the
    // column, never to the related list.
    void AddRelated(IRDXRecord* record) override;
    // Forgets the solid copy.
    void ClearQtyItems() override;
    // Frees the calculators, the over-height fields and the centre line.
    void FreeCalcCache() override;
    // 55, 126: a detail of the side faces (perimeter text); 56, 127, 623,
    // 624: the volume calculator is made; 57, 128: the side-face calculator.
    bool AddOriginalQtyDetail(IRDXRecord* qtyRecord) override;
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

protected:
    ~TQTKColumnCalculatorEDO() override;
    // The prism of the outline between the net elevations.
    std::unique_ptr<TVRMPolyhedron3d> BuildOriginalPolyhedron() override;
    // The element's own solid.
    std::unique_ptr<TVRMPolyhedron3d> BuildRelationPolyhedron() override;
    // The outline and point shape of the column.
    const TVRMMultiPolygon2d& Outline() const;
    const IQTKPointShape& PointShape() const;
    // The prism of Plan between the net elevations.
    std::unique_ptr<TVRMPolyhedron3d> NetPrism(const TVRMMultiPolygon2d& plan);

private:
    void EnsureNetElevations();

    std::shared_ptr<TQTKShellCalc3d> sideShellCalc_;
    std::shared_ptr<TQTKSolidCalc3d> volumeCalc_;
    std::shared_ptr<TVRMOverhighSolidCalc3d> overhighVolume_;
    std::shared_ptr<TVRMOverhighShellCalc3d> overhighFormboard_;
    std::shared_ptr<TFloatList> overhighValues_;
    std::mutex projectionLock_;
    RecordRef projectionWall_;
    Ref<IQTKSectionPoly> projection_;
    double scaffoldHeight_ = -1.0;  // not stored yet
    std::shared_ptr<TVRMPolyhedronLines3d> centerLine_;
    std::shared_ptr<TVRMPolyhedron3d> solidCopy_;
    TRecordList relatedLineEnts_;
    std::mutex finishLock_;
    TQTKFinishThickArr finishThicknesses_;
    std::optional<std::pair<double, double>> netRange_;  // top, bottom
    std::mutex extendLock_;
    TQTKCacheSlot extendItem_;
    double extendDistance_ = 0.0;
    bool extendMode_ = false;
    Ref<IInterface> extendSource_;
};
