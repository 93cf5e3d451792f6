// The host's shape objects: line, face, roof-face and point shapes, the
// elevation information of face surfaces and the per-edge information. Built
// once by the model reader (or by tests), then only read.
#pragma once

#include <string>
#include <vector>

#include "Host/ElementModel/QTKShapeIntf.h"

// Edge i and vertex i of an outline, counted over all rings in order; false
// when the index is out of range.
bool GetOutlineEdge(const TVRMMultiPolygon2d& outline, int index, TVRMCustomLine2d& edge);
bool GetOutlineVertex(const TVRMMultiPolygon2d& outline, int index, TVRMPoint2d& vertex);

// Why a ring cannot bound a face (an edge without length, an arc whose
// radius is shorter than half its chord, fewer than three vertices, no
// area); empty when it can.
std::string FaceRingFault(const TVRMPolygon2d& ring);

// ---------------------------------------------------------------------------
// Edge information.

class TQTKSlopeFactorEdgeInfo final : public TInterfacedObject, public ISlopeFactorEdgeInfo {
public:
    TQTKSlopeFactorEdgeInfo(double slopeFactor, double workingFaceWidth)
        : slopeFactor_(slopeFactor), workingFaceWidth_(workingFaceWidth)
    {
    }
    double GetSlopeFactor() const override { return slopeFactor_; }
    double GetWorkingFaceWidth() const override { return workingFaceWidth_; }

private:
    double slopeFactor_, workingFaceWidth_;
};

class TQTKWaterProofEdgeInfo final : public TInterfacedObject, public IWaterProofEdgeInfo {
public:
    explicit TQTKWaterProofEdgeInfo(double value) : value_(value) {}
    double GetValue() const override { return value_; }

private:
    double value_;
};

class TQTKRolledEdgeInfo final : public TInterfacedObject, public IRolledEdgeInfo {
public:
    explicit TQTKRolledEdgeInfo(double height) : height_(height) {}
    double GetHeight() const override { return height_; }

private:
    double height_;
};

class TQTKRidgeEdgeInfo final : public TInterfacedObject, public IRidgeEdgeInfo {
public:
    explicit TQTKRidgeEdgeInfo(bool ridge) : ridge_(ridge) {}
    bool IsRidge() const override { return ridge_; }

private:
    bool ridge_;
};

class TQTKFlightEdgeInfo final : public TInterfacedObject, public IFlightEdgeInfo {
public:
    explicit TQTKFlightEdgeInfo(int flag) : flag_(flag) {}
    int GetFlag() const override { return flag_; }

private:
    int flag_;
};

class TQTKFootStepEdgeInfo final : public TInterfacedObject, public IFootStepEdgeInfo {
public:
    explicit TQTKFootStepEdgeInfo(double value) : value_(value) {}
    double GetValue() const override { return value_; }

private:
    double value_;
};

class TQTKRaftEdgeInfo final : public TInterfacedObject, public IRaftEdgeInfo {
public:
    TQTKRaftEdgeInfo(int kind, std::vector<double> values) : kind_(kind), values_(std::move(values)) {}
    int GetKind() const override { return kind_; }
    const std::vector<double>& GetValues() const override { return values_; }

private:
    int kind_;
    std::vector<double> values_;
};

// ---------------------------------------------------------------------------
// Elevation information.

// A planar surface z = a*x + b*y + c.
class TQTKPlanarElevInfo : public TInterfacedObject, public virtual IQTKFaceElevInfo {
public:
    TQTKPlanarElevInfo(double a, double b, double c) : a_(a), b_(b), c_(c) {}
    double GetElevAt(const TVRMPoint2d& p) const override { return a_ * p.x + b_ * p.y + c_; }
    double GetSlopeFactor() const override;
    double GetThicknessFactor() const override { return GetSlopeFactor(); }
    bool IsLevel() const override { return a_ == 0.0 && b_ == 0.0; }
    bool GetElevFlag() const override { return false; }
    TVRMVector3d GetNormal() const override;

private:
    double a_, b_, c_;
};

