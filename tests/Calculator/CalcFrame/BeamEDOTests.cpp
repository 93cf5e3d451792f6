// The beam element object on small buildings: formwork faces by direction
// against the formwork angle and the beam's slope, arched and haunched beams
// against closed forms, end formwork and end finishes next to other beams,
// band solids, calculators and the projection on a wall.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKBeamCalcEDO.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Support/TestBuilding.h"

namespace {

std::string Num(double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

struct TBeamSettings {
    std::optional<double> angle;  // "BeamFormboardAngle"; none: null
    int archMethod = 0;           // "ArchBeamFormboardMethod"
};

// A building with the beam settings and the given elements on one storey.
std::unique_ptr<TTestBuilding> Building(const std::string& elements, const TBeamSettings& settings = {})
{
    const std::string text = R"({"floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0}],
        "databases": [{"name": "NormCalcRule", "tables": [{"name": "QTKBeamCalcSettings", "fields": [
          {"name": "BeamFormboardAngle", "type": "float"}, {"name": "ArchBeamFormboardMethod", "type": "integer"}],
          "rows": [{"BeamFormboardAngle": )" +
                             (settings.angle ? Num(*settings.angle) : std::string("null")) +
                             R"(, "ArchBeamFormboardMethod": )" + std::to_string(settings.archMethod) +
                             R"(}]}]}], "elements": [)" + elements + "]}";
    auto building = TTestBuilding::FromText(text);
    building->Activate();
    return building;
}

// A 250 x 600 beam from (x0, y0) to (x1, y1), top at 3000.
std::string Beam(int id, double x0, double y0, double x1, double y1, const std::string& props = "", double width = 250,
                 int type = 15)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) + R"(, "floor": 1, "props": {
        "SectionWidth": )" +
           Num(width) + R"(, "SectionHeight": 600, "SectionTypeID": 0)" + props +
           R"(}, "shape": {"kind": "line", "start": [)" + Num(x0) + ", " + Num(y0) + "], \"end\": [" + Num(x1) + ", " +
           Num(y1) + R"(], "width": )" + Num(width) + R"(, "bottom": 2400, "top": 3000}})";
}

Ref<IQTKBeamCalcEDO> BeamEdo(TTestBuilding& building, int id)
{
    Ref<IQTKBeamCalcEDO> beam = RefCast<IQTKBeamCalcEDO>(GetCalcEDO(building.Record(id), true));
    EXPECT_TRUE(beam) << "element " << id;
    if (beam)
        beam->ClearQtyItems();
    return beam;
}

constexpr double CAreaTol = 1e-3;

TEST(BeamEDOTest, FormworkOfAPlainBeam)
{
    // 250 x 600 x 6000: left + right + bottom = (0.6 x 2 + 0.25) x 6 m2.
    struct Case {
        const char* name;
        std::optional<double> angle;
        double top;      // AddTopFormboard
        double topSide;  // GetFinishSideArea(2): the top faces
    };
    const Case cases[] = {
        {"formwork angle 75", 75.0, 0.0, 250.0 * 6000},
        {"formwork angle 90", 90.0, 0.0, 250.0 * 6000},
        {"no formwork angle: top faces stay top", std::nullopt, 0.0, 250.0 * 6000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto building = Building(Beam(1, 0, 0, 6000, 0), {c.angle});
        const auto beam = BeamEdo(*building, 1);
        EXPECT_NEAR(beam->AddLeftSideFormboard(), 600.0 * 6000, CAreaTol);
        EXPECT_NEAR(beam->AddRightSideFormboard(), 600.0 * 6000, CAreaTol);
        EXPECT_NEAR(beam->AddBottomFormboard(), 250.0 * 6000, CAreaTol);
        EXPECT_NEAR(beam->AddTopFormboard(), c.top, CAreaTol);
        EXPECT_NEAR(beam->GetFormboardShellCalc()->GetArea(), 8.7e6, CAreaTol);
        EXPECT_NEAR(beam->GetFinishSideArea(2), c.topSide, CAreaTol);
        EXPECT_NEAR(beam->GetFinishSideArea(1), 2 * 600.0 * 6000, CAreaTol);
        EXPECT_NEAR(beam->GetFinishSideArea(3), 250.0 * 6000, CAreaTol);
        EXPECT_NEAR(beam->GetFinishSideArea(5), 0.0, CAreaTol);
        EXPECT_NEAR(beam->GetFinishShellCalc()->GetArea(), 2 * 600.0 * 6000 + 2 * 250.0 * 6000, CAreaTol);
        EXPECT_NEAR(beam->GetVolumeCalc()->GetVolume(), 250.0 * 600 * 6000, 1.0);
        EXPECT_NEAR(beam->GetSideFaceShellCalc()->GetArea(), 2 * 600.0 * 6000, CAreaTol);
        EXPECT_NEAR(beam->GetDeductPolyhedronLines()->GetLength(), 6000.0, 1e-6);
        EXPECT_NEAR(beam->GetSectionWidth(), 250.0, 0.0);
        EXPECT_NEAR(beam->GetSectionHeight(), 600.0, 0.0);
    }
}

TEST(BeamEDOTest, SlopingBeams)
{
    // 2000 along the plan, rising 3000 (56.3 degrees): the sloping faces are
    // 250 x sqrt(2000^2 + 3000^2) each.
    const double sloped = 250.0 * std::hypot(2000.0, 3000.0);
    struct Case {
        const char* name;
        double angle;
        double bottom, top;
    };
    const Case cases[] = {
        // Steeper than 45: both sloping faces face along the line (code 5) and count as bottom; no top.
        {"angle 45", 45.0, 2 * sloped, 0.0},
        // Angle 90: never steep; the sloping bottom face is the bottom, and a beam that is not steep has no top
        // formwork.
        {"angle 90", 90.0, sloped, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto building = Building(R"({"id": 1, "type": 15, "floor": 1, "props": {"SectionWidth": 250,
            "SectionHeight": 600, "SectionTypeID": 0, "StartPtTopElev": 3000, "EndPtTopElev": 6000,
            "StartPtBottomElev": 2400, "EndPtBottomElev": 5400}, "shape": {"kind": "line", "start": [0, 0],
            "end": [2000, 0], "width": 250}})",
                                 {c.angle});
        const auto beam = BeamEdo(*building, 1);
        EXPECT_NEAR(beam->GetLengthRate(), std::hypot(2000.0, 3000.0) / 2000.0, 1e-9);
        EXPECT_NEAR(beam->AddBottomFormboard(), c.bottom, CAreaTol);
        EXPECT_NEAR(beam->AddTopFormboard(), c.top, CAreaTol);
    }
}

TEST(BeamEDOTest, FormworkShellCalculatorNeedsFacesFirst)
{
    auto building = Building(Beam(1, 0, 0, 6000, 0), {75.0});
    const auto beam = BeamEdo(*building, 1);
    EXPECT_THROW(beam->GetFormboardShellCalc(), EQTKAssertionFailed);
    EXPECT_EQ(beam->GetFormboardShell(), nullptr);
    beam->AddBottomFormboard();
    TQTKShellCalc3d* calc = beam->GetFormboardShellCalc();
    // Faces added later do not reach the calculator built before.
    beam->AddLeftSideFormboard();
    EXPECT_EQ(beam->GetFormboardShellCalc(), calc);
    EXPECT_NEAR(calc->GetArea(), 250.0 * 6000, CAreaTol);
    EXPECT_NEAR(beam->GetFormboardShell()->GetArea(), 250.0 * 6000 + 600.0 * 6000, CAreaTol);
    beam->FreeCalcCache();
    EXPECT_EQ(beam->GetFormboardShell(), nullptr);
}

// ---------------------------------------------------------------------------
// Arched and haunched beams

const char* const CArchedBeam = R"({"id": 1, "type": 15, "floor": 1, "props": {"SectionWidth": 250,
    "SectionHeight": 500}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2500, "top": 3000,
    "sectionInfo": {"archHeight": 1000, "startIndex": 0, "endIndex": 3}}})";

