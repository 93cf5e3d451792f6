// Shapes: line-shape widths and elevations, face elevations, per-edge
// information, planes of face shapes, property values and links.
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "Host/ElementModel/QTKArchSectionPolygons.h"
#include "Host/ElementModel/QTKElementDrawObj.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"
#include "tests/Host/ElementModel/ElementModelTestUtils.h"

namespace {

TEST(LineShape, WidthsFollowTheHostMeaning)
{
    const auto model = LoadElements(
        R"({"id": 1, "type": 0, "props": {"Thickness": 240, "AxisOffset": 60, "BottomElev": 0, "TopElev": 3000},
            "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}})");
    const auto* line = ShapeOf<IQTKLineShape>(*model, 1);
    EXPECT_DOUBLE_EQ(line->GetLeftWidth(), 240);  // total width
    EXPECT_DOUBLE_EQ(line->GetRightWidth(), 60);  // axis to the left face
    EXPECT_DOUBLE_EQ(line->GetWidth(), 240);
    EXPECT_DOUBLE_EQ(line->GetAxisOffset(), 60);
    // Section frame: x across (right positive), the left face at -AxisOffset; y up from the bottom.
    const TVRMBox2d section = line->GetPolygon().Box();
    EXPECT_DOUBLE_EQ(section.min.x, -60);
    EXPECT_DOUBLE_EQ(section.max.x, 180);
    EXPECT_DOUBLE_EQ(section.min.y, 0);
    EXPECT_DOUBLE_EQ(section.max.y, 3000);
    EXPECT_NEAR(line->GetOutline().Area(), 6000.0 * 240, 1e-6);
    EXPECT_FALSE(line->HasSectionPolygon());
    EXPECT_EQ(line->GetSectionInfo().startIndex, -1);  // no arch
}

TEST(LineShape, SectionAndArchInformation)
{
    const auto model = LoadElements(
        R"({"id": 1, "type": 15, "props": {"SectionWidth": 300, "BottomElev": 2400, "TopElev": 3000},
            "shape": {"kind": "line", "start": [0, 0], "end": [4000, 0],
                      "section": [[-150, 0], [150, 0], [150, 600], [-150, 600]],
                      "sectionInfo": {"archHeight": 300, "startIndex": 1, "endIndex": 2, "haunch": 50,
                                      "firstArch": [1, 2, 3, 4, 5]}}})");
    const auto* line = ShapeOf<IQTKLineShape>(*model, 1);
    EXPECT_TRUE(line->HasSectionPolygon());
    EXPECT_NEAR(line->GetPolygon().Area(), 300.0 * 600, 1e-9);
    const TQTKLineSectionInfo& info = line->GetSectionInfo();
    EXPECT_DOUBLE_EQ(info.archHeight, 300);
    EXPECT_EQ(info.startIndex, 1);
    EXPECT_EQ(info.endIndex, 2);
    EXPECT_DOUBLE_EQ(info.haunch, 50);
    EXPECT_EQ(info.firstArch, (std::array<int, 5>{1, 2, 3, 4, 5}));
    EXPECT_EQ(info.secondArch, (std::array<int, 5>{}));
}

TEST(LineShape, ElevationsInterpolateAlongTheAxis)
{
    const auto model = LoadElements(
        R"({"id": 1, "type": 15, "props": {"SectionWidth": 300, "StartPtTopElev": 3000, "EndPtTopElev": 3600,
            "StartPtBottomElev": 2400, "EndPtBottomElev": 3000},
            "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}})");
    const auto* line = ShapeOf<IQTKLineShape>(*model, 1);
    EXPECT_DOUBLE_EQ(line->GetStartPtTopElev(), 3000);
    EXPECT_DOUBLE_EQ(line->GetEndPtBottomElev(), 3000);
    // A point off the line takes the elevation at its foot; beyond the ends, the end's elevation.
    EXPECT_NEAR(line->GetTopElevAt({1500, 700}), 3150, 1e-9);
    EXPECT_NEAR(line->GetBottomElevAt({3000, -50}), 2700, 1e-9);
    EXPECT_NEAR(line->GetTopElevAt({-500, 0}), 3000, 1e-9);
    EXPECT_NEAR(line->GetTopElevAt({9000, 10}), 3600, 1e-9);
}

