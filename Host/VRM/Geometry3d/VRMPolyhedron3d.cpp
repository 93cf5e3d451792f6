#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <map>
#include <numeric>
#include <utility>

#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMGeometry3dInternal.h"
#include "Host/VRM/Geometry3d/VRMPlan3d.h"

namespace vrm3d {

TFrame::TFrame(const TVRMVector3d& normal)
{
    const double ax = std::fabs(normal.x), ay = std::fabs(normal.y), az = std::fabs(normal.z);
    drop = (ax >= ay && ax >= az) ? 0 : (ay >= az ? 1 : 2);
    a = (drop + 1) % 3;
    b = (drop + 2) % 3;
    if (normal[drop] < 0)
        std::swap(a, b);
}

double Cross2(const TPoint2& o, const TPoint2& p, const TPoint2& q)
{
    return (p.x - o.x) * (q.y - o.y) - (p.y - o.y) * (q.x - o.x);
}

double SignedArea2(const std::vector<TPoint2>& ring)
{
    double s = 0;
    const size_t n = ring.size();
    if (n < 3)
        return 0;
    for (size_t i = 0; i < n; ++i) {
        const TPoint2& p = ring[i];
        const TPoint2& q = ring[(i + 1) % n];
        s += (p.x - ring[0].x) * (q.y - ring[0].y) - (q.x - ring[0].x) * (p.y - ring[0].y);
    }
    return s / 2;
}

namespace {
constexpr double kFlatAxis = 1e-9;  // a facet whose normal meets its arc's axis below this runs along it

double SegmentDistance2(const TPoint2& p, const TPoint2& a, const TPoint2& b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = p.x - (a.x + t * dx), ey = p.y - (a.y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}
}  // namespace

namespace {

// 0 inside, 1 on the boundary (within tol), 2 outside of the ring whose
// points at(0) .. at(n - 1) give (either orientation).
template <class At>
int RingPosition(const TPoint2& p, size_t n, At at, double tol)
{
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const TPoint2 a = at(i), b = at(j);
        const bool near = p.x >= std::min(a.x, b.x) - tol && p.x <= std::max(a.x, b.x) + tol &&
                          p.y >= std::min(a.y, b.y) - tol && p.y <= std::max(a.y, b.y) + tol;
        if (near && SegmentDistance2(p, a, b) <= tol)
            return 1;
        if ((a.y > p.y) != (b.y > p.y)) {
            const double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (p.x < x)
                inside = !inside;
        }
    }
    return inside ? 0 : 2;
}

// Crossing parity over `count` loops (a face may hold several outer loops),
// position(k) giving the position in loop k.
template <class Position>
int LoopsPosition(size_t count, Position position)
{
    bool inside = false;
    for (size_t k = 0; k < count; ++k)
        switch (position(k)) {
            case 1:
                return 1;
            case 0:
                inside = !inside;
                break;
            default:
                break;
        }
    return inside ? 0 : 2;
}

}  // namespace

int PointInRing2(const TPoint2& p, const std::vector<TPoint2>& ring, double tol)
{
    return RingPosition(
        p, ring.size(), [&ring](size_t i) { return ring[i]; }, tol);
}

int PointInLoops2(const TPoint2& p, const std::vector<std::vector<TPoint2>>& loops, double tol)
{
    return LoopsPosition(loops.size(), [&](size_t k) { return PointInRing2(p, loops[k], tol); });
}

std::vector<TPoint2> ToFrame(const TFrame& frame, const TVRMLoop3d& loop)
{
    std::vector<TPoint2> r;
    r.reserve(loop.size());
    for (const auto& p : loop)
        r.push_back(frame.To2d(p));
    return r;
}

int FacePosition(const TVRMFace3d& face, const TVRMPoint3d& p, double tol)
{
    const auto& loops = face.GetLoops();
    if (std::fabs(face.GetPlane().GetDistance(p)) > tol || loops.empty())
        return -1;
    // Frame coordinates shrink distances by the normal's dominant component.
    const TFrame frame(face.GetNormal());
    const double scale = std::fabs(face.GetNormal()[frame.drop]);
    const TPoint2 q = frame.To2d(p);
    const int position = LoopsPosition(loops.size(), [&](size_t k) {
        const TVRMLoop3d& l = loops[k];
        return RingPosition(
            q, l.size(), [&](size_t i) { return frame.To2d(l[i]); }, tol * scale);
    });
    return position == 2 ? -1 : position;
}

void InheritArc(const TVRMFace3d& source, TVRMFace3d& piece, const TVRMFace3d* shape)
{
    if (!source.GetArc() && source.GetArcArea() == 0 && source.GetArcVolume() == 0)
        return;
    const TVRMFace3d& geometry = shape ? *shape : piece;
    // A plan face that comes through whole keeps its arc segments.
    if (source.GetArcArea() != 0 || source.GetArcVolume() != 0) {
        const double whole = source.GetPlanarArea();
        if (SameValue(geometry.GetPlanarArea(), whole, 1e-9 * std::fabs(whole))) {
            piece.SetArcArea(source.GetArcArea());
            piece.SetArcVolume(source.GetArcVolume());
        }
    }
    const auto& arc = source.GetArc();
    if (!arc)
        return;
    // Width of the piece across the facet: its extent along the chord direction. Every corner
    // must lie on one of the facet's two sides: a piece that is full width over part of its
    // height only (a notch cut into it) is not a strip of the facet.
    const TVRMVector3d across = arc->axis.CrossProduct(source.GetNormal()).Unit();
    // `places(f)` calls f with each corner's place across the facet.
    auto isStrip = [&](auto places) {
        double lo = 1e300, hi = -1e300;
        places([&](double t) { lo = std::min(lo, t), hi = std::max(hi, t); });
        if (!SameValue(hi - lo, arc->chord, CVRMEpsilon))
            return false;
        bool onSides = true;
        places([&](double t) { onSides = onSides && !(t - lo > CVRMEpsilon && hi - t > CVRMEpsilon); });
        return onSides;
    };
    if (const auto& loops = geometry.GetLoops(); loops.size() == 1 && loops[0].size() == 4) {
        // A strip of the facet (the common piece): each corner's place worked out once.
        const TVRMLoop3d& l = loops[0];
        const double t[4] = {across.InnerProduct(l[0]), across.InnerProduct(l[1]), across.InnerProduct(l[2]),
                             across.InnerProduct(l[3])};
        if (!isStrip([&](auto f) {
                for (double x : t)
                    f(x);
            }))
            return;
    } else if (!isStrip([&](auto f) {
                   for (const auto& loop : loops)
                       for (const auto& p : loop)
                           f(across.InnerProduct(p));
               })) {
        return;
    }
    piece.SetArc(arc);
}

}  // namespace vrm3d

