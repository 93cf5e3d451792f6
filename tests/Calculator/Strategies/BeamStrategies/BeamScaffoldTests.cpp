// The beam scaffold heights under each value of the setting
// "BeamSacffoldAreaCalcCondition" (a table cannot carry the setting), and
// the two scaffold lengths, which do not read it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "tests/Calculator/Strategies/BeamStrategies/BeamRuleTesting.h"
#include "tests/Support/TestBuilding.h"

namespace {

// Storeys 1 (0 m) and 2 (3 m), the elements and the beam settings with the condition.
std::unique_ptr<TTestBuilding> ScaffoldBuilding(int condition, const std::string& elements)
{
    auto building = TTestBuilding::FromText(R"({
        "databases": [{"name": "Business", "tables": []}, {"name": "NormCalcRule", "tables": [
          {"name": "QTKBeamCalcSettings", "fields": [{"name": "ID", "type": "integer"},
            {"name": "BeamSacffoldAreaCalcCondition", "type": "integer"}],
           "rows": [{"ID": 1, "BeamSacffoldAreaCalcCondition": )" +
                                            std::to_string(condition) + R"(}]}]}],
        "floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0},
                   {"ID": 2, "Name": "F2", "StructuralElevation": 3.0, "Height": 3.0}],
        "elements": )" + elements + "}");
    building->Activate();
    return building;
}

// Beam 1 along x from 0 to 6000 on the given storey, 240 x 500, its top at Top.
std::string ScaffoldBeam(double top, int floor = 1, const std::string& props = "")
{
    return R"({"id": 1, "type": 15, "floor": )" + std::to_string(floor) +
           R"(, "props": {"SectionWidth": 240, "SectionHeight": 500, "TopElev": )" + std::to_string(top) +
           R"(, "Material": "混凝土")" + props + R"(}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}})";
}

// Slab 10 over the beam, 120 thick, its top at Top.
std::string Slab(double top)
{
    return R"({"id": 10, "type": 19, "floor": 1, "props": {"Thickness": 120, "TopElev": )" + std::to_string(top) +
           R"(, "Material": "混凝土"}, "shape": {"kind": "face",
            "outline": [[-1000, -1000], [7000, -1000], [7000, 1000], [-1000, 1000]]}})";
}

const char* const CToBeamTop = "TQTKBeamScaffoHeightFromFloorElevToBeamTopElev";
const char* const CToSlab = "TQTKBeamScaffoHeightFromFloorElevToBoardBottomElev";
const char* const CToBeamBottom = "TQTKBeamScaffoHeightFromFloorElevToBeamBottomElev";

TEST(BeamScaffoldRules, HeightsByCondition)
{
    struct TCase {
        const char* name;
        int condition;
        const char* rule;
        std::string elements;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"condition 2, exactly 3600 above the floor", 2, CToBeamTop, "[" + ScaffoldBeam(3600) + "]", 0.0},
        {"condition 2, 3601 above the floor", 2, CToBeamTop, "[" + ScaffoldBeam(3601) + "]", 3601.0},
        {"condition 1 to the beam bottom", 1, CToBeamBottom, "[" + ScaffoldBeam(4500) + "]", 4000.0},
        {"condition 3, a secondary beam", 3, CToBeamTop, "[" + ScaffoldBeam(4500, 1, R"(, "Type2": 1)") + "]", 0.0},
        {"condition 3, a single beam", 3, CToBeamTop, "[" + ScaffoldBeam(4500, 1, R"(, "Type2": 0)") + "]", 4500.0},
        {"condition 4, a beam on no walls", 4, CToBeamTop, "[" + ScaffoldBeam(4500) + "]", 4500.0},
        {"condition 6 is none", 6, CToBeamTop, "[" + ScaffoldBeam(4500) + "]", 0.0},
        // 4500 less the 120 slab flush with the beam's top.
        {"a flush slab", 1, CToSlab, "[" + ScaffoldBeam(4500) + ", " + Slab(4500) + "]", 4380.0},
        {"no slab", 1, CToSlab, "[" + ScaffoldBeam(4500) + "]", 4500.0},
        // A beam on storey 2 (floor at 3000) whose top is at 2500: none, not -500.
        {"beam below its scaffold's bottom", 1, CToBeamTop, "[" + ScaffoldBeam(2500, 2) + "]", 0.0},
        {"beam below its scaffold's bottom, to the bottom", 1, CToBeamBottom, "[" + ScaffoldBeam(2500, 2) + "]", 0.0},
    };
    for (const TCase& c : cases) {
        const auto building = ScaffoldBuilding(c.condition, c.elements);
        EXPECT_NEAR(RunBeamRule(c.rule, *building, 1, 0), c.expected, 0.01) << c.name;
    }
}

TEST(BeamScaffoldRules, ConditionZeroGivesNoHeightButTheLengths)
{
    const auto building = ScaffoldBuilding(0, "[" + ScaffoldBeam(4500) + ", " + Slab(4500) + "]");
    for (const char* rule :
         {"TQTKBeamScaffoHeightFromFloorElevToBeamTopElev", "TQTKBeamScaffoHeightFromFloorElevToBoardBottomElev",
          "TQTKBeamScaffoHeightFromFloorElevToBeamBottomElev", "TQTKBeamScaffoHeightFloorCorvaOrFloorElevToBeamTopElev",
          "TQTKBeamScaffoHeightFloorHasFoorUnderFloorToBeamTopElev",
          "TQTKBeamScaffoHeightFloorCorvaOrFloorElevToBeamTopElevDeductSlapHeight",
          "TQTKBeamScaffoHeightFloorHasFoorUnderFloorDeductSlap",
          "TQTKBeamScaffoHeightFloorCorvaOrFloorElevToBeamBottomElev",
          "TQTKBeamScaffoHeightFloorHasFoorUnderFloorToBeamBottomElev"})
        EXPECT_EQ(RunBeamRule(rule, *building, 1, 0), 0.0) << rule;
    EXPECT_NEAR(RunBeamRule("TQTKBeamScaffoldMiddleLength", *building, 1, 0), 6000.0, 0.01);
    EXPECT_NEAR(RunBeamRule("TQTKBeamScaffoldNetLength", *building, 1, 0), 6000.0, 0.01);
}

TEST(BeamScaffoldRules, MiddleLengthLeavesOutTheBeamsItGivesWayTo)
{
    // Beam 1 (500 deep) meets beam 2 (800 deep, 300 wide) across its middle
    // and gives way to it: 6000 less 300.
    const auto building = ScaffoldBuilding(
        1, "[" + ScaffoldBeam(3000) +
               R"(, {"id": 2, "type": 15, "floor": 1, "props": {"SectionWidth": 300, "SectionHeight": 800,
               "TopElev": 3000, "Material": "混凝土"}, "shape": {"kind": "line", "start": [3000, -3000],
               "end": [3000, 3000]}}])");
    EXPECT_NEAR(RunBeamRule("TQTKBeamScaffoldMiddleLength", *building, 1, 0), 5700.0, 0.01);
}

}  // namespace