TEST(LineShape, ArcElevationsInterpolateAlongTheArc)
{
    const auto model = LoadElements(
        R"({"id": 1, "type": 0, "props": {"Thickness": 200, "BottomElev": 0, "StartPtTopElev": 3000,
            "EndPtTopElev": 4000},
            "shape": {"kind": "line", "start": [5000, 0], "end": [-5000, 0], "mid": [0, 5000]}})");
    const auto* line = ShapeOf<IQTKLineShape>(*model, 1);
    EXPECT_NEAR(line->GetTopElevAt({0, 6000}), 3500, 1e-6);  // half way round, off the arc
}

TEST(ArchRecord, ArcLengthIsTheCircularArcOverTheChord)
{
    const double pi = std::acos(-1.0);
    struct TCase {
        const char* name;
        int start, end, rise;
        double expected;
    };
    const TCase cases[] = {
        // Half the circumference of a circle of radius 1000.
        {"semicircle", 500, 2500, 1000, pi * 1000.0},
        // Radius (1000² + 500²) / (2 x 500) = 1250; half-angle asin(1000 / 1250).
        {"segment", 0, 2000, 500, 2.0 * 1250.0 * std::asin(0.8)},
        {"segment, ends given backwards", 2000, 0, 500, 2.0 * 1250.0 * std::asin(0.8)},
        {"no rise: the chord", 100, 1300, 0, 1200.0},
    };
    for (const TCase& c : cases)
        EXPECT_NEAR(GetArcLength(c.start, c.end, c.rise, 0, 0), c.expected, 1e-6) << c.name;
}

TEST(FaceShape, ElevationOnSlopedFaces)
{
    // One rectangle, three ways to the same plane z = 3000 + 0.1 x.
    const std::string outline = R"("outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]])";
    const char* slopes[] = {
        R"({"kind": "ratio", "edge": 3, "elev": 3000, "ratio": 0.1})",
        R"({"kind": "points", "points": [[0, 3000], [1, 3600], [2, 3600]]})",
        R"({"kind": "edge", "edge": 3, "elev": 3000, "point": [1, 3600]})",
    };
    const int kinds[] = {CQTKFaceElevByRatio, CQTKFaceElevByPoints, CQTKFaceElevByEdge};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(slopes[i]);
        const auto model = LoadElements(R"({"id": 1, "type": 19, "props": {"Thickness": 100},
            "shape": {"kind": "face", )" +
                                        outline + R"(, "elevation": )" + slopes[i] + "}}");
        const auto* face = ShapeOf<IQTKFaceShape>(*model, 1);
        EXPECT_EQ(face->GetElevKind(), kinds[i]);
        EXPECT_FALSE(face->IsLevel());
        EXPECT_EQ(face->GetFlag(), 0);
        const IQTKFaceElevInfo* info = face->GetFaceElevInfo();
        EXPECT_NEAR(info->GetElevAt({2500, 1234}), 3250, 1e-9);
        EXPECT_NEAR(info->GetSlopeFactor(), std::sqrt(1.01), 1e-12);
        EXPECT_NEAR(face->GetElev(), 100 * std::sqrt(1.01), 1e-12);  // vertical thickness
    }
}

TEST(FaceShape, LevelFaceHasSlopeFactorExactlyOne)
{
    const auto model = LoadElements(
        R"({"id": 1, "type": 19, "props": {"Thickness": 120, "TopElev": 3000},
            "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]]}})");
    const auto* face = ShapeOf<IQTKFaceShape>(*model, 1);
    EXPECT_TRUE(face->IsLevel());
    EXPECT_EQ(face->GetFlag(), 1);
    EXPECT_EQ(face->GetFaceElevInfo()->GetSlopeFactor(), 1.0);
    EXPECT_EQ(face->GetFaceElevInfo()->GetThicknessFactor(), 1.0);
    EXPECT_NE(dynamic_cast<const IQTKFlatShapeInfo*>(face->GetFaceElevInfo()), nullptr);
    EXPECT_DOUBLE_EQ(face->GetElev(), 120);                // the depth below the surface
    EXPECT_FALSE(face->GetFaceElevInfo()->GetElevFlag());  // absolute elevations
}