using namespace vrm3d;

namespace {

TVRMVector3d NewellVector(const TVRMLoop3d& loop, const TVRMPoint3d& ref)
{
    TVRMVector3d s;
    const size_t n = loop.size();
    if (n == 4) {  // a side quad: the same sum, without the loop
        const TVRMVector3d a = loop[0] - ref, b = loop[1] - ref, c = loop[2] - ref, d = loop[3] - ref;
        s += a.CrossProduct(b);
        s += b.CrossProduct(c);
        s += c.CrossProduct(d);
        s += d.CrossProduct(a);
        return s * 0.5;
    }
    for (size_t i = 0; i < n; ++i)
        s += (loop[i] - ref).CrossProduct(loop[i + 1 < n ? i + 1 : 0] - ref);
    return s * 0.5;
}

// PlanarMeasure of the faces faceAt(0) .. faceAt(count - 1).
template <class FaceAt>
TPlanarMeasure MeasureFaces(int count, FaceAt faceAt)
{
    TPlanarMeasure m;
    if (count == 0 || faceAt(0).GetLoops().empty() || faceAt(0).GetLoop(0).empty())
        return m;
    const TVRMPoint3d origin = faceAt(0).GetLoop(0)[0];
    TVRMPoint3d lo = origin, hi = origin;
    for (int k = 0; k < count; ++k) {
        const TVRMFace3d& f = faceAt(k);
        if (f.GetLoops().empty() || f.GetLoop(0).empty())
            continue;
        // The face's Newell area vector (as GetAreaVector) and the box, in one pass.
        const TVRMPoint3d& ref = f.GetLoop(0)[0];
        TVRMVector3d n;
        for (const auto& l : f.GetLoops()) {
            const size_t size = l.size();
            TVRMVector3d loop;
            for (size_t i = 0; i < size; ++i) {
                const TVRMPoint3d& p = l[i];
                loop += (p - ref).CrossProduct(l[i + 1 < size ? i + 1 : 0] - ref);
                lo.x = std::min(lo.x, p.x), lo.y = std::min(lo.y, p.y), lo.z = std::min(lo.z, p.z);
                hi.x = std::max(hi.x, p.x), hi.y = std::max(hi.y, p.y), hi.z = std::max(hi.z, p.z);
            }
            n += loop * 0.5;
        }
        m.volume += (ref - origin).InnerProduct(n) / 3;
        m.area += n.Length();
    }
    m.box = TVRMBox3d(lo, hi);
    return m;
}

}  // namespace

TPlanarMeasure vrm3d::PrismMeasure(const std::vector<TVRMLoop3d>& rings, const TVRMVector3d& v)
{
    TPrismMeasurer m(rings[0][0]);
    for (const auto& ring : rings)
        for (size_t i = 0, n = ring.size(); i < n; ++i) {
            const TVRMPoint3d &p = ring[i], &q = ring[i + 1 < n ? i + 1 : 0];
            m.Add(p, q, std::sqrt((q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y)));
        }
    return m.Measure(v);
}

