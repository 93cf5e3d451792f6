#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "Geometry3dTestUtils.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

using Path = TVRMBooleanPath;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::unique_ptr<TVRMPolyhedron3d> RoundColumn(double x, double y, double r, double z0, double z1)
{
    TVRMMultiPolygon2d plan;
    plan.Add(TVRMPolygon2d::CreateCircle({x, y}, r));
    return TVRMPolyhedron3d::CreatePrism(plan, z0, z1 - z0);
}

TVRMFace3d Square(double z, bool up)
{
    TVRMLoop3d l{{0, 0, z}, {1000, 0, z}, {1000, 1000, z}, {0, 1000, z}};
    if (!up)
        std::reverse(l.begin(), l.end());
    return TVRMFace3d(TVRMPlane3d({0, 0, up ? 1.0 : -1.0}, {0, 0, z}), {l});
}

// Solids without volume, as callers can make them.
struct Degenerate {
    const char* name;
    std::unique_ptr<TVRMPolyhedron3d> solid;
    bool fromConstructor;  // a constructor must give the empty solid
};

std::vector<Degenerate> DegenerateSolids()
{
    std::vector<Degenerate> cases;
    const TVRMCustomLine2d axis({0, 500}, {1000, 500});
    cases.push_back({"zero-height band", TVRMPolyhedron3d::CreateBand(axis, 200, 100, 500, 500, 500, 500), true});
    cases.push_back({"zero-height arc band",
                     TVRMPolyhedron3d::CreateBand(TVRMCustomLine2d({0, 500}, {1000, 500}, 600, CVRMArcKindCCW), 200,
                                                  100, 500, 500, 500, 500),
                     true});
    TVRMMultiPolygon2d repeated;
    repeated.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{100, 100}, {100, 100}, {100, 100}, {100, 100}}));
    cases.push_back({"prism over repeated points", TVRMPolyhedron3d::CreatePrism(repeated, 0, 1000), true});
    TVRMMultiPolygon2d collinear;
    collinear.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0, 0}, {500, 500}, {1000, 1000}}));
    cases.push_back({"prism over points in line", TVRMPolyhedron3d::CreatePrism(collinear, 0, 1000), true});
    cases.push_back(
        {"extrusion of repeated points",
         TVRMPolyhedron3d::CreateExtrusion({{{5, 5, 0}, {5, 5, 0}, {5, 5, 0}}}, {0, 0, 1}, {0, 0, 100}, false), true});
    cases.push_back({"flat box", Box(0, 0, 500, 1000, 1000, 500), true});
    cases.push_back({"loft with top on bottom",
                     TVRMPolyhedron3d::CreateLoft({{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}},
                                                  {{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}}),
                     true});
    // Given as faces: a box of six faces squashed to one level, and two opposite squares.
    const auto cube = Box(0, 0, 0, 1000, 1000, 1000);
    std::vector<TVRMFace3d> six;
    for (const auto& f : cube->GetFaces()) {
        TVRMLoop3d l = f.GetLoop(0);
        for (auto& p : l)
            p.z = 500;
        six.push_back(TVRMFace3d(f.GetPlane(), {l}));
    }
    cases.push_back({"flat six-face solid", std::make_unique<TVRMPolyhedron3d>(std::move(six)), false});
    cases.push_back({"two-face solid",
                     std::make_unique<TVRMPolyhedron3d>(std::vector<TVRMFace3d>{Square(500, true), Square(500, false)}),
                     false});
    std::vector<TVRMFace3d> nan;
    for (const auto& f : cube->GetFaces()) {
        TVRMLoop3d l = f.GetLoop(0);
        l[0].x = kNaN;
        nan.push_back(TVRMFace3d(f.GetPlane(), {l}));
    }
    cases.push_back({"solid with a NaN corner", std::make_unique<TVRMPolyhedron3d>(std::move(nan)), false});
    return cases;
}

