// Helpers shared by the 3D geometry units; not part of the library's interface.
#pragma once

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "Host/VRM/Geometry2d/VRMPoint2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace vrm3d {

// Points of a rebuilt face closer than this are one node (mm).
inline constexpr double kMergeTol = 1e-7;

struct TPoint2 {
    double x = 0, y = 0;
};

// Plan frame of a plane: the two coordinate axes left when the dominant axis
// of the normal is dropped, ordered so that counter-clockwise in the frame is
// counter-clockwise about the normal. Coordinates are copied, not rotated.
struct TFrame {
    int a = 0, b = 1, drop = 2;
    explicit TFrame(const TVRMVector3d& normal);
    TPoint2 To2d(const TVRMPoint3d& p) const { return {p[a], p[b]}; }
};

double Cross2(const TPoint2& o, const TPoint2& p, const TPoint2& q);
double SignedArea2(const std::vector<TPoint2>& ring);
// 0 inside, 1 on the boundary (within tol), 2 outside of one ring (either orientation).
int PointInRing2(const TPoint2& p, const std::vector<TPoint2>& ring, double tol);
// 0 inside, 1 on the boundary, 2 outside of a face given as loops (outer + holes).
int PointInLoops2(const TPoint2& p, const std::vector<std::vector<TPoint2>>& loops, double tol);
std::vector<TPoint2> ToFrame(const TFrame& frame, const TVRMLoop3d& loop);
// TVRMFace3d::VertexPosition: -1 not on the face, 0 inside it, 1 on its boundary.
int FacePosition(const TVRMFace3d& face, const TVRMPoint3d& p, double tol);

// The side faces of a vertical prism that a new prism may take over instead of building
// them again (a deduction leaves most of a notched slab's sides as they were): a face of
// `solid` whose one loop is exactly the quad to be built. A prism's side face is the face
// its quad gives (TVRMFace3d::FromLoop), so the donor's face is the face that would be built.
// The new prism leaves such a face empty (its tag and circle only): the caller moves the
// donor's face in (TakeFaces) once it no longer needs the donor.
class TFaceDonor {
public:
    explicit TFaceDonor(const TVRMPolyhedron3d& solid) : solid_(solid) {}
    const TVRMPolyhedron3d& Solid() const { return solid_; }
    // The face of the solid on the quad (p, q, q + up, p + up) not taken yet, or -1. Only for
    // edges of at least kMinLength: a face's probe (RestoreOrigins) then lies well inside
    // that face alone.
    int Find(const TVRMPoint3d& p, const TVRMPoint3d& q, const TVRMVector3d& up);
    // Per face of the prism built: the solid's face it stands for, or -1 (built anew).
    std::vector<int> taken;
    static constexpr double kMinLength = 1e-2;

private:
    const TVRMPolyhedron3d& solid_;
    int next_ = 0;             // the face after the last one found: the next edge's usual donor
    std::vector<int> table_;   // faces by their plane's base point in plan (open addressing)
    std::vector<char> given_;  // per face: taken already
    size_t Slot(double x, double y) const;
};

// Moves the donor's faces into the places `taken` gives (as reordered with the faces), whole
// (with their tags, circles and measures). The donor's solid loses them.
void TakeFaces(TVRMPolyhedron3d& result, const std::vector<int>& taken, TVRMPolyhedron3d& donor);

// Extrusion of rings by v (see TVRMPolyhedron3d::CreateExtrusion); arcs, when
// given, holds per ring the circle of each edge (side facets keep it). With a
// donor (an upward extrusion), side faces it holds are left to it.
std::unique_ptr<TVRMPolyhedron3d> ExtrudeRings(const std::vector<TVRMLoop3d>& rings,
                                               const std::vector<std::vector<std::optional<TVRMFaceArc>>>* arcs,
                                               const TVRMVector3d& ringNormal, const TVRMVector3d& v,
                                               bool capsBaseFirst, struct TPlanarMeasure* measure = nullptr,
                                               TFaceDonor* donor = nullptr);
// A cap of ExtrudeRings: the rings moved by `shift`, facing the unit ring normal m or away
// from it (the rings reversed). `loops`: storage to fill (a discarded face's), or none.
TVRMFace3d ExtrusionCap(const std::vector<TVRMLoop3d>& rings, const TVRMVector3d& m, const TVRMVector3d& shift,
                        bool facesRingNormal, std::vector<TVRMLoop3d> loops = {});
// The loops (with their storage) of faces given up (a solid replaced or destroyed), for the
// faces the booleans build next: a deduction's result takes the place of a solid that had
// about as many faces. Per thread, a few at most: side quads' storage and larger (caps).
class TSpareLoops {
public:
    // This thread's store.
    static TSpareLoops& Local();
    // Storage of the kind (a quad's loops, or a cap's), or none.
    std::vector<TVRMLoop3d> Take(bool cap)
    {
        std::vector<std::vector<TVRMLoop3d>>& spare = cap ? caps_ : quads_;
        if (spare.empty())
            return {};
        std::vector<TVRMLoop3d> loops = std::move(spare.back());
        spare.pop_back();
        return loops;
    }