namespace {

// Signed solid angle of triangle (a, b, c) seen from the origin.
double TriangleSolidAngle(const TVRMVector3d& a, const TVRMVector3d& b, const TVRMVector3d& c)
{
    const double la = a.Length(), lb = b.Length(), lc = c.Length();
    const double num = a.InnerProduct(b.CrossProduct(c));
    const double den = la * lb * lc + a.InnerProduct(b) * lc + a.InnerProduct(c) * lb + b.InnerProduct(c) * la;
    return 2 * std::atan2(num, den);
}

// Does segment p-q touch segment a-b (2D, within tol)?
bool SegmentsTouch2(const TPoint2& p, const TPoint2& q, const TPoint2& a, const TPoint2& b, double tol)
{
    const double d1 = Cross2(a, b, p), d2 = Cross2(a, b, q), d3 = Cross2(p, q, a), d4 = Cross2(p, q, b);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
        return true;
    return SegmentDistance2(p, a, b) <= tol || SegmentDistance2(q, a, b) <= tol || SegmentDistance2(a, p, q) <= tol ||
           SegmentDistance2(b, p, q) <= tol;
}

// Does the closed segment p-q meet the closed face?
bool SegmentMeetsFace(const TVRMPoint3d& p, const TVRMPoint3d& q, const TVRMFace3d& face, double tol)
{
    const TVRMPlane3d& plane = face.GetPlane();
    const double dp = plane.GetDistance(p), dq = plane.GetDistance(q);
    const bool onP = std::fabs(dp) <= tol, onQ = std::fabs(dq) <= tol;
    if (onP && onQ) {
        const TFrame frame(face.GetNormal());
        const TPoint2 p2 = frame.To2d(p), q2 = frame.To2d(q);
        for (const auto& loop : face.GetLoops()) {
            const auto ring = ToFrame(frame, loop);
            for (size_t i = 0; i < ring.size(); ++i)
                if (SegmentsTouch2(p2, q2, ring[i], ring[(i + 1) % ring.size()], tol))
                    return true;
        }
        return face.VertexPosition(p, tol) >= 0;
    }
    if (onP)
        return face.VertexPosition(p, tol) >= 0;
    if (onQ)
        return face.VertexPosition(q, tol) >= 0;
    if (dp * dq > 0)
        return false;
    return face.VertexPosition(p + (q - p) * (dp / (dp - dq)), tol) >= 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// TVRMFace3d

TVRMFace3d::TVRMFace3d(const TVRMPlane3d& plane, std::vector<TVRMLoop3d> loops, int tag)
    : plane_(plane), loops_(std::move(loops)), tag_(tag)
{
}

TVRMPlane3d vrm3d::LoopPlane(const TVRMLoop3d& outer)
{
    const TVRMPoint3d ref = outer.empty() ? TVRMPoint3d{} : outer[0];
    return TVRMPlane3d(NewellVector(outer, ref), ref);
}

TVRMFace3d TVRMFace3d::FromLoop(TVRMLoop3d outer, int tag)
{
    const TVRMPlane3d plane = LoopPlane(outer);
    std::vector<TVRMLoop3d> loops;
    loops.push_back(std::move(outer));
    return TVRMFace3d(plane, std::move(loops), tag);
}

const TVRMLoop3d& TVRMFace3d::GetLoop(int i) const
{
    QTK_ASSERT(i >= 0 && i < GetLoopCount());
    return loops_[i];
}

int TVRMFace3d::GetVertexCount() const
{
    int n = 0;
    for (const auto& l : loops_)
        n += static_cast<int>(l.size());
    return n;
}

TVRMVector3d TVRMFace3d::GetAreaVector() const
{
    TVRMVector3d s;
    if (loops_.empty() || loops_[0].empty())
        return s;
    const TVRMPoint3d ref = loops_[0][0];
    for (const auto& l : loops_)
        s += NewellVector(l, ref);
    return s;
}

double TVRMFace3d::GetPlanarArea() const
{
    return GetNormal().InnerProduct(GetAreaVector());
}

double TVRMFace3d::GetArea() const
{
    const double a = GetPlanarArea();
    if (arc_ && arc_->chord > 0)
        return a * arc_->radius * arc_->sweep / arc_->chord;
    return a + arcArea_;
}

double TVRMFace3d::GetLength() const
{
    double s = 0;
    for (const auto& l : loops_)
        for (size_t i = 0; i < l.size(); ++i)
            s += l[i].DistanceTo(l[(i + 1) % l.size()]);
    return s;
}

TVRMBox3d TVRMFace3d::GetBox() const
{
    TVRMBox3d b;
    for (const auto& l : loops_)
        for (const auto& p : l)
            b.Extend(p);
    return b;
}

bool TVRMFace3d::GetOnePointInLoop(TVRMPoint3d& point) const
{
    if (loops_.empty() || loops_[0].size() < 3)
        return false;
    const TFrame frame(GetNormal());
    std::vector<std::vector<TPoint2>> rings;
    for (const auto& l : loops_)
        rings.push_back(ToFrame(frame, l));
    // Scan lines through the midpoints of the vertex heights: the middle of
    // the widest inside interval is well inside the face.
    std::vector<double> ys;
    for (const auto& r : rings)
        for (const auto& p : r)
            ys.push_back(p.y);
    std::sort(ys.begin(), ys.end());
    double bestWidth = 0;
    TPoint2 best;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        if (ys[k + 1] - ys[k] <= CVRMZero)
            continue;
        const double y = (ys[k] + ys[k + 1]) / 2;
        std::vector<double> xs;
        for (const auto& r : rings)
            for (size_t i = 0; i < r.size(); ++i) {
                const TPoint2& a = r[i];
                const TPoint2& b = r[(i + 1) % r.size()];
                if ((a.y > y) != (b.y > y))
                    xs.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
            }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2)
            if (xs[i + 1] - xs[i] > bestWidth) {
                bestWidth = xs[i + 1] - xs[i];
                best = {(xs[i] + xs[i + 1]) / 2, y};
            }
    }
    if (bestWidth <= 0)
        return false;
    TVRMPoint3d p;
    p[frame.a] = best.x;
    p[frame.b] = best.y;
    p[frame.drop] = 0;
    const double n = GetNormal()[frame.drop];
    p[frame.drop] = -plane_.GetDistance(p) / n;
    point = p;
    return true;
}

int TVRMFace3d::VertexPosition(const TVRMPoint3d& p, double tol) const
{
    return FacePosition(*this, p, tol);
}

bool TVRMFace3d::IsRectangle(double tol) const
{
    if (loops_.size() != 1 || loops_[0].size() != 4)
        return false;
    const auto& l = loops_[0];
    for (int i = 0; i < 4; ++i) {
        const TVRMVector3d u = (l[(i + 1) % 4] - l[i]).Unit();
        const TVRMVector3d w = (l[(i + 2) % 4] - l[(i + 1) % 4]).Unit();
        if (u.IsZeroVector(0) || w.IsZeroVector(0) || std::fabs(u.InnerProduct(w)) > tol)
            return false;
    }
    return true;
}

void TVRMFace3d::Negate()
{
    plane_.Negate();
    arcVolume_ = -arcVolume_;
    for (auto& l : loops_)
        std::reverse(l.begin(), l.end());
}

void TVRMFace3d::Move(const TVRMVector3d& v)
{
    plane_.Move(v);
    for (auto& l : loops_)
        for (auto& p : l)
            p += v;
    if (arc_)
        arc_->centre += v;
}

// ---------------------------------------------------------------------------
// TVRMPolyhedron3d

std::unique_ptr<TVRMPolyhedron3d> TVRMPolyhedron3d::CreateBox(const TVRMBox3d& box)
{
    if (!box.IsValid())
        return std::make_unique<TVRMPolyhedron3d>();
    const double z = box.min.z;
    const TVRMLoop3d ring{
        {box.min.x, box.min.y, z}, {box.max.x, box.min.y, z}, {box.max.x, box.max.y, z}, {box.min.x, box.max.y, z}};
    const std::vector<TVRMLoop3d> rings{ring};
    TPlanarMeasure measure;
    auto solid = ExtrudeRings(rings, nullptr, {0, 0, 1}, {0, 0, box.max.z - box.min.z}, false, &measure);
    CachePrism(*solid, measure, rings, z + (box.max.z - box.min.z), true, true);
    return solid;
}

std::unique_ptr<TVRMPolyhedron3d> TVRMPolyhedron3d::CreateExtrusion(const std::vector<TVRMLoop3d>& rings,
                                                                    const TVRMVector3d& ringNormal,
                                                                    const TVRMVector3d& v, bool capsBaseFirst)
{
    return ExtrudeRings(rings, nullptr, ringNormal, v, capsBaseFirst);
}

size_t vrm3d::TFaceDonor::Slot(double x, double y) const
{
    // Equal coordinates give one slot (+0 and -0 alike).
    auto bits = [](double v) {
        v += 0.0;
        uint64_t b;
        std::memcpy(&b, &v, sizeof b);
        return b;
    };
    const uint64_t h = (bits(x) * 0x9E3779B97F4A7C15ull) ^ (bits(y) + 0x632BE59BD9B4E019ull + (bits(x) >> 29));
    return static_cast<size_t>((h ^ (h >> 31)) * 0xBF58476D1CE4E5B9ull >> 17) & (table_.size() - 1);
}

