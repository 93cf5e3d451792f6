// What lies below an element (the bands the analyzers find) and the bottom
// elevation of over-height partitions and scaffolds chosen from them, on
// small buildings: floors of region 1 (the first floor at 0, 3 m high, the
// second at 3 m), the ground at GroundElev, settings tables as each case
// gives them.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKOverHighBottomElevCalcInfo.h"
#include "Calculator/Common/QTKOverHighBottomElevCalculator.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/Runtime/Assert.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Support/TestBuilding.h"

namespace {

std::string Num(double v)
{
    return std::to_string(v);
}

// A level face slab (type 19 unless said) over x0..x1, y0..y1 with its top at Top.
std::string Slab(int id, double x0, double y0, double x1, double y1, double top, double thickness = 100,
                 const std::string& extra = "", int type = 19, int floor = 1)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) + R"(, "floor": )" +
           std::to_string(floor) + R"(, "props": {"Thickness": )" + Num(thickness) + R"(, "TopElev": )" + Num(top) +
           extra + R"(}, "shape": {"kind": "face", "outline": [[)" + Num(x0) + ", " + Num(y0) + "], [" + Num(x1) +
           ", " + Num(y0) + "], [" + Num(x1) + ", " + Num(y1) + "], [" + Num(x0) + ", " + Num(y1) +
           R"(]], "elevation": {"kind": "level", "elev": )" + Num(top) + R"(}, "thickness": )" + Num(thickness) + "}}";
}

// A wall (type 0, 200 thick) along y = 0 from x0 to x1, bottoms at its ends as given, 3 m high.
std::string Wall(int id, double x0, double x1, double startBottom, double endBottom, int floor = 1)
{
    const std::string props = R"("Thickness": 200, "StartPtBottomElev": )" + Num(startBottom) +
                              R"(, "EndPtBottomElev": )" + Num(endBottom) + R"(, "StartPtTopElev": )" +
                              Num(startBottom + 3000) + R"(, "EndPtTopElev": )" + Num(endBottom + 3000);
    return R"({"id": )" + std::to_string(id) + R"(, "type": 0, "floor": )" + std::to_string(floor) + R"(, "props": {)" +
           props + R"(}, "shape": {"kind": "line", "start": [)" + Num(x0) + R"(, 0], "end": [)" + Num(x1) +
           R"(, 0], "width": 200, "startBottom": )" + Num(startBottom) + R"(, "endBottom": )" + Num(endBottom) +
           R"(, "startTop": )" + Num(startBottom + 3000) + R"(, "endTop": )" + Num(endBottom + 3000) + "}}";
}

// A point element (column 25, column base 28, isolated foundation 52, stair 29 ...) over x0..x1, y0..y1.
std::string Point(int id, int type, double x0, double y0, double x1, double y1, double bottom, double top,
                  int floor = 1)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) + R"(, "floor": )" +
           std::to_string(floor) + R"(, "props": {"BottomElev": )" + Num(bottom) + R"(, "TopElev": )" + Num(top) +
           R"(}, "shape": {"kind": "point", "insertPt": [)" + Num((x0 + x1) / 2) + ", " + Num((y0 + y1) / 2) +
           R"(], "size": [)" + Num(x1 - x0) + ", " + Num(y1 - y0) + "]}}";
}

// A settings table of integer keys.
std::string Settings(const std::string& table, const std::vector<std::pair<std::string, int>>& keys)
{
    std::string fields = R"({"name": "ID", "type": "integer"})", row = R"("ID": 1)";
    for (const auto& [key, value] : keys) {
        fields += R"(, {"name": ")" + key + R"(", "type": "integer"})";
        row += R"(, ")" + key + R"(": )" + std::to_string(value);
    }
    return R"({"name": ")" + table + R"(", "fields": [)" + fields + R"(], "rows": [{)" + row + "}]}";
}

constexpr const char* CFloors =
    R"([{"ID": 1, "Name": "F1", "StartFloorNo": 1, "StructuralElevation": 0.0, "Height": 3.0, "RegionID": 1,
         "FirstFloorFlag": true},
        {"ID": 2, "Name": "F2", "StartFloorNo": 2, "StructuralElevation": 3.0, "Height": 3.0, "RegionID": 1,
         "FirstFloorFlag": false}])";

