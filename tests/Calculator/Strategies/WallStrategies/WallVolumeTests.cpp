// What the wall volume table cannot say: another wall's calculation
// thickness, a slab that turns curved when its quantities are cleared, and
// trenches and copings (test objects until their element objects land).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Strategies/WallStrategies/WallRuleTesting.h"
#include "tests/Support/TestBuilding.h"

namespace {

// Concrete wall 1 (3000,-1000)-(3000,1000), 240 thick, 0 to 2500, crossed by
// brick wall 2 (0,0)-(6000,0), 0 to 3000, drawn 200 wide: the crossing is
// 240 x 200 x 2500 = 120,000,000 mm³. The result is that volume times wall
// 2's calculation thickness over its thickness.
TEST(WallVolumeRules, WallDeductsAnotherWallByItsCalculationThickness)
{
    struct TCase {
        const char* name;
        int thickness;      // wall 2's "Thickness"
        int calcThickness;  // set on wall 2; -1: undecided (its thickness)
        double expected;
    };
    const std::vector<TCase> cases = {
        {"thickness 200, calculation thickness 200", 200, -1, 120e6},
        {"thickness 200, calculation thickness 240: 1.2 times", 200, 240, 1.2 * 120e6},
        {"thickness 0: no quotient, nothing", 0, 240, 0.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = TTestBuilding::FromElements(
            R"([{"id": 1, "type": 0, "floor": 1,
                 "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 2500, "Material": "混凝土"},
                 "shape": {"kind": "line", "start": [3000, -1000], "end": [3000, 1000]}},
                {"id": 2, "type": 0, "floor": 1,
                 "props": {"Thickness": )" +
            std::to_string(c.thickness) + R"(, "BottomElev": 0, "TopElev": 3000, "Material": "砖"},
                 "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 200}}])");
        building->Activate();
        if (c.calcThickness != -1)
            RefCast<IQTKWallCalcEDO>(GetCalcEDO(building->Record(2), true))->SetCalcThickness(c.calcThickness);
        const double result = RunWallRule("TQTKWallVolumeDeductWall", *building, 1, 2);
        EXPECT_TRUE(std::isfinite(result));
        EXPECT_NEAR(result, c.expected, 1.0);
    }
}

// Slab 2 arched across y about the x axis: span 6000, rise 1000 from its base
// at 3000, 120 thick (radii 5000 and 4880, sweep 2 asin 0.6). Wall 1 crosses
// it along y at x 3000, 240 thick, up to 5000: it holds a 240 slice of the
// arch, (sweep / 2)(5000² - 4880²) x 240. Once the slab is curved, the
// thinner-slab rule deducts it by fact.
TEST(WallVolumeRules, CurvedSlabIsDeductedByFact)
{
    const auto building = TTestBuilding::FromElements(
        R"([{"id": 1, "type": 0, "floor": 1,
             "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 5000, "Material": "砖"},
             "shape": {"kind": "line", "start": [3000, -4000], "end": [3000, 4000]}},
            {"id": 2, "type": 19, "floor": 1, "props": {"Thickness": 120},
             "shape": {"kind": "face", "outline": [[0,-3000],[6000,-3000],[6000,3000],[0,3000]], "thickness": 120,
                       "elevation": {"kind": "cylinder", "first": 6000, "second": 1000, "base": 3000,
                                     "axis": [[0, 0], [6000, 0]]}}}])");
    building->Activate();
    const auto slab = RefCast<IQTKSlabCalculator>(GetCalcEDO(building->Record(2), true));
    slab->ClearQtyItems();
    ASSERT_TRUE(slab->IsCurvedFaceShape());
    const double expected = std::asin(0.6) * (5000.0 * 5000 - 4880.0 * 4880) * 240;
    EXPECT_NEAR(RunWallRule("TQTKWallVolumeDeductSlabByThinner", *building, 1, 2), expected, 1e-5 * expected);
}

// The trench of TrenchAcrossWall: its hollow or its whole solid through the 240 wall.
TEST(WallVolumeRules, TrenchUnitsTakeTheirTrenchsHollowOrWholeSolid)
{
    struct TCase {
        const char* rule;
        bool hasHollow;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"TQTKWallVolumeDeductTrenchHollow", true, 600.0 * 400 * 240},
        {"TQTKWallVolumeDeductTrenchHollow", false, 0.0},
        {"TQTKWallVolumeDeductTrench", true, 1000.0 * 600 * 240},
        {"TQTKWallVolumeDeductTrench", false, 1000.0 * 600 * 240},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + (c.hasHollow ? "" : ", trench without hollow"));
        TFakeEDOScope fakes;
        const auto building = TrenchAcrossWall(0, c.hasHollow, fakes);
        EXPECT_NEAR(RunWallRule(c.rule, *building, 1, 3), c.expected, 0.01);
    }
}

// Wall 1 (0,0)-(6000,0), 240 thick, 0 to 3000. Coping 2 lies on it along x
// from 1000 to 5000, 240 wide, 2700 to 3000: 4000 x 240 x 300. Coping 3
// crosses it: not deducted.
TEST(WallVolumeRules, CopingIsDeductedWhenParallel)
{
    struct TCase {
        int coping;
        double expected;
    };
    const std::vector<TCase> cases = {{2, 4000.0 * 240 * 300}, {3, 0.0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE("coping " + std::to_string(c.coping));
        const auto building = TTestBuilding::FromElements(R"([
              {"id": 1, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000},
               "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}},
              {"id": 2, "type": 70, "floor": 1, "props": {"SectionWidth": 240, "SectionHeight": 300},
               "shape": {"kind": "line", "start": [1000, 0], "end": [5000, 0], "width": 240, "bottom": 2700,
                         "top": 3000}},
              {"id": 3, "type": 70, "floor": 1, "props": {"SectionWidth": 240, "SectionHeight": 300},
               "shape": {"kind": "line", "start": [3000, -1000], "end": [3000, 1000], "width": 240, "bottom": 2700,
                         "top": 3000}}])");
        building->Activate();
        TFakeEDOScope fakes;
        fakes.Attach<TFakeCopingEDO>(building->DrawObj(c.coping));
        EXPECT_NEAR(RunWallRule("TQTKWallVolumeDeductCoping", *building, 1, c.coping), c.expected, 0.01);
    }
}

}  // namespace
