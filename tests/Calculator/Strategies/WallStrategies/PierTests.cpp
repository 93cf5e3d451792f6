// Pier rules: sizes, the length against the wall and the exposed length,
// volume deductions by the kind of the host wall and the side the pier
// stands on, and the facing deductions with their internal-only twins.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "tests/Support/TestBuilding.h"

namespace {

// Two storeys above the foundation; the elements' elevations are absolute.
std::unique_ptr<TTestBuilding> Building(const std::string& elements)
{
    auto building = TTestBuilding::FromText(R"({
        "floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0, "StartFloorNo": 1},
                   {"ID": 2, "Name": "F2", "StructuralElevation": 3.0, "Height": 3.0, "StartFloorNo": 2}],
        "elements": [)" + elements + "]}");
    building->Activate();
    return building;
}

// Wall 1: 240 thick along (0,0)-(6000,0), 0 to 3000, its right side (y < 0) external.
std::string HostWall(const std::string& props = "")
{
    return R"({"id": 1, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000,
        "InnerOuterFlag": 1)" +
           props + R"(}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}})";
}

// Pier 3: SizeX x SizeY centred on (3000, Y), 0 to Top; on wall 1 unless parentless.
std::string Pier(double y, double sizeX, double sizeY, bool withParent = true, double top = 3000,
                 const std::string& props = "")
{
    const std::string parent = withParent ? R"("parent": 1, )" : "";
    return R"({"id": 3, "type": 3, "floor": 1, )" + parent + R"("props": {)" +
           (withParent ? std::string(R"("EDOPID": 1, )") : std::string()) + R"("BottomElev": 0, "TopElev": )" +
           std::to_string(top) + props + R"(}, "shape": {"kind": "point", "insertPt": [3000, )" + std::to_string(y) +
           R"(], "size": [)" + std::to_string(sizeX) + ", " + std::to_string(sizeY) + "]}}";
}

double RunRule(const char* rule, const TTestBuilding& building, int subject, int object = 0)
{
    const auto strategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(rule));
    return strategy->Calculate(RecordRef(building.Record(subject)),
                               RecordRef(object ? building.Record(object) : nullptr), GBusiness(), building.RuleSet());
}

void SetHostSides(const TTestBuilding& building)
{
    const auto wall = RefCast<IQTKCustomWallCalcEDO>(GetCalcEDO(building.Record(1), true));
    wall->SetLeftSideExternal(false);
    wall->SetRightSideExternal(true);
}

TEST(PierRules, Sizes)
{
    struct TCase {
        const char* name;
        const char* rule;
        std::string pier;
        double expected;
    };
    const std::vector<TCase> cases = {
        {"section area is the pier's Area", "TQTKPierSectionArea",
         Pier(240, 370, 240, true, 3000, R"(, "Area": 88800)"), 88800},
        {"height", "TQTKPierHeight", Pier(240, 370, 240), 3000},
        {"height 0.5: 0", "TQTKPierHeight", Pier(240, 370, 240, true, 0.5), 0},
        // 370 x 240 against the wall's left face (y = 120).
        {"against the wall: the long side", "TQTKContactWallLength", Pier(240, 370, 240), 370},
        {"exposed: the other three sides", "TQTKPierExposeLength", Pier(240, 370, 240), 850},
        // A 240 x 240 pier inside the wall's band: every side is covered.
        {"surrounded by its wall: nothing exposed", "TQTKPierExposeLength", Pier(0, 240, 240), 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = Building(HostWall() + "," + c.pier);
        EXPECT_NEAR(RunRule(c.rule, *building, 3), c.expected, 0.001);
    }
}

// A wall of the storey above standing at the same place (the same absolute
// elevations) does not hide the pier's sides; one of its own storey does.
TEST(PierRules, ExposedLengthCountsNeighboursOfItsOwnStoreyOnly)
{
    for (const int floor : {1, 2}) {
        SCOPED_TRACE(floor);
        const std::string other = R"({"id": 5, "type": 0, "floor": )" + std::to_string(floor) +
                                  R"(, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000},
            "shape": {"kind": "line", "start": [3000, -1000], "end": [3000, 1000]}})";
        // A parentless 240 x 240 pier at (3000, 0): inside wall 5's band when that wall counts.
        const auto building = Building(other + "," + Pier(0, 240, 240, false));
        EXPECT_NEAR(RunRule("TQTKPierExposeLength", *building, 3), floor == 1 ? 0.0 : 960.0, 0.001);
    }
}