TEST(FaceShape, CurvedSurfaces)
{
    // A barrel vault over a 6000 span along y, rising 1000 from 3000: R = (3000^2 + 1000^2) / 2000 = 5000.
    const auto model = LoadElements(
        R"({"id": 1, "type": 67, "props": {"Thickness": 100},
            "shape": {"kind": "roof", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]],
                      "elevation": {"kind": "cylinder", "first": 6000, "second": 1000, "base": 3000,
                                    "axis": [[3000, 0], [3000, 4000]]}}},
           {"id": 2, "type": 67, "shape": {"kind": "face", "outline": [[0, 0], [4000, 0], [4000, 4000], [0, 4000]],
                      "elevation": {"kind": "cone", "first": 2000, "second": 500, "base": 3000,
                                    "center": [2000, 2000]}}})");
    const auto* roof = ShapeOf<IQTKRoofFaceShape>(*model, 1);
    EXPECT_EQ(roof->GetElevKind(), CQTKFaceElevCylinder);
    const auto* vault = dynamic_cast<const IQTKFaceElevKind4Info*>(roof->GetFaceElevInfo());
    ASSERT_NE(vault, nullptr);
    EXPECT_NEAR(vault->GetRadius(), 5000, 1e-9);
    EXPECT_NEAR(vault->GetAxisElev(), -1000, 1e-9);
    EXPECT_NEAR(vault->GetElevAt({3000, 100}), 4000, 1e-9);
    EXPECT_NEAR(vault->GetElevAt({0, 100}), 3000, 1e-9);
    EXPECT_NEAR(roof->GetRoofPolygon().Area(), 24e6, 1e-6);  // its own outline when none is given
    EXPECT_NEAR(model->FindElement(1)->GetBox().max.z, 4000, 1e-9);
    const auto* cone = ShapeOf<IQTKFaceShape>(*model, 2);
    EXPECT_NEAR(cone->GetFaceElevInfo()->GetElevAt({3000, 2000}), 3250, 1e-9);
    // The plane of a curved face is the level plane at its base.
    const auto plane = GetFaceShapePlane(cone, true);
    EXPECT_NEAR(plane->GetBasePoint().z, 3000, 1e-9);
}

TEST(FaceShape, PlanesOfTheTwoSelectors)
{
    const auto model = LoadElements(
        R"({"id": 1, "type": 19, "props": {"Thickness": 120, "TopElev": 3000},
            "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]]}},
           {"id": 2, "type": 19, "props": {"Thickness": 120},
            "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]],
                      "elevation": {"kind": "ratio", "edge": 3, "elev": 3000, "ratio": 0.1}}},
           {"id": 3, "type": 33, "shape": {"kind": "face", "outline": [[0, 0], [100, 0], [100, 100], [0, 100]]}})");
    struct Case {
        int id;
        bool top;
        TVRMPoint3d through;
        TVRMVector3d normal;
    };
    const double f = std::sqrt(1.01);
    const Case cases[] = {
        {1, true, {0, 0, 3000}, {0, 0, 1}},
        {1, false, {0, 0, 2880}, {0, 0, -1}},
        {2, true, {0, 0, 3000}, TVRMVector3d(-0.1, 0, 1).Unit()},
        {2, false, {0, 0, 3000 - 120 * f}, TVRMVector3d(0.1, 0, -1).Unit()},
        {3, true, {0, 0, 0}, {0, 0, 1}},
        {3, false, {0, 0, 0}, {0, 0, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "element " << c.id << (c.top ? " top" : " bottom"));
        const auto plane = GetFaceShapePlane(ShapeOf<IQTKFaceShape>(*model, c.id), c.top);
        ASSERT_NE(plane, nullptr);
        EXPECT_NEAR(plane->GetDistance(c.through), 0, 1e-9);
        EXPECT_TRUE(plane->GetNormal().IsEqualTo(c.normal, 1e-12));
    }
    EXPECT_EQ(GetFaceShapePlane(nullptr, true), nullptr);
}

