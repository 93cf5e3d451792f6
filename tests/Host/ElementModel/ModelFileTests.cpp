// Reading model files: the tables, the sample building and the errors of bad
// files, each naming the element and the field.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Tools/qtkcalc/CheckCommand.h"
#include "tests/Host/ElementModel/ElementModelTestUtils.h"

namespace {

std::filesystem::path Fixtures()
{
    const char* dir = std::getenv("QTK_TEST_FIXTURES");
    return dir ? std::filesystem::path(dir) : std::filesystem::path("tests/fixtures");
}

std::filesystem::path Example()
{
    return Fixtures().parent_path().parent_path() / "examples" / "building.json";
}

TEST(ModelFile, TablesInlineAndFromFiles)
{
    const auto model = TQTKElementModel::LoadFromFile(Fixtures() / "elementmodel" / "with-tables.json");
    const TRDXModel* rdx = model->GetRDXModel();
    ASSERT_EQ(rdx->GetDatabaseByIndex(0), model->GetBusiness());  // the default table source
    EXPECT_DOUBLE_EQ(model->GetBusiness()->GetTable("ProjInfo")->GetRow(0)->GetAsFloat("GroundElev"), -0.3);
    EXPECT_EQ(model->GetBusiness()->GetTable("Floor")->GetRecordByID(1)->GetAsString("Name"), "F1");
    EXPECT_NE(model->GetBusiness()->GetTable("ParamPolyParam"), nullptr);
    const IRDXTable* settings = rdx->GetDatabaseByName("NormCalcRule")->GetTable("QTKWallCalcSettings");
    ASSERT_NE(settings, nullptr);
    EXPECT_DOUBLE_EQ(settings->GetRow(0)->GetAsFloat("OverHighCriticalHeight"), 3.6);
    EXPECT_EQ(model->GetElementTable()->GetRowCount(), 1);
    // A line shape without elevations spans its storey.
    EXPECT_DOUBLE_EQ(ShapeOf<IQTKLineShape>(*model, 1)->GetStartPtTopElev(), 3000);
}

TEST(ModelFile, SampleBuildingIsPlausible)
{
    const auto model = TQTKElementModel::LoadFromFile(Example());
    std::map<int, int> counts;
    for (int i = 0; i < model->GetElementCount(); ++i)
        ++counts[model->GetElement(i)->GetElementTypeID()];
    for (int type : {0, 4, 5, 15, 19, 25, 32, 33, 34, 36, 41, 51, 52})
        EXPECT_GT(counts[type], 0) << "type " << type;
    for (int i = 0; i < model->GetElementCount(); ++i) {
        const IQTKElementDrawObj* e = model->GetElement(i);
        SCOPED_TRACE(testing::Message() << "element " << e->GetIndexKey());
        EXPECT_TRUE(e->GetBox().IsValid());
        const auto solid = e->BuildPolyhedron();
        const bool hasVolume = e->GetElementTypeID() != 32 && e->GetElementTypeID() != 34;
        if (hasVolume) {
            EXPECT_GT(solid->GetVolume(), 0);
        }
        // Openings lie within their host wall; finishes within their room's
        // plan; a lintel bears on the wall of its opening.
        const IQTKElementDrawObj* host = e->GetParentDrawObj();
        if (host && e->GetElementTypeID() == 12)
            host = host->GetParentDrawObj();
        if (host) {
            const TVRMBox3d a = e->GetBox(), b = host->GetBox();
            for (int k = 0; k < 2; ++k) {
                EXPECT_GE(a.min[k], b.min[k] - CVRMEpsilon);
                EXPECT_LE(a.max[k], b.max[k] + CVRMEpsilon);
            }
        }
    }
    // Doors stand on their storey's floor, windows 900 above it.
    for (int i = 0; i < model->GetElementCount(); ++i) {
        const IQTKElementDrawObj* e = model->GetElement(i);
        const int type = e->GetElementTypeID();
        if (type == 4 || type == 5) {
            EXPECT_NEAR(e->GetBox().min.z, (e->GetFloorID() - 1) * 3300 + (type == 5 ? 900 : 0), 1e-9)
                << "opening " << e->GetIndexKey();
        }
    }
    // Walls meet at corners and tees: each end of a wall lies in another wall of its storey.
    for (int i = 0; i < model->GetElementCount(); ++i) {
        const IQTKElementDrawObj* wall = model->GetElement(i);
        if (wall->GetElementTypeID() != 0)
            continue;
        const TVRMCustomLine2d axis = dynamic_cast<const IQTKLineShape*>(wall->GetShape())->GetLine();
        for (const TVRMPoint2d& end : {axis.StartPt(), axis.EndPt()}) {
            int met = 0;
            for (int j = 0; j < model->GetElementCount(); ++j) {
                const IQTKElementDrawObj* other = model->GetElement(j);
                const TVRMBox3d box = other->GetBox();
                met += j != i && other->GetElementTypeID() == 0 && other->GetFloorID() == wall->GetFloorID() &&
                       end.x >= box.min.x && end.x <= box.max.x && end.y >= box.min.y && end.y <= box.max.y;
            }
            EXPECT_GT(met, 0) << "wall " << wall->GetIndexKey() << " has a free end at " << end.x << ", " << end.y;
        }
    }
    // Slabs rest on the beams: every slab's box meets the beams along its four sides.
    model->Activate();
    const int beams[] = {15};
    for (int i = 0; i < model->GetElementCount(); ++i) {
        const IQTKElementDrawObj* slab = model->GetElement(i);
        if (slab->GetElementTypeID() != 19)
            continue;
        const auto found = TQTKBoxServiceOp::GetBoxIntersectEDOs(model->GetElementTable(), slab->GetBox(), beams);
        EXPECT_GE(found.size(), 4u) << "slab " << slab->GetIndexKey();
    }
    GetQTKModelRuntimeOptions().SetBoxService(nullptr);
}

TEST(ModelFile, CheckCommandSummarisesTheSampleBuilding)
{
    std::ostringstream out, err;
    EXPECT_EQ(RunCheckCommand(Example().string(), out, err), 0) << err.str();
    EXPECT_NE(out.str().find("wall"), std::string::npos);
    EXPECT_NE(out.str().find("box (-920, -1320, -1500)"), std::string::npos) << out.str();
}

TEST(ModelFile, LongParentChainsAndChildrenBeforeParents)
{
    // 20,000 elements each the parent of the previous one, the last an opening in a wall listed after it.
    std::string elements = R"({"id": 1, "type": 4, "parent": 2, "shape": {"kind": "opening", "at": 500,
        "width": 900, "height": 2100}}, {"id": 2, "type": 0, "parent": 3, "props": {"Thickness": 200},
        "shape": {"kind": "line", "start": [0, 0], "end": [3000, 0]}})";
    for (int id = 3; id <= 20000; ++id)
        elements += R"(, {"id": )" + std::to_string(id) + R"(, "type": 73, )" +
                    (id < 20000 ? R"("parent": )" + std::to_string(id + 1) + ", " : std::string()) +
                    R"("shape": {"kind": "point", "insertPt": [0, 0], "size": [10, 10]}})";
    const auto model = LoadElements(elements);
    EXPECT_EQ(model->GetElementCount(), 20000);
    EXPECT_EQ(model->FindElement(1)->GetParentDrawObj(), model->FindElement(2));
    EXPECT_EQ(model->FindElement(19999)->GetParentRecord()->GetID(), 20000);
    EXPECT_NEAR(model->FindElement(1)->GetBox().min.x, 50, 1e-9);
}