TEST(Boolean3dRobustnessTest, SolidsWithoutVolumeAreEmptyOperands)
{
    auto box = Box(0, 0, 0, 1000, 1000, 1000);
    for (auto& c : DegenerateSolids()) {
        SCOPED_TRACE(c.name);
        if (c.fromConstructor) {
            EXPECT_FALSE(c.solid->HasFaces());
        }
        // Box op flat: A - 0 = A, A * 0 = 0, A + 0 = A; flat op box: 0 - B = 0, 0 * B = 0, 0 + B = B.
        const double withBox[] = {0, 1e9, 1e9};
        const double ofFlat[] = {0, 1e9, 0};
        for (Path path : {Path::Auto, Path::Prism, Path::General})
            for (int kind : {CVRMBoolIntersect, CVRMBoolUnion, CVRMBoolSubtract}) {
                SCOPED_TRACE(testing::Message() << "kind " << kind << " path " << static_cast<int>(path));
                TVRMPolyhedron3d a = *box;
                ASSERT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(a, *c.solid, kind, path));
                EXPECT_DOUBLE_EQ(a.GetVolume(), withBox[kind]);
                TVRMPolyhedron3d flat = *c.solid;
                ASSERT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(flat, *box, kind, path));
                EXPECT_DOUBLE_EQ(flat.GetVolume(), ofFlat[kind]);
                EXPECT_EQ(flat.HasFaces(), kind == CVRMBoolUnion);
            }
        // A shell loses nothing to it and keeps nothing inside it.
        TVRMPolyhedronShell3d shell(*box, std::vector<int>{0, 1, 2, 3, 4, 5});
        EXPECT_DOUBLE_EQ(shell.Subtract(*c.solid, CVRMSuperpositionBoth), 0);
        EXPECT_DOUBLE_EQ(shell.GetArea(), 6e6);
    }
}

TEST(Boolean3dRobustnessTest, CutsWithExtremeValuesFailOrSucceedButNeverCrash)
{
    const double big = 1e300, max = DBL_MAX, inf = std::numeric_limits<double>::infinity();
    struct PlaneCase {
        const char* name;
        TVRMVector3d normal;
        TVRMPoint3d base;
    };
    const PlaneCase planes[] = {
        {"far plane", {0, 0, 1}, {0, 0, big}},
        {"plane at the largest double", {1, 0, 0}, {max, 0, 0}},
        {"almost level tilted plane", {1e-300, 0, 1}, {0, 0, 500}},
        {"steep plane through a corner", {1, 1e-12, 0}, {0, 0, 0}},
        {"NaN normal", {kNaN, 0, 1}, {0, 0, 500}},
        {"NaN base point", {0, 0, 1}, {0, 0, kNaN}},
        {"infinite base point", {0, 0, 1}, {inf, 0, 0}},
        {"zero normal", {0, 0, 0}, {0, 0, 500}},
    };
    auto box = Box(0, 0, 0, 1000, 1000, 1000);
    auto column = RoundColumn(500, 500, 300, 0, 1000);
    for (const TVRMPolyhedron3d* solid : {box.get(), column.get()})
        for (const auto& c : planes) {
            SCOPED_TRACE(c.name);
            std::unique_ptr<TVRMPolyhedron3d> second;
            auto first = solid->Cut(TVRMPlane3d(c.normal, c.base), second);
            ASSERT_TRUE(first && second);
            // Whatever comes back has a finite volume no larger than the solid's.
            for (const TVRMPolyhedron3d* part : {first.get(), second.get()}) {
                const double v = part->GetVolume();
                EXPECT_TRUE(std::isfinite(v));
                EXPECT_LE(v, solid->GetVolume() * (1 + 1e-9));
            }
        }
    struct LineCase {
        const char* name;
        TVRMCustomLine2d left, right;
    };
    const LineCase lines[] = {
        {"far lines", TVRMCustomLine2d({-big, big}, {big, big}), TVRMCustomLine2d({-big, -big}, {big, -big})},
        {"lines at the largest double", TVRMCustomLine2d({-max, max}, {max, max}),
         TVRMCustomLine2d({-max, -max}, {max, -max})},
        {"NaN end", TVRMCustomLine2d({0, 1000}, {kNaN, 1000}), TVRMCustomLine2d({0, 0}, {1000, 0})},
        {"infinite end", TVRMCustomLine2d({0, 1000}, {inf, 1000}), TVRMCustomLine2d({0, 0}, {1000, 0})},
        {"one point", TVRMCustomLine2d({500, 500}, {500, 500}), TVRMCustomLine2d({500, 500}, {500, 500})},
        {"arc of huge radius", TVRMCustomLine2d({0, 1000}, {1000, 1000}, max, CVRMArcKindCCWMajor),
         TVRMCustomLine2d({0, 0}, {1000, 0})},
        {"arc to a NaN end", TVRMCustomLine2d({0, 1000}, {kNaN, 1000}, 600, CVRMArcKindCCW),
         TVRMCustomLine2d({0, 0}, {1000, 0})},
        {"lines crossing", TVRMCustomLine2d({0, 0}, {1000, 1000}), TVRMCustomLine2d({0, 1000}, {1000, 0})},
    };
    for (const TVRMPolyhedron3d* solid : {box.get(), column.get()})
        for (const auto& c : lines) {
            SCOPED_TRACE(c.name);
            TVRMPolyhedron3d a = *solid;
            if (TVRMNewPolyBooleanOperator::Cut(a, c.left, c.right)) {
                EXPECT_TRUE(std::isfinite(a.GetVolume()));
                EXPECT_LE(a.GetVolume(), solid->GetVolume() * (1 + 1e-9));
            } else {
                EXPECT_DOUBLE_EQ(a.GetVolume(), solid->GetVolume());
            }
            TVRMPolyhedronShell3d shell(*solid, std::vector<int>{0, 1});
            TVRMNewPolyBooleanOperator::Cut(shell, c.left, c.right, CVRMSuperpositionBoth);
            EXPECT_TRUE(std::isfinite(shell.GetArea()));
        }
}