TEST(FaceShape, ValidFaceShapePolygons)
{
    const TVRMPolygon2d square(std::vector<TVRMPoint2d>{{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    TVRMPolygon2d hole(std::vector<TVRMPoint2d>{{2, 2}, {2, 4}, {4, 4}, {4, 2}});
    TVRMPolygon2d flat(std::vector<TVRMPoint2d>{{0, 0}, {10, 0}, {20, 0}});
    TVRMPolygon2d tightArc(std::vector<TVRMVertex2d>{{{0, 0}, 2, CVRMArcKindCCW}, {{10, 0}}, {{10, 10}}});
    struct Case {
        std::vector<TVRMPolygon2d> rings;
        bool valid;
    };
    const Case cases[] = {
        {{square}, true},    {{square, hole}, true},
        {{hole}, false},  // no outer ring first
        {{}, false},         {{square, flat}, false},
        {{tightArc}, false}, {{TVRMPolygon2d::CreateCircle({0, 0}, 100)}, true},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        TVRMMultiPolygon2d set;
        for (const auto& ring : cases[i].rings)
            set.Add(ring);
        EXPECT_EQ(ValidFaceShapePoly(set, 0), cases[i].valid) << "case " << i;
    }
}

TEST(FaceShape, EdgeInformationByIndex)
{
    const auto model = LoadElements(
        R"({"id": 1, "type": 40, "props": {"Depth": 1500}, "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]],
            "edges": [{"kind": "slope", "slopeFactor": 0.5, "workingFaceWidth": 300}, null,
                      {"kind": "raft", "raftKind": 2, "values": [100, 200]}]}},
           {"id": 2, "type": 67, "shape": {"kind": "roof", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]],
            "edges": [{"kind": "rolled", "height": 250}, {"kind": "ridge"}, {"kind": "waterproof", "value": 300},
                      {"kind": "flight", "flag": 2}]}},
           {"id": 3, "type": 62, "shape": {"kind": "point", "insertPt": [0, 0], "size": [1000, 300],
            "edges": [{"kind": "footStep", "value": 300}]}})");
    const auto* earth = ShapeOf<IQTKFaceShape>(*model, 1);
    ASSERT_EQ(earth->GetEdgeCount(), 4);
    EXPECT_DOUBLE_EQ(earth->GetElev(), 1500);
    const auto* slope = dynamic_cast<const ISlopeFactorEdgeInfo*>(earth->GetEdgeInfo(0));
    ASSERT_NE(slope, nullptr);
    EXPECT_DOUBLE_EQ(slope->GetSlopeFactor(), 0.5);
    EXPECT_DOUBLE_EQ(slope->GetWorkingFaceWidth(), 300);
    EXPECT_EQ(earth->GetEdgeInfo(1), nullptr);
    EXPECT_EQ(earth->GetEdgeInfo(3), nullptr);  // beyond the given list
    const auto* raft = dynamic_cast<const IRaftEdgeInfo*>(earth->GetEdgeInfo(2));
    ASSERT_NE(raft, nullptr);
    EXPECT_EQ(raft->GetKind(), 2);
    EXPECT_EQ(raft->GetValues(), (std::vector<double>{100, 200}));
    EXPECT_EQ(dynamic_cast<const IRaftEdgeInfo*>(earth->GetEdgeInfo(0)), nullptr);  // another kind
    EXPECT_THROW(earth->GetEdgeInfo(4), EQTKAssertionFailed);

    const auto* roof = ShapeOf<IQTKFaceShape>(*model, 2);
    EXPECT_DOUBLE_EQ(dynamic_cast<const IRolledEdgeInfo*>(roof->GetEdgeInfo(0))->GetHeight(), 250);
    EXPECT_TRUE(dynamic_cast<const IRidgeEdgeInfo*>(roof->GetEdgeInfo(1))->IsRidge());
    EXPECT_DOUBLE_EQ(dynamic_cast<const IWaterProofEdgeInfo*>(roof->GetEdgeInfo(2))->GetValue(), 300);
    EXPECT_EQ(dynamic_cast<const IFlightEdgeInfo*>(roof->GetEdgeInfo(3))->GetFlag(), 2);
    const auto* step = ShapeOf<IQTKPointShape>(*model, 3);
    EXPECT_DOUBLE_EQ(dynamic_cast<const IFootStepEdgeInfo*>(step->GetEdgeInfo(0))->GetValue(), 300);
}