class TQTKLevelElevInfo final : public TQTKPlanarElevInfo, public IQTKFlatShapeInfo {
public:
    explicit TQTKLevelElevInfo(double elev) : TQTKPlanarElevInfo(0.0, 0.0, elev) {}
};

// The planar surfaces defined by slope data. Each returns nil and sets the
// reason when the data do not define a plane (an index out of range, three
// points in a line, a vertical plane).
class TQTKSlopeRatioElevInfo final : public TQTKPlanarElevInfo, public IQTKSlopeRatioInfo {
public:
    static Ref<TQTKSlopeRatioElevInfo> Create(const TVRMMultiPolygon2d& outline, int edgeIndex, double edgeElev,
                                              double ratio, std::string& reason);
    int GetEdgeIndex() const override { return edgeIndex_; }
    double GetEdgeElev() const override { return edgeElev_; }
    double GetRatio() const override { return ratio_; }

private:
    TQTKSlopeRatioElevInfo(double a, double b, double c, int edgeIndex, double edgeElev, double ratio)
        : TQTKPlanarElevInfo(a, b, c), edgeIndex_(edgeIndex), edgeElev_(edgeElev), ratio_(ratio)
    {
    }
    int edgeIndex_;
    double edgeElev_, ratio_;
};

class TQTKSlopeByPointsElevInfo final : public TQTKPlanarElevInfo, public IQTKSlopeByPointsInfo {
public:
    static Ref<TQTKSlopeByPointsElevInfo> Create(const TVRMMultiPolygon2d& outline,
                                                 const std::array<TQTKSlopePoint, 3>& points, std::string& reason);
    TQTKSlopePoint GetPoint(int index) const override;

private:
    TQTKSlopeByPointsElevInfo(double a, double b, double c, const std::array<TQTKSlopePoint, 3>& points)
        : TQTKPlanarElevInfo(a, b, c), points_(points)
    {
    }
    std::array<TQTKSlopePoint, 3> points_;
};

class TQTKSlopeByEdgeElevInfo final : public TQTKPlanarElevInfo, public IQTKSlopeByEdgeInfo {
public:
    static Ref<TQTKSlopeByEdgeElevInfo> Create(const TVRMMultiPolygon2d& outline, int edgeIndex, double edgeElev,
                                               const TQTKSlopePoint& point, std::string& reason);
    TQTKSlopePoint GetPoint() const override { return point_; }
    int GetEdgeIndex() const override { return edgeIndex_; }
    double GetEdgeElev() const override { return edgeElev_; }

private:
    TQTKSlopeByEdgeElevInfo(double a, double b, double c, int edgeIndex, double edgeElev, const TQTKSlopePoint& point)
        : TQTKPlanarElevInfo(a, b, c), point_(point), edgeIndex_(edgeIndex), edgeElev_(edgeElev)
    {
    }
    TQTKSlopePoint point_;
    int edgeIndex_;
    double edgeElev_;
};

// The values every curved surface holds.
struct TQTKCurvedSurfaceData {
    double firstValue = 0.0;
    double secondValue = 0.0;
    bool isRadius = false;
    double baseElev = 0.0;
};

class TQTKCurvedElevInfo : public TInterfacedObject, public virtual IQTKCurvedFaceElevInfo {
public:
    double GetSlopeFactor() const override { return 1.0; }
    double GetThicknessFactor() const override { return 1.0; }
    bool IsLevel() const override { return false; }
    bool GetElevFlag() const override { return false; }
    TVRMVector3d GetNormal() const override { return {0, 0, 1}; }
    double GetFirstValue() const override { return data_.firstValue; }
    double GetSecondValue() const override { return data_.secondValue; }
    bool IsRadius() const override { return data_.isRadius; }
    double GetBaseElev() const override { return data_.baseElev; }
    double GetRadius() const override;
    double GetAxisElev() const override;

protected:
    explicit TQTKCurvedElevInfo(const TQTKCurvedSurfaceData& data) : data_(data) {}
    // Elevation of a sphere or cylinder at a plan distance from its axis.
    double RoundElevAt(double distance) const;
    TQTKCurvedSurfaceData data_;
};

