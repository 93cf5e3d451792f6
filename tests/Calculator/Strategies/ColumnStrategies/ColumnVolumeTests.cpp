// What the column volume and formwork tables cannot say: the order of rule
// calls on one column (what a first rule leaves for the next), the solid copy
// a beam reshapes, isolated foundation units (a test object), neighbours on
// the foundation floor, the toothing of tie columns and openings over it.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Strategies/WallStrategies/WallRuleTesting.h"
#include "tests/Support/TestBuilding.h"

namespace {

std::string Column(int id, int type, double size, const std::string& extra = "")
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) +
           R"(, "floor": 1, "props": {"BottomElev": 0, "TopElev": 3000, "Material": "混凝土")" + extra +
           R"(}, "shape": {"kind": "point", "insertPt": [0, 0], "size": [)" + std::to_string(size) + ", " +
           std::to_string(size) + "]}}";
}

std::string Wall(int id, double y, double thickness, const std::string& material)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 0, "floor": 1, "props": {"Thickness": )" +
           std::to_string(thickness) + R"(, "BottomElev": 0, "TopElev": 3000, "Material": ")" + material +
           R"("}, "shape": {"kind": "line", "start": [-3000, )" + std::to_string(y) + "], \"end\": [3000, " +
           std::to_string(y) + "]}}";
}

const char* const CBeam = R"({"id": 2, "type": 15, "floor": 1,
    "props": {"SectionWidth": 250, "SectionHeight": 500, "Material": "混凝土"},
    "shape": {"kind": "line", "start": [-3000, 0], "end": [3000, 0], "width": 250, "bottom": 2500, "top": 3000}})";
const char* const CSlab = R"({"id": 3, "type": 19, "floor": 1, "props": {"Thickness": 120, "TopElev": 3000},
    "shape": {"kind": "face", "outline": [[-2000, -2000], [2000, -2000], [2000, 2000], [-2000, 2000]]}})";

std::unique_ptr<TTestBuilding> Building(const std::vector<std::string>& elements)
{
    std::string text = "[";
    for (size_t i = 0; i < elements.size(); ++i)
        text += (i ? ", " : "") + elements[i];
    auto building = TTestBuilding::FromElements(text + "]");
    building->Activate();
    return building;
}

Ref<IQTKColumnCalculatorEDO> ColumnEdo(const TTestBuilding& building, int id)
{
    return RefCast<IQTKColumnCalculatorEDO>(GetCalcEDO(building.Record(id), true));
}

// A 400 column 0..3000: a beam 250 x 500 through its head deducted by fact
// also leaves the column's solid copy; a slab 120 thick does not.
TEST(ColumnVolumeRules, BeamByFactAlsoLeavesTheSolidCopy)
{
    struct TCase {
        const char* name;
        int object;
        double removed;
        double copyVolume;
    };
    const double whole = 400.0 * 400 * 3000;
    const std::vector<TCase> cases = {
        {"beam", 2, 400.0 * 250 * 500, whole - 400.0 * 250 * 500},
        {"slab", 3, 400.0 * 400 * 120, whole},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building({Column(1, 25, 400), CBeam, CSlab});
        EXPECT_NEAR(RunWallRule("TQTKColumnVolDeductByFact", *building, 1, c.object), c.removed, 1.0);
        EXPECT_NEAR(ColumnEdo(*building, 1)->GetSolidCopy()->GetVolume(), c.copyVolume, 1.0);
    }
}