struct TModel {
    std::string elements;
    std::string settings;                                           // settings tables, comma-separated; "" none
    std::string floors = CFloors;                                   // the "floors" array
    std::string project = R"({"Name": "P", "GroundElev": -0.45})";  // "" no project
    bool regionFlag = false;                                        // the flag of region 1
};

class TOverHighBottomElevTest : public ::testing::Test {
protected:
    void Load(const TModel& m)
    {
        scope_.reset();
        building_.reset();
        std::string text =
            R"({"databases": [{"name": "Business", "tables": []}, {"name": "NormCalcRule", "tables": [)" + m.settings +
            "]}], ";
        if (!m.project.empty())
            text += R"("project": )" + m.project + ", ";
        text += R"("floors": )" + m.floors + R"(, "elements": [)" + m.elements + "]}";
        building_ = TTestBuilding::FromText(text);
        TQTKCalculationScopeOptions options;
        options.session.regions = {{1, m.regionFlag, 0.0}};
        building_->Activate(std::move(options));
        scope_.emplace();
    }
    void TearDown() override
    {
        scope_.reset();
        building_.reset();
    }
    IQTKElementDrawObj* DrawObj(int id) const { return building_->DrawObj(id); }
    IRDXRecord* Record(int id) const { return building_->Record(id); }
    Ref<IQTKCalculatorEDO> Edo(int id) const { return GetCalcEDO(Record(id), true); }
    TableSourceRef Rules() const { return building_->RuleSet(); }

    // The ids of the bands' elements, nearest first, and whether they cover.
    template <class TAnalyzer>
    std::vector<int> Bands(int id, int bottomMethod = 0, bool* covered = nullptr, double lowerBound = CQTKNoLowerBound)
    {
        TAnalyzer analyzer(DrawObj(id));
        analyzer.SetBottomMethod(bottomMethod);
        TQTKElevEDOInfoList list;
        const bool all = analyzer.FindBottomElement(list, lowerBound);
        if (covered)
            *covered = all;
        std::vector<int> ids;
        for (const auto& band : list)
            ids.push_back(band->GetDrawObj()->GetIndexKey());
        return ids;
    }

    std::unique_ptr<TTestBuilding> building_;
    std::optional<TFakeEDOScope> scope_;
};

using TIds = std::vector<int>;

// ---------------------------------------------------------------------------
// The analyzers