class TQTKFaceElevKind4Info final : public TQTKCurvedElevInfo, public IQTKFaceElevKind4Info {
public:
    TQTKFaceElevKind4Info(const TQTKCurvedSurfaceData& data, const TVRMCustomLine2d& axis)
        : TQTKCurvedElevInfo(data), axis_(axis)
    {
    }
    double GetElevAt(const TVRMPoint2d& p) const override;
    const TVRMCustomLine2d& GetAxisLine() const override { return axis_; }

private:
    TVRMCustomLine2d axis_;
};

class TQTKFaceElevKind5Info final : public TQTKCurvedElevInfo, public IQTKFaceElevKind5Info {
public:
    TQTKFaceElevKind5Info(const TQTKCurvedSurfaceData& data, const TVRMPoint2d& center)
        : TQTKCurvedElevInfo(data), center_(center)
    {
    }
    double GetElevAt(const TVRMPoint2d& p) const override;
    TVRMPoint2d GetCenter() const override { return center_; }

private:
    TVRMPoint2d center_;
};

// Cone: first value the plan radius, second the rise above the base.
class TQTKFaceElevKind6Info final : public TQTKCurvedElevInfo, public IQTKFaceElevKind6Info {
public:
    TQTKFaceElevKind6Info(const TQTKCurvedSurfaceData& data, const TVRMPoint2d& center)
        : TQTKCurvedElevInfo(data), center_(center)
    {
    }
    double GetElevAt(const TVRMPoint2d& p) const override;
    TVRMPoint2d GetCenter() const override { return center_; }
    double GetRadius() const override { return data_.firstValue; }
    double GetAxisElev() const override { return data_.baseElev + data_.secondValue; }

private:
    TVRMPoint2d center_;
};

// ---------------------------------------------------------------------------
// Shapes.

using TQTKEdgeInfoList = std::vector<Ref<IQTKEdgeInfo>>;

struct TQTKLineShapeData {
    TVRMCustomLine2d line;
    double width = 0.0;
    double axisOffset = 0.0;  // axis to the left face
    double startBottom = 0.0, startTop = 0.0, endBottom = 0.0, endTop = 0.0;
    // Explicit cross-section (section frame); empty for the width x height box.
    TVRMMultiPolygon2d section;
    TQTKLineSectionInfo sectionInfo;
};

class TQTKLineShape final : public TInterfacedObject, public IQTKLineShape {
public:
    explicit TQTKLineShape(TQTKLineShapeData data);

    const TVRMMultiPolygon2d& GetOutline() const override { return outline_; }
    const TVRMMultiPolygon2d& GetPolygon() const override { return section_; }
    const TVRMCustomLine2d& GetLine() const override { return data_.line; }
    double GetLeftWidth() const override { return data_.width; }
    double GetRightWidth() const override { return data_.axisOffset; }
    double GetWidth() const override { return data_.width; }
    double GetAxisOffset() const override { return data_.axisOffset; }
    double GetStartPtTopElev() const override { return data_.startTop; }
    double GetEndPtTopElev() const override { return data_.endTop; }
    double GetStartPtBottomElev() const override { return data_.startBottom; }
    double GetEndPtBottomElev() const override { return data_.endBottom; }
    double GetTopElevAt(const TVRMPoint2d& p) const override;
    double GetBottomElevAt(const TVRMPoint2d& p) const override;
    bool HasSectionPolygon() const override { return !data_.section.IsEmpty(); }
    const TQTKLineSectionInfo& GetSectionInfo() const override { return data_.sectionInfo; }

    const TQTKLineShapeData& Data() const noexcept { return data_; }

private:
    // Position of a point's foot along the axis as a fraction 0..1.
    double FractionAt(const TVRMPoint2d& p) const;

    TQTKLineShapeData data_;
    TVRMMultiPolygon2d outline_;
    TVRMMultiPolygon2d section_;
};

