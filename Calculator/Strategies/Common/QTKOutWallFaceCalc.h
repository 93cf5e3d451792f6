// The faces of the columns and beams of an outer wall that stand out of the
// wall's insulating layer, one item per element: the face sizes, the areas
// that other elements take off them and, for beams, the end, top and bottom
// areas taken off as well. Filled by the insulating-layer element object;
// read by the layer's expression builders. Sizes mm, areas mm².
#pragma once

#include <vector>

struct TQTKOutWallFaceDim {
    double length = 0.0;
    double height = 0.0;
};

struct TQTKOutWallFaceDeduct {
    double elementType = 0.0;  // element type id of the deducting element
    double area = 0.0;
};

class TQTKOutWallFaceCalcItem {
public:
    const std::vector<TQTKOutWallFaceDim>& GetFaceDims() const noexcept { return faceDims_; }
    const std::vector<TQTKOutWallFaceDeduct>& GetDeductAreas() const noexcept { return deductAreas_; }
    // End faces, top, bottom; empty when the item has none.
    const std::vector<double>& GetExtraDeductAreas() const noexcept { return extraDeductAreas_; }
    // Every face of the item has the same height.
    bool GetSameHeight() const noexcept { return sameHeight_; }

    void AddFaceDim(double length, double height) { faceDims_.push_back({length, height}); }
    void AddDeductArea(double elementType, double area) { deductAreas_.push_back({elementType, area}); }
    void SetExtraDeductAreas(double endArea, double topArea, double bottomArea)
    {
        extraDeductAreas_ = {endArea, topArea, bottomArea};
    }
    void SetSameHeight(bool value) noexcept { sameHeight_ = value; }

private:
    std::vector<TQTKOutWallFaceDim> faceDims_;
    std::vector<TQTKOutWallFaceDeduct> deductAreas_;
    std::vector<double> extraDeductAreas_;
    bool sameHeight_ = false;
};

class TQTKOutWallFaceCalc {
public:
    int GetCount() const noexcept { return static_cast<int>(items_.size()); }
    const TQTKOutWallFaceCalcItem& GetItem(int index) const { return items_.at(static_cast<size_t>(index)); }
    TQTKOutWallFaceCalcItem& AddItem() { return items_.emplace_back(); }

private:
    std::vector<TQTKOutWallFaceCalcItem> items_;
};