int vrm3d::TFaceDonor::Find(const TVRMPoint3d& p, const TVRMPoint3d& q, const TVRMVector3d& up)
{
    const std::vector<TVRMFace3d>& faces = solid_.GetFaces();
    const int n = static_cast<int>(faces.size());
    const TVRMPoint3d p1 = p + up, q1 = q + up;
    auto matches = [&](int k) {
        const std::vector<TVRMLoop3d>& loops = faces[k].GetLoops();
        if (given_[k] || loops.size() != 1 || loops[0].size() != 4)
            return false;
        const TVRMLoop3d& l = loops[0];
        return l[0] == p && l[1] == q && l[2] == q1 && l[3] == p1;
    };
    if (p.DistanceTo(q) < kMinLength)
        return -1;
    if (given_.empty())
        given_.assign(n, 0);
    int found = -1;
    if (next_ < n && matches(next_)) {
        found = next_;
    } else {
        if (table_.empty()) {
            size_t size = 16;
            while (size < 2 * static_cast<size_t>(n))
                size *= 2;
            table_.assign(size, -1);
            // By the plane's base point, the first corner of a face fitted to its loop (FromLoop):
            // the loops are read for the candidates only.
            for (int k = 0; k < n; ++k) {
                const TVRMPoint3d& base = faces[k].GetPlane().GetBasePoint();
                size_t slot = Slot(base.x, base.y);
                while (table_[slot] >= 0)
                    slot = (slot + 1) & (table_.size() - 1);
                table_[slot] = k;
            }
        }
        for (size_t slot = Slot(p.x, p.y); table_[slot] >= 0 && found < 0; slot = (slot + 1) & (table_.size() - 1))
            if (matches(table_[slot]))
                found = table_[slot];
    }
    if (found >= 0) {
        given_[found] = 1;
        next_ = found + 1;
    }
    return found;
}

void vrm3d::TakeFaces(TVRMPolyhedron3d& result, const std::vector<int>& taken, TVRMPolyhedron3d& donor)
{
    for (size_t k = 0; k < taken.size(); ++k) {
        if (taken[k] < 0)
            continue;
        result.GetFace(static_cast<int>(k)) = std::move(donor.GetFace(taken[k]));
    }
}

TVRMFace3d vrm3d::ExtrusionCap(const std::vector<TVRMLoop3d>& rings, const TVRMVector3d& m, const TVRMVector3d& shift,
                               bool facesRingNormal, std::vector<TVRMLoop3d> loops)
{
    loops.resize(rings.size());
    for (size_t r = 0; r < rings.size(); ++r) {
        const TVRMLoop3d& ring = rings[r];
        TVRMLoop3d& l = loops[r];
        l.clear();
        l.reserve(ring.size());
        if (facesRingNormal)
            for (const auto& p : ring)
                l.push_back(p + shift);
        else
            for (auto p = ring.rbegin(); p != ring.rend(); ++p)
                l.push_back(*p + shift);
    }
    return TVRMFace3d(TVRMPlane3d(facesRingNormal ? m : -m, rings[0][0] + shift), std::move(loops));
}

std::unique_ptr<TVRMPolyhedron3d> vrm3d::ExtrudeRings(const std::vector<TVRMLoop3d>& rings,
                                                      const std::vector<std::vector<std::optional<TVRMFaceArc>>>* arcs,
                                                      const TVRMVector3d& ringNormal, const TVRMVector3d& v,
                                                      bool capsBaseFirst, TPlanarMeasure* measure, TFaceDonor* donor)
{
    std::vector<TVRMFace3d> faces;
    const TVRMVector3d m = ringNormal.Unit();
    const double along = m.InnerProduct(v);
    if (donor)
        donor->taken.clear();
    if (rings.empty() || rings[0].size() < 3 || std::fabs(along) <= CVRMEpsilon)
        return std::make_unique<TVRMPolyhedron3d>();
    const bool forward = along > 0;
    TSpareLoops& spare = TSpareLoops::Local();  // new faces in the storage of faces given up
    size_t edges = 2;
    for (const auto& ring : rings)
        edges += ring.size();
    faces.reserve(edges);
    for (size_t r = 0; r < rings.size(); ++r) {
        const TVRMLoop3d& ring = rings[r];
        for (size_t i = 0; i < ring.size(); ++i) {
            const TVRMPoint3d& p = ring[i];
            const TVRMPoint3d& q = ring[(i + 1) % ring.size()];
            if (p.IsEqualTo(q, CVRMZero))
                continue;
            if (const int k = donor && forward ? donor->Find(p, q, v) : -1; k >= 0) {
                faces.emplace_back();  // the donor's face, moved in later
                donor->taken.resize(faces.size(), -1);
                donor->taken.back() = k;
            } else if (forward) {
                spare.AddQuad(faces, p, q, q + v, p + v);
            } else {
                spare.AddQuad(faces, p, p + v, q + v, q);
            }
            if (arcs && r < arcs->size() && i < (*arcs)[r].size())
                faces.back().SetArc((*arcs)[r][i]);
        }
    }
    TVRMFace3d base = ExtrusionCap(rings, m, {0, 0, 0}, !forward, spare.Take(true));
    TVRMFace3d offset = ExtrusionCap(rings, m, v, forward, spare.Take(true));
    if (capsBaseFirst) {
        faces.push_back(std::move(base));
        faces.push_back(std::move(offset));
    } else {
        faces.push_back(std::move(offset));
        faces.push_back(std::move(base));
    }
    if (donor)
        donor->taken.resize(faces.size(), -1);
    for (size_t i = 0; i < faces.size(); ++i)
        if (!donor || donor->taken[i] < 0)  // a donor's face comes with its own
            faces[i].SetTag(static_cast<int>(i));
    auto solid = std::make_unique<TVRMPolyhedron3d>(std::move(faces));
    // With a donor (an upward prism over level rings) the measure comes from the rings: the
    // donor's faces are not read.
    const TPlanarMeasure planar = donor ? PrismMeasure(rings, v) : PlanarMeasure(*solid);
    if (IsFlat(planar)) {
        solid->Clear();
        if (donor)
            donor->taken.clear();
    }
    if (measure)
        *measure = planar;
    return solid;
}