// Area under a circle of radius R over the chord from -a to a, above its centre.
double CircleStrip(double radius, double a)
{
    return a * std::sqrt(radius * radius - a * a) + radius * radius * std::asin(a / radius);
}

TEST(BeamEDOTest, ArchedBeam)
{
    // Intrados over the 6000 chord rising 1000: R = 5000; the extrados 500
    // further out (R = 5500) about the same centre. The beam is cut square at
    // its ends (x = 0 and 6000), where the extrados is still 300 inside the
    // radial end faces: sides = the ring between the circles over the chord,
    // top = 250 x the extrados arc over it, bottom = 250 x the intrados arc.
    const double side = CircleStrip(5500, 3000) - CircleStrip(5000, 3000);
    const double top = 250 * 2 * 5500 * std::asin(3000.0 / 5500);
    const double bottom = 250 * 2 * 5000 * std::asin(0.6);
    struct Case {
        const char* name;
        int method;
        double top;
    };
    const Case cases[] = {{"arch method 0", 0, 0.0}, {"arch method 1", 1, top}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto building = Building(CArchedBeam, {75.0, c.method});
        const auto beam = BeamEdo(*building, 1);
        // Arc edges faceted at 5 degrees at most inside the cut: within 1e-4.
        EXPECT_NEAR(beam->AddLeftSideFormboard(), side, 1e-4 * side);
        EXPECT_NEAR(beam->AddRightSideFormboard(), side, 1e-4 * side);
        EXPECT_NEAR(beam->AddBottomFormboard(), bottom, 1e-4 * bottom);
        EXPECT_NEAR(beam->AddTopFormboard(), c.top, 1e-4 * top);
        EXPECT_EQ(beam->GetArchSolid(), nullptr);
    }
}

