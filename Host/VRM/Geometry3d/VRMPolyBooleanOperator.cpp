#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <tuple>

#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMGeometry3dInternal.h"
#include "Host/VRM/Geometry3d/VRMPlan3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

using namespace vrm3d;

namespace {

constexpr double kFlat = 1e-12;  // normal components below this count as zero

// The box of a plan that is one rectangle with edges along the axes.
bool AxisRectangle(const TVRMMultiPolygon2d& plan, TVRMBox2d& box)
{
    if (plan.GetCount() != 1 || plan.GetItems(0).GetCount() != 4)
        return false;
    const auto& v = plan.GetItems(0).Vertices();
    for (size_t i = 0; i < 4; ++i) {
        const TVRMPoint2d &p = v[i].pt, &q = v[(i + 1) % 4].pt;
        if (v[i].IsArc() || (p.x != q.x && p.y != q.y))
            return false;
    }
    box = plan.Box();
    return true;
}

// x - y. Two rectangles along the axes where y takes whole strips across x
// (an end or a middle part) are settled here, as the plan boolean would give
// them (its grid and its cleaning); anything else goes to the plan boolean.
std::unique_ptr<TVRMMultiPolygon2d> PlanDifference(const TVRMMultiPolygon2d& x, const TVRMMultiPolygon2d& y)
{
    TVRMBox2d a, b;
    if (!AxisRectangle(x, a) || !AxisRectangle(y, b))
        return TVRMIntersectFunc2d::SubPolygon(x, y);
    auto result = TVRMMultiPolygon2d::Create();
    auto grid = [](double v) { return static_cast<double>(std::llround(v * 1e4)) / 1e4; };
    auto add = [&](double x0, double y0, double x1, double y1) {
        x0 = grid(x0), y0 = grid(y0), x1 = grid(x1), y1 = grid(y1);
        if (x1 - x0 > CVRMEpsilon && y1 - y0 > CVRMEpsilon)
            result->Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}));
    };
    if (b.max.x <= a.min.x || b.min.x >= a.max.x || b.max.y <= a.min.y || b.min.y >= a.max.y) {
        add(a.min.x, a.min.y, a.max.x, a.max.y);  // apart
    } else if (b.min.y <= a.min.y && b.max.y >= a.max.y) {
        add(a.min.x, a.min.y, std::min(a.max.x, b.min.x), a.max.y);
        add(std::max(a.min.x, b.max.x), a.min.y, a.max.x, a.max.y);
    } else if (b.min.x <= a.min.x && b.max.x >= a.max.x) {
        add(a.min.x, a.min.y, a.max.x, std::min(a.max.y, b.min.y));
        add(a.min.x, std::max(a.min.y, b.max.y), a.max.x, a.max.y);
    } else {
        return TVRMIntersectFunc2d::SubPolygon(x, y);
    }
    return result;
}

// A solid of stacked vertical prisms: between consecutive levels, one plan polygon set.
struct TStack {
    std::vector<double> levels;
    std::vector<std::unique_ptr<TVRMMultiPolygon2d>> plans;  // plans[i] between levels i and i+1
};