// One calculator per column: a 240 wall through the 400 column taken by fact
// (400 x 240 x 3000 ... the column's part in it) leaves nothing for a wall rule
// after it; the near-wall rule gives the rest to the first wall, 0 to the next.
TEST(ColumnVolumeRules, LaterRulesFindOnlyWhatEarlierOnesLeft)
{
    struct TStep {
        const char* rule;
        int object;
        double expected;
    };
    struct TCase {
        const char* name;
        std::vector<TStep> steps;
    };
    const double inWall = 400.0 * 240 * 3000;
    const double whole = 400.0 * 400 * 3000;
    const std::vector<TCase> cases = {
        {"by fact, then the one-thickness band: only the rest of the column",
         {{"TQTKColumnVolDeductByFact", 4, inWall},
          {"TQTKRectangleColumnVolDeductLackOneThickness", 4, whole - inWall}}},
        {"near wall twice",
         {{"TQTKColumnVolDeductByFact", 2, 400.0 * 250 * 500},
          {"TQTKRectangleColumnVolDeductNearWall", 4, whole - 400.0 * 250 * 500},
          {"TQTKRectangleColumnVolDeductNearWall", 5, 0.0}}},
        {"formwork near wall twice",
         {{"TQTKRectangleColumnTemplateAreaGiveNearWall", 4, 1600.0 * 3000},
          {"TQTKRectangleColumnTemplateAreaGiveNearWall", 5, 0.0}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building({Column(1, 25, 400), CBeam, Wall(4, 0, 240, "砖"), Wall(5, 100, 240, "砖")});
        for (const TStep& step : c.steps) {
            SCOPED_TRACE(step.rule);
            EXPECT_NEAR(RunWallRule(step.rule, *building, 1, step.object), step.expected, 1.0);
        }
    }
    // A 240 column held by a 240 wall: by fact the wall takes all of it, 240 x
    // 240 x 3000; the irregular-wall rule then finds nothing left.
    const auto held = Building({Column(1, 25, 240), Wall(4, 0, 240, "混凝土")});
    EXPECT_NEAR(RunWallRule("TQTKColumnVolDeductByFact", *held, 1, 4), 240.0 * 240 * 3000, 1.0);
    EXPECT_NEAR(RunWallRule("TQTKColumnVolDeductIrregularWall", *held, 1, 4), 0.0, 1.0);
}

// An isolated foundation unit (a test object) whose solid takes the column's
// bottom 500: deducted unless it is cup-shaped; any other element is not
// this rule's.
class TTestIsolatedFDUnitEDO final : public TFakeSolidEDO, public IQTKIsolatedFDUnitCalcEDO {
public:
    using TFakeSolidEDO::TFakeSolidEDO;
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override { return nullptr; }
    void SetVolumeCalc(std::shared_ptr<TQTKSolidCalc3d>) override {}
    std::shared_ptr<TQTKShellCalc3d> GetFormboardShell() override { return nullptr; }
    void SetFormboardShell(std::shared_ptr<TQTKShellCalc3d>) override {}
    bool IsCupulate() override { return cup; }
    std::shared_ptr<TQTKSolidCalc3d> GetBrickMoldSolidCalc() override { return nullptr; }
    std::shared_ptr<TQTKShellCalc3d> GetBottomShell() override { return nullptr; }
    std::shared_ptr<TQTKShellCalc3d> GetSideShell() override { return nullptr; }
    std::shared_ptr<TQTKShellCalc3d> GetTopShell() override { return nullptr; }
    void SetBottomShell(std::shared_ptr<TQTKShellCalc3d>) override {}
    void SetSideShell(std::shared_ptr<TQTKShellCalc3d>) override {}
    void SetTopShell(std::shared_ptr<TQTKShellCalc3d>) override {}
    Ref<IQTKPolyhedron3dIntf> GetPrioritySolid() override { return GetOriginalPolyhedronIntf(); }

    bool cup = false;
};

TEST(ColumnVolumeRules, IsolatedFoundationUnitUnlessCupShaped)
{
    struct TCase {
        const char* name;
        std::optional<bool> cup;  // none: a plain element in its place
        double expected;
    };
    const std::vector<TCase> cases = {
        {"plain unit", false, 400.0 * 400 * 500},
        {"cup-shaped unit", true, 0.0},
        {"not a unit", std::nullopt, 0.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(
            {Column(1, 25, 400), R"({"id": 6, "type": 82, "floor": 1, "props": {"BottomElev": -500, "TopElev": 500},
                  "shape": {"kind": "point", "insertPt": [0, 0], "size": [2000, 2000]}})"});
        TFakeEDOScope fakes;
        const TVRMPolyhedron3d box = *TVRMPolyhedron3d::CreateBox(TVRMBox3d({-1000, -1000, -500}, {1000, 1000, 500}));
        if (c.cup) {
            auto& unit = fakes.Attach<TTestIsolatedFDUnitEDO>(building->DrawObj(6));
            unit.solid = box;
            unit.cup = *c.cup;
        } else {
            fakes.Attach<TFakeSolidEDO>(building->DrawObj(6)).solid = box;
        }
        EXPECT_NEAR(RunWallRule("TQTKColumnVolDeductByFactWithoutCupulateIsolatedFD", *building, 1, 6), c.expected,
                    1.0);
    }
}

// A beam through the column head on the foundation floor ("StartFloorNo" 0)
// is deducted; the same beam on the first floor is not.
TEST(ColumnVolumeRules, FoundationBeamOnlyOnTheFoundationFloor)
{
    struct TCase {
        int beamFloor;
        double expected;
    };
    for (const TCase& c : std::vector<TCase>{{1, 400.0 * 250 * 500}, {2, 0.0}}) {
        SCOPED_TRACE("beam on floor " + std::to_string(c.beamFloor));
        auto building = TTestBuilding::FromText(R"({
            "floors": [{"ID": 1, "Name": "F0", "StructuralElevation": -3.0, "Height": 3.0, "StartFloorNo": 0},
                       {"ID": 2, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0, "StartFloorNo": 1}],
            "elements": [
              {"id": 1, "type": 25, "floor": 2, "props": {"BottomElev": 0, "TopElev": 3000},
               "shape": {"kind": "point", "insertPt": [0, 0], "size": [400, 400]}},
              {"id": 2, "type": 15, "floor": )" +
                                                std::to_string(c.beamFloor) +
                                                R"(, "props": {"SectionWidth": 250, "SectionHeight": 500},
               "shape": {"kind": "line", "start": [-3000, 0], "end": [3000, 0], "width": 250,
                         "bottom": 2500, "top": 3000}}]})");
        building->Activate();
        EXPECT_NEAR(RunWallRule("TQTKColumnVolDeductFDBeamVol", *building, 1, 2), c.expected, 1.0);
    }
}

// A 400 tie column ("Type" 0, "IndentingWidth" 100) in a 240 block wall 2800
// high: two teeth 100 x 240 x 2800 (volume), each showing its two sides of
// 100 on the wall's faces (its end lies against the masonry), 4 x 100 x 2800
// of side area. Whichever of the half and full rules runs first, each gives
// its own share.
TEST(ColumnVolumeRules, TieColumnToothingHalfThenFull)
{
    struct TCase {
        const char* first;
        const char* second;
        double full;
    };
    const double volume = 2 * 100.0 * 240 * 2800;
    const double area = 4 * 100.0 * 2800;
    const std::vector<TCase> cases = {
        {"TQTKTieColumnVolAddIndentingHalfLength", "TQTKTieColumnVolAddIndentingAllLength", volume},
        {"TQTKTieColumnVolAddIndentingAllLength", "TQTKTieColumnVolAddIndentingHalfLength", volume},
        {"TQTKTieColumnFormBoardAreaAddHalfIndenting", "TQTKTieColumnFormBoardAreaAddIndenting", area},
        {"TQTKTieColumnFormBoardAreaAddIndenting", "TQTKTieColumnFormBoardAreaAddHalfIndenting", area},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " then " + c.second);
        auto building = Building({Column(1, 26, 400, R"(, "Type": 0, "IndentingWidth": 100)"),
                                  R"({"id": 4, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": 0,
                                      "TopElev": 2800, "Material": "砖"},
                                      "shape": {"kind": "line", "start": [-3000, 0], "end": [3000, 0]}})"});
        const bool halfFirst = std::string(c.first).find("Half") != std::string::npos;
        EXPECT_NEAR(RunWallRule(c.first, *building, 1, 4), halfFirst ? c.full / 2 : c.full, 1.0);
        EXPECT_NEAR(RunWallRule(c.second, *building, 1, 4), halfFirst ? c.full : c.full / 2, 1.0);
    }
}