const char* const CHaunchedBeam = R"({"id": 1, "type": 15, "floor": 1, "props": {"SectionWidth": 250,
    "SectionHeight": 600}, "haunches": [{"startA": 500, "startB": 250, "endA": 500, "endB": 250, "width": 250}],
    "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 2400, "top": 3000,
    "sectionInfo": {"haunch": 1}}})";

TEST(BeamEDOTest, HaunchedBeam)
{
    auto building = Building(CHaunchedBeam, {75.0});
    const auto beam = BeamEdo(*building, 1);
    // The beam's solid holds the two haunches; its volume calculator does not.
    const double haunch = 500.0 * 250 / 2 * 250;
    EXPECT_NEAR(beam->GetOriginalPolyhedron()->GetVolume(), 9.0e8 + 2 * haunch, 1.0);
    ASSERT_NE(beam->GetArchSolid(), nullptr);
    EXPECT_NEAR(beam->GetArchSolid()->GetVolume(), 9.0e8, 1.0);
    EXPECT_NEAR(beam->GetVolumeCalc()->GetVolume(), 9.0e8, 1.0);

    // The beam's own faces on the haunch-free solid, then the haunches: each
    // gives two side triangles (500 x 250 / 2), its end face at the beam's end
    // (250 x 250) and its sloping face (250 x hypot(500, 250)); its top lies
    // on the beam's bottom and takes 500 x 250 of it.
    beam->SetUseArchSolid(true);
    EXPECT_EQ(beam->GetActualEndFaceIndexes().size(), 2u);
    EXPECT_NEAR(beam->AddLeftSideFormboard() + beam->AddRightSideFormboard() + beam->AddBottomFormboard(), 8.7e6,
                CAreaTol);
    double deducted = -1.0;
    const double faces = 2 * (2 * 500.0 * 250 / 2 + 250.0 * 250 + 250 * std::hypot(500.0, 250.0));
    EXPECT_NEAR(beam->CalcHaunchedFormboardArea(deducted), faces - 2 * 500.0 * 250, 1e-2);
    EXPECT_NEAR(deducted, 2 * 500.0 * 250, 1e-2);
    EXPECT_NEAR(beam->GetFormboardShell()->GetArea(), 8.7e6 + faces - 2 * 500.0 * 250, 1e-2);
}

// ---------------------------------------------------------------------------
// Ends next to other beams