void vrm3d::CachePrism(TVRMPolyhedron3d& solid, const TPlanarMeasure& measure, const std::vector<TVRMLoop3d>& rings,
                       double z1, bool sidesInOrder, bool boxed)
{
    if (!solid.HasFaces())
        return;
    auto cache = std::make_shared<TSolidCache>();
    cache->measure = measure;
    auto plan = std::make_shared<TVRMMultiPolygon2d>();
    for (const auto& r : rings)
        AddPlanRing(*plan, r);
    if (boxed) {
        cache->planBox = VertexBox(*plan);
        cache->planBoxed = true;
    }
    cache->plan = std::move(plan);
    cache->z0 = rings[0][0].z;
    cache->z1 = z1;
    if (sidesInOrder) {
        int face = 0;
        for (const auto& ring : rings)
            for (size_t i = 0, n = ring.size(); i < n; ++i)
                cache->sides.push_back(ring[i].IsEqualTo(ring[i + 1 < n ? i + 1 : 0], CVRMZero) ? -1 : face++);
    }
    SetCache(solid, std::move(cache));
}

std::unique_ptr<TVRMPolyhedron3d> TVRMPolyhedron3d::CreateLoft(const TVRMLoop3d& bottom, const TVRMLoop3d& top)
{
    auto solid = std::make_unique<TVRMPolyhedron3d>();
    const size_t n = bottom.size();
    if (n < 3 || top.size() != n)
        return solid;
    std::vector<TVRMFace3d> faces;
    for (size_t i = 0; i < n; ++i) {
        const size_t j = (i + 1) % n;
        TVRMFace3d quad = TVRMFace3d::FromLoop({bottom[i], bottom[j], top[j], top[i]});
        if (std::fabs(quad.GetPlane().GetDistance(top[i])) <= CVRMPlaneEpsilon &&
            std::fabs(quad.GetPlane().GetDistance(top[j])) <= CVRMPlaneEpsilon) {
            faces.push_back(std::move(quad));
            continue;
        }
        faces.push_back(TVRMFace3d::FromLoop({bottom[i], bottom[j], top[j]}));
        faces.push_back(TVRMFace3d::FromLoop({bottom[i], top[j], top[i]}));
    }
    // A cap off its plane becomes a fan of triangles from its first vertex.
    auto addCap = [&faces](const TVRMLoop3d& ring) {
        TVRMFace3d cap = TVRMFace3d::FromLoop(ring);
        bool plane = true;
        for (const auto& p : ring)
            plane = plane && std::fabs(cap.GetPlane().GetDistance(p)) <= CVRMPlaneEpsilon;
        if (plane) {
            faces.push_back(std::move(cap));
            return;
        }
        for (size_t i = 1; i + 1 < ring.size(); ++i)
            faces.push_back(TVRMFace3d::FromLoop({ring[0], ring[i], ring[i + 1]}));
    };
    addCap(top);
    addCap(TVRMLoop3d(bottom.rbegin(), bottom.rend()));
    for (size_t i = 0; i < faces.size(); ++i)
        faces[i].SetTag(static_cast<int>(i));
    solid->faces_ = std::move(faces);
    return EmptyIfFlat(std::move(solid));
}

vrm3d::TPlanarMeasure vrm3d::PlanarMeasure(const TVRMPolyhedron3d& solid)
{
    const auto& faces = solid.GetFaces();
    return MeasureFaces(solid.GetFaceCount(), [&faces](int k) -> const TVRMFace3d& { return faces[k]; });
}

bool vrm3d::IsFlat(const TPlanarMeasure& m)
{
    // Three times the volume over the surface is the mean thickness (1.5 t for a plate of
    // thickness t); it is not a number for non-finite coordinates, 0 over 0 for no faces.
    return !(3 * std::fabs(m.volume) > CVRMEpsilon * m.area);
}

bool vrm3d::IsFlat(const TVRMPolyhedron3d& solid)
{
    return IsFlat(PlanarMeasure(solid));
}

std::unique_ptr<TVRMPolyhedron3d> vrm3d::EmptyIfFlat(std::unique_ptr<TVRMPolyhedron3d> solid)
{
    if (solid->HasFaces() && IsFlat(*solid))
        solid->Clear();
    return solid;
}

namespace {

void SortByNormalX(const TVRMPolyhedron3d& solid, std::vector<std::pair<double, int>>& keys)
{
    keys.clear();
    keys.reserve(solid.GetFaces().size());
    for (const auto& f : solid.GetFaces())
        keys.push_back({f.GetNormal().x, static_cast<int>(keys.size())});
    std::sort(keys.begin(), keys.end());
}

}  // namespace