TEST(PointShape, InsertionPointElevationsAndMirror)
{
    const auto model = LoadElements(
        R"({"id": 1, "type": 25, "props": {"TopElev": 3000},
            "shape": {"kind": "point", "insertPt": [500, 800], "basePt": [0, 0], "mirror": true,
                      "outline": [[0, 0], [600, 0], [600, 200], [200, 200], [200, 500], [0, 500]],
                      "edges": [{"kind": "footStep", "value": 600}, {"kind": "footStep", "value": 200}]}})");
    const auto* point = ShapeOf<IQTKPointShape>(*model, 1);
    EXPECT_DOUBLE_EQ(point->GetInsertPt().x, 500);
    EXPECT_DOUBLE_EQ(point->GetPoint().z, 0);  // the storey's elevation when no bottom is given
    EXPECT_DOUBLE_EQ(point->GetTopElev(), 3000);
    EXPECT_TRUE(point->IsMirrored());
    const TQTKElementModel& m = *model;
    const TVRMMultiPolygon2d& outline = point->GetOutline();
    EXPECT_GT(outline.SignArea(), 0);  // still counter-clockwise
    EXPECT_NEAR(outline.Area(), 600.0 * 200 + 200 * 300, 1e-6);
    EXPECT_NEAR(outline.Box().min.x, -100, 1e-9);  // mirrored to the left of the insertion point
    EXPECT_NEAR(m.FindElement(1)->BuildPolyhedron()->GetVolume(), (600.0 * 200 + 200 * 300) * 3000, 1e-2);
    // The edge information stays with its edge: the 600 bottom edge and the 200 end edge after it.
    int withInfo = 0;
    for (int i = 0; i < point->GetEdgeCount(); ++i) {
        const auto* info = dynamic_cast<const IFootStepEdgeInfo*>(point->GetEdgeInfo(i));
        if (!info)
            continue;
        ++withInfo;
        const TVRMCustomLine2d edge = outline.GetItems(0).GetEdge(i);
        EXPECT_NEAR(edge.Length(), info->GetValue(), 1e-9) << "edge " << i;
        EXPECT_NEAR(std::min(edge.StartPt().y, edge.EndPt().y), 800, 1e-9) << "edge " << i;
    }
    EXPECT_EQ(withInfo, 2);
}

TEST(DrawObject, OptionalHaunchAndSectionInterfaces)
{
    const auto model = LoadElements(
        R"({"id": 1, "type": 15, "props": {"SectionWidth": 300, "SectionHeight": 600, "TopElev": 3000},
            "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]},
            "haunches": [{"startA": 500, "startB": 200, "length": 500, "height": 200, "startTop": 2400}]},
           {"id": 2, "type": 15, "props": {"SectionWidth": 300, "SectionHeight": 600, "TopElev": 3000},
            "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}, "haunches": null},
           {"id": 3, "type": 27, "shape": {"kind": "point", "insertPt": [0, 0], "size": [600, 600]},
            "sectionPolygon": [[-300, 0], [300, 0], [300, 500], [-300, 500]]},
           {"id": 4, "type": 15, "props": {"SectionWidth": 300, "SectionHeight": 600, "TopElev": 3000},
            "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}})");
    const auto* owner = dynamic_cast<const IQTKBeamHaunchInfoOwner*>(model->FindElement(1));
    ASSERT_NE(owner, nullptr);
    ASSERT_EQ(owner->GetHaunchInfos()->GetCount(), 1);
    const IQTKBeamHaunchInfo* haunch = owner->GetHaunchInfos()->GetItem(0);
    EXPECT_DOUBLE_EQ(haunch->GetStartHaunchA(), 500);
    EXPECT_DOUBLE_EQ(haunch->GetHaunchHeight(), 200);
    EXPECT_DOUBLE_EQ(haunch->GetStartHaunchTop(), 2400);
    EXPECT_DOUBLE_EQ(haunch->GetEndHaunchA(), 0);  // no end haunch
    const auto* nilList = dynamic_cast<const IQTKBeamHaunchInfoOwner*>(model->FindElement(2));
    ASSERT_NE(nilList, nullptr);
    EXPECT_EQ(nilList->GetHaunchInfos(), nullptr);
    EXPECT_EQ(dynamic_cast<const IQTKBeamHaunchInfoOwner*>(model->FindElement(4)), nullptr);
    const auto* source = dynamic_cast<const IQTKSectionPolygonSource*>(model->FindElement(3));
    ASSERT_NE(source, nullptr);
    EXPECT_NEAR(source->GetSectionPolygon()->Area(), 600.0 * 500, 1e-9);
    EXPECT_EQ(dynamic_cast<const IQTKSectionPolygonSource*>(model->FindElement(1)), nullptr);
}

TEST(PropValues, LookupByNameOfManyProperties)
{
    std::vector<std::pair<std::string, TRDXValue>> values;
    for (int i = 0; i < 50; ++i)
        values.emplace_back("Section_Width_" + std::to_string(i), std::int64_t{i});
    values.emplace_back("depth", TRDXValue{});
    values.emplace_back("DEPTH", std::int64_t{7});  // a repeated name: the first one counts
    values.emplace_back("材料Ä", std::string("砖"));
    const auto props = MakeRef<TQTKPropValues>(std::move(values));
    // Reads from several threads at once, in every letter case.
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int round = 0; round < 200; ++round)
                for (int i = 0; i < 50; ++i) {
                    const std::string name = "Section_Width_" + std::to_string(i);
                    std::string upper = name;
                    for (char& c : upper)
                        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
                    if (props->GetInteger(upper, -1) != i ||
                        props->GetFloat(name + "0", -1) != (i >= 1 && i < 5 ? i * 10 : -1))
                        ++wrong;
                }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(props->HasProp("Depth"));
    EXPECT_TRUE(props->IsPropNull("Depth"));
    EXPECT_EQ(props->GetInteger("Depth", -1), -1);
    EXPECT_FALSE(props->HasProp("Dept"));
    EXPECT_FALSE(props->HasProp("Section_Width_"));
    EXPECT_EQ(props->GetPropString("材料Ä"), "砖");
    EXPECT_FALSE(props->HasProp("材料ä"));
    EXPECT_EQ(EdoPropValueFloat(props.get(), "SECTION_width_7", -1), 7.0);
    EXPECT_EQ(EdoPropValueInteger(nullptr, "SECTION_width_7", -1), -1);
    EXPECT_EQ(TQTKPropValues().GetFloat("X", 2), 2.0);
}