TEST(BeamEDOTest, EndFacesNextToAnotherBeam)
{
    // Beam 1 stems into beam 2 at its end (cut at 2's centre line): its end
    // face lies inside 2; its start face (250 x 600) is free.
    const double face = 250.0 * 600;
    struct Case {
        const char* name;
        const char* props;  // beam 2's
        double endFormwork, endFinish;
    };
    const Case cases[] = {
        {"concrete beam", R"(, "Material": "现浇混凝土")", face, 2 * face},
        {"brick beam", R"(, "Material": "砖")", 2 * face, 2 * face},
        {"beam finished on its own", R"(, "Material": "砖", "CalcAloneBeamFinishQty": 1)", 2 * face, face},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto building = Building(Beam(1, 0, 0, 6000, 0, R"(, "Material": "现浇混凝土")") + "," +
                                     Beam(2, 6000, -3000, 6000, 3000, c.props, 300),
                                 {75.0});
        const auto beam = BeamEdo(*building, 1);
        EXPECT_NEAR(beam->GetEndFormboardArea(), c.endFormwork, CAreaTol);
        EXPECT_NEAR(beam->GetFinishSideArea(4), c.endFinish, CAreaTol);
        EXPECT_NEAR(beam->GetFormboardShell()->GetArea(), c.endFormwork, CAreaTol);
    }
}

// ---------------------------------------------------------------------------
// Band solids

TEST(BeamEDOTest, BandSolids)
{
    auto building = Building(Beam(1, 0, 0, 6000, 0), {75.0});
    const auto beam = BeamEdo(*building, 1);
    struct Case {
        const char* name;
        double bottom, height, from, to;
        double volume;  // -1: none
        double zMin, zMax;
    };
    const Case cases[] = {
        {"bottom above the section", 700, 100, 0, 6000, -1, 0, 0},
        {"a band inside", 100, 200, 1000, 4000, 250.0 * 200 * 3000, 2500, 2700},
        {"a band past the top stops there", 400, 500, 0, 6000, 250.0 * 200 * 6000, 2800, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto solid = beam->BuildSegmentSolid(c.bottom, c.height, c.from, c.to);
        if (c.volume < 0) {
            EXPECT_EQ(solid, nullptr);
            continue;
        }
        ASSERT_NE(solid, nullptr);
        EXPECT_NEAR(solid->GetVolume(), c.volume, 1.0);
        EXPECT_NEAR(solid->GetBox().min.z, c.zMin, 1e-6);
        EXPECT_NEAR(solid->GetBox().max.z, c.zMax, 1e-6);
        EXPECT_NEAR(solid->GetBox().min.x, c.from, 1e-6);
    }
}

// ---------------------------------------------------------------------------
// Projection on a wall

TEST(BeamEDOTest, ProjectionOnWalls)
{
    auto building = Building(Beam(1, 1000, 0, 7000, 0) +
                                 R"(, {"id": 2, "type": 0, "floor": 1, "shape": {"kind": "line", "start": [0, 500],
          "end": [8000, 500], "width": 240, "bottom": 0, "top": 3000}},
          {"id": 3, "type": 0, "floor": 1, "shape": {"kind": "line", "start": [500, -2000], "end": [500, 2000],
          "width": 240, "bottom": 0, "top": 3000}})",
                             {75.0});
    TFakeEDOScope scope;
    scope.Attach<TFakeWallEDO>(building->DrawObj(2)).midLine = TVRMCustomLine2d({0, 500}, {8000, 500});
    scope.Attach<TFakeWallEDO>(building->DrawObj(3)).midLine = TVRMCustomLine2d({500, -2000}, {500, 2000});
    const auto beam = BeamEdo(*building, 1);
    EXPECT_EQ(beam->CalcProjectionOnWall(nullptr), nullptr);
    EXPECT_EQ(beam->CalcProjectionOnWall(building->Record(3)), nullptr);
    const Ref<IQTKSectionPoly> projection = beam->CalcProjectionOnWall(building->Record(2));
    ASSERT_TRUE(projection);
    const TVRMBox2d box = projection->GetPolygon()->Box();
    EXPECT_NEAR(box.min.x, 1000.0, 1e-6);
    EXPECT_NEAR(box.max.x, 7000.0, 1e-6);
    EXPECT_NEAR(box.min.y, 2400.0, 1e-6);
    EXPECT_NEAR(box.max.y, 3000.0, 1e-6);
    EXPECT_NEAR(projection->GetPolygon()->Area(), 6000.0 * 600, CAreaTol);
    EXPECT_EQ(beam->CalcProjectionOnWall(building->Record(2)).get(), projection.get());
    // A wall that is not parallel leaves the kept projection in place.
    EXPECT_EQ(beam->CalcProjectionOnWall(building->Record(3)), nullptr);
    EXPECT_EQ(beam->CalcProjectionOnWall(building->Record(2)).get(), projection.get());
}

}  // namespace