// Recognises a solid whose faces are all vertical or level (curved facets
// excluded: their volumes are analytic). Going up level by level, the plan
// loses what the upward faces there close and gains what the downward faces open.
bool AsStack(const TVRMPolyhedron3d& solid, TStack& stack)
{
    struct TLevel {
        TVRMMultiPolygon2d up, down;  // plan rings, counter-clockwise outer rings
    };
    std::map<double, TLevel> levels;
    for (const auto& f : solid.GetFaces()) {
        const TVRMVector3d& n = f.GetNormal();
        if (f.GetArc())
            return false;
        if (std::fabs(n.z) <= kFlat)
            continue;
        if (std::fabs(n.x) > kFlat || std::fabs(n.y) > kFlat)
            return false;
        const double z = f.GetLoop(0)[0].z;
        TLevel& level = levels[z];
        for (const auto& l : f.GetLoops()) {
            for (const auto& p : l)
                if (p.z != z)
                    return false;
            if (n.z > 0) {
                AddPlanRing(level.up, l);
            } else {
                AddPlanRing(level.down, TVRMLoop3d(l.rbegin(), l.rend()));
            }
        }
    }
    if (levels.size() < 2)
        return false;
    double volume = 0;
    const TVRMMultiPolygon2d* below = nullptr;  // the plan of the layer under this level
    for (auto it = levels.begin(); std::next(it) != levels.end(); ++it) {
        TLevel& level = it->second;
        std::unique_ptr<TVRMMultiPolygon2d> plan;
        if (!below) {
            if (!level.up.IsEmpty())
                return false;
            plan = std::make_unique<TVRMMultiPolygon2d>(std::move(level.down));
        } else {
            if (!level.up.IsEmpty())
                plan = PlanDifference(*below, level.up);
            if (!level.down.IsEmpty())
                plan = TVRMIntersectFunc2d::MergePolygon(plan ? *plan : *below, level.down);
            if (!plan)
                plan = below->Clone();
        }
        volume += plan->Area() * (std::next(it)->first - it->first);
        below = plan.get();
        stack.levels.push_back(it->first);
        stack.plans.push_back(std::move(plan));
    }
    stack.levels.push_back(levels.rbegin()->first);
    // The layers must account for the whole solid (a closed, consistently oriented one).
    const double actual = solid.GetVolume();
    return std::fabs(volume - actual) <= 1e-9 * std::fabs(actual);
}

TVRMFace3d PlanFace(const std::vector<TPlanRing>& plan, double z, bool up)
{
    std::vector<TVRMLoop3d> loops;
    loops.reserve(plan.size());
    for (const auto& r : plan) {
        TVRMLoop3d l = LiftRing(r, z);
        if (!up)
            std::reverse(l.begin(), l.end());
        loops.push_back(std::move(l));
    }
    return TVRMFace3d(TVRMPlane3d({0, 0, up ? 1.0 : -1.0}, {0, 0, z}), std::move(loops));
}

struct TLayer {
    double z0, z1;
    const TVRMMultiPolygon2d* plan;  // nil or empty: nothing at these levels
};

bool IsBlank(const TVRMMultiPolygon2d* plan)
{
    return !plan || plan->IsEmpty();
}

using TPlanPair = std::pair<const TVRMMultiPolygon2d*, const TVRMMultiPolygon2d*>;

// What the combination of two stacks already knows about differences x - y
// of its plans: empty when x lies inside y, or a plan at hand.
struct TPlanFacts {
    std::set<TPlanPair> subsets;                                 // x inside y
    std::map<TPlanPair, const TVRMMultiPolygon2d*> differences;  // x - y
};