TEST(PropValues, AbsentNullAndPresentDiffer)
{
    const auto model = LoadElements(
        R"({"id": 1, "type": 0, "name": "Q1", "props": {"Thickness": 240, "Material": "砖", "Type": 2.5,
            "Depth": null, "Text": "12.5", "IsFloorSlab": true},
            "shape": {"kind": "line", "start": [0, 0], "end": [1000, 0]}})");
    const IPropValues* p = model->GetElement(0)->GetPropValues();
    EXPECT_TRUE(p->HasProp("thickness"));
    EXPECT_DOUBLE_EQ(p->GetFloat("Thickness"), 240);
    EXPECT_FALSE(p->HasProp("Height"));
    EXPECT_DOUBLE_EQ(p->GetFloat("Height", 7), 7);
    EXPECT_TRUE(p->HasProp("Depth"));
    EXPECT_TRUE(p->IsPropNull("Depth"));
    EXPECT_FALSE(p->IsPropNull("Height"));
    EXPECT_DOUBLE_EQ(p->GetFloat("Depth", -1), -1);
    EXPECT_EQ(p->GetInteger("Type"), 3);  // halves away from zero
    EXPECT_DOUBLE_EQ(p->GetFloat("Text"), 12.5);
    EXPECT_DOUBLE_EQ(p->GetFloat("Material", 9), 9);  // not a number
    EXPECT_EQ(p->GetPropString("Material"), "砖");
    EXPECT_EQ(p->GetPropString("Thickness"), "240");
    EXPECT_EQ(p->GetPropString("Name"), "Q1");
    EXPECT_EQ(p->GetInteger("IsFloorSlab"), 1);
    EXPECT_DOUBLE_EQ(EdoPropValueFloat(p, "Thickness", 0), 240);
    EXPECT_EQ(EdoPropValueInteger(nullptr, "Thickness", 5), 5);
    // The record holds the same values.
    const IRDXRecord* record = model->GetElement(0)->GetRecord();
    EXPECT_EQ(record->GetAsString("Material"), "砖");
    EXPECT_EQ(record->GetAsInteger("ElementTypeID"), 0);
    EXPECT_EQ(record->GetAsInteger("FloorID"), 0);
    EXPECT_TRUE(record->IsNull("Depth"));
}

