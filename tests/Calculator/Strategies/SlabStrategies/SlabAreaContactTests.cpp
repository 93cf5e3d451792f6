// Slab area, projective area, contact-wall length and precast rules a table
// cannot say: curved slabs (decided when the host resets the slab), lines kept
// on the slab between calls, flights (by a test flight object), and every name
// of these units answering GetStrategy with its own class.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/VRM/VRMCommon2d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Support/RegistryChecks.h"
#include "tests/Support/TestBuilding.h"

namespace {

double RunRule(const char* rule, const TTestBuilding& building, int subject, int object = 0)
{
    const auto strategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(rule));
    return strategy->Calculate(RecordRef(building.Record(subject)),
                               RecordRef(object ? building.Record(object) : nullptr), GBusiness(), building.RuleSet());
}

std::unique_ptr<TTestBuilding> Building(const std::string& elements)
{
    auto building = TTestBuilding::FromElements("[" + elements + "]");
    building->Activate();
    return building;
}

// The slab's curved flag is decided when the host resets it for a quantity.
void ResetSlab(const TTestBuilding& building, int id)
{
    GetCalcEDO(building.Record(id), true)->ClearQtyItems();
}

// Column Id through everything, Size x Size centred on (X, Y).
std::string Column(int id, double x, double y, double size)
{
    return R"(, {"id": )" + std::to_string(id) +
           R"(, "type": 25, "floor": 1, "props": {"BottomElev": 0, "TopElev": 6000, "Material": "混凝土"},
        "shape": {"kind": "point", "insertPt": [)" +
           std::to_string(x) + ", " + std::to_string(y) + "], \"size\": [" + std::to_string(size) + ", " +
           std::to_string(size) + "]}}";
}

// Slab 1 arched over the x axis: span 6000 across y, rise 1000 from its base
// at 3000, 6000 long, 120 thick under its surface (radius 5000, inside 4880);
// its "Thickness" as given.
std::string ArchedSlab(double thickness)
{
    return R"({"id": 1, "type": 19, "floor": 1, "props": {"Thickness": )" + std::to_string(thickness) +
           R"(}, "shape": {"kind": "face", "outline": [[0, -3000], [6000, -3000], [6000, 3000], [0, 3000]],
        "thickness": 120, "elevation": {"kind": "cylinder", "first": 6000, "second": 1000, "base": 3000,
        "axis": [[0, 0], [6000, 0]]}}})";
}