// Solid made of stacked prisms: the sides of every layer, then the plan faces
// where the layers start, change and end.
TVRMPolyhedron3d StackLayers(std::vector<TLayer> layers, const TPlanFacts& facts)
{
    std::vector<TLayer> merged;
    for (const auto& l : layers) {
        if (l.z1 <= l.z0)
            continue;
        if (!merged.empty() && merged.back().plan == l.plan && merged.back().z1 == l.z0)
            merged.back().z1 = l.z1;
        else
            merged.push_back(l);
    }
    while (!merged.empty() && IsBlank(merged.back().plan))
        merged.pop_back();
    while (!merged.empty() && IsBlank(merged.front().plan))
        merged.erase(merged.begin());
    if (merged.empty())
        return {};
    if (merged.size() == 1)
        return std::move(*TVRMPolyhedron3d::CreatePrism(*merged[0].plan, merged[0].z0, merged[0].z1 - merged[0].z0));
    // Each plan faceted once.
    std::map<const TVRMMultiPolygon2d*, std::vector<TPlanRing>> faceted;
    auto facets = [&faceted](const TVRMMultiPolygon2d& plan) -> const std::vector<TPlanRing>& {
        auto [it, added] = faceted.try_emplace(&plan);
        if (added)
            it->second = FacetPlan(plan);
        return it->second;
    };
    // Side faces; a plan edge that goes on in the next layer makes one taller face.
    struct TSide {
        TVRMPoint2d p, q;
        double z0, z1;
    };
    std::vector<TSide> sides;
    std::map<std::tuple<double, double, double, double>, size_t> open;  // plan edge -> its latest side
    for (const auto& l : merged) {
        if (IsBlank(l.plan))
            continue;
        for (const auto& r : facets(*l.plan)) {
            const size_t n = r.points.size();
            for (size_t i = 0; i < n; ++i) {
                const TVRMPoint2d& p = r.points[i];
                const TVRMPoint2d& q = r.points[i + 1 < n ? i + 1 : 0];
                auto [it, added] = open.try_emplace(std::make_tuple(p.x, p.y, q.x, q.y), sides.size());
                if (!added && sides[it->second].z1 == l.z0) {
                    sides[it->second].z1 = l.z1;
                } else {
                    it->second = sides.size();
                    sides.push_back({p, q, l.z0, l.z1});
                }
            }
        }
    }
    std::vector<TVRMFace3d> faces;
    faces.reserve(sides.size() + 2 * merged.size() + 2);
    for (const auto& f : sides)
        faces.push_back(TVRMFace3d::FromLoop(
            {{f.p.x, f.p.y, f.z0}, {f.q.x, f.q.y, f.z0}, {f.q.x, f.q.y, f.z1}, {f.p.x, f.p.y, f.z1}}));
    // x - y, computed once per pair (a layer met twice gives the same differences).
    std::map<std::pair<const TVRMMultiPolygon2d*, const TVRMMultiPolygon2d*>, std::unique_ptr<TVRMMultiPolygon2d>>
        differences;
    auto addPlan = [&](const TVRMMultiPolygon2d* x, const TVRMMultiPolygon2d* y, double z, bool up) {
        if (IsBlank(x) || facts.subsets.count({x, y}))
            return;
        if (IsBlank(y)) {
            faces.push_back(PlanFace(facets(*x), z, up));
            return;
        }
        if (auto known = facts.differences.find({x, y}); known != facts.differences.end()) {
            if (!IsBlank(known->second))
                faces.push_back(PlanFace(facets(*known->second), z, up));
            return;
        }
        auto& d = differences[{x, y}];
        if (!d)
            d = PlanDifference(*x, *y);
        if (!d->IsEmpty())
            faces.push_back(PlanFace(facets(*d), z, up));
    };
    const TVRMMultiPolygon2d* below = nullptr;
    for (size_t i = 0; i <= merged.size(); ++i) {
        const TVRMMultiPolygon2d* above = i < merged.size() ? merged[i].plan : nullptr;
        const double z = i < merged.size() ? merged[i].z0 : merged.back().z1;
        addPlan(below, above, z, true);
        addPlan(above, below, z, false);
        below = above;
    }
    return TVRMPolyhedron3d(std::move(faces));
}

// The plan of a stack at height z (nil outside it).
const TVRMMultiPolygon2d* PlanAt(const TStack& s, double z, int& index)
{
    index = -1;
    for (size_t i = 0; i + 1 < s.levels.size(); ++i)
        if (z > s.levels[i] && z < s.levels[i + 1]) {
            index = static_cast<int>(i);
            return s.plans[i].get();
        }
    return nullptr;
}