// A minimal valid element to vary.
constexpr const char* kWall =
    R"({"id": 7, "type": 0, "floor": 1, "props": {"Thickness": 240}, "shape": {"kind": "line", "start": [0, 0], "end": [3000, 0]}})";

TEST(ModelFile, BadFilesNameTheElementAndField)
{
    struct Case {
        const char* what;
        std::string text;
        int element;
        std::string field;
        std::string says;
    };
    const std::string head = R"({"floors": [{"ID": 1, "StructuralElevation": 0, "Height": 3}], "elements": [)";
    const Case cases[] = {
        {"invalid JSON (names where the text ends)", head + kWall, 0, "elements[1]", "not valid JSON"},
        {"missing id", head + R"({"type": 0, "shape": {}}]})", 0, "elements[0].id", "no \"id\""},
        {"missing type", head + R"({"id": 3, "shape": {}}]})", 3, "type", "no element type id"},
        {"unknown type id", head + R"({"id": 3, "type": 90, "shape": {}}]})", 3, "type", "unknown element type id 90"},
        {"missing shape", head + R"({"id": 3, "type": 0}]})", 3, "shape", "no shape"},
        {"missing axis end", head + R"({"id": 3, "type": 0, "shape": {"kind": "line", "start": [0, 0]}}]})", 3,
         "shape.end", "\"start\" and \"end\""},
        {"outline does not close",
         head + R"({"id": 4, "type": 19, "shape": {"kind": "face", "outline": [[0, 0], [1000, 0], [0, 0]]}}]})", 4,
         "shape.outline", "does not close"},
        {"outline without area",
         head + R"({"id": 4, "type": 19, "shape": {"kind": "face", "outline": [[0, 0], [1000, 0], [2000, 0]]}}]})", 4,
         "shape.outline", "does not close"},
        {"outline within the length tolerance",
         head +
             R"({"id": 4, "type": 19, "shape": {"kind": "face", "outline": [[0, 0], [0, 0.0005], [0.0005, 0.0005]]}}]})",
         4, "shape.outline", "does not close"},
        {"parent does not exist", head + R"({"id": 3, "type": 4, "parent": 99, "shape": {}}]})", 3, "parent",
         "element 99 does not exist"},
        {"cycle of parents",
         head + R"({"id": 1, "type": 0, "parent": 3, "shape": {}}, {"id": 2, "type": 0, "parent": 1, "shape": {}},
                    {"id": 3, "type": 0, "parent": 2, "shape": {}}]})",
         1, "parent", "cycle"},
        {"own parent", head + R"({"id": 1, "type": 0, "parent": 1, "shape": {}}]})", 1, "parent", "its own parent"},
        {"duplicate id", head + kWall + "," + kWall + "]}", 7, "id", "a second element"},
        {"floor does not exist", head + R"({"id": 3, "type": 0, "floor": 5, "shape": {}}]})", 3, "floor",
         "floor 5 does not exist"},
        {"property of two kinds",
         head + kWall + R"(, {"id": 8, "type": 0, "props": {"Thickness": "thick"}, "shape": {}}]})", 8,
         "props.Thickness", "text value"},
        {"opening without a host", head + R"({"id": 3, "type": 4, "shape": {"kind": "opening", "at": 100}}]})", 3,
         "parent", "host wall"},
        {"arc too tight",
         head + R"({"id": 3, "type": 0, "props": {"Thickness": 200}, "shape": {"kind": "line", "start": [0, 0],
                    "end": [3000, 0], "radius": 1000}}]})",
         3, "shape.radius", "half its chord"},
        {"slope points in a line",
         head + R"({"id": 3, "type": 19, "shape": {"kind": "face", "outline": [[0, 0], [10, 0], [20, 0], [20, 10]],
                    "elevation": {"kind": "points", "points": [[0, 0], [1, 1], [2, 2]]}}}]})",
         3, "shape.elevation", "one line"},
        {"slope edge out of range",
         head + R"({"id": 3, "type": 19, "shape": {"kind": "face", "outline": [[0, 0], [10, 0], [10, 10]],
                    "elevation": {"kind": "ratio", "edge": 3, "elev": 0, "ratio": 0.1}}}]})",
         3, "shape.elevation", "out of range"},
        {"slope vertex on the edge",
         head + R"({"id": 3, "type": 19, "shape": {"kind": "face", "outline": [[0, 0], [10, 0], [10, 10]],
                    "elevation": {"kind": "edge", "edge": 0, "elev": 0, "point": [1, 10]}}}]})",
         3, "shape.elevation", "on the edge's line"},
        {"edge entries beyond the outline",
         head + R"({"id": 3, "type": 19, "shape": {"kind": "face", "outline": [[0, 0], [10, 0], [10, 10]],
                    "edges": [null, null, null, {"kind": "ridge"}]}}]})",
         3, "shape.edges", "at most 3"},
        {"bad table file", R"({"databases": [{"name": "X", "file": "missing.json"}], "elements": []})", 0, "",
         "tables: cannot open"},
    };
    const auto file = std::filesystem::temp_directory_path() / ("qtk-bad-model-" + std::to_string(getpid()) + ".json");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            TQTKElementModel::LoadFromText(c.text, Fixtures());
            ADD_FAILURE() << "loaded";
        } catch (const EQTKModelError& error) {
            EXPECT_EQ(error.Element(), c.element) << error.what();
            EXPECT_EQ(error.Field(), c.field) << error.what();
            EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << error.what();
            if (c.element > 0) {
                EXPECT_NE(std::string(error.what()).find("element " + std::to_string(c.element)), std::string::npos);
            }
        }
        // The same file through the command: no summary, the message, exit 1.
        std::ofstream(file) << c.text;
        std::ostringstream out, err;
        EXPECT_EQ(RunCheckCommand(file.string(), out, err), 1);
        EXPECT_TRUE(out.str().empty()) << out.str();
        EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
    }
    std::filesystem::remove(file);
}

