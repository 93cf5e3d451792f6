// Solids as ordered lists of planar faces.
//
// A face is a plane with a unit outward normal, loops (outer loops
// counter-clockwise seen from outside, holes clockwise; loop 0 is an outer
// loop, and a face over a polygon set may hold several) and an origin tag.
// Callers index faces by position: every constructor documents its face
// order, Clone keeps it, and the construction data (GetData) travels with the
// solid. Volumes and areas are computed on the faces, not on a mesh.
//
// Arc edges: a curved face is a run of planar facets, one per step of at most
// CVRMArcFacetAngle. Each facet keeps its circle (axis, radius, angular range)
// so that its area is the analytic cylinder area (planar area times arc over
// chord) and the solid's volume adds, per facet, the circular segment between
// chord and arc times the facet's mean height; a plan face bounded by faceted
// arcs keeps the segments' area (GetArcArea). A facet of another curved
// surface (a cone, an annulus or a helicoid that a section edge sweeps along
// an arc) keeps the surface's area and the volume between itself and the
// surface (GetArcArea, GetArcVolume). Volumes and areas of prisms, level bands
// and sweeps over arcs are thus exact. A top that slopes along an arc in a
// band is itself faceted (planar pieces under the curved surface), and plane
// cuts and booleans keep a facet's measure only on pieces that span its whole
// width (its circle) or come through whole (area and volume).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "Host/VRM/Geometry3d/VRMGeometry3d.h"

class TVRMCustomLine2d;
class TVRMMultiPolygon2d;
class TVRMPolygon2d;
struct TVRMPoint2d;

using TVRMLoop3d = std::vector<TVRMPoint3d>;

// Largest angle of one facet of an arc edge (radians).
inline constexpr double CVRMArcFacetAngle = CVRMPi / 36;

// The circle of a facet standing for part of a curved face.
struct TVRMFaceArc {
    TVRMPoint3d centre;  // a point of the cylinder axis
    TVRMVector3d axis{0, 0, 1};
    double radius = 0;
    double sweep = 0;  // angular range of this facet, > 0
    double chord = 0;  // straight width of the facet
};

class TVRMFace3d;
class TVRMPolyhedron3d;

namespace vrm3d {
// What the 3D booleans know of a solid's faces (internal to the 3D geometry units).
struct TSolidCache;
const std::shared_ptr<const TSolidCache>& CacheOf(const TVRMPolyhedron3d& solid);
void SetCache(TVRMPolyhedron3d& solid, std::shared_ptr<const TSolidCache> cache);
// A solid's faces for writing (its cache dropped), and a face's loops with their storage (the
// face keeps none): a boolean hands the storage of faces it discards to faces it builds.
std::vector<TVRMFace3d>& FacesOf(TVRMPolyhedron3d& solid);
std::vector<TVRMLoop3d> TakeLoops(TVRMFace3d& face);
// Faces a solid replaced or destroyed gives up: their storage, as much as the booleans keep.
void GiveUpFaces(std::vector<TVRMFace3d>& faces) noexcept;
}  // namespace vrm3d

class TVRMFace3d {
public:
    TVRMFace3d() = default;
    TVRMFace3d(const TVRMPlane3d& plane, std::vector<TVRMLoop3d> loops, int tag = -1);
    // A face on its outer loop; the plane is fitted to the loop (Newell normal).
    static TVRMFace3d FromLoop(TVRMLoop3d outer, int tag = -1);