// Whether a single convex ring `outer` covers every vertex of `inner` (both
// without arc edges), so that inner lies inside outer: the common case of a
// slab over a beam or a room over a column, settled without a plan boolean.
bool Covers(const TVRMMultiPolygon2d& outer, const TVRMMultiPolygon2d& inner)
{
    if (outer.GetCount() != 1)
        return false;
    const auto& ring = outer.GetItems(0).Vertices();
    const size_t n = ring.size();
    for (size_t i = 0; i < n; ++i) {
        const TVRMPoint2d &a = ring[i].pt, &b = ring[(i + 1) % n].pt, &c = ring[(i + 2) % n].pt;
        if (ring[i].IsArc() || (b - a).CrossProduct(c - b) < 0)
            return false;
    }
    for (const auto& item : inner.Items())
        for (const auto& v : item.Vertices()) {
            if (v.IsArc())
                return false;
            for (size_t i = 0; i < n; ++i) {
                const TVRMPoint2d &a = ring[i].pt, &b = ring[(i + 1) % n].pt;
                if ((b - a).CrossProduct(v.pt - a) < 0)
                    return false;
            }
        }
    return true;
}

// Boolean of two stacks of vertical prisms: plan booleans level by level.
bool StackBoolean(const TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, int kind, TVRMPolyhedron3d& result)
{
    TStack sa, sb;
    if (!AsStack(a, sa) || !AsStack(b, sb))
        return false;
    std::vector<double> levels = sa.levels;
    levels.insert(levels.end(), sb.levels.begin(), sb.levels.end());
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    // One plan per pair of layers met, so that equal neighbours merge.
    std::map<std::pair<int, int>, std::unique_ptr<TVRMMultiPolygon2d>> combined;
    std::vector<TLayer> layers;
    TPlanFacts facts;
    bool touched = false;
    for (size_t i = 0; i + 1 < levels.size(); ++i) {
        const double m = (levels[i] + levels[i + 1]) / 2;
        int ia, ib;
        const TVRMMultiPolygon2d* pa = PlanAt(sa, m, ia);
        const TVRMMultiPolygon2d* pb = PlanAt(sb, m, ib);
        const TVRMMultiPolygon2d* plan = nullptr;
        if (pa && pb && Covers(*pb, *pa)) {
            // a's layer lies wholly inside b's: nothing is left of it, all of it is common.
            plan = kind == CVRMBoolIntersect ? pa : kind == CVRMBoolUnion ? pb : nullptr;
            touched = true;
        } else if (pa && pb) {
            auto& slot = combined[{ia, ib}];
            if (!slot) {
                switch (kind) {
                    case CVRMBoolIntersect:
                        slot = TVRMIntersectFunc2d::IntPolygon(*pa, *pb);
                        facts.subsets.insert({slot.get(), pa});
                        facts.subsets.insert({slot.get(), pb});
                        break;
                    case CVRMBoolUnion:
                        slot = TVRMIntersectFunc2d::MergePolygon(*pa, *pb);
                        facts.subsets.insert({pa, slot.get()});
                        facts.subsets.insert({pb, slot.get()});
                        break;
                    default:
                        slot = PlanDifference(*pa, *pb);
                        facts.subsets.insert({slot.get(), pa});
                        if (Covers(*pa, *pb))  // an opening inside a: a - (a - b) = b
                            facts.differences[{pa, slot.get()}] = pb;
                        touched = touched || slot->Area() < pa->Area() - CVRMZero * std::max(1.0, pa->Area());
                        break;
                }
            }
            plan = slot.get();
        } else if (kind == CVRMBoolUnion || (kind == CVRMBoolSubtract && pa)) {
            plan = pa ? pa : pb;
        }
        layers.push_back({levels[i], levels[i + 1], plan});
    }
    if (kind == CVRMBoolSubtract && !touched) {
        result = a;  // nothing in common
        return true;
    }
    result = StackLayers(std::move(layers), facts);
    RestoreOrigins(result, a, b, kind);
    return true;
}

// Union of solids that share no volume: both sets of faces (those of b tagged -1).
void AppendFaces(TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b)
{
    for (TVRMFace3d f : b.GetFaces()) {
        f.SetTag(-1);
        a.AddFace(std::move(f));
    }
}

}  // namespace

