// Shapes of the host's elements as the rule library reads them: line shapes
// (walls, beams, strips, ditches), face shapes (slabs, rooms, finishes, rafts,
// roofs), point shapes (columns, isolated foundations, openings), their
// per-edge information and the elevation information of a face's surface.
//
// Plain interfaces over the plan and space value types; no geometry engine is
// visible here. Lengths and elevations are mm.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "Host/Runtime/Interface.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"

// ---------------------------------------------------------------------------
// Per-edge information. Edge i of a face or point shape runs from vertex i of
// its outline (over all rings in order). An edge may carry no information
// (nil); a caller asks for the kind it needs by casting.

class IQTKEdgeInfo : public virtual IInterface {};

// Earthwork slope of an edge: slope factor (horizontal run per unit of
// depth) and the working-face width at its foot.
class ISlopeFactorEdgeInfo : public virtual IQTKEdgeInfo {
public:
    virtual double GetSlopeFactor() const = 0;
    virtual double GetWorkingFaceWidth() const = 0;
};

// Waterproofing turned up the wall at the edge of a floor: the up-turn height.
class IWaterProofEdgeInfo : public virtual IQTKEdgeInfo {
public:
    virtual double GetValue() const = 0;
};

// Rolled edge of a roof: its height.
class IRolledEdgeInfo : public virtual IQTKEdgeInfo {
public:
    virtual double GetHeight() const = 0;
};

// Ridge of a roof: whether the edge is a ridge.
class IRidgeEdgeInfo : public virtual IQTKEdgeInfo {
public:
    virtual bool IsRidge() const = 0;
};

// Edge of a stair flight: its flag (which side of the flight it is).
class IFlightEdgeInfo : public virtual IQTKEdgeInfo {
public:
    virtual int GetFlag() const = 0;
};

// Edge of a foot step: its value (the step's width at that edge).
class IFootStepEdgeInfo : public virtual IQTKEdgeInfo {
public:
    virtual double GetValue() const = 0;
};

// Edge of a raft foundation: kind 0 to 3 and the values that kind needs.
class IRaftEdgeInfo : public virtual IQTKEdgeInfo {
public:
    virtual int GetKind() const = 0;
    virtual const std::vector<double>& GetValues() const = 0;
};

// ---------------------------------------------------------------------------
// Elevation information of a face's surface.

// Elevation kinds of a face shape.
enum : int {
    CQTKFaceElevLevel = 0,     // level surface
    CQTKFaceElevByRatio = 1,   // sloped by a ratio rising away from an edge
    CQTKFaceElevByPoints = 2,  // sloped through three outline vertices
    CQTKFaceElevByEdge = 3,    // sloped through an edge and a vertex
    CQTKFaceElevCylinder = 4,  // arched: part of a cylinder over a plan axis line
    CQTKFaceElevSphere = 5,    // domed: part of a sphere
    CQTKFaceElevCone = 6,      // conical
};

class IQTKFaceElevInfo : public virtual IInterface {
public:
    // Elevation of the surface at a plan point (absolute, mm).
    virtual double GetElevAt(const TVRMPoint2d& p) const = 0;
    // Surface area over plan area: exactly 1 for a level face.
    virtual double GetSlopeFactor() const = 0;
    // Vertical thickness of the element over its "Thickness" (measured square
    // to the surface): exactly 1 for a level face.
    virtual double GetThicknessFactor() const = 0;
    virtual bool IsLevel() const = 0;
    // Relative flag: set when the elevations are relative to the parent
    // face's elevation value. Always clear here: face elevations are absolute.
    virtual bool GetElevFlag() const = 0;
    // Unit normal of a planar surface, pointing up; (0,0,1) for a curved one.
    virtual TVRMVector3d GetNormal() const = 0;
};

// A plan vertex of an outline with the elevation the surface has there.
struct TQTKSlopePoint {
    int vertexIndex = 0;
    double elev = 0.0;
};

// Identity of a level surface: slope routines leave areas unchanged.
class IQTKFlatShapeInfo : public virtual IQTKFaceElevInfo {};