    const TVRMPlane3d& GetPlane() const { return plane_; }
    const TVRMVector3d& GetNormal() const { return plane_.GetNormal(); }
    int GetLoopCount() const { return static_cast<int>(loops_.size()); }
    const TVRMLoop3d& GetLoop(int i) const;
    const std::vector<TVRMLoop3d>& GetLoops() const { return loops_; }
    void AddInnerLoop(TVRMLoop3d loop) { loops_.push_back(std::move(loop)); }
    int GetVertexCount() const;
    int GetTag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }
    const std::optional<TVRMFaceArc>& GetArc() const { return arc_; }
    void SetArc(const std::optional<TVRMFaceArc>& arc) { arc_ = arc; }
    // Area between the chords of faceted arc edges of the face's loops and the
    // arcs themselves (positive where the arcs bulge out), added to the area.
    double GetArcArea() const { return arcArea_; }
    void SetArcArea(double area) { arcArea_ = area; }
    // Volume between a facet without a circle and the curved surface it
    // stands for, positive where the surface lies outside the facet; the
    // solid's volume adds it (a swept section edge that is not upright).
    double GetArcVolume() const { return arcVolume_; }
    void SetArcVolume(double volume) { arcVolume_ = volume; }

    // Area (analytic for a curved facet), 3D perimeter of all loops, box.
    double GetArea() const;
    double GetPlanarArea() const;
    double GetLength() const;
    TVRMBox3d GetBox() const;
    // Newell area vector of all loops (holes subtract).
    TVRMVector3d GetAreaVector() const;
    // A point strictly inside the face (false for a degenerate face).
    bool GetOnePointInLoop(TVRMPoint3d& point) const;
    // -1 not on the face, 0 inside it, 1 on its boundary (tol in mm).
    int VertexPosition(const TVRMPoint3d& p, double tol = CVRMEpsilon) const;
    // One loop of four vertices with right angles (tol on the cosines).
    bool IsRectangle(double tol = CVRMEpsilon) const;
    void Negate();
    void Move(const TVRMVector3d& v);

private:
    TVRMPlane3d plane_;
    std::vector<TVRMLoop3d> loops_;
    int tag_ = -1;
    std::optional<TVRMFaceArc> arc_;
    double arcArea_ = 0;
    double arcVolume_ = 0;

    friend std::vector<TVRMLoop3d> vrm3d::TakeLoops(TVRMFace3d& face);
};

class TVRMPolyhedron3d {
public:
    TVRMPolyhedron3d() = default;  // the empty solid
    explicit TVRMPolyhedron3d(std::vector<TVRMFace3d> faces) : faces_(std::move(faces)) {}
    TVRMPolyhedron3d(const TVRMPolyhedron3d&) = default;
    TVRMPolyhedron3d(TVRMPolyhedron3d&&) noexcept = default;
    TVRMPolyhedron3d& operator=(const TVRMPolyhedron3d&) = default;
    // The faces replaced or destroyed leave their storage to the faces the booleans build
    // next (a few, per thread).
    TVRMPolyhedron3d& operator=(TVRMPolyhedron3d&& other) noexcept
    {
        if (this != &other) {
            if (!faces_.empty())
                vrm3d::GiveUpFaces(faces_);
            faces_ = std::move(other.faces_);
            data_ = std::move(other.data_);
            cache_ = std::move(other.cache_);
        }
        return *this;
    }
    ~TVRMPolyhedron3d()
    {
        if (!faces_.empty())
            vrm3d::GiveUpFaces(faces_);
    }

    // Box solid: faces -y, +x, +y, -x (sides in plan order), then top, bottom.
    static std::unique_ptr<TVRMPolyhedron3d> CreateBox(const TVRMBox3d& box);
    // Extrusion of plane rings (outer counter-clockwise about `ringNormal`,
    // holes clockwise) by the vector `v`: one side face per ring edge (outer
    // ring, then holes, in vertex order), then the two caps. capsBaseFirst:
    // base cap n-2 and offset cap n-1; otherwise offset cap n-2, base cap n-1.
    // Empty when the rings are degenerate or v lies in their plane.
    static std::unique_ptr<TVRMPolyhedron3d> CreateExtrusion(const std::vector<TVRMLoop3d>& rings,
                                                             const TVRMVector3d& ringNormal, const TVRMVector3d& v,
                                                             bool capsBaseFirst);
    // Ruled solid between a bottom ring and a top ring of the same vertex
    // count (plan counter-clockwise, top above bottom): one side face per edge
    // in ring order (split into two triangles when not planar), then top n-2,
    // bottom n-1 (a cap that is not plane is split into a fan of triangles).
    static std::unique_ptr<TVRMPolyhedron3d> CreateLoft(const TVRMLoop3d& bottom, const TVRMLoop3d& top);