TEST_F(TOverHighBottomElevTest, TheAnalysedElementIsNeverACandidate)
{
    // Slab 1 (bottom 2900, "BottomElev" 2900) looked at from its own bottom
    // upward, as a floor area is: it would be a band of itself.
    struct Case {
        const char* name;
        std::string others;
        TIds bands;
    };
    const Case cases[] = {
        {"alone: nothing", "", {}},
        {"a slab above: that one only", ", " + Slab(2, -500, -500, 4500, 4500, 6000), {2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load({Slab(1, 0, 0, 4000, 4000, 3000, 100, R"(, "BottomElev": 2900)") + c.others});
        EXPECT_EQ(Bands<TQTKFloorAreaOverHighBottomElevAnalyzer>(1), c.bands);
    }
}

TEST_F(TOverHighBottomElevTest, AStandardFloorGivesOneBandPerStorey)
{
    // Slab 2 (top 3000) lies on floor 3, a standard floor of "StdFloorCount"
    // storeys 3 m high: its bands have tops 3000, 6000 and 9000. The wall
    // above finds the highest band at or below its bottom.
    struct Case {
        const char* name;
        int storeys;
        double wallBottom;
        TIds bands;
        double elev;  // the band's top
        bool inBand;  // the wall stands on it
    };
    const Case cases[] = {
        {"3 storeys, wall at 3000", 3, 3000, {2}, 3000, true},
        {"3 storeys, wall at 6000", 3, 6000, {2}, 6000, true},
        {"3 storeys, wall at 9000", 3, 9000, {2}, 9000, true},
        {"1 storey, wall at 9000", 1, 9000, {2}, 3000, false},
        {"0 storeys: none", 0, 9000, {}, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TModel m;
        m.floors = std::string(R"([{"ID": 1, "Name": "F1", "StartFloorNo": 1, "StructuralElevation": 0.0,
            "Height": 3.0, "RegionID": 1, "FirstFloorFlag": true},
            {"ID": 3, "Name": "S", "StartFloorNo": 2, "StructuralElevation": 3.0, "Height": 3.0, "RegionID": 1,
             "StdFloorCount": )") +
                   std::to_string(c.storeys) + "}]";
        m.elements =
            Wall(1, 0, 4000, c.wallBottom, c.wallBottom) + ", " + Slab(2, -500, -500, 4500, 500, 3000, 100, "", 19, 3);
        Load(m);
        EXPECT_EQ(Bands<TQTKWallOverHighBottomElevAnalyzer>(1), c.bands);
        TQTKOverHighBottomElevInfo info;
        TQTKWallOverHighBottomElevAnalyzer(DrawObj(1)).Analyze(info, CQTKNoLowerBound);
        if (!c.bands.empty()) {
            ASSERT_EQ(info.Elevs.size(), 1u);
            EXPECT_DOUBLE_EQ(info.Elevs[0].First, c.elev);
            EXPECT_EQ(info.FirstInBand, c.inBand);
        } else {
            EXPECT_TRUE(info.Elevs.empty());
        }
    }
}

TEST_F(TOverHighBottomElevTest, FoundationsOnlyWhenTheBottomMethodAsksAndThenNoFoundationFloorBound)
{
    // The foundation floor (StartFloorNo 0) of region 1 reaches up to 0, so
    // bands with tops at 0 count only when foundations are included. Column 1
    // (bottom 0) stands on column base 3 and slab 2, both with tops at 0:
    // the slab sorts last among equal tops and is met first.
    TModel m;
    m.floors = std::string(R"([{"ID": 9, "Name": "F0", "StartFloorNo": 0, "StructuralElevation": -3.0,
        "Height": 3.0, "RegionID": 1}, )") +
               std::string(CFloors).substr(1);
    struct Case {
        const char* name;
        std::string elements;
        bool column;  // column analyzer (else wall)
        int bottomMethod;
        TIds bands;
    };
    const std::string slabAndBase = Point(1, 25, 0, 0, 400, 400, 0, 3000) + ", " +
                                    Slab(2, -1000, -1000, 1400, 1400, 0) + ", " +
                                    Point(3, 28, -300, -300, 700, 700, -500, 0);
    const std::string wallOnStrip = Wall(1, 0, 4000, 0, 0) + R"(, {"id": 2, "type": 51, "floor": 1, "props":
        {"Thickness": 600, "BottomElev": -500, "TopElev": 0}, "shape": {"kind": "line", "start": [-300, 0],
        "end": [4300, 0], "width": 600, "bottom": -500, "top": 0}})";
    const std::string columnOnFooting =
        Point(1, 25, 0, 0, 400, 400, 0, 3000) + ", " + Point(2, 52, -300, -300, 700, 700, -500, 0);
    const Case cases[] = {
        {"column, method 0: nothing above the foundation floor", slabAndBase, true, 0, {}},
        {"column, method 3: the slab before the base", slabAndBase, true, 3, {2}},
        {"wall on a strip foundation, method 0", wallOnStrip, false, 0, {}},
        {"wall on a strip foundation, method 6", wallOnStrip, false, 6, {2}},
        {"wall on a strip foundation, method 3", wallOnStrip, false, 3, {}},
        {"column on an isolated foundation, method 3", columnOnFooting, true, 3, {2}},
        {"column on an isolated foundation, method 6", columnOnFooting, true, 6, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m.elements = c.elements;
        Load(m);
        const TIds bands = c.column ? Bands<TQTKColumnOverHighBottomElevAnalyzer>(1, c.bottomMethod)
                                    : Bands<TQTKWallOverHighBottomElevAnalyzer>(1, c.bottomMethod);
        EXPECT_EQ(bands, c.bands);
    }
}

TEST_F(TOverHighBottomElevTest, SlabsThatAreNeverCandidates)
{
    // Wall 1 (bottom 3000) over x 0..4000; slab 2 under all of it.
    const std::string wall = Wall(1, 0, 4000, 3000, 3000);
    const std::string sloped = R"({"id": 2, "type": 19, "floor": 1, "props": {"Thickness": 100, "TopElev": 2000,
        "BottomElev": 1900}, "shape": {"kind": "face", "outline": [[-500, -500], [4500, -500], [4500, 500],
        [-500, 500]], "elevation": {"kind": "ratio", "edge": 0, "elev": 2000, "ratio": 0.1}, "thickness": 100}})";
    struct Case {
        const char* name;
        std::string others;
        TIds bands;
    };
    const Case cases[] = {
        {"a plain slab", Slab(2, -500, -500, 4500, 500, 2000), {2}},
        {"a floor slab", Slab(2, -500, -500, 4500, 500, 2000, 100, R"(, "IsFloorSlab": 1)"), {}},
        {"a slab of a stair",
         Point(3, 29, 8000, 8000, 9000, 9000, 0, 2000) + ", " +
             R"({"id": 2, "type": 19, "floor": 1, "parent": 3, "props": {"Thickness": 100,
            "TopElev": 2000}, "shape": {"kind": "face", "outline": [[-500, -500], [4500, -500], [4500, 500],
            [-500, 500]], "elevation": {"kind": "level", "elev": 2000}, "thickness": 100}})",
         {}},
        {"a sloped slab", sloped, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load({wall + ", " + c.others});
        EXPECT_EQ(Bands<TQTKWallOverHighBottomElevAnalyzer>(1), c.bands);
    }
}