bool TVRMNewPolyBooleanOperator::BooleanOperate(TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, int kind, int)
{
    return BooleanOperate(a, b, kind, TVRMBooleanPath::Auto);
}

bool TVRMNewPolyBooleanOperator::BooleanOperate(TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, int kind,
                                                TVRMBooleanPath path)
{
    QTK_ASSERT(kind >= CVRMBoolIntersect && kind <= CVRMBoolSubtract);
    // Trivial cases: an empty operand, or solids whose boxes do not overlap.
    if (!a.HasFaces() || !b.HasFaces() || !a.GetBox().Meets(b.GetBox(), 0)) {
        if (kind == CVRMBoolIntersect) {
            a.Clear();
        } else if (kind == CVRMBoolUnion) {
            AppendFaces(a, b);
        }
        return true;
    }
    TVRMPolyhedron3d result;
    bool done = false;
    if (path != TVRMBooleanPath::General) {
        try {
            done = StackBoolean(a, b, kind, result);
        } catch (const EVRMIntersectException&) {
            done = false;
        }
        if (!done && path == TVRMBooleanPath::Prism)
            return false;
    }
    if (!done && !CorefineBoolean(a, b, kind, result)) {
        // Solids that only touch along an edge or at a point have no manifold
        // union; their union is both sets of faces.
        if (kind != CVRMBoolUnion || Position(a, b) != 2)
            return false;
        result = a;
        AppendFaces(result, b);
    }
    result.SetData(a.GetData());
    a = std::move(result);
    return true;
}

bool TVRMNewPolyBooleanOperator::BooleanOperate(TVRMPolyhedronShell3d& shell, const TVRMPolyhedron3d& solid, int kind,
                                                int superpositionKinds, int)
{
    QTK_ASSERT_MSG(kind == CVRMBoolIntersect || kind == CVRMBoolSubtract, "union is not defined for shells");
    if (kind == CVRMBoolSubtract)
        shell.Subtract(solid, superpositionKinds);
    else
        shell.Intersect(solid, superpositionKinds);
    return true;
}

namespace {

// The vertical prism over the region between two lines, reaching past `box` in height.
std::unique_ptr<TVRMPolyhedron3d> BetweenLines(const TVRMCustomLine2d& left, const TVRMCustomLine2d& right,
                                               TVRMBox3d box)
{
    box.min.z -= 1000;
    box.max.z += 1000;
    return TVRMPolyhedron3d::BuildCutPolyhedron(left, right, box);
}

}  // namespace

bool TVRMNewPolyBooleanOperator::Cut(TVRMPolyhedron3d& solid, const TVRMCustomLine2d& left,
                                     const TVRMCustomLine2d& right)
{
    if (!solid.HasFaces())
        return true;
    auto region = BetweenLines(left, right, solid.GetBox());
    return BooleanOperate(solid, *region, CVRMBoolIntersect, TVRMBooleanPath::Auto);
}

bool TVRMNewPolyBooleanOperator::Cut(TVRMPolyhedronShell3d& shell, const TVRMCustomLine2d& left,
                                     const TVRMCustomLine2d& right, int superpositionKinds)
{
    TVRMBox3d box;
    for (const auto& f : shell.GetFaces())
        box.Extend(f.GetBox());
    if (!box.IsValid())
        return true;
    auto region = BetweenLines(left, right, box);
    shell.Intersect(*region, superpositionKinds);
    return true;
}

int Position(const TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, double tol)
{
    if (!SolidsMeet(a, b, tol))
        return 0;
    TVRMPolyhedron3d common = a;
    if (!TVRMNewPolyBooleanOperator::BooleanOperate(common, b, CVRMBoolIntersect, TVRMBooleanPath::Auto))
        return 1;
    const double scale = std::min(std::fabs(a.GetVolume()), std::fabs(b.GetVolume()));
    return common.GetVolume() > tol * std::max(1.0, scale) ? 1 : 2;
}