    // Prism over a polygon set from `bottom` up by `height`: one side face per
    // ring edge (items in order, each ring in vertex order; an arc edge gives a
    // run of facets), then top n-2 and bottom n-1 (each holding every ring).
    static std::unique_ptr<TVRMPolyhedron3d> CreatePrism(const TVRMMultiPolygon2d& plan, double bottom, double height);
    // Prism with leaning sides: the first ring of `plan` (counter-clockwise)
    // stands at `bottom` and each edge leans outward by its horizontal width
    // over the height (negative: inward). Sides, then top n-2, bottom n-1.
    // `failed` is set, and the solid is empty, when the top ring (the ring
    // moved edge by edge) does not keep one edge per edge of the ring, in
    // order and the same way round, or crosses itself (widths too large for
    // the ring, a zero-length edge, edges in line with different widths).
    static std::unique_ptr<TVRMPolyhedron3d> CreateSlopedPrism(const TVRMMultiPolygon2d& plan, double bottom,
                                                               double height, const std::vector<double>& widths,
                                                               bool& failed);
    // The ring on which a sloped prism stands, and its widths (one per edge):
    // `ring` cleaned so that moving it edge by edge by the widths gives a
    // valid top ring. Zero-length edges go (with their widths), and straight
    // edges running on in line with the same width become one edge (with that
    // width). Codes: 0 the ring serves as given, 1 the ring was cleaned, 2 the
    // widened ring collapses, crosses itself or loses the edge structure (as
    // CreateSlopedPrism decides), 3 unusable input (not one width per edge, a
    // clockwise ring or one without area). Below 2 is success; on
    // failure `bottom` and `bottomWidths` are the ring and widths as given.
    static int GetOffsetBottomPoly(const TVRMPolygon2d& ring, const std::vector<double>& widths, TVRMPolygon2d& bottom,
                                   std::vector<double>& bottomWidths);
    // A polygon set lifted vertically onto a plane and extruded by `thickness`
    // against the plane normal: sides, the cap on the plane n-2, the offset cap
    // n-1. Empty for a vertical plane.
    static std::unique_ptr<TVRMPolyhedron3d> CreateOnPlane(const TVRMMultiPolygon2d& plan, const TVRMPlane3d& plane,
                                                           double thickness);
    // A face extruded along its normal: sides, base cap n-2, offset cap n-1.
    static std::unique_ptr<TVRMPolyhedron3d> CreateFromFace(const TVRMFace3d& face, double thickness);
    // Band along a line piece (straight or arc): `leftOffset` from the left
    // side to the line, `width` in all; bottom and top interpolated along the
    // line. Faces: right side, end face, left side, start face, top, bottom
    // (an arc side is a run of facets).
    static std::unique_ptr<TVRMPolyhedron3d> CreateBand(const TVRMCustomLine2d& line, double width, double leftOffset,
                                                        double startBottom, double startTop, double endBottom,
                                                        double endTop);
    // The solid between two lines (straight or arc): the plan region between
    // them (closing edges start to start, end to end), bottom and top
    // interpolated along each line from its start to its end values. Sides in
    // ring order, then top n-2 and bottom n-1; a top or bottom that is not
    // plane is split into triangles along its first vertex (all in that place).
    static std::unique_ptr<TVRMPolyhedron3d> CreateBetweenLines(const TVRMCustomLine2d& first, double firstStartBottom,
                                                                double firstStartTop, double firstEndBottom,
                                                                double firstEndTop, const TVRMCustomLine2d& second,
                                                                double secondStartBottom, double secondStartTop,
                                                                double secondEndBottom, double secondEndTop);
    // A section swept along a straight or arc path. Section frame: x across
    // the path (positive to its right), y up; `reference` is the section point
    // that travels along the path, at `startElevation` at the path's start and
    // `endElevation` at its end; the section stays vertical (a rising path
    // shears it). A section given clockwise is taken the other way round. One
    // face (a run along an arc) per section edge in ring order, then the start
    // cap n-2 and the end cap n-1. Along an arc the path is stepped by at most
    // CVRMArcFacetAngle; where a step of a rising path twists an edge's facet
    // out of plane, the facet is two triangles (p, q, q1), (p, q1, p1).
    // Measures: every straight section edge keeps the exact area of the
    // surface it sweeps (cylinder, cone, annulus, helicoid) and the volume
    // between its facets and that surface, so the volume is the section area
    // times the plan length of the centroid's path (Pappus) and each side
    // face's area is exact, whatever the edges' slope. A section's own arc
    // edges count by their facets (chords at most CVRMArcFacetAngle apart):
    // volume and areas are those of the section's chord polygon, short of the
    // round section by at most 1 - sin(a)/a (1.3e-3 at 5 degrees).
    static std::unique_ptr<TVRMPolyhedron3d> CreateSweep(const TVRMMultiPolygon2d& section,
                                                         const TVRMCustomLine2d& path, const TVRMPoint2d& reference,
                                                         double startElevation, double endElevation);
    // The faces that a section line (straight or arc, in the section frame of
    // CreateSweep) sweeps along the path, as CreateSweep builds and measures
    // them: each faces to the right of the section line's direction (outward
    // for an edge of a counter-clockwise section). None along a path without
    // length.
    static std::vector<TVRMFace3d> CreateSweptFaces(const TVRMCustomLine2d& profile, const TVRMCustomLine2d& path,
                                                    const TVRMPoint2d& reference, double startElevation,
                                                    double endElevation);
    // Arched slab: the shell of half thickness h whose top surface is the
    // cylinder of radius `radius` about the axis line `axis` (straight, in
    // plan) at `axisElev`, and whose bottom surface is the concentric
    // cylinder 2h further in, between the two radial planes through the ends
    // of the top surface over the plan's extent across the axis; trimmed to
    // the vertical prism over `plan`. Over a plan that is a rectangle along
    // the axis it comes out whole (no boolean): its curved faces keep their
    // circles, so its volume and areas are exact. Faces: the two springing
    // faces and the two end faces, then the top surface's facets, then the
    // bottom surface's facets; GetData holds {first top facet, top count,
    // first bottom facet, bottom count} (located again after the trimming
    // boolean by the way the facets face). Empty for invalid input (no plan,
    // h <= 0, radius <= 2h, an arc axis).
    static std::unique_ptr<TVRMPolyhedron3d> CreateCylinderSlab(const TVRMMultiPolygon2d& plan,
                                                                const TVRMCustomLine2d& axis, double halfThickness,
                                                                double axisElev, double radius);
    // Domed slab: the shell of half thickness h whose top surface is the
    // sphere of radius `radius` about (centre, centreElev) and whose bottom
    // surface is the concentric sphere 2h further in, inside the cone about
    // the vertical through the centre that meets the top sphere over the
    // plan's farthest point (at most the sphere's equator); trimmed to the
    // vertical prism over `plan`. Conical slab: the shell of thickness 2h
    // (square to the surface) under the cone rising `rise` from `baseElev` at
    // `coneRadius` from `centre` to its apex over the centre (continued over
    // the plan's farthest point); its edge there is square to the cone under a
    // peak and upright under a funnel (negative rise). Both are swept round
    // the vertical through the centre, so over a plan that is the circle of
    // the plan's reach about the centre they come out whole (no boolean), with
    // exact volume and areas (every facet keeps its patch's area and the
    // volume between the two). Faces as CreateCylinderSlab: the springing
    // faces, then the top surface's facets, then the bottom surface's facets,
    // the two runs in GetData. Empty for invalid input (no plan, h <= 0, a
    // sphere no thicker than 2h, a cone without a radius or whose edge under
    // a peak would pass its axis).
    static std::unique_ptr<TVRMPolyhedron3d> CreateDomeSlab(const TVRMMultiPolygon2d& plan, const TVRMPoint2d& centre,
                                                            double halfThickness, double centreElev, double radius);
    static std::unique_ptr<TVRMPolyhedron3d> CreateConeSlab(const TVRMMultiPolygon2d& plan, const TVRMPoint2d& centre,
                                                            double halfThickness, double baseElev, double coneRadius,
                                                            double rise);
    // The plan region between two lines (closing edges start to start, end to
    // end) between the box's bottom and top levels.
    static std::unique_ptr<TVRMPolyhedron3d> BuildCutPolyhedron(const TVRMCustomLine2d& first,
                                                                const TVRMCustomLine2d& second, const TVRMBox3d& box);