TEST(CurvedSlabArea, VolumeOverThicknessAndNoneWithoutThickness)
{
    // The mid surface of the shell: radius 4940 over the arch's sweep.
    const double sweep = 2 * std::asin(0.6);
    struct Case {
        const char* name;
        double thickness;
        double expected;
    };
    const Case cases[] = {
        {"120 thick: the mid surface", 120.0, sweep * 4940 * 6000},
        {"no thickness: no area", 0.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(ArchedSlab(c.thickness));
        ResetSlab(*building, 1);
        EXPECT_NEAR(RunRule("TQTKSlabOriginalArea", *building, 1), c.expected, 1e-6 * (c.expected + 1));
    }
}

TEST(CurvedSlabProjectiveArea, DeductionsReturnWhatTheElementTakesInPlan)
{
    struct Case {
        const char* name;
        const char* rule;
        double column;  // the column's side, mm
        double expected;
    };
    const Case cases[] = {
        {"original: the arch in plan", "TQTKSlabOriginalProjectiveArea", 0, 6000.0 * 6000},
        {"by fact: the column's plan, not what stays", "TQTKSlabDeductProjectiveAreaByFact", 400, 400.0 * 400},
        {"0.3 m2 limit, 0.16 m2 column: the column's size decides", "TQTKSlabDeductProjectiveAreaByDot3M2", 400, 0},
        {"0.3 m2 limit, 0.36 m2 column", "TQTKSlabDeductProjectiveAreaByDot3M2", 600, 600.0 * 600},
        {"no limit", "TQTKSlabDeductProjectiveAreaByArea", 600, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(ArchedSlab(120) + (c.column > 0 ? Column(20, 3000, 500, c.column) : ""));
        ResetSlab(*building, 1);
        EXPECT_NEAR(RunRule(c.rule, *building, 1, c.column > 0 ? 20 : 0), c.expected, 1e-6 * (c.expected + 1));
    }
}

// The deductions of one family share the calculator the first of them
// stores: a column taken once is not taken again, and the original stays the
// whole soffit.
TEST(SlabArea, DeductionsOfAFamilyShareOneCalculator)
{
    struct Case {
        const char* name;
        const char* original;
        const char* deduction;
    };
    const Case cases[] = {
        {"area", "TQTKSlabOriginalArea", "TQTKSlabDeductAreaByFact"},
        {"projective area", "TQTKSlabOriginalProjectiveArea", "TQTKSlabDeductProjectiveAreaByFact"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(R"({"id": 1, "type": 19, "floor": 1, "props": {"Thickness": 120,
            "TopElev": 3000}, "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]]}})" +
                                       Column(20, 1000, 1000, 400));
        EXPECT_NEAR(RunRule(c.deduction, *building, 1, 20), 400.0 * 400, 1e-6);
        EXPECT_NEAR(RunRule(c.deduction, *building, 1, 20), 0.0, 1e-6);
        EXPECT_NEAR(RunRule(c.original, *building, 1), 6000.0 * 4000, 1e-6);
    }
}

// Slab 1, 6000 x 4000 x 120 with its top at 3000, on four 240 walls flush
// with its edges (each wall's line 120 inside the edge), 2880 high.
const char* const CSlabOnFourWalls = R"(
    {"id": 1, "type": 19, "floor": 1, "props": {"Thickness": 120, "TopElev": 3000, "Material": "混凝土"},
     "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]]}},
    {"id": 30, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 2880, "Material": "砖"},
     "shape": {"kind": "line", "start": [0, 120], "end": [6000, 120]}},
    {"id": 31, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 2880, "Material": "砖"},
     "shape": {"kind": "line", "start": [5880, 0], "end": [5880, 4000]}},
    {"id": 32, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 2880, "Material": "砖"},
     "shape": {"kind": "line", "start": [6000, 3880], "end": [0, 3880]}},
    {"id": 33, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 2880, "Material": "砖"},
     "shape": {"kind": "line", "start": [120, 4000], "end": [120, 0]}})";

// The inner sides of the four walls under the soffit.
constexpr double CInnerSides = 2 * (5520.0 + 3520.0);

TEST(SlabContactWallLength, InnerWallSidesRoutedRoundColumnsAndBrokenByOpenings)
{
    struct Case {
        const char* name;
        std::string extra;
        double expected;
    };
    const Case cases[] = {
        {"four walls", "", CInnerSides},
        // 400 x 400 on wall 30's line: its 400 of line go, the column's faces
        // standing 80 out of the wall come in (80 + 400 + 80).
        {"a column in a wall line", Column(20, 3000, 120, 400), CInnerSides - 400 + 560},
        {"a free-standing column", Column(20, 3000, 2000, 400), CInnerSides},
        {"a door up to the soffit in wall 30",
         R"(, {"id": 40, "type": 4, "floor": 1, "parent": 30, "props": {"OpeningWidth": 900, "OpeningHeight": 2880},
             "shape": {"kind": "opening", "at": 2000, "bottom": 0}})",
         CInnerSides - 900},
        {"a door under the soffit in wall 30",
         R"(, {"id": 40, "type": 4, "floor": 1, "parent": 30, "props": {"OpeningWidth": 900, "OpeningHeight": 2100},
             "shape": {"kind": "opening", "at": 2000, "bottom": 0}})",
         CInnerSides},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(CSlabOnFourWalls + c.extra);
        EXPECT_NEAR(RunRule("TQTKSlabOriginalContactWallLen", *building, 1), c.expected, 1e-6);
    }
}