void vrm3d::RestoreOrigins(TVRMPolyhedron3d& result, const TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, int kind,
                           std::vector<int>* known)
{
    // The faces of a solid by the x of their normals: a face within the angle taken below
    // differs from the direction sought by less than kReach in x. Sorted only when many faces
    // are sought; a few are sought face by face in order (the same first face).
    // The buffers serve call after call on this thread.
    using TByNormal = std::vector<std::pair<double, int>>;
    auto byNormal = [](const TVRMPolyhedron3d& solid, TByNormal& keys) -> const TByNormal* {
        if (const TSolidCache* cache = CacheOf(solid).get())
            return &cache->ByNormalX(solid);
        SortByNormalX(solid, keys);
        return &keys;
    };
    thread_local TByNormal bufferA, bufferB;
    thread_local std::vector<int> rank, order, where, at;
    static const double kReach = std::sqrt(2 * CVRMEpsilon) + 1e-9;  // |m - n| for m.n = 1 - eps
    // The first face of `solid` on which `p` lies with the normal `n`, or -1.
    auto sourceFace = [](const TVRMPolyhedron3d& solid, const TByNormal* keys, const TVRMPoint3d& p,
                         const TVRMVector3d& n) {
        auto on = [&](const TVRMFace3d& f) {
            return f.GetNormal().InnerProduct(n) > 1 - CVRMEpsilon && FacePosition(f, p, 1e-6) >= 0;
        };
        if (!keys) {
            for (int k = 0; k < solid.GetFaceCount(); ++k)
                if (on(solid.GetFace(k)))
                    return k;
            return -1;
        }
        int first = -1;
        auto it = std::lower_bound(keys->begin(), keys->end(), std::pair<double, int>{n.x - kReach, -1});
        for (; it != keys->end() && it->first <= n.x + kReach; ++it)
            if ((first < 0 || it->second < first) && on(solid.GetFace(it->second)))
                first = it->second;
        return first;
    };
    const int n = result.GetFaceCount();
    int sought = n;
    if (known)
        sought = static_cast<int>(std::count(known->begin(), known->end(), -1)) + n - static_cast<int>(known->size());
    constexpr int kFew = 12;
    const TByNormal* keysA = sought > kFew ? byNormal(a, bufferA) : nullptr;
    const TByNormal* keysB = sought > kFew ? byNormal(b, bufferB) : nullptr;
    rank.assign(n, a.GetFaceCount() + b.GetFaceCount());
    for (int k = 0; k < n; ++k) {
        if (const int i = known && k < static_cast<int>(known->size()) ? (*known)[k] : -1; i >= 0) {
            rank[k] = i;  // a's face itself, moved in whole later (TakeFaces)
            continue;
        }
        TVRMFace3d& face = result.GetFace(k);
        face.SetTag(-1);
        face.SetArc(std::nullopt);
        if (const int i = known && k < static_cast<int>(known->size()) ? -2 - (*known)[k] : -1; i >= 0) {
            rank[k] = i;  // a piece of a's face i
            face.SetTag(a.GetFace(i).GetTag());
            InheritArc(a.GetFace(i), face);
            continue;
        }
        // A point just inside the face, next to the middle of its first edge.
        const TVRMLoop3d& loop = face.GetLoop(0);
        const TVRMVector3d edge = loop[1] - loop[0];
        const TVRMVector3d inward = face.GetNormal().CrossProduct(edge).Unit();
        const TVRMPoint3d probe = (loop[0] + loop[1]) * 0.5 + inward * std::min(1e-3, 0.01 * edge.Length());
        if (const int i = sourceFace(a, keysA, probe, face.GetNormal()); i >= 0) {
            rank[k] = i;
            face.SetTag(a.GetFace(i).GetTag());
            InheritArc(a.GetFace(i), face);
        } else if (const int j = sourceFace(b, keysB, probe, kind == 2 ? -face.GetNormal() : face.GetNormal());
                   j >= 0) {
            rank[k] = a.GetFaceCount() + j;
            InheritArc(b.GetFace(j), face);
        }
    }
    // Faces into rank order, in place: position k takes the face order[k].
    if (std::is_sorted(rank.begin(), rank.end()))
        return;
    order.resize(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return rank[x] < rank[y]; });
    where.resize(n), at.resize(n);  // where[f]: position of face f now; at[p]: face at position p
    std::iota(where.begin(), where.end(), 0);
    std::iota(at.begin(), at.end(), 0);
    for (int k = 0; k < n; ++k) {
        const int from = where[order[k]];
        if (from == k)
            continue;
        result.ExchangeFace(k, from);
        if (known && static_cast<int>(known->size()) == n)
            std::swap((*known)[k], (*known)[from]);
        std::swap(at[k], at[from]);
        where[at[k]] = k;
        where[at[from]] = from;
    }
}

const std::vector<std::pair<double, int>>& vrm3d::TSolidCache::ByNormalX(const TVRMPolyhedron3d& solid) const
{
    std::call_once(byNormalOnce_, [&] { SortByNormalX(solid, byNormalX_); });
    return byNormalX_;
}

const vrm3d::TSlopedSolid* vrm3d::TSolidCache::Sloped(const TVRMPolyhedron3d& solid, TMakeSloped make) const
{
    if (!slopedKnown_.load(std::memory_order_acquire)) {
        const std::lock_guard<std::mutex> lock(slopedMutex_);
        if (!slopedKnown_.load(std::memory_order_relaxed)) {
            sloped_ = make(solid);
            slopedKnown_.store(true, std::memory_order_release);
        }
    }
    return sloped_.get();
}

void vrm3d::TSolidCache::SetSloped(std::shared_ptr<const TSlopedSolid> sloped)
{
    sloped_ = std::move(sloped);
    slopedKnown_.store(true, std::memory_order_release);
}

const std::shared_ptr<const vrm3d::TSolidCache>& vrm3d::CacheOf(const TVRMPolyhedron3d& solid)
{
    return solid.cache_;
}

void vrm3d::SetCache(TVRMPolyhedron3d& solid, std::shared_ptr<const TSolidCache> cache)
{
    solid.cache_ = std::move(cache);
}

std::vector<TVRMFace3d>& vrm3d::FacesOf(TVRMPolyhedron3d& solid)
{
    solid.cache_.reset();
    return solid.faces_;
}

std::vector<TVRMLoop3d> vrm3d::TakeLoops(TVRMFace3d& face)
{
    return std::exchange(face.loops_, {});
}

namespace {
// The store of this thread once made, nil before and after (a solid destroyed as the thread
// ends keeps nothing).
thread_local TSpareLoops* tSpareLoops = nullptr;
}  // namespace

TSpareLoops::TSpareLoops()
{
    quads_.reserve(kQuads);  // Keep adds without allocating
    caps_.reserve(kCaps);
}

TSpareLoops::~TSpareLoops()
{
    tSpareLoops = nullptr;
}

TSpareLoops& TSpareLoops::Local()
{
    thread_local TSpareLoops spare;
    tSpareLoops = &spare;
    return spare;
}

void TSpareLoops::AddQuad(std::vector<TVRMFace3d>& faces, const TVRMPoint3d& a, const TVRMPoint3d& b,
                          const TVRMPoint3d& c, const TVRMPoint3d& d)
{
    std::vector<TVRMLoop3d> loops = Take(false);
    loops.resize(1);
    TVRMLoop3d& l = loops[0];
    l.resize(4);
    l[0] = a, l[1] = b, l[2] = c, l[3] = d;
    const TVRMPlane3d plane = LoopPlane(l);
    faces.emplace_back(plane, std::move(loops));
}

void vrm3d::GiveUpFaces(std::vector<TVRMFace3d>& faces) noexcept
{
    TSpareLoops* spare = tSpareLoops;
    if (!spare)
        return;
    // Within the bounds reserved: no allocation here.
    auto& quads = spare->quads_;
    auto& caps = spare->caps_;
    for (TVRMFace3d& face : faces) {
        if (quads.size() == quads.capacity() && caps.size() == caps.capacity())
            return;
        const std::vector<TVRMLoop3d>& loops = face.GetLoops();
        if (loops.empty() || loops[0].capacity() < 4)
            continue;
        auto& to = loops[0].capacity() <= TSpareLoops::kQuadSize ? quads : caps;
        if (to.size() < to.capacity())
            to.emplace_back(TakeLoops(face)).resize(1);
    }
}