TEST_F(TOverHighBottomElevTest, ASlopedSlabAboveAFloorAreaIsTheRangeOverIt)
{
    // Floor area 1 over x 0..4000 at 0; slab 2 rises 1 in 10 from y = -500
    // (4000) northward, over the floor area from y 0 (4050) to 500 (4100).
    Load({R"({"id": 1, "type": 58, "floor": 1, "props": {"BottomElev": 0, "TopElev": 0}, "shape": {"kind": "face",
          "outline": [[0, 0], [4000, 0], [4000, 500], [0, 500]], "elevation": {"kind": "level", "elev": 0}}},
          {"id": 2, "type": 19, "floor": 1, "props": {"Thickness": 100, "TopElev": 4000}, "shape": {"kind": "face",
          "outline": [[-500, -500], [4500, -500], [4500, 1000], [-500, 1000]],
          "elevation": {"kind": "ratio", "edge": 0, "elev": 4000, "ratio": 0.1}, "thickness": 100}})"});
    TQTKFloorAreaOverHighBottomElevAnalyzer analyzer(DrawObj(1));
    TQTKElevEDOInfoList list;
    EXPECT_TRUE(analyzer.FindBottomElement(list, CQTKNoLowerBound));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_NEAR(list[0]->GetFirstElev(), 4050, 1e-6);
    EXPECT_NEAR(list[0]->GetSecondElev(), 4100, 1e-6);
    TQTKOverHighBottomElevInfo info;
    analyzer.Analyze(info, CQTKNoLowerBound);
    ASSERT_EQ(info.Elevs.size(), 1u);
    EXPECT_NEAR(info.Elevs[0].First, 4050, 1e-6);  // the lowest point of the top over it
}