// A 400 tie column ("Type" 0, "IndentingWidth" 100) in a 240 wall 2800 high
// along x, toothing 100 into it each side; window 5 (1000 x 1500 from 900)
// from x 100 to 1100 reaches into the column and over the east tooth.
std::unique_ptr<TTestBuilding> TieColumnWithWindow(const char* wallMaterial, const std::string& ruleRows)
{
    auto building = TTestBuilding::FromText(
        R"({"databases": [{"name": "Business", "tables": []}, {"name": "NormCalcRule", "tables": [
              {"name": "InternalQtyCalcRule",
               "fields": [{"name": "InternalQtyID", "type": "integer"}, {"name": "CalcRuleID", "type": "integer"},
                          {"name": "ObjectMatchExpr", "type": "text"}],
               "rows": [)" +
        ruleRows + R"(]}]}],
            "floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0}],
            "elements": [)" +
        Column(1, 26, 400, R"(, "Type": 0, "IndentingWidth": 100)") +
        R"(, {"id": 4, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 2800,
                  "Material": ")" +
        wallMaterial + R"("}, "shape": {"kind": "line", "start": [-3000, 0], "end": [3000, 0]}},
              {"id": 5, "type": 5, "floor": 1, "parent": 4, "props": {"OpeningWidth": 1000, "OpeningHeight": 1500,
                  "AboveFloorHeight": 900, "EDOPID": 4}, "shape": {"kind": "opening", "at": 3600}}]})");
    building->Activate();
    return building;
}