vrm3d::TPlanarMeasure vrm3d::MeasureOf(const TVRMPolyhedron3d& solid)
{
    const TSolidCache* cache = CacheOf(solid).get();
    return cache && cache->measured ? cache->measure : PlanarMeasure(solid);
}

const TVRMFace3d& TVRMPolyhedron3d::GetFace(int i) const
{
    QTK_ASSERT(i >= 0 && i < GetFaceCount());
    return faces_[i];
}

TVRMFace3d& TVRMPolyhedron3d::GetFace(int i)
{
    QTK_ASSERT(i >= 0 && i < GetFaceCount());
    cache_.reset();
    return faces_[i];
}

void TVRMPolyhedron3d::DeleteFace(int i)
{
    QTK_ASSERT(i >= 0 && i < GetFaceCount());
    cache_.reset();
    faces_.erase(faces_.begin() + i);
}

void TVRMPolyhedron3d::ExchangeFace(int i, int j)
{
    QTK_ASSERT(i >= 0 && i < GetFaceCount() && j >= 0 && j < GetFaceCount());
    cache_.reset();
    std::swap(faces_[i], faces_[j]);
}

void TVRMPolyhedron3d::Clear()
{
    faces_.clear();
    data_.clear();
    cache_.reset();
}

std::vector<TVRMPoint3d> TVRMPolyhedron3d::GetVertices() const
{
    std::vector<TVRMPoint3d> r;
    std::map<std::tuple<double, double, double>, int> seen;
    for (const auto& f : faces_)
        for (const auto& l : f.GetLoops())
            for (const auto& p : l)
                if (seen.emplace(std::make_tuple(p.x, p.y, p.z), 0).second)
                    r.push_back(p);
    return r;
}

TVRMBox3d TVRMPolyhedron3d::GetBox() const
{
    TVRMBox3d b;
    for (const auto& f : faces_)
        b.Extend(f.GetBox());
    return b;
}

double TVRMPolyhedron3d::GetVolume() const
{
    if (faces_.empty() || faces_[0].GetLoops().empty() || faces_[0].GetLoop(0).empty())
        return 0;
    // Measured from a vertex of the solid, which keeps the terms small.
    const TVRMPoint3d origin = faces_[0].GetLoop(0)[0];
    double v = 0;
    // The facets of a round member share one sweep: its sine is worked out once for them.
    uint64_t sineOf = 0;  // the bits of the sweep that `sine` is of
    double sine = std::sin(0.0);
    for (const auto& f : faces_) {
        if (f.GetLoops().empty() || f.GetLoops()[0].empty())
            continue;
        const TVRMVector3d area = f.GetAreaVector();
        v += (f.GetLoops()[0][0] - origin).InnerProduct(area) / 3 + f.GetArcVolume();
        if (const auto& arc = f.GetArc(); arc && arc->chord > 0) {
            // The circular segment between the facet's chord and its arc, on
            // the material side when the facet bulges outward. A facet along the
            // axis keeps one distance from it: any of its corners tells the side.
            TVRMPoint3d mid = f.GetLoops()[0][0];
            if (std::fabs(arc->axis.InnerProduct(f.GetNormal())) > kFlatAxis && !f.GetOnePointInLoop(mid))
                continue;
            TVRMVector3d radial = mid - arc->centre;
            radial -= arc->axis * radial.InnerProduct(arc->axis);
            const double sign = radial.InnerProduct(f.GetNormal()) >= 0 ? 1 : -1;
            if (std::bit_cast<uint64_t>(arc->sweep) != sineOf) {
                sineOf = std::bit_cast<uint64_t>(arc->sweep);
                sine = std::sin(arc->sweep);
            }
            const double segment = arc->radius * arc->radius / 2 * (arc->sweep - sine);
            v += sign * segment * f.GetNormal().InnerProduct(area) / arc->chord;  // the planar area
        }
    }
    return v;
}

double TVRMPolyhedron3d::GetSurfaceArea() const
{
    double s = 0;
    for (const auto& f : faces_)
        s += f.GetArea();
    return s;
}

int TVRMPolyhedron3d::VertexPosition(const TVRMPoint3d& p, double tol) const
{
    if (!GetBox().Contains(p, tol))
        return 2;
    for (const auto& f : faces_)
        if (f.VertexPosition(p, tol) >= 0)
            return 1;
    // Winding number: total signed solid angle of the faces, fanned from
    // their first vertex (overlapping fan triangles cancel by sign).
    double omega = 0;
    for (const auto& f : faces_) {
        if (f.GetLoops().empty() || f.GetLoop(0).empty())
            continue;
        const TVRMVector3d c = f.GetLoop(0)[0] - p;
        for (const auto& l : f.GetLoops())
            for (size_t i = 0; i < l.size(); ++i)
                omega += TriangleSolidAngle(c, l[i] - p, l[(i + 1) % l.size()] - p);
    }
    return std::fabs(omega) > 2 * CVRMPi ? 0 : 2;
}

void TVRMPolyhedron3d::Negate()
{
    cache_.reset();
    for (auto& f : faces_)
        f.Negate();
}

void TVRMPolyhedron3d::Move(const TVRMVector3d& v)
{
    cache_.reset();
    for (auto& f : faces_)
        f.Move(v);
}