    std::unique_ptr<TVRMPolyhedron3d> Clone() const { return std::make_unique<TVRMPolyhedron3d>(*this); }

    bool HasFaces() const { return !faces_.empty(); }
    int GetFaceCount() const { return static_cast<int>(faces_.size()); }
    const TVRMFace3d& GetFace(int i) const;
    TVRMFace3d& GetFace(int i);
    const std::vector<TVRMFace3d>& GetFaces() const { return faces_; }
    void AddFace(TVRMFace3d face)
    {
        cache_.reset();
        faces_.push_back(std::move(face));
    }
    void DeleteFace(int i);
    void ExchangeFace(int i, int j);
    void Clear();

    // Distinct vertices in first-seen order.
    std::vector<TVRMPoint3d> GetVertices() const;
    int GetVertexCount() const { return static_cast<int>(GetVertices().size()); }
    TVRMBox3d GetBox() const;
    double GetVolume() const;
    double GetSurfaceArea() const;

    // Integer construction data written by the builder of a solid.
    const std::vector<int32_t>& GetData() const { return data_; }
    void SetData(std::vector<int32_t> data) { data_ = std::move(data); }

    // 0 inside, 1 on the boundary (within tol), 2 outside.
    int VertexPosition(const TVRMPoint3d& p, double tol = CVRMEpsilon) const;
    // Splits into the part on the side opposite the plane normal (returned)
    // and the part on the normal side (`second`); this solid is unchanged.
    // Either part may be empty. A face lying in the plane ends up on its
    // material side.
    std::unique_ptr<TVRMPolyhedron3d> Cut(const TVRMPlane3d& plane, std::unique_ptr<TVRMPolyhedron3d>& second,
                                          double tol = CVRMPlaneEpsilon) const;
    // Connected pieces (faces joined through shared edges), each a new solid.
    std::vector<std::unique_ptr<TVRMPolyhedron3d>> DivideUp() const;
    // Merges the coplanar faces that lie in `plane` (with its orientation)
    // into one face placed at the position of the first of them; returns that
    // index, or -1 when no face lies there.
    int MergeFace(const TVRMPlane3d& plane, double tol = CVRMPlaneEpsilon);
    // The end face of a line element, at its start (atStart) or its end: the
    // vertical plane through the side lines' start (end) points, facing out of
    // the element. Merges its pieces as above; the index, or -1.
    int MergeFace(const TVRMCustomLine2d& left, const TVRMCustomLine2d& right, bool atStart,
                  double tol = CVRMPlaneEpsilon);
    // Merges both end faces and moves them last: the start end face to N-2,
    // the end end face to N-1. False (faces untouched) when either is missing.
    bool LocateEndFaces(const TVRMCustomLine2d& left, const TVRMCustomLine2d& right, double tol = CVRMPlaneEpsilon);
    // Plan projection of the solid (new polygon set).
    std::unique_ptr<TVRMMultiPolygon2d> GetProjectiveXYPoly() const;
    // Reverses every face (inside out).
    void Negate();
    void Move(const TVRMVector3d& v);

private:
    std::vector<TVRMFace3d> faces_;
    std::vector<int32_t> data_;
    // The booleans' knowledge of the faces (their measure, the plan of a prism), set by the
    // constructors and booleans that know it, shared by copies and dropped by every change
    // of the faces (a face handed out for writing included).
    std::shared_ptr<const vrm3d::TSolidCache> cache_;

    friend const std::shared_ptr<const vrm3d::TSolidCache>& vrm3d::CacheOf(const TVRMPolyhedron3d& solid);
    friend void vrm3d::SetCache(TVRMPolyhedron3d& solid, std::shared_ptr<const vrm3d::TSolidCache> cache);
    friend std::vector<TVRMFace3d>& vrm3d::FacesOf(TVRMPolyhedron3d& solid);
};

// Walks the edges of a face, loop by loop in vertex order.
class TVRMEdgeIterator {
public:
    explicit TVRMEdgeIterator(const TVRMFace3d& face) : face_(face) {}
    // The next edge; false when every edge has been visited.
    bool Next(TVRMPoint3d& start, TVRMPoint3d& end);
    int GetLoopIndex() const { return loop_; }
    int GetEdgeIndex() const { return edge_ - 1; }

private:
    const TVRMFace3d& face_;
    int loop_ = 0;
    int edge_ = 0;
};

// Closed solids A and B share a point (touching faces, edges or vertices
// count), at the plane tolerance. The flag is accepted for the callers and
// has no effect.
bool IsIntersectant(const TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, int flag = 1);