// Sloped by a ratio: rising by `ratio` per unit of distance square to the
// reference edge, inward of the outline, from the edge's elevation.
class IQTKSlopeRatioInfo : public virtual IQTKFaceElevInfo {
public:
    virtual int GetEdgeIndex() const = 0;
    virtual double GetEdgeElev() const = 0;
    virtual double GetRatio() const = 0;
};

// Sloped through three outline vertices with their elevations.
class IQTKSlopeByPointsInfo : public virtual IQTKFaceElevInfo {
public:
    virtual TQTKSlopePoint GetPoint(int index) const = 0;  // index 0..2
};

// Sloped through an outline edge (at one elevation) and a vertex.
class IQTKSlopeByEdgeInfo : public virtual IQTKFaceElevInfo {
public:
    virtual TQTKSlopePoint GetPoint() const = 0;
    virtual int GetEdgeIndex() const = 0;
    virtual double GetEdgeElev() const = 0;
};

// Curved surfaces (kinds 4, 5, 6). Two values whose meaning the selector
// decides: with IsRadius the first is the radius; otherwise the first is the
// chord (span) and the second the rise. A cone uses the first as its plan
// radius and the second as its rise. The base elevation is the surface's
// lowest level, at the span's ends.
class IQTKCurvedFaceElevInfo : public virtual IQTKFaceElevInfo {
public:
    virtual double GetFirstValue() const = 0;
    virtual double GetSecondValue() const = 0;
    virtual bool IsRadius() const = 0;
    virtual double GetBaseElev() const = 0;
    // Radius and elevation of the axis (cylinder) or centre (sphere) derived
    // from the two values: R = ((C/2)^2 + H^2) / (2H), axis at base + H - R.
    virtual double GetRadius() const = 0;
    virtual double GetAxisElev() const = 0;
};

// Arched: a cylinder whose axis runs along a plan line.
class IQTKFaceElevKind4Info : public virtual IQTKCurvedFaceElevInfo {
public:
    virtual const TVRMCustomLine2d& GetAxisLine() const = 0;
};

// Domed: a sphere centred over a plan point.
class IQTKFaceElevKind5Info : public virtual IQTKCurvedFaceElevInfo {
public:
    virtual TVRMPoint2d GetCenter() const = 0;
};

// Conical: apex over a plan point.
class IQTKFaceElevKind6Info : public virtual IQTKCurvedFaceElevInfo {
public:
    virtual TVRMPoint2d GetCenter() const = 0;
};

// ---------------------------------------------------------------------------
// Shapes.

class IQTKShape : public virtual IInterface {
public:
    // Plan outline: outer rings counter-clockwise, holes clockwise, arc edges
    // kept as arc vertices.
    virtual const TVRMMultiPolygon2d& GetOutline() const = 0;
    // Face shape: its plan polygon. Line shape: its cross-section in the
    // section frame (x across, positive to the right of the axis direction,
    // origin on the axis; y up, 0 at the bottom). Point shape: its outline,
    // or for an opening its outline in its own (wall) plane.
    virtual const TVRMMultiPolygon2d& GetPolygon() const = 0;
};

// Arch information of a line element's section: the arch height, the indices
// of the two section vertices where the arch starts and ends (-1: no arch),
// two arch records of five integers and the haunch value.
struct TQTKLineSectionInfo {
    double archHeight = 0.0;
    int startIndex = -1;
    int endIndex = -1;
    std::array<int, 5> firstArch{};
    std::array<int, 5> secondArch{};
    double haunch = 0.0;
};

class IQTKLineShape : public virtual IQTKShape {
public:
    // Axis line, a straight segment or an arc.
    virtual const TVRMCustomLine2d& GetLine() const = 0;
    // Historical names that every caller relies on: the left width is the
    // element's total width W; the right width is the distance from the axis
    // line to the left face (the axis offset).
    virtual double GetLeftWidth() const = 0;
    virtual double GetRightWidth() const = 0;
    virtual double GetWidth() const = 0;
    virtual double GetAxisOffset() const = 0;
    virtual double GetStartPtTopElev() const = 0;
    virtual double GetEndPtTopElev() const = 0;
    virtual double GetStartPtBottomElev() const = 0;
    virtual double GetEndPtBottomElev() const = 0;
    // Elevations at a plan point, interpolated linearly along the axis; a
    // point off the axis takes its foot on the axis (clamped to the ends).
    virtual double GetTopElevAt(const TVRMPoint2d& p) const = 0;
    virtual double GetBottomElevAt(const TVRMPoint2d& p) const = 0;
    // Whether the section was given explicitly (not the width x height box).
    virtual bool HasSectionPolygon() const = 0;
    virtual const TQTKLineSectionInfo& GetSectionInfo() const = 0;
};