TEST(Boolean3dRobustnessTest, ArcsWithoutAFiniteCircleCountByTheirChord)
{
    // Faceting such an arc would turn a NaN or an infinity into a facet count.
    const double max = DBL_MAX;
    struct Case {
        const char* name;
        TVRMCustomLine2d arc;
    };
    const Case cases[] = {
        {"NaN end point", TVRMCustomLine2d({0, 0}, {kNaN, 0}, 600, CVRMArcKindCCW)},
        {"NaN radius", TVRMCustomLine2d({0, 0}, {1000, 0}, kNaN, CVRMArcKindCCW)},
        {"largest radius", TVRMCustomLine2d({0, 0}, {1000, 0}, max, CVRMArcKindCCW)},
        {"largest radius, major arc", TVRMCustomLine2d({0, 0}, {1000, 0}, max, CVRMArcKindCCWMajor)},
        {"infinite radius",
         TVRMCustomLine2d({0, 0}, {1000, 0}, std::numeric_limits<double>::infinity(), CVRMArcKindCWMajor)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto band = TVRMPolyhedron3d::CreateBand(c.arc, 200, 100, 0, 1000, 0, 1000);
        EXPECT_TRUE(std::isfinite(band->GetVolume()));
        TVRMPolyhedronShell3d shell(*Box(0, -500, 0, 1000, 500, 1000), std::vector<int>{0, 1, 2, 3, 4, 5});
        TVRMNewPolyBooleanOperator::Cut(shell, c.arc, TVRMCustomLine2d({0, -400}, {1000, -400}), CVRMSuperpositionBoth);
        EXPECT_TRUE(std::isfinite(shell.GetArea()));
    }
}

// The deduction that failed once a round column had left arc facets on the slab: a beam
// flush with the slab's top, along the edge the column's centre lies on. Both orders.
TEST(Boolean3dRobustnessTest, SlabMinusRoundColumnThenFlushBeam)
{
    auto slab = Box(0, 0, 3180, 4500, 6000, 3300);
    auto column = RoundColumn(0, 0, 200, -1100, 4400);
    auto beam = Box(0, -120, 2800, 4500, 120, 3300);
    // The beam takes 4500 x 120 of the slab's plan; the column its quarter circle less the part
    // under the beam (0 <= y <= 120): the integral of sqrt(r^2 - y^2) from 0 to 120.
    const double r = 200, underBeam = 60 * std::sqrt(r * r - 120 * 120) + r * r / 2 * std::asin(120 / r);
    const double expected = (4500 * 6000.0 - 4500 * 120.0 - (CVRMPi * r * r / 4 - underBeam)) * 120;
    double general = 0;
    for (Path path : {Path::General, Path::Prism, Path::Auto}) {
        SCOPED_TRACE(static_cast<int>(path));
        TVRMPolyhedron3d a = *slab;
        ASSERT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(a, *column, CVRMBoolSubtract, path));
        ASSERT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(a, *beam, CVRMBoolSubtract, path));
        TVRMPolyhedron3d b = *slab;
        ASSERT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(b, *beam, CVRMBoolSubtract, path));
        ASSERT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(b, *column, CVRMBoolSubtract, path));
        EXPECT_NEAR(a.GetVolume(), b.GetVolume(), 1e-9 * expected);
        // A facet cut across its width counts by its chord: within the faceting error of the
        // few facets the beam's side crosses.
        EXPECT_NEAR(a.GetVolume(), expected, 1e-6 * expected);
        // The prism path gives the corefinement's volume.
        if (path == Path::General)
            general = a.GetVolume();
        EXPECT_NEAR(a.GetVolume(), general, 1e-12 * expected);
    }
}

}  // namespace