    // The face TVRMFace3d::FromLoop gives for the quad (a, b, c, d), added to `faces`.
    void AddQuad(std::vector<TVRMFace3d>& faces, const TVRMPoint3d& a, const TVRMPoint3d& b, const TVRMPoint3d& c,
                 const TVRMPoint3d& d);

private:
    friend void GiveUpFaces(std::vector<TVRMFace3d>& faces) noexcept;
    static constexpr size_t kQuads = 256, kCaps = 4, kQuadSize = 8;  // a loop up to kQuadSize is a quad's
    std::vector<std::vector<TVRMLoop3d>> quads_, caps_;
    TSpareLoops();
    ~TSpareLoops();
};
// The plane TVRMFace3d::FromLoop fits to a loop (Newell normal, through its first corner).
TVRMPlane3d LoopPlane(const TVRMLoop3d& outer);
// TVRMPolyhedron3d::CreatePrism, taking side faces from a donor when given.
std::unique_ptr<TVRMPolyhedron3d> PrismOver(const TVRMMultiPolygon2d& plan, double bottom, double height,
                                            TFaceDonor* donor);

// Volume and area of a solid's planar faces alone (without what curved facets add), and
// the solid's box (GetBox), measured in one pass.
struct TPlanarMeasure {
    double volume = 0, area = 0;
    TVRMBox3d box;
};
TPlanarMeasure PlanarMeasure(const TVRMPolyhedron3d& solid);
// The measure of the prism that level rings (counter-clockwise outer rings, clockwise holes)
// give extruded upward by v: the plan area times the height, both caps and the sides, the box
// of the rings and their copies moved by v.
TPlanarMeasure PrismMeasure(const std::vector<TVRMLoop3d>& rings, const TVRMVector3d& v);
// PrismMeasure taken edge by edge, for a caller that walks the rings itself: Add every ring
// edge p-q (rings in order, each in vertex order, from rings[0][0]) with its plan length,
// then Measure.
class TPrismMeasurer {
public:
    explicit TPrismMeasurer(const TVRMPoint3d& origin) : origin_(origin), lo_(origin), hi_(origin) {}
    void Add(const TVRMPoint3d& p, const TVRMPoint3d& q, double length)
    {
        twice_ += (p.x - origin_.x) * (q.y - origin_.y) - (p.y - origin_.y) * (q.x - origin_.x);
        perimeter_ += length;
        lo_.x = std::min(lo_.x, p.x), lo_.y = std::min(lo_.y, p.y), lo_.z = std::min(lo_.z, p.z);
        hi_.x = std::max(hi_.x, p.x), hi_.y = std::max(hi_.y, p.y), hi_.z = std::max(hi_.z, p.z);
    }
    TPlanarMeasure Measure(const TVRMVector3d& v) const
    {
        TPlanarMeasure m;
        m.volume = twice_ / 2 * v.z;
        m.area = std::fabs(twice_) + perimeter_ * v.z;
        // The shifted rings' box is the rings' box shifted: rounding a sum keeps the order of
        // its terms, so the extreme corners stay the extreme ones.
        const TVRMPoint3d toLo = lo_ + v, toHi = hi_ + v;
        m.box = TVRMBox3d({std::min(lo_.x, toLo.x), std::min(lo_.y, toLo.y), std::min(lo_.z, toLo.z)},
                          {std::max(hi_.x, toHi.x), std::max(hi_.y, toHi.y), std::max(hi_.z, toHi.z)});
        return m;
    }

private:
    TVRMPoint3d origin_, lo_, hi_;
    double twice_ = 0, perimeter_ = 0;
};