// The window takes the tie column's concrete it covers, 100 x 240 x 1500.
// The toothing's side shell is already net of the doors and windows beside
// the column (its object takes them on their behalf when it builds it), so
// the rules on the toothing find nothing more of the window: 0, also over
// the full toothing width in a concrete host. In a brick host whose wall
// rule row is 1768 (the only row, or a row matching the wall's material) the
// column's side inside the window (its face x 200 across the wall, 240 x
// 1500) is given back; with another rule row nothing.
TEST(ColumnVolumeRules, OpeningsInATieColumn)
{
    struct TCase {
        const char* rule;
        const char* wallMaterial;
        std::string ruleRows;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"TQTKTieColumnVolDeductDoorWindowHole", "砖", "", 100.0 * 240 * 1500},
        {"TQTKTieColumnFormBoardAreaDeductHole", "砖", "", 0.0},
        {"TQTKTieColumnFormBoardAreaDeductHoleAllIndentingWidth", "混凝土", "", 0.0},
        {"TQTKTieColumnFormBoardAreaDeductHoleAllIndentingWidth", "砖",
         R"({"InternalQtyID": 1002, "CalcRuleID": 1768})", -240.0 * 1500},
        {"TQTKTieColumnFormBoardAreaDeductHoleAllIndentingWidth", "砖",
         R"({"InternalQtyID": 1002, "CalcRuleID": 1700, "ObjectMatchExpr": "Material = '砖'"},
            {"InternalQtyID": 1002, "CalcRuleID": 1768, "ObjectMatchExpr": "Material = '砖'"})",
         -240.0 * 1500},
        {"TQTKTieColumnFormBoardAreaDeductHoleAllIndentingWidth", "砖",
         R"({"InternalQtyID": 1002, "CalcRuleID": 1700})", 0.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " in " + c.wallMaterial + " " + c.ruleRows);
        const auto building = TieColumnWithWindow(c.wallMaterial, c.ruleRows);
        EXPECT_NEAR(RunWallRule(c.rule, *building, 1, 5), c.expected, 1.0);
    }
}

// The 3.6 m term next to walls: a concrete wall through the 400 column that
// does not hold it takes the term away; a brick wall, or none, leaves 3600.
TEST(ColumnScaffoldRules, ConstantTermNextToConcreteWalls)
{
    struct TCase {
        const char* name;
        std::vector<std::string> elements;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"concrete wall", {Column(1, 25, 400), Wall(4, 0, 240, "混凝土")}, 0.0},
        {"brick wall", {Column(1, 25, 400), Wall(4, 0, 240, "砖")}, 3600.0},
        {"standing alone", {Column(1, 25, 400)}, 3600.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(c.elements);
        EXPECT_DOUBLE_EQ(RunWallRule("TQTKColumnScaffoldAddCoefficient", *building, 1, 1), c.expected);
    }
}

}  // namespace