TEST_F(TOverHighBottomElevTest, TheWalkStopsAfterABandThatHoldsTheBottom)
{
    // Wall 1 (bottom 0) over x 0..4000: slab 2 under its first half, slab 3
    // (top -500) under the second half.
    struct Case {
        const char* name;
        double firstTop;  // slab 2
        TIds bands;
        bool covered;
    };
    const Case cases[] = {
        {"slab 2 holds the wall's bottom: the walk stops there", 0, {2}, false},
        {"slab 2 lies lower: the walk goes on", -200, {2, 3}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load({Wall(1, 0, 4000, 0, 0) + ", " + Slab(2, -500, -500, 2000, 500, c.firstTop) + ", " +
              Slab(3, 2000, -500, 4500, 500, -500)});
        bool covered = false;
        EXPECT_EQ(Bands<TQTKWallOverHighBottomElevAnalyzer>(1, 0, &covered), c.bands);
        EXPECT_EQ(covered, c.covered);
    }
}

TEST_F(TOverHighBottomElevTest, SmallOutlinesAndTouchingBands)
{
    struct Case {
        const char* name;
        std::string elements;
        int analyzer;  // 0 floor area, 1 column, 2 wall
        TIds bands;
        bool covered;
    };
    const std::string smallArea = R"({"id": 1, "type": 58, "floor": 1, "props": {"BottomElev": 0, "TopElev": 0},
        "shape": {"kind": "face", "outline": [[0, 0], [200, 0], [200, 200], [0, 200]],
        "elevation": {"kind": "level", "elev": 0}}})";
    const Case cases[] = {
        {"a floor area of 0.04 m2 under a slab", smallArea + ", " + Slab(2, -500, -500, 500, 500, 3000), 0, {2}, true},
        {"a wall 300 long on a slab", Wall(1, 0, 300, 0, 0) + ", " + Slab(2, -500, -500, 500, 500, 0), 2, {2}, true},
        {"a column beside a slab it touches",
         Point(1, 25, 0, 0, 400, 400, 0, 3000) + ", " + Slab(2, 400, 0, 2000, 400, 0),
         1,
         {2},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load({c.elements});
        bool covered = false;
        const TIds bands = c.analyzer == 0   ? Bands<TQTKFloorAreaOverHighBottomElevAnalyzer>(1, 0, &covered)
                           : c.analyzer == 1 ? Bands<TQTKColumnOverHighBottomElevAnalyzer>(1, 0, &covered)
                                             : Bands<TQTKWallOverHighBottomElevAnalyzer>(1, 0, &covered);
        EXPECT_EQ(bands, c.bands);
        EXPECT_EQ(covered, c.covered);
    }
}

TEST_F(TOverHighBottomElevTest, SideLinesOfAttachedAndUnitElements)
{
    // A line element measured on its own side lines; one without any is a
    // programming error.
    Load({Wall(1, 0, 4000, 0, 0) + ", " + Slab(2, -500, -500, 2000, 500, 0)});
    auto& face = scope_->Attach<TFakeWallFaceEDO>(DrawObj(1));
    face.leftLine = TVRMCustomLine2d({0, 100}, {4000, 100});
    face.rightLine = TVRMCustomLine2d({0, -100}, {1000, -100});
    bool covered = false;
    EXPECT_EQ(Bands<TQTKWallOverHighBottomElevAnalyzer>(1, 0, &covered), TIds{2});
    EXPECT_FALSE(covered);  // the left line is covered only to 2000

    Load({Wall(1, 0, 4000, 0, 0) + ", " + Slab(2, -500, -500, 2000, 500, 0)});
    scope_->Attach<TFakePlainEDO>(DrawObj(1));
    EXPECT_THROW(Bands<TQTKWallOverHighBottomElevAnalyzer>(1), EQTKAssertionFailed);
}

// ---------------------------------------------------------------------------
// The bottom elevation

TEST_F(TOverHighBottomElevTest, WallWithUnevenEndsTakesTheirMeanByBottomMethods3To5)
{
    for (int floorMethod : {0, 1, 2, 3, 7}) {
        SCOPED_TRACE(floorMethod);
        Load({Wall(1, 0, 4000, 0, 600) + ", " + Slab(2, -500, -500, 4500, 500, -100)});
        for (int bottomMethod : {3, 4, 5})
            EXPECT_DOUBLE_EQ(TQTKOverHighBottomElevCalculator::CalcWallColumnBottomElev(
                                 Edo(1).get(), bottomMethod, floorMethod,
                                 MakeOverHighBottomElevAnalyzer<TQTKWallOverHighBottomElevAnalyzer>),
                             300.0);
    }
}