// What a constructor or a boolean knows of a solid's faces: their measure, and for a vertical
// prism (every face upright or level, one plan between two levels) that plan as its bottom
// faces give it (AsStack's plan) and the levels of its bottom and top faces.
// The faces by the x of their normals (sorted pairs of that x and the face's index) are worked
// out once, when a boolean first looks for faces by their normal (a neighbour met again and
// again: a column under several slabs and beams).
struct TSlopedSolid;  // the booleans' description of a sloped solid (VRMPolyBooleanOperator.cpp)
struct TSolidCache {
    TPlanarMeasure measure;
    bool measured = true;                            // false: the measure is not kept (MeasureOf reads the faces)
    std::shared_ptr<const TVRMMultiPolygon2d> plan;  // nil: not known to be a prism
    double planArea = -1;                            // plan->Area(); negative: not worked out
    TVRMBox2d planBox;                               // VertexBox(*plan), when planBoxed
    bool planBoxed = false;
    double z0 = 0, z1 = 0;
    // Per vertex of the plan (its rings in order): the face standing on the plan edge from it,
    // or -1 (an edge without length); empty when not known.
    std::vector<int> sides;
    const std::vector<std::pair<double, int>>& ByNormalX(const TVRMPolyhedron3d& solid) const;
    // The sloped description of the solid: as the boolean that built it gave it (SetSloped,
    // before the cache is shared), else worked out by `make` when first asked for; nil when
    // the solid is not such a solid.
    using TMakeSloped = std::shared_ptr<const TSlopedSolid> (*)(const TVRMPolyhedron3d&);
    const TSlopedSolid* Sloped(const TVRMPolyhedron3d& solid, TMakeSloped make) const;
    void SetSloped(std::shared_ptr<const TSlopedSolid> sloped);

private:
    mutable std::once_flag byNormalOnce_;
    mutable std::vector<std::pair<double, int>> byNormalX_;
    // Not a once flag: completing one wakes waiters by a system call, which a result's cache,
    // set once and then read, need not pay.
    mutable std::atomic<bool> slopedKnown_{false};
    mutable std::mutex slopedMutex_;
    mutable std::shared_ptr<const TSlopedSolid> sloped_;
};
// The box of a plan's vertices (arc edges by their ends).
TVRMBox2d VertexBox(const TVRMMultiPolygon2d& plan);
// The cached measure, else the measure of the faces.
TPlanarMeasure MeasureOf(const TVRMPolyhedron3d& solid);
// Caches a vertical prism just built (ExtrudeRings, upward) on level rings, its measure and
// its top level: the rings as its plan, and with `sidesInOrder` (its side faces as ExtrudeRings
// gave them, one per edge with length) the side face of each plan edge; with `boxed` the plan's
// box too (a solid built by a constructor, met by many booleans). Nothing for the empty solid.
void CachePrism(TVRMPolyhedron3d& solid, const TPlanarMeasure& measure, const std::vector<TVRMLoop3d>& rings, double z1,
                bool sidesInOrder = false, bool boxed = false);

// A solid without volume: its mean thickness (3 volume / surface) is below the
// length tolerance or not a number (no faces, non-finite coordinates, a flat
// or folded surface). Constructors give the empty solid instead; the booleans
// take such an operand as empty.
bool IsFlat(const TVRMPolyhedron3d& solid);
bool IsFlat(const TPlanarMeasure& measure);
std::unique_ptr<TVRMPolyhedron3d> EmptyIfFlat(std::unique_ptr<TVRMPolyhedron3d> solid);

// Orders the faces of a boolean result by the face of `a` they lie on (its
// tag kept), then by the face of `b` (tag -1; reversed for a difference).
// `known`, when given, holds per face of the result the face i of `a` it stands
// for (TFaceDonor::taken: that face is empty yet and is left as it is, for
// TakeFaces to move a's face in), or -2 - i for a piece of a's face i (its
// origin without a search), or -1; it is reordered with the faces.
void RestoreOrigins(TVRMPolyhedron3d& result, const TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, int kind,
                    std::vector<int>* known = nullptr);

// Directed edge of a planar region, the region on its left.
struct TEdge3 {
    TVRMPoint3d from, to;
};

// Builds faces from directed boundary edges lying in `plane` (region on the
// left seen from the normal side): shared opposite edges cancel, edges are
// chained into loops (sharpest left turn at junctions), counter-clockwise
// loops become outer loops and clockwise loops holes of the smallest outer
// loop containing them. Returns false when an edge chain does not close.
bool BuildFacesFromEdges(const std::vector<TEdge3>& edges, const TVRMPlane3d& plane, int tag,
                         std::vector<TVRMFace3d>& faces, bool splitAtVertices = false);

enum class TClip { Done, Coplanar, Failed };

// Clips `face` to the closed side of `plane` that `away` points away from
// (away = +normal keeps the part against the normal). Pieces go to `pieces`;
// their edges lying in the plane are added to `onPlane`. Coplanar: the face
// lies in the plane (nothing added).
TClip ClipFace(const TVRMFace3d& face, const TVRMPlane3d& plane, const TVRMVector3d& away, double tol,
               std::vector<TVRMFace3d>& pieces, std::vector<TEdge3>& onPlane);

// Closed solids share a point, within tol.
bool SolidsMeet(const TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, double tol);

// Keeps the circle of `source` on `piece` when the piece spans the facet's
// whole width (a piece cut short across the facet loses it). `shape`, when
// given, is the piece's geometry (the piece itself is still empty).
void InheritArc(const TVRMFace3d& source, TVRMFace3d& piece, const TVRMFace3d* shape = nullptr);

// Both sides of a solid at a plane, as faces in that plane: `below` is the
// region where the solid lies just behind the plane (against the normal; the
// faces carry the plane normal), `above` the region where it lies just in
// front (the faces carry the reversed normal). A face of the solid lying in
// the plane is part of the side its material is on. False when the section
// cannot be closed.
bool SectionCaps(const TVRMPolyhedron3d& solid, const TVRMPlane3d& plane, double tol, std::vector<TVRMFace3d>& below,
                 std::vector<TVRMFace3d>& above);

// General boolean of two closed solids by corefinement (CGAL). kind 0
// intersection, 1 union, 2 difference (a - b). False when the engine cannot
// handle the input (open or self-intersecting meshes).
bool CorefineBoolean(const TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, int kind, TVRMPolyhedron3d& result);

}  // namespace vrm3d