class IQTKFaceShape : public virtual IQTKShape {
public:
    // The face's elevation value: its vertical depth below the surface (a
    // slab's vertical thickness, an excavation's depth), so that its bottom
    // at p is GetFaceElevInfo()->GetElevAt(p) - GetElev(); 0 for a finish.
    virtual double GetElev() const = 0;
    virtual int GetElevKind() const = 0;
    virtual IQTKFaceElevInfo* GetFaceElevInfo() const = 0;
    virtual bool IsLevel() const = 0;
    // The element's thickness square to the surface ("Thickness"; 0 when none).
    virtual double GetThickness() const = 0;
    // Shape flag: 1 for a level face, 0 for a sloped or curved one, unless the
    // model gives another value.
    virtual int GetFlag() const = 0;
    virtual int GetEdgeCount() const = 0;
    // Information of edge i over all rings; nil when the edge has none.
    virtual IQTKEdgeInfo* GetEdgeInfo(int index) const = 0;
    // Plan vertices of all rings in order.
    virtual std::vector<TVRMPoint2d> GetVertexList() const = 0;
};

class IQTKRoofFaceShape : public virtual IQTKFaceShape {
public:
    // Plan polygon of the whole roof the face belongs to.
    virtual const TVRMMultiPolygon2d& GetRoofPolygon() const = 0;
};

class IQTKPointShape : public virtual IQTKShape {
public:
    // Insertion point (plan) and with the bottom elevation as z.
    virtual TVRMPoint2d GetInsertPt() const = 0;
    virtual TVRMPoint3d GetPoint() const = 0;
    // Point of the outline's own frame that sits on the insertion point.
    virtual TVRMPoint2d GetBasePoint() const = 0;
    virtual double GetTopElev() const = 0;
    virtual double GetBottomElev() const = 0;
    // Counter-clockwise turn of the outline (radians) and mirror about its
    // own y axis (applied before the turn).
    virtual double GetRotateAngle() const = 0;
    virtual bool IsMirrored() const = 0;
    virtual int GetEdgeCount() const = 0;
    virtual IQTKEdgeInfo* GetEdgeInfo(int index) const = 0;
};

class TVRMPlane3d;

// Whether a polygon set can be the outline of a face shape: not empty, its
// first ring an outer ring, every ring closed with an area (arcs drawable).
// The flag is kept for the callers' signature.
bool ValidFaceShapePoly(const TVRMMultiPolygon2d& polygon, int flag = 0);

// Plane of a face shape, new and owned by the caller. Selector true: the top
// surface, normal up. False: the bottom plane, the top moved down vertically
// by thickness x thickness factor, normal down. Curved kinds: the horizontal
// plane at the base elevation. Nil for a nil shape.
std::unique_ptr<TVRMPlane3d> GetFaceShapePlane(const IQTKFaceShape* shape, bool top);

class TVRMPolyhedron3d;

// The curved solid of a face element over Plan (its outline, or a plan the
// caller made from it): an arched face (elevation kind 4), a domed one (5) or
// a conical one (6) gives the slab of the face's "Thickness" under its
// cylinder, sphere or cone (see TVRMPolyhedron3d::CreateCylinderSlab,
// CreateDomeSlab and CreateConeSlab; empty when that cannot be built). Nil
// for every other kind and for a surface without a rise, which is level.
std::unique_ptr<TVRMPolyhedron3d> BuildCurvedFaceSolid(const IQTKFaceShape& shape, const TVRMMultiPolygon2d& plan);