struct TQTKFaceShapeData {
    TVRMMultiPolygon2d outline;
    int elevKind = CQTKFaceElevLevel;
    Ref<IQTKFaceElevInfo> elevInfo;  // nil: level at `levelElev`
    double levelElev = 0.0;
    double thickness = 0.0;
    double depth = -1.0;             // elevation value; -1: thickness x thickness factor
    int flag = -1;                   // -1: 1 when level, else 0
    TQTKEdgeInfoList edgeInfos;      // by edge over all rings; may be shorter
    TVRMMultiPolygon2d roofPolygon;  // roof faces only
};

class TQTKFaceShape : public TInterfacedObject, public virtual IQTKFaceShape {
public:
    explicit TQTKFaceShape(TQTKFaceShapeData data);

    const TVRMMultiPolygon2d& GetOutline() const override { return data_.outline; }
    const TVRMMultiPolygon2d& GetPolygon() const override { return data_.outline; }
    double GetElev() const override { return data_.depth; }
    int GetElevKind() const override { return data_.elevKind; }
    IQTKFaceElevInfo* GetFaceElevInfo() const override { return data_.elevInfo.get(); }
    bool IsLevel() const override { return data_.elevInfo->IsLevel(); }
    double GetThickness() const override { return data_.thickness; }
    int GetFlag() const override { return data_.flag; }
    int GetEdgeCount() const override { return data_.outline.GetEdgeCount(); }
    IQTKEdgeInfo* GetEdgeInfo(int index) const override;
    std::vector<TVRMPoint2d> GetVertexList() const override;

    const TQTKFaceShapeData& Data() const noexcept { return data_; }

protected:
    TQTKFaceShapeData data_;
};

class TQTKRoofFaceShape final : public TQTKFaceShape, public IQTKRoofFaceShape {
public:
    explicit TQTKRoofFaceShape(TQTKFaceShapeData data) : TQTKFaceShape(std::move(data)) {}
    const TVRMMultiPolygon2d& GetRoofPolygon() const override;
};

struct TQTKPointShapeData {
    TVRMPoint2d insertPt;
    TVRMPoint2d basePt;        // outline point placed on the insertion point
    TVRMMultiPolygon2d local;  // outline in its own frame
    double rotation = 0.0;     // radians, counter-clockwise
    bool mirrored = false;
    double bottom = 0.0, top = 0.0;
    TQTKEdgeInfoList edgeInfos;
    // Openings in a wall: the local outline lies in the wall's vertical plane
    // (x along the wall's axis direction at the insertion point, y up from
    // the bottom); the host wall gives the plan outline's depth.
    bool inWall = false;
    TVRMVector2d wallDirection{1, 0};
    double wallWidth = 0.0;
    double wallAxisOffset = 0.0;
};

class TQTKPointShape final : public TInterfacedObject, public IQTKPointShape {
public:
    explicit TQTKPointShape(TQTKPointShapeData data);

    const TVRMMultiPolygon2d& GetOutline() const override { return outline_; }
    const TVRMMultiPolygon2d& GetPolygon() const override { return data_.inWall ? data_.local : outline_; }
    TVRMPoint2d GetInsertPt() const override { return data_.insertPt; }
    TVRMPoint3d GetPoint() const override { return {data_.insertPt.x, data_.insertPt.y, data_.bottom}; }
    TVRMPoint2d GetBasePoint() const override { return data_.basePt; }
    double GetTopElev() const override { return data_.top; }
    double GetBottomElev() const override { return data_.bottom; }
    double GetRotateAngle() const override { return data_.rotation; }
    bool IsMirrored() const override { return data_.mirrored; }
    int GetEdgeCount() const override { return outline_.GetEdgeCount(); }
    IQTKEdgeInfo* GetEdgeInfo(int index) const override;

    const TQTKPointShapeData& Data() const noexcept { return data_; }
    // Plan position of a point of the local outline.
    TVRMPoint2d ToPlan(const TVRMPoint2d& local) const;

private:
    TQTKPointShapeData data_;
    TVRMMultiPolygon2d outline_;
};