// Beam 9 through the top of the pier: 250 wide along y = Y, 2700 to 3000; it
// takes 500 x 250 x 300 off a 500 x 250 pier.
TEST(PierRules, VolumeDeductionsByHostAndSide)
{
    constexpr double CTaken = 500.0 * 250.0 * 300.0;
    struct TCase {
        const char* name;
        const char* rule;
        std::string wallProps;
        bool external;  // the pier on the wall's external (right) side
        bool withParent;
        double expected;
    };
    const std::string brick = R"(, "Material": "砖")", concrete = R"(, "Material": "混凝土")";
    const std::vector<TCase> cases = {
        {"by fact", "TQTKPierDeductByFact", brick, true, true, CTaken},
        {"a parentless pier is on no concrete: brick deducts", "TQTKBrickPierDeductByFact", brick, false, false,
         CTaken},
        {"brick pier on concrete: nothing", "TQTKBrickPierDeductByFact", concrete, false, true, 0},
        {"external on brick: nothing", "TQTKNonBrickExternalPierDeductByFact", brick, true, true, 0},
        {"external on concrete: deducts", "TQTKNonBrickExternalPierDeductByFact", concrete, true, true, CTaken},
        {"internal on brick: non-brick-external deducts", "TQTKNonBrickExternalPierDeductByFact", brick, false, true,
         CTaken},
        {"brick internal: deducts", "TQTKBrickInternalPierDeductByFact", brick, false, true, CTaken},
        {"brick internal, pier external: nothing", "TQTKBrickInternalPierDeductByFact", brick, true, true, 0},
        {"brick internal on concrete: nothing", "TQTKBrickInternalPierDeductByFact", concrete, false, true, 0},
        {"partition wall: deducts", "TQTKPartitionWallPierDeductByFact", brick + R"(, "Type": 254)", false, true,
         CTaken},
        {"not a partition wall: nothing", "TQTKPartitionWallPierDeductByFact", brick + R"(, "Type": 1)", false, true,
         0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const double y = c.external ? -245 : 245;
        const std::string beam = R"({"id": 9, "type": 15, "floor": 1, "props": {"SectionWidth": 250,
            "SectionHeight": 300, "BottomElev": 2700, "TopElev": 3000},
            "shape": {"kind": "line", "start": [0, )" +
                                 std::to_string(y) + R"(], "end": [6000, )" + std::to_string(y) + "]}}";
        const auto building = Building(HostWall(c.wallProps) + "," + Pier(y, 500, 250, c.withParent) + "," + beam);
        SetHostSides(*building);
        EXPECT_NEAR(RunRule(c.rule, *building, 3, 9), c.expected, 1.0);
    }
}

// Slab 9 (120 thick, top 3000) over the pier: a band 120 high off its faces,
// 850 long on the exposed sides and 370 against the wall.
TEST(PierRules, FacingDeductionsAndTheirInternalTwins)
{
    struct TCase {
        const char* rule;
        double internalPier, externalPier;
    };
    const std::vector<TCase> cases = {
        {"TQTKPierOrnamentAreaDeductSlab", 850 * 120, 850 * 120},
        {"TQTKInternalPierOrnamentAreaDeductSlab", 850 * 120, 0},
        {"TQTKPierOrnamentAreaDeductPrecastSlab", 850 * 120, 850 * 120},
        {"TQTKInternalPierOrnamentAreaDeductPrecastSlab", 850 * 120, 0},
        {"TQTKPierOrnamentAreaDeductBeam", 850 * 120, 850 * 120},
        {"TQTKInternalPierOrnamentAreaDeductBeam", 850 * 120, 0},
        {"TQTKPierContactWallOrnamentAreaDeductSlab", 370 * 120, 370 * 120},
        {"TQTKInternalPierContactWallOrnamentAreaDeductSlab", 370 * 120, 0},
        {"TQTKPierContactWallOrnamentAreaDeductPrecastSlab", 370 * 120, 370 * 120},
        {"TQTKInternalPierContactWallOrnamentAreaDeductPrecastSlab", 370 * 120, 0},
        {"TQTKPierContactWallOrnamentAreaDeductBeam", 370 * 120, 370 * 120},
        {"TQTKInternalPierContactWallOrnamentAreaDeductBeam", 370 * 120, 0},
    };
    const std::string slab = R"({"id": 9, "type": 20, "floor": 1, "props": {"Thickness": 120, "TopElev": 3000},
        "shape": {"kind": "face", "outline": [[0, -1000], [6000, -1000], [6000, 1000], [0, 1000]], "elev": 3000,
                  "thickness": 120}})";
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.rule);
        for (const bool external : {false, true}) {
            SCOPED_TRACE(external ? "external pier" : "internal pier");
            const auto building = Building(HostWall() + "," + Pier(external ? -240 : 240, 370, 240) + "," + slab);
            SetHostSides(*building);
            EXPECT_NEAR(RunRule(c.rule, *building, 3, 9), external ? c.externalPier : c.internalPier, 0.01);
        }
    }
}

}  // namespace