TEST(SlabContactWallLength, NoWallsNoLength)
{
    const auto building = Building(R"({"id": 1, "type": 19, "floor": 1, "props": {"Thickness": 120, "TopElev": 3000},
        "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]]}})");
    EXPECT_NEAR(RunRule("TQTKSlabOriginalContactWallLen", *building, 1), 0.0, 1e-6);
}

// Each call measures the lines afresh: a second call does not add the walls'
// sides again.
TEST(SlabContactWallLength, ASecondCallGivesTheSameLength)
{
    const auto building = Building(std::string(CSlabOnFourWalls) + Column(20, 3000, 120, 400));
    EXPECT_NEAR(RunRule("TQTKSlabOriginalContactWallLen", *building, 1), CInnerSides + 160, 1e-6);
    EXPECT_NEAR(RunRule("TQTKSlabOriginalContactWallLen", *building, 1), CInnerSides + 160, 1e-6);
}

// A stair flight as the rules see it: its own solid, nothing more.
class TFakeFlightEDO final : public TQTKCalculatorEDO, public IQTKFlightCalculator {
public:
    explicit TFakeFlightEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
};

TEST(SlabContactWallLength, AFlightTakesOffWhatItCovers)
{
    // Flight 50, 1000 x 1000 in plan, standing on wall 30's inner side up to
    // the soffit.
    const auto building = Building(std::string(CSlabOnFourWalls) + R"(, {"id": 50, "type": 30, "floor": 1,
        "props": {"BottomElev": 0, "TopElev": 2880}, "shape": {"kind": "point", "insertPt": [3000, 500],
        "size": [1000, 1000]}})");
    TFakeEDOScope scope;
    scope.Attach<TFakeFlightEDO>(building->DrawObj(50));
    EXPECT_NEAR(RunRule("TQTKSlabContactWallLenDeductFlight", *building, 1, 50), 0.0, 1e-6) << "before the lines";
    EXPECT_NEAR(RunRule("TQTKSlabOriginalContactWallLen", *building, 1), CInnerSides, 1e-6);
    EXPECT_NEAR(RunRule("TQTKSlabContactWallLenDeductFlight", *building, 1, 50), 1000.0, 1e-6);
    EXPECT_NEAR(RunRule("TQTKSlabContactWallLenDeductFlight", *building, 1, 50), 0.0, 1e-6) << "already taken";
}

// The names of the area, projective-area, contact-wall and precast units.
const std::vector<std::string> CRuleNames = {
    "TQTKSlabOriginalArea",
    "TQTKSlabDeductAreaByFact",
    "TQTKSlabDeductMonosparAreaByFact",
    "TQTKSlabDeductAreaByArea",
    "TQTKSlabDeductAreaByDot3M2",
    "TQTKSlabDeductAreaBy1M2",
    "TQTKSlabDeductAreaBy5M2",
    "TQTKSlabDeductOutBeamArea",
    "TQTKSlabOriginalProjectiveArea",
    "TQTKSlabDeductProjectiveAreaByFact",
    "TQTKSlabDeductProjectiveAreaByArea",
    "TQTKSlabDeductProjectiveAreaByDot3M2",
    "TQTKSlabDeductProjectiveAreaBy1M2",
    "TQTKSlabDeductProjectiveAreaBy5M2",
    "TQTKSlabDeductProjectiveAreaWallNotInBalcony",
    "TQTKSlabOriginalContactWallLen",
    "TQTKSlabContactWallLenDeductFlight",
    "TQTKPrecastSlabOriginalArea",
    "TQTKPrecastSlabOriginalVol",
};

TEST(SlabAreaRuleRegistration, EveryNameAnswersWithItsOwnClass)
{
    for (const std::string& name : CRuleNames) {
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(name.c_str()));
        ASSERT_TRUE(rule) << name;
        EXPECT_EQ(RuleClassName(*rule), name);
    }
    // The projective base is no rule of its own.
    const auto base = Ref<IQTKCalcStrategy>::Adopt(GetStrategy("TQTKSlabCustomProjectiveArea"));
    EXPECT_TRUE(!base || RuleClassName(*base) != "TQTKSlabCustomProjectiveArea");
}

}  // namespace