TEST_F(TOverHighBottomElevTest, WallBottomByTheSettings)
{
    // Ground -450 unless said; wall 1 over x 0..4000 on floor 1 (first) or 2.
    struct Case {
        const char* name;
        std::string elements;
        int bottomMethod, floorMethod;
        bool regionFlag;
        std::string project;
        double elev;
    };
    const std::string ground500 = R"({"Name": "P", "GroundElev": 0.5})";
    const std::string plainGround = R"({"Name": "P", "GroundElev": -0.45})";
    const std::string slabOver = Wall(1, 0, 4000, 300, 300) + ", " + Slab(2, -500, -500, 4500, 500, 300);
    const std::string stairUnder = [](double wallBottom) {
        return Wall(1, 0, 4000, wallBottom, wallBottom, 2) + ", " + Point(3, 29, -500, -500, 4500, 500, 1000, 2500);
    }(3500);
    const std::string stairUnderLow =
        Wall(1, 0, 4000, 2800, 2800, 2) + ", " + Point(3, 29, -500, -500, 4500, 500, 1000, 2500);
    const Case cases[] = {
        {"floor method 0, first floor, bottom method 1: the ground", Wall(1, 0, 4000, 0, 0), 1, 0, false, plainGround,
         -450},
        {"floor method 0, first floor, bottom method 0: the floor", Wall(1, 0, 4000, 0, 0), 0, 0, false, plainGround,
         0},
        {"floor method 0, second floor: the floor", Wall(1, 0, 4000, 3000, 3000, 2), 1, 0, false, plainGround, 3000},
        {"bottom method 2 without the region flag: the ground", Wall(1, 0, 4000, 0, 0), 2, 0, false, plainGround, -450},
        {"bottom method 2 with the region flag: the floor", Wall(1, 0, 4000, 0, 0), 2, 0, true, plainGround, 0},
        {"bottom method 2 with the region flag, a search finding nothing: the first floor", Wall(1, 0, 4000, 0, 0), 2,
         2, true, plainGround, 0},
        {"a band under the ground: the ground", slabOver, 1, 2, false, ground500, 500},
        {"the same band, bottom method 0: the band", slabOver, 0, 2, false, ground500, 300},
        {"a stair below: the own floor", stairUnder, 0, 2, false, plainGround, 3000},
        {"a stair below, the wall lower than its floor: its bottom", stairUnderLow, 0, 2, false, plainGround, 2800},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TModel m;
        m.elements = c.elements;
        m.project = c.project;
        m.regionFlag = c.regionFlag;
        m.settings = Settings("QTKWallCalcSettings", {{"OverHighBottomElevCalcMethod", c.bottomMethod},
                                                      {"OverHighFloorElevCalcMethod", c.floorMethod}});
        Load(m);
        EXPECT_DOUBLE_EQ(TQTKOverHighBottomElevCalculator::GetWallBottomElev(Edo(1).get(), Rules()), c.elev);
    }
}