namespace {

// The solid with every loop starting `shift` corners further on: the same solid, listed otherwise.
TVRMPolyhedron3d Rotated(const TVRMPolyhedron3d& solid, size_t shift)
{
    TVRMPolyhedron3d out;
    for (const auto& f : solid.GetFaces()) {
        std::vector<TVRMLoop3d> loops = f.GetLoops();
        for (auto& l : loops)
            std::rotate(l.begin(), l.begin() + static_cast<std::ptrdiff_t>(shift % l.size()), l.end());
        TVRMFace3d g(f.GetPlane(), std::move(loops), f.GetTag());
        g.SetArc(f.GetArc());
        out.AddFace(std::move(g));
    }
    return out;
}

}  // namespace

// The general path gives one result for one pair of solids, whatever corner their loops start at
// (the order in which the engine meets their triangles): faces in one order, each loop from one
// corner, so that callers reading faces by position see the same faces run after run.
TEST(Boolean3dRobustnessTest, GeneralPathResultDoesNotDependOnHowTheOperandsAreListed)
{
    const TVRMLoop3d bottom{{0, 0, 0}, {4000, 0, 0}, {4000, 3000, 0}, {0, 3000, 0}};
    const TVRMLoop3d top{{0, 0, 200}, {4000, 0, 1200}, {4000, 3000, 1200}, {0, 3000, 200}};
    const auto slab = TVRMPolyhedron3d::CreateLoft(bottom, top);
    struct Case {
        const char* name;
        std::unique_ptr<TVRMPolyhedron3d> other;
        int kind;
    };
    Case cases[] = {
        {"sloped slab - beam across", Box(1800, -500, -500, 2200, 3500, 900), CVRMBoolSubtract},
        {"sloped slab - round column", RoundColumn(2000, 1500, 300, -1000, 2000), CVRMBoolSubtract},
        {"sloped slab * block", Box(-100, 1000, -100, 3000, 2000, 700), CVRMBoolIntersect},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TVRMPolyhedron3d first = *slab;
        ASSERT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(first, *c.other, c.kind, Path::General));
        for (size_t shift : {1, 2, 3}) {
            SCOPED_TRACE(shift);
            TVRMPolyhedron3d a = Rotated(*slab, shift);
            ASSERT_TRUE(
                TVRMNewPolyBooleanOperator::BooleanOperate(a, Rotated(*c.other, shift + 1), c.kind, Path::General));
            ASSERT_EQ(a.GetFaceCount(), first.GetFaceCount());
            for (int k = 0; k < a.GetFaceCount(); ++k) {
                SCOPED_TRACE(k);
                const TVRMFace3d &f = a.GetFace(k), &g = first.GetFace(k);
                EXPECT_EQ(f.GetTag(), g.GetTag());
                ASSERT_EQ(f.GetLoopCount(), g.GetLoopCount());
                for (int l = 0; l < f.GetLoopCount(); ++l) {
                    ASSERT_EQ(f.GetLoop(l).size(), g.GetLoop(l).size());
                    for (size_t v = 0; v < f.GetLoop(l).size(); ++v)
                        EXPECT_TRUE(f.GetLoop(l)[v].IsEqualTo(g.GetLoop(l)[v], 1e-9));
                }
            }
        }
    }
}