namespace {

// ---------------------------------------------------------------------------
// Tie beams

TEST(BeamEDOTest, TieBeamOnInnerAndOuterWalls)
{
    // A tie beam on the top of a wall (0 to 2400) under it or across it.
    struct Case {
        const char* name;
        const char* wall;  // start, end and "InnerOuterFlag"
        bool notOnInner;
    };
    const Case cases[] = {
        {"parallel inner wall", R"("start": [0, 0], "end": [6000, 0]}, "props": {"InnerOuterFlag": 0})", true},
        {"parallel outer wall", R"("start": [0, 0], "end": [6000, 0]}, "props": {"InnerOuterFlag": 1})", false},
        {"outer wall crossing it", R"("start": [3000, -2000], "end": [3000, 2000]}, "props": {"InnerOuterFlag": 1})",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto building = Building(Beam(1, 0, 0, 6000, 0, "", 250, 18) +
                                     R"(, {"id": 2, "type": 0, "floor": 1, "shape": {"kind": "line", "width": 240,
                                     "bottom": 0, "top": 2400, )" +
                                     c.wall + "}",
                                 {75.0});
        const auto tieBeam = RefCast<IQTKTieBeamCalculator>(GetCalcEDO(building->Record(1), true));
        ASSERT_TRUE(tieBeam);
        EXPECT_EQ(tieBeam->IsNotOnInnerWall(), c.notOnInner);
    }
}

}  // namespace

namespace {

// ---------------------------------------------------------------------------
// Foundation beams

// A raft over the whole beam, from Bottom up to 3200 (stated as its
// "BottomElev" or only by its shape).
std::string RaftOver(double bottom, bool bottomProp = true)
{
    return R"(, {"id": 2, "type": 48, "floor": 1, "props": {)" +
           (bottomProp ? R"("BottomElev": )" + Num(bottom) : std::string()) +
           R"(}, "shape": {"kind": "face", "outline": [[-1000, -1000], [7000, -1000], [7000, 1000], [-1000, 1000]],
           "elevation": {"kind": "level", "elev": 3200}, "thickness": )" +
           Num(3200 - bottom) + "}}";
}

