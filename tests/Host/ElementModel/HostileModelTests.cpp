// Model files a hostile user or another tool writes: each is either refused
// with the element and the field that are wrong, or loaded and measured right;
// none crashes the reader.
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>

#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Tools/qtkcalc/CheckCommand.h"
#include "tests/Host/ElementModel/ElementModelTestUtils.h"

namespace {

std::filesystem::path Hostile()
{
    const char* dir = std::getenv("QTK_TEST_FIXTURES");
    return (dir ? std::filesystem::path(dir) : std::filesystem::path("tests/fixtures")) / "elementmodel" / "hostile";
}

std::string ReadFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Repeat(const std::string& text, int count)
{
    std::string result;
    result.reserve(text.size() * static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        result += text;
    return result;
}

const std::string kFloors = R"({"floors": [{"ID": 1, "StructuralElevation": 0, "Height": 3}], "elements": [)";

TEST(HostileModel, RefusedNamingTheElementAndField)
{
    struct Case {
        const char* what;
        std::string text;  // the model, or "@file" under tests/fixtures/elementmodel/hostile
        int element;
        std::string field;
        std::string says;
    };
    const Case cases[] = {
        {"an element that is an array 100,000 deep", kFloors + Repeat("[", 100000) + Repeat("]", 100000) + "]}", 0,
         "elements" + Repeat("[0]", 63), "nest deeper than 64 levels"},
        {"properties nested 300,000 deep",
         kFloors + R"({"id": 5, "type": 0, "props": {"X": )" + Repeat(R"({"a": )", 300000) + "1" + Repeat("}", 300000) +
             "}}]}",
         5, "props.X" + Repeat(".a", 60), "nest deeper than 64 levels"},
        {"a number beyond the range of a double", "@number-beyond-double.json", 9, "props.TopElev", "out of range"},
        {"bytes after a NUL", "@bytes-after-nul.json", 0, "", "NUL byte at offset"},
        {"a cycle of owners", "@owner-cycle.json", 1, "owner", "the owners form a cycle (1 -> 2 -> 1)"},
        {"text in a numeric elevation", "@text-elevation.json", 3, "props.StartPtTopElev",
         "expected a number, got \"line\""},
        {"a solid that does not close", "@open-solid.json", 4, "solid",
         "does not close: the edge from vertex 0 to vertex 3 belongs to face 0 only"},
        {"a table file nested 1,000 deep", "@deep-table-file.json", 0, "", "nests values deeper than 64 levels"},
        {"a number beyond the range of a double in a table file", "@table-file-number-beyond-double.json", 0, "",
         "number overflow"},
        {"an opening that does not touch its host wall", "@opening-off-wall.json", 7, "shape.at",
         "the opening does not touch its host wall: it lies beyond the wall's end"},
        {"a solid with a face turned inside out", "@flipped-solid-face.json", 4, "solid",
         "not oriented consistently: faces 4 and 5 both run along the edge from vertex 3 to vertex 7"},
    };
    const auto file = std::filesystem::temp_directory_path() / "qtk-hostile-model.json";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = c.text[0] == '@' ? ReadFile(Hostile() / c.text.substr(1)) : c.text;
        ASSERT_FALSE(text.empty());
        try {
            TQTKElementModel::LoadFromText(text, Hostile());
            ADD_FAILURE() << "loaded";
        } catch (const EQTKModelError& error) {
            EXPECT_EQ(error.Element(), c.element) << error.what();
            EXPECT_EQ(error.Field(), c.field) << error.what();
            EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << error.what();
        }
        std::ofstream(file, std::ios::binary) << text;
        std::ostringstream out, err;
        EXPECT_EQ(RunCheckCommand(c.text[0] == '@' ? (Hostile() / c.text.substr(1)).string() : file.string(), out, err),
                  1);
        EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str().substr(0, 500);
    }
    std::filesystem::remove(file);
}

TEST(HostileModel, MessagesQuoteABoundedExcerpt)
{
    // An element given as a list of 100,000 numbers, and a floor id as a long text.
    std::string list = "[0";
    for (int i = 1; i < 100000; ++i)
        list += ", " + std::to_string(i);
    list += "]";
    for (const std::string& text :
         {kFloors + list + "]}", R"({"floors": [{"ID": ")" + std::string(100000, 'x') + R"("}], "elements": []})"}) {
        try {
            TQTKElementModel::LoadFromText(text, ".");
            ADD_FAILURE() << "loaded";
        } catch (const EQTKModelError& error) {
            EXPECT_LT(std::string(error.what()).size(), 200u) << std::string(error.what()).substr(0, 300);
        }
    }
}

TEST(HostileModel, DegenerateElementsLoadAndMeasureNothing)
{
    // A wall whose top equals its bottom, a slab without thickness and a column
    // without height load; their solids have no volume.
    struct Case {
        const char* file;
        int element;
    };
    for (const Case& c :
         {Case{"zero-height-wall.json", 5}, Case{"zero-thickness-slab.json", 6}, Case{"zero-height-column.json", 7}}) {
        SCOPED_TRACE(c.file);
        const auto model = TQTKElementModel::LoadFromFile(Hostile() / c.file);
        const auto solid = model->FindElement(c.element)->BuildPolyhedron();
        ASSERT_NE(solid, nullptr);
        EXPECT_EQ(solid->GetFaceCount(), 0);
        EXPECT_DOUBLE_EQ(solid->GetVolume(), 0.0);
        // A deduction with it (a solid meeting the element) takes nothing
        // away and leaves nothing in common: B - {} = B, B + {} = B, B * {} = {}.
        for (int kind : {CVRMBoolSubtract, CVRMBoolUnion, CVRMBoolIntersect}) {
            auto other = TVRMPolyhedron3d::CreateBox(TVRMBox3d({-100, -100, -100}, {500, 500, 500}));
            EXPECT_TRUE(TVRMNewPolyBooleanOperator::BooleanOperate(*other, *solid, kind)) << kind;
            EXPECT_NEAR(other->GetVolume(), kind == CVRMBoolIntersect ? 0.0 : 600.0 * 600 * 600, 1e-3) << kind;
        }
        std::ostringstream out, err;
        EXPECT_EQ(RunCheckCommand((Hostile() / c.file).string(), out, err), 0) << err.str();
    }
}

TEST(HostileModel, ReaderAndBuilderAgreeOnATopJustBelowTheBottom)
{
    // An arc wall (radius 2500 over a 4000 chord) rising from 0 at its end to
    // 3000 at its start, the end top 1e-9 below the bottom: within the
    // tolerance, so the end top is the bottom and the wall has its solid.
    const auto model = TQTKElementModel::LoadFromFile(Hostile() / "arc-wall-top-below.json");
    const IQTKElementDrawObj* wall = model->FindElement(8);
    const auto solid = wall->BuildPolyhedron();
    EXPECT_GT(solid->GetVolume(), 0.0);
    EXPECT_GT(solid->GetFaceCount(), 0);
    const TVRMBox3d box = solid->GetBox();
    EXPECT_NEAR(box.min.z, wall->GetBox().min.z, 1e-9);
    EXPECT_NEAR(box.max.z, wall->GetBox().max.z, 1e-9);
}

TEST(HostileModel, AClosedSolidGivenAsFacesIsMeasured)
{
    const auto model = TQTKElementModel::LoadFromFile(Hostile() / "closed-solid.json");
    EXPECT_NEAR(model->FindElement(4)->BuildPolyhedron()->GetVolume(), 1e9, 1e-3);
}

// The waterproof values on the edges of a face element, keyed by the edge's
// end points (in either direction), so that a value is found on its edge
// whichever way the ring runs.
std::map<std::pair<std::pair<double, double>, std::pair<double, double>>, double> WaterproofByEdge(
    const IQTKElementDrawObj* e)
{
    const auto* face = dynamic_cast<const IQTKFaceShape*>(e->GetShape());
    const TVRMMultiPolygon2d& outline = e->GetShape()->GetOutline();
    std::map<std::pair<std::pair<double, double>, std::pair<double, double>>, double> values;
    int index = 0;
    for (const TVRMPolygon2d& ring : outline.Items()) {
        for (int i = 0; i < ring.GetEdgeCount(); ++i, ++index) {
            const auto* info = dynamic_cast<const IWaterProofEdgeInfo*>(face->GetEdgeInfo(index));
            if (!info)
                continue;
            const TVRMCustomLine2d edge = ring.GetEdge(i);
            auto a = std::pair{edge.StartPt().x, edge.StartPt().y}, b = std::pair{edge.EndPt().x, edge.EndPt().y};
            values[{std::min(a, b), std::max(a, b)}] = info->GetValue();
        }
    }
    return values;
}

TEST(HostileModel, RingsRunningEitherWayAreReadWithTheirEdgeData)
{
    using TEdge = std::pair<std::pair<double, double>, std::pair<double, double>>;
    {
        // Clockwise outer ring: reversed, each waterproof value and the slope's
        // edge stay on their edge. The slope rises 0.1 from the edge y = 0, so
        // the top at y = 3000 is 300 above it (400 if it rose from x = 0).
        const auto model = TQTKElementModel::LoadFromFile(Hostile() / "clockwise-outline.json");
        const IQTKElementDrawObj* slab = model->FindElement(2);
        const auto* face = dynamic_cast<const IQTKFaceShape*>(slab->GetShape());
        EXPECT_FALSE(slab->GetShape()->GetOutline().GetItems(0).IsClockwise());
        const std::map<TEdge, double> expected = {
            {{{0, 0}, {0, 3000}}, 1}, {{{4000, 0}, {4000, 3000}}, 3}, {{{0, 0}, {4000, 0}}, 4}};
        EXPECT_EQ(WaterproofByEdge(slab), expected);
        EXPECT_NEAR(face->GetFaceElevInfo()->GetElevAt({2000, 3000}), 3300, 1e-6);
        EXPECT_NEAR(face->GetFaceElevInfo()->GetElevAt({2000, 0}), 3000, 1e-6);
    }
    {
        // Counter-clockwise hole: reversed; the slab has the hole.
        const auto model = TQTKElementModel::LoadFromFile(Hostile() / "counter-clockwise-hole.json");
        EXPECT_NEAR(model->FindElement(3)->BuildPolyhedron()->GetVolume(), (12e6 - 1e6) * 100, 1.0);
    }
    {
        // Clockwise ring with an arc (a half circle of radius 1500 on the
        // right side): the arc keeps its shape.
        const auto model = TQTKElementModel::LoadFromFile(Hostile() / "clockwise-arc-outline.json");
        const auto& outline = model->FindElement(5)->GetShape()->GetOutline();
        EXPECT_NEAR(outline.Area(), 12e6 + std::numbers::pi * 1500 * 1500 / 2, 1e-3);
        EXPECT_FALSE(outline.GetItems(0).IsClockwise());
    }
}

TEST(HostileModel, VerticesCloserThanTheToleranceAreMerged)
{
    // A vertex 0.5 um above (4000, 0): merged; the entry of the edge that
    // started there stays on the edge x = 4000.
    const auto model = TQTKElementModel::LoadFromFile(Hostile() / "close-vertices.json");
    const IQTKElementDrawObj* slab = model->FindElement(4);
    const auto& outline = slab->GetShape()->GetOutline();
    EXPECT_EQ(outline.GetEdgeCount(), 4);
    EXPECT_NEAR(outline.Area(), 12e6, 1e-6);
    using TEdge = std::pair<std::pair<double, double>, std::pair<double, double>>;
    EXPECT_EQ(WaterproofByEdge(slab), (std::map<TEdge, double>{{{{4000, 0}, {4000, 3000}}, 7}}));
}

TEST(HostileModel, AnOpeningOverlappingItsWallIsMeasuredOnTheOverlap)
{
    // A door 1000 wide placed at 3100 along a 3000 wall: 400 of it lie in the wall.
    const auto model = TQTKElementModel::LoadFromFile(Hostile() / "opening-past-wall-end.json");
    const TVRMBox3d box = model->FindElement(6)->GetBox();
    EXPECT_NEAR(box.min.x, 2600, 1e-6);
    EXPECT_NEAR(box.max.x, 3000, 1e-6);
    EXPECT_NEAR(box.max.z - box.min.z, 2100, 1e-6);
}

TEST(HostileModel, CheckAlignsStoreyColumnsByDisplayWidth)
{
    std::ostringstream out, err;
    ASSERT_EQ(RunCheckCommand((Hostile() / "long-storey-names.json").string(), out, err), 0) << err.str();
    // Each line of the table is as wide as its header (CJK characters count
    // two cells), and the names stand apart.
    auto width = [](const std::string& line) {
        int cells = 0;
        for (size_t i = 0; i < line.size();) {
            const auto c = static_cast<unsigned char>(line[i]);
            const int bytes = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            cells += bytes == 3 ? 2 : 1;
            i += static_cast<size_t>(bytes);
        }
        return cells;
    };
    std::istringstream lines(out.str());
    std::string line, header;
    std::getline(lines, line);  // model ...: N elements on M floors
    std::getline(lines, header);
    EXPECT_NE(header.find("long name  地下一层车库"), std::string::npos) << header;
    std::getline(lines, line);
    EXPECT_EQ(width(line), width(header)) << header << "\n" << line;
    // The wall row: one wall on each storey.
    EXPECT_NE(line.find("wall"), std::string::npos) << line;
}

}  // namespace