TEST(DrawObject, LinksParametricInformationAndTheAttachedObject)
{
    const auto model = LoadElements(
        R"({"id": 10, "type": 0, "floor": 1, "props": {"Thickness": 240},
            "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}},
           {"id": 11, "type": 4, "floor": 1, "parent": 10, "props": {"OpeningWidth": 900, "OpeningHeight": 2100},
            "shape": {"kind": "opening", "at": 1000}},
           {"id": 12, "type": 5, "floor": 1, "parent": 10, "props": {"OpeningWidth": 1500, "OpeningHeight": 1500},
            "shape": {"kind": "opening", "at": 4000}},
           {"id": 20, "type": 11, "floor": 1, "param": {"polyID": 174, "values": {"H": 1200, "B": 900}},
            "shape": {"kind": "point", "insertPt": [0, 0], "size": [900, 900]}},
           {"id": 21, "type": 11, "floor": 1, "parent": 20, "owner": 20, "subID": 7,
            "shape": {"kind": "point", "insertPt": [0, 0], "size": [100, 100]}})");
    const IQTKElementDrawObj* wall = model->FindElement(10);
    ASSERT_EQ(wall->GetChildCount(), 2);
    EXPECT_EQ(wall->GetChild(0)->GetIndexKey(), 11);
    EXPECT_EQ(wall->GetChild(1)->GetIndexKey(), 12);
    EXPECT_EQ(wall->GetParentRecord(), nullptr);
    EXPECT_EQ(model->FindElement(12)->GetParentRecord()->GetID(), 10);
    EXPECT_EQ(wall->GetFloorID(), 1);
    EXPECT_EQ(wall->GetRecord()->GetMasterRecord("FloorID")->GetAsString("Name"), "F1");
    EXPECT_FALSE(wall->IsParametric());
    EXPECT_EQ(wall->GetPolyInfo(), nullptr);

    const IQTKElementDrawObj* dormer = model->FindElement(20);
    ASSERT_TRUE(dormer->IsParametric());
    EXPECT_EQ(dormer->GetPolyInfo()->ParamPolyID(), 174);
    EXPECT_TRUE(dormer->GetPolyInfo()->HasProp("h"));
    EXPECT_DOUBLE_EQ(dormer->GetPolyInfo()->AsDouble("B"), 900);
    EXPECT_DOUBLE_EQ(dormer->GetPolyInfo()->AsDouble("X"), 0);
    const auto subs = dormer->FindSubEDOByID(7);
    ASSERT_EQ(subs.size(), 1u);
    EXPECT_EQ(subs[0]->GetOwnerObject(), dormer);
    EXPECT_TRUE(dormer->FindSubEDOByID(8).empty());

    // The record's host object is the draw object.
    EXPECT_EQ(dynamic_cast<IQTKElementDrawObj*>(wall->GetRecord()->GetObject()), wall);

    // Host links relate without a geometric test; any other element may be related.
    const IRDXRecord* door = model->FindElement(11)->GetRecord();
    EXPECT_TRUE(wall->AcceptsRelated(door));
    EXPECT_TRUE(model->FindElement(11)->AcceptsRelated(wall->GetRecord()));
    EXPECT_TRUE(subs[0]->AcceptsRelated(dormer->GetRecord()));
    EXPECT_FALSE(wall->AcceptsRelated(dormer->GetRecord()));
    EXPECT_FALSE(model->FindElement(11)->AcceptsRelated(model->FindElement(12)->GetRecord()));  // siblings
    EXPECT_FALSE(wall->AcceptsRelated(wall->GetRecord()));
    EXPECT_FALSE(wall->AcceptsRelated(nullptr));
    EXPECT_TRUE(wall->IsRelated(dormer->GetRecord(), 1));
    EXPECT_FALSE(wall->IsRelated(wall->GetRecord(), 1));
    EXPECT_FALSE(wall->IsRelated(model->GetBusiness()->GetTable("Floor")->GetRow(0), 1));  // no element behind it

    IQTKElementDrawObj* e = model->GetElement(0);
    EXPECT_EQ(e->GetCalcEDO(), nullptr);
    Ref<TInterfacedObject> edo(new TInterfacedObject);
    e->SetCalcEDO(edo.get());
    EXPECT_EQ(e->GetCalcEDO().get(), static_cast<IInterface*>(edo.get()));
    EXPECT_EQ(edo->RefCount(), 2);  // ours and the draw object's
    model->ClearCalcEDOs();
    EXPECT_EQ(e->GetCalcEDO(), nullptr);
    EXPECT_EQ(edo->RefCount(), 1);

    // Threads attaching and reading at once see either nil or the object.
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int k = 0; k < 2000; ++k) {
                if (t % 2 == 0)
                    e->SetCalcEDO(k % 2 ? edo.get() : nullptr);
                const Ref<IInterface> seen = e->GetCalcEDO();
                if (seen && seen.get() != static_cast<IInterface*>(edo.get()))
                    ++wrong;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(wrong.load(), 0);
    model->ClearCalcEDOs();
    EXPECT_EQ(edo->RefCount(), 1);
}

}  // namespace