std::vector<std::unique_ptr<TVRMPolyhedron3d>> TVRMPolyhedron3d::DivideUp() const
{
    std::vector<std::unique_ptr<TVRMPolyhedron3d>> parts;
    // A face over several outer loops is split first: its pieces may belong to different bodies.
    std::vector<TVRMFace3d> simple;
    for (const auto& f : faces_) {
        const TFrame frame(f.GetNormal());
        int outers = 0;
        for (const auto& l : f.GetLoops())
            outers += SignedArea2(ToFrame(frame, l)) > 0;
        std::vector<TEdge3> edges;
        for (const auto& l : f.GetLoops())
            for (size_t i = 0; i < l.size(); ++i)
                edges.push_back({l[i], l[(i + 1) % l.size()]});
        std::vector<TVRMFace3d> pieces;
        if (outers > 1 && BuildFacesFromEdges(edges, f.GetPlane(), f.GetTag(), pieces)) {
            for (auto& p : pieces) {
                InheritArc(f, p);
                simple.push_back(std::move(p));
            }
        } else {
            simple.push_back(f);
        }
    }
    const int n = static_cast<int>(simple.size());
    std::vector<int> parent(n);
    std::iota(parent.begin(), parent.end(), 0);
    auto find = [&](int i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    using Key = std::tuple<double, double, double>;
    std::map<std::pair<Key, Key>, int> edgeFace;
    for (int fi = 0; fi < n; ++fi)
        for (const auto& l : simple[fi].GetLoops())
            for (size_t i = 0; i < l.size(); ++i) {
                Key a{l[i].x, l[i].y, l[i].z};
                Key b{l[(i + 1) % l.size()].x, l[(i + 1) % l.size()].y, l[(i + 1) % l.size()].z};
                if (b < a)
                    std::swap(a, b);
                auto [it, added] = edgeFace.emplace(std::make_pair(a, b), fi);
                if (!added)
                    parent[find(fi)] = find(it->second);
            }
    std::map<int, std::unique_ptr<TVRMPolyhedron3d>> byRoot;
    for (int fi = 0; fi < n; ++fi) {
        auto& part = byRoot[find(fi)];
        if (!part)
            part = std::make_unique<TVRMPolyhedron3d>();
        part->AddFace(simple[fi]);
    }
    // A closed piece with negative volume is a cavity: it goes back into the
    // smallest piece that contains it.
    std::vector<std::unique_ptr<TVRMPolyhedron3d>> cavities;
    for (auto& [root, part] : byRoot)
        (part->GetVolume() < 0 ? cavities : parts).push_back(std::move(part));
    for (auto& cavity : cavities) {
        TVRMPolyhedron3d* host = nullptr;
        const TVRMPoint3d probe = cavity->GetFace(0).GetLoop(0)[0];
        for (auto& part : parts)
            if (part->VertexPosition(probe) == 0 && (!host || part->GetVolume() < host->GetVolume()))
                host = part.get();
        if (!host)
            continue;
        for (const auto& f : cavity->GetFaces())
            host->AddFace(f);
    }
    return parts;
}

int TVRMPolyhedron3d::MergeFace(const TVRMPlane3d& plane, double tol)
{
    cache_.reset();
    std::vector<int> members;
    std::vector<TEdge3> edges;
    for (int i = 0; i < GetFaceCount(); ++i) {
        const TVRMFace3d& f = faces_[i];
        if (!f.GetPlane().IsParallelism(plane, tol) || f.GetNormal().InnerProduct(plane.GetNormal()) <= 0)
            continue;
        bool inPlane = true;
        for (const auto& l : f.GetLoops())
            for (const auto& p : l)
                inPlane = inPlane && std::fabs(plane.GetDistance(p)) <= tol;
        if (!inPlane)
            continue;
        members.push_back(i);
        for (const auto& l : f.GetLoops())
            for (size_t k = 0; k < l.size(); ++k)
                edges.push_back({l[k], l[(k + 1) % l.size()]});
    }
    if (members.empty())
        return -1;
    if (members.size() == 1)
        return members[0];
    std::vector<TVRMFace3d> merged;
    const TVRMFace3d& first = faces_[members[0]];
    if (!BuildFacesFromEdges(edges, TVRMPlane3d(plane.GetNormal(), first.GetLoop(0)[0]), first.GetTag(), merged,
                             true) ||
        merged.size() != 1)
        return members[0];
    // Vertices left on a straight run of the merged loops go, unless another face still uses them.
    std::map<std::tuple<double, double, double>, int> used;
    for (int i = 0; i < GetFaceCount(); ++i)
        if (std::find(members.begin(), members.end(), i) == members.end())
            for (const auto& l : faces_[i].GetLoops())
                for (const auto& p : l)
                    used[std::make_tuple(p.x, p.y, p.z)] = 1;
    std::vector<TVRMLoop3d> loops;
    for (const auto& l : merged[0].GetLoops()) {
        TVRMLoop3d kept;
        for (size_t k = 0; k < l.size(); ++k) {
            const TVRMPoint3d& prev = l[(k + l.size() - 1) % l.size()];
            const TVRMPoint3d& next = l[(k + 1) % l.size()];
            const bool straight = (l[k] - prev).CrossProduct(next - l[k]).Length() <=
                                  CVRMZero * (l[k] - prev).Length() * (next - l[k]).Length();
            if (!straight || used.count(std::make_tuple(l[k].x, l[k].y, l[k].z)))
                kept.push_back(l[k]);
        }
        loops.push_back(std::move(kept));
    }
    faces_[members[0]] = TVRMFace3d(merged[0].GetPlane(), std::move(loops), first.GetTag());
    for (size_t k = members.size(); k-- > 1;)
        faces_.erase(faces_.begin() + members[k]);
    return members[0];
}

bool TVRMEdgeIterator::Next(TVRMPoint3d& start, TVRMPoint3d& end)
{
    while (loop_ < face_.GetLoopCount()) {
        const TVRMLoop3d& l = face_.GetLoop(loop_);
        if (edge_ < static_cast<int>(l.size())) {
            start = l[edge_];
            end = l[(edge_ + 1) % l.size()];
            ++edge_;
            return true;
        }
        ++loop_;
        edge_ = 0;
    }
    return false;
}

bool IsIntersectant(const TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, int)
{
    return SolidsMeet(a, b, CVRMPlaneEpsilon);
}

bool vrm3d::SolidsMeet(const TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, double tol)
{
    if (!a.HasFaces() || !b.HasFaces() || !a.GetBox().Meets(b.GetBox(), tol))
        return false;
    for (const auto& p : a.GetVertices())
        if (b.VertexPosition(p, tol) != 2)
            return true;
    for (const auto& p : b.GetVertices())
        if (a.VertexPosition(p, tol) != 2)
            return true;
    // Otherwise the boundaries meet only where an edge of one crosses a face of the other.
    auto edgesHit = [tol](const TVRMPolyhedron3d& s, const TVRMPolyhedron3d& t) {
        for (const auto& f : s.GetFaces())
            for (const auto& l : f.GetLoops())
                for (size_t i = 0; i < l.size(); ++i)
                    for (const auto& g : t.GetFaces())
                        if (SegmentMeetsFace(l[i], l[(i + 1) % l.size()], g, tol))
                            return true;
        return false;
    };
    return edgesHit(a, b) || edgesHit(b, a);
}