TEST_F(TOverHighBottomElevTest, FloorMethodPicksTheNearestOrTheFarthestBand)
{
    // Slab 1 (top 6000) over x 0..4000; slab 2 (top 3000) under its west
    // half, slab 3 (top 0) under all of it: bands 3000 (nearest) and 0.
    const std::string slabs = Slab(1, 0, 0, 4000, 4000, 6000) + ", " + Slab(2, -500, -500, 2000, 4500, 3000) + ", " +
                              Slab(3, -500, -500, 4500, 4500, 0);
    struct Case {
        const char* name;
        std::string settings;
        bool hungCeiling;
        double elev;
    };
    const Case cases[] = {
        {"slab, floor method 1: the farthest", Settings("QTKSlabCalcSettings", {{"OverHighFloorElevCalcMethod", 1}}),
         false, 0},
        {"slab, floor method 2: the nearest", Settings("QTKSlabCalcSettings", {{"OverHighFloorElevCalcMethod", 2}}),
         false, 3000},
        {"hung ceiling scaffold, setting 1: as floor method 2",
         Settings("QTKHungCeilingFinishCalcSettings", {{"HungCeilingScaffoldFloorElevCalcMethod", 1}}), true, 3000},
        {"hung ceiling scaffold, setting 2: as floor method 1",
         Settings("QTKHungCeilingFinishCalcSettings", {{"HungCeilingScaffoldFloorElevCalcMethod", 2}}), true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load({slabs, c.settings});
        const double elev =
            c.hungCeiling ? TQTKOverHighBottomElevCalculator::GetHungCeilingScaffoldBottomElev(Edo(1).get(), Rules())
                          : TQTKOverHighBottomElevCalculator::GetSlabBottomElev(Edo(1).get(), Rules());
        EXPECT_DOUBLE_EQ(elev, c.elev);
    }
}

TEST_F(TOverHighBottomElevTest, BeamOnParallelWalls)
{
    // Beam 1 (bottom 3000) along y = 0 from 0 to 6000. Walls (bottom method
    // 4, uneven ends) give their mean end bottoms: wall 2 300, wall 3 100.
    const std::string beam = R"({"id": 1, "type": 15, "floor": 1, "props": {"SectionWidth": 200, "SectionHeight":
        500}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200, "bottom": 3000,
        "top": 3500}})";
    struct Case {
        const char* name;
        std::string walls;
        int beamFloorMethod;
        double elev;
    };
    const std::string twoWalls = Wall(2, 0, 3000, 0, 600) + ", " + Wall(3, 3000, 6000, 0, 200);
    const Case cases[] = {
        {"floor method 1: the lower support", twoWalls, 1, 100},
        {"floor method 2: the higher support", twoWalls, 2, 300},
        {"a wall 400 long under the beam", Wall(2, 1000, 1400, 0, 600), 1, 300},
        {"a wall sharing 300 of its 400 with the beam: no support, no band: the ground", Wall(2, -100, 300, 0, 600), 1,
         -450},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load({beam + ", " + c.walls});
        auto& edo = scope_->Attach<TFakeBeamEDO>(DrawObj(1));
        for (int id : {2, 3})
            if (Record(id))
                edo.AddRelated(Record(id));
        EXPECT_DOUBLE_EQ(TQTKOverHighBottomElevCalculator::CalcBeamBottomElev(
                             &edo, 1, c.beamFloorMethod, 4, 2, 0, 0,
                             MakeOverHighBottomElevAnalyzer<TQTKBeamOverHighBottomElevAnalyzer>),
                         c.elev);
    }
}

TEST_F(TOverHighBottomElevTest, MissingSettingsReadAsDefaults)
{
    // Wall 1 (bottom 3000) on floor 2 with nothing below.
    const std::string wall = Wall(1, 0, 4000, 3000, 3000, 2);
    const std::string noFirstFloor = R"([{"ID": 2, "Name": "F2", "StartFloorNo": 2, "StructuralElevation": 3.0,
        "Height": 3.0, "RegionID": 1}])";
    struct Case {
        const char* name;
        TModel model;
        double elev;
    };
    const Case cases[] = {
        {"no settings table: methods 0, the own floor", {wall, ""}, 3000},
        {"a settings table without its row: the same",
         {wall, R"({"name": "QTKWallCalcSettings", "fields": [{"name": "ID", "type": "integer"}], "rows": []})"},
         3000},
        {"no project: ground 0 (bottom method 1, floor method 0, first floor)",
         {Wall(1, 0, 4000, 3000, 3000, 1), Settings("QTKWallCalcSettings", {{"OverHighBottomElevCalcMethod", 1}}),
          CFloors, ""},
         0},
        {"no first floor in the region: 0, the nearer of it and the wall's bottom",
         {wall, Settings("QTKWallCalcSettings", {{"OverHighFloorElevCalcMethod", 2}}), noFirstFloor},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.model);
        EXPECT_DOUBLE_EQ(TQTKOverHighBottomElevCalculator::GetWallBottomElev(Edo(1).get(), Rules()), c.elev);
    }
}

}  // namespace