TEST(ModelFile, FaultsOfSeveralElementsAreReportedTogether)
{
    // Elements 2 and 4 have bad shapes; 3 is an opening in the bad wall 2 and is left out.
    const std::string text = R"({"elements": [
        {"id": 1, "type": 0, "props": {"Thickness": 200}, "shape": {"kind": "line", "start": [0, 0], "end": [10, 0]}},
        {"id": 2, "type": 0, "shape": {"kind": "line", "start": [0, 0], "end": [10, 0]}},
        {"id": 3, "type": 4, "parent": 2, "shape": {"kind": "opening"}},
        {"id": 4, "type": 19, "shape": {"kind": "face", "outline": [[0, 0], [1, 0]]}}]})";
    try {
        TQTKElementModel::LoadFromText(text, ".");
        ADD_FAILURE() << "loaded";
    } catch (const EQTKModelError& error) {
        EXPECT_EQ(error.Element(), 2);
        EXPECT_EQ(error.Field(), "shape.width");
        ASSERT_EQ(error.Following().size(), 1u);
        EXPECT_EQ(error.Following()[0].rfind("element 4, field \"shape.outline\"", 0), 0u) << error.Following()[0];
    }
    const auto file = std::filesystem::temp_directory_path() / ("qtk-two-faults-" + std::to_string(getpid()) + ".json");
    std::ofstream(file) << text;
    std::ostringstream out, err;
    EXPECT_EQ(RunCheckCommand(file.string(), out, err), 1);
    EXPECT_NE(err.str().find("element 2"), std::string::npos);
    EXPECT_NE(err.str().find("element 4"), std::string::npos);
    EXPECT_EQ(err.str().find("element 3"), std::string::npos);
    std::filesystem::remove(file);
}

TEST(ModelFile, CheckCommandFailsOnABadFile)
{
    std::ostringstream out, err;
    EXPECT_EQ(RunCheckCommand((Fixtures() / "elementmodel" / "no-such-file.json").string(), out, err), 1);
    EXPECT_NE(err.str().find("cannot open"), std::string::npos);
    EXPECT_TRUE(out.str().empty());
}

}  // namespace