TEST(BeamEDOTest, FoundationBeamFormworkBelowRafts)
{
    // The 250 x 600 foundation beam from 2400 to 3000; a raft from 2700 up
    // takes its upper 300: the formwork is what hangs below it.
    struct Case {
        const char* name;
        double raftBottom;
        double sides, ends, maxFaceElev;
        bool bottomProp = true;
    };
    const Case cases[] = {
        {"raft bottom above the beam's bottom", 2700, 2 * 300.0 * 6000, 2 * 250.0 * 300, 2700},
        {"raft bottom level with the beam's bottom: ignored", 2400, 0, 0, -HUGE_VAL},
        {"raft without \"BottomElev\": its solid's bottom", 2700, 2 * 300.0 * 6000, 2 * 250.0 * 300, 2700, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto building = Building(Beam(1, 0, 0, 6000, 0, "", 250, 47) + RaftOver(c.raftBottom, c.bottomProp), {75.0});
        const auto beam = RefCast<IQTKFDBeamCalcEDO>(GetCalcEDO(building->Record(1), true));
        ASSERT_TRUE(beam);
        beam->ClearQtyItems();
        EXPECT_NEAR(beam->CalcSideFormboardArea(75.0), c.sides, CAreaTol);
        EXPECT_NEAR(beam->CalcEndFormboardArea(75.0), c.ends, CAreaTol);
        EXPECT_EQ(beam->GetMaxFaceElev(), c.maxFaceElev);
        TQTKShellCalc3d* calc = beam->GetFDFormboardShellCalc();
        EXPECT_NEAR(calc->GetArea(), c.sides + c.ends, CAreaTol);
        EXPECT_EQ(beam->GetFDFormboardShellCalc(), calc);
        EXPECT_NEAR(beam->GetBottomShellCalc(75.0)->GetArea(), 250.0 * 6000, CAreaTol);
        // The next quantity starts a new shell.
        beam->ClearQtyItems();
        EXPECT_NEAR(beam->GetFDFormboardShellCalc()->GetArea(), 0.0, CAreaTol);
    }
}

TEST(BeamEDOTest, FoundationBeamHaunchFormwork)
{
    // The haunched beam of the beam test as a foundation beam: each haunch
    // adds its two side triangles (500 x 250 / 2) and its end face (250 x
    // 250), and takes 500 x 250 of the beam's bottom, which is not reported.
    std::string haunched = CHaunchedBeam;
    haunched.replace(haunched.find("\"type\": 15"), 10, "\"type\": 47");
    auto building = Building(haunched, {75.0});
    const auto beam = BeamEdo(*building, 1);
    ASSERT_TRUE(RefCast<IQTKFDBeamCalcEDO>(beam));
    beam->SetUseArchSolid(true);
    beam->AddBottomFormboard();
    double deducted = -1.0;
    const double faces = 2 * (2 * 500.0 * 250 / 2 + 250.0 * 250);
    EXPECT_NEAR(beam->CalcHaunchedFormboardArea(deducted), faces - 2 * 500.0 * 250, 1e-2);
    EXPECT_EQ(deducted, 0.0);
    EXPECT_NEAR(beam->GetFormboardShell()->GetArea(), 250.0 * 6000 + faces - 2 * 500.0 * 250, 1e-2);
}

}  // namespace

namespace {

// ---------------------------------------------------------------------------
// Brick moulds

TEST(BeamEDOTest, BrickMould)
{
    // A part solid makes the beam a brick-moulded one: 120 walls against both
    // 600-high sides of the 6000 beam. Without part solids: no mould.
    const std::string part = R"(, "subSolids": [{"vertices": [[0, -125, 2400], [100, -125, 2400], [100, 125, 2400],
        [0, 125, 2400], [0, -125, 2500], [100, -125, 2500], [100, 125, 2500], [0, 125, 2500]],
        "faces": [[0, 3, 2, 1], [4, 5, 6, 7], [0, 1, 5, 4], [1, 2, 6, 5], [2, 3, 7, 6], [3, 0, 4, 7]]}]})";
    struct Case {
        const char* name;
        std::string beam;
        double volume;
    };
    std::string moulded = Beam(1, 0, 0, 6000, 0, R"(, "BrickMoldThickness": 120)");
    moulded.replace(moulded.size() - 1, 1, part);
    const Case cases[] = {
        {"part solids", moulded, 2 * 120.0 * 600 * 6000},
        {"no part solids", Beam(1, 0, 0, 6000, 0, R"(, "BrickMoldThickness": 120)"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto building = Building(c.beam, {75.0});
        const auto beam = BeamEdo(*building, 1);
        EXPECT_NEAR(beam->GetMergedSolid()->GetVolume(), c.volume, 1.0);
        EXPECT_NEAR(beam->GetMergedSolidCalc()->GetVolume(), c.volume, 1.0);
        if (c.volume > 0) {
            const TVRMBox3d box = beam->GetMergedSolid()->GetBox();
            EXPECT_NEAR(box.min.y, -245.0, 1e-6);
            EXPECT_NEAR(box.max.y, 245.0, 1e-6);
            EXPECT_NEAR(box.min.x, 0.0, 1e-6);
            EXPECT_NEAR(box.max.x, 6000.0, 1e-6);
        }
    }
}

}  // namespace
