// Slab rules a table cannot say: rules sharing one calculator on the slab,
// and every name of the slab units answering the library's GetStrategy with
// its own class.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/VRM/VRMCommon2d.h"
#include "tests/Support/RegistryChecks.h"
#include "tests/Support/TestBuilding.h"

namespace {

double RunSlabRule(const char* rule, const TTestBuilding& building, int subject, int object)
{
    const auto strategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(rule));
    return strategy->Calculate(RecordRef(building.Record(subject)),
                               RecordRef(object ? building.Record(object) : nullptr), GBusiness(), building.RuleSet());
}

std::filesystem::path Fixture(const char* name)
{
    return std::filesystem::path(QTK_SLAB_CASES_DIR) / name;
}

// A storey with the slab settings ("DoubleFormboardAngle",
// "ArchSlabFormboardMethod"; a missing value is left out) and the elements.
std::unique_ptr<TTestBuilding> BuildingWithSlabSettings(std::optional<double> angle, std::optional<int> archMethod,
                                                        const std::string& elements)
{
    std::string row;
    if (angle)
        row += "\"DoubleFormboardAngle\": " + std::to_string(*angle);
    if (archMethod)
        row += std::string(row.empty() ? "" : ", ") + "\"ArchSlabFormboardMethod\": " + std::to_string(*archMethod);
    auto building = TTestBuilding::FromText(R"({
        "databases": [{"name": "Business", "tables": []}, {"name": "NormCalcRule", "tables": [
          {"name": "QTKSlabCalcSettings", "fields": [{"name": "DoubleFormboardAngle", "type": "float"},
             {"name": "ArchSlabFormboardMethod", "type": "integer"}], "rows": [{)" +
                                            row + R"(}]}]}],
        "floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0}],
        "elements": [)" + elements + "]}");
    building->Activate();
    return building;
}

// Slab 1, 6000 x 4000 x 120, its top at 3000 along its first edge and rising
// into the slab at Slope degrees.
std::string SlopedSlab(double slope)
{
    return R"({"id": 1, "type": 19, "floor": 1, "props": {"Thickness": 120, "Material": "混凝土"},
        "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]], "thickness": 120,
        "elevation": {"kind": "ratio", "edge": 0, "elev": 3000, "ratio": )" +
           std::to_string(std::tan(slope * CVRMPi / 180)) + "}}}";
}

// Slab 1 arched over the x axis: span 6000 across y, rise 1000 from its base
// at 3000, 6000 long, 120 thick under its surface (radius 5000, inside 4880).
const char* const CArchedSlab = R"({"id": 1, "type": 19, "floor": 1, "props": {"Thickness": 120},
    "shape": {"kind": "face", "outline": [[0, -3000], [6000, -3000], [6000, 3000], [0, 3000]], "thickness": 120,
    "elevation": {"kind": "cylinder", "first": 6000, "second": 1000, "base": 3000, "axis": [[0, 0], [6000, 0]]}}})";

// The slab's curved flag is decided when the host resets it for a quantity.
void ResetSlab(const TTestBuilding& building, int id)
{
    GetCalcEDO(building.Record(id), true)->ClearQtyItems();
}

TEST(SlabFormwork, TopsAtOrAboveTheAngleGetFormworkOnBothSides)
{
    struct Case {
        const char* name;
        std::optional<double> angle;
        double slope;  // degrees
        double expected;
    };
    const double plan = 6000.0 * 4000;
    const Case cases[] = {
        {"35 degree top, 30 degree setting: soffit twice", 30.0, 35.0, 2 * plan / std::cos(35 * CVRMPi / 180)},
        {"25 degree top, 30 degree setting: soffit", 30.0, 25.0, plan / std::cos(25 * CVRMPi / 180)},
        {"level top, 0 degree setting: soffit twice", 0.0, 0.0, 2 * plan},
        {"level top, 30 degree setting: soffit", 30.0, 0.0, plan},
        {"level top, no setting: soffit", std::nullopt, 0.0, plan},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = BuildingWithSlabSettings(c.angle, std::nullopt, SlopedSlab(c.slope));
        EXPECT_NEAR(RunSlabRule("TQTKSlabOriginalFormboardArea", *building, 1, 0), c.expected, 1e-6 * c.expected);
    }
}

TEST(SlabFormwork, CurvedSlabByItsDownwardOrAllSlopedFaces)
{
    const double sweep = 2 * std::asin(0.6);
    const double inside = 4880 * sweep * 6000, outside = 5000 * sweep * 6000;
    // The faces at the feet stand square to the surface and look down and out.
    const double feet = 2 * 120.0 * 6000;
    struct Case {
        const char* name;
        std::optional<int> method;
        double expected;
    };
    const Case cases[] = {
        {"no method: downward faces", std::nullopt, inside + feet},
        {"method 0: downward faces", 0, inside + feet},
        {"method 1: every face not upright", 1, inside + feet + outside},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = BuildingWithSlabSettings(std::nullopt, c.method, CArchedSlab);
        ResetSlab(*building, 1);
        EXPECT_NEAR(RunSlabRule("TQTKSlabOriginalFormboardArea", *building, 1, 0), c.expected, 1e-6 * c.expected);
    }
}

// The slab units' names as they are registered (their spellings kept).
const std::vector<std::string> CSlabRuleNames = {
    // volume
    "TQTKSlabOriginalVol",
    "TQTKSlabThickness",
    "TQTKSlabVolDeductByFact",
    "TQTKSlabVolDeductCrocreteByFact",
    "TQTKSlabVolDeductBrickStoneByFact",
    "TQTKSlabVolDeductColumnByFact",
    "TQTKSlabVolDeductWallByFact",
    "TQTKSlabVolDeductCrocreteExternalWallByFact",
    "TQTKSlabVolDeductTieColumnByFact",
    "TQTKSlabVolDeductTieColumnByArea",
    "TQTKSlabVolDeductTieColumnByDot3M2",
    "TQTKSlabVolDeductExternalTieBeam",
    "TQTKSlabVolDeductByArea",
    "TQTKSlabVolDeductByDot3M2",
    "TQTKSlabVolDeductBy1M2",
    "TQTKSlabVolDeductByDot05M2",
    "TQTKSlabVolDeductByVol",
    "TQTKSlabVolDeductByDot05M3",
    "TQTKSlabVolDeductWallByThickness",
    "TQTKSlabVolDeductBeamByThickness",
    "TQTKSlabVolDeductOutBeam",
    // formwork
    "TQTKSlabCustomFormboardArea",
    "TQTKSlabOriginalFormboardArea",
    "TQTKSlabDeductFormboardAreaByFact",
    "TQTKSlabDeductBrickStoneFormboardAreaWithoutFillerWallAndPartitionWall",
    "TQTKSlabDeductBeamFormboardArea",
    "TQTKSlabDeductFormboardAreaAddSideArea",
    "TQTKSlabDeductFormboardAreaAddSideAreaByArea",
    "TQTKSlabDeductFormboardAreaAddSideAreaByDot3M2",
    "TQTKSlabDeductFormboardAreaAddSideAreaBy1M2",
    "TQTKSlabDeductFormboardAreaAddSideAreaBy5M2",
};

TEST(SlabRuleRegistration, EveryNameAnswersWithItsOwnClass)
{
    for (const std::string& name : CSlabRuleNames) {
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(name.c_str()));
        ASSERT_TRUE(rule) << name;
        EXPECT_EQ(RuleClassName(*rule), name);
    }
}

// The deductions of one slab share its volume calculator: a space two
// elements share comes off once, and the original volume stays the solid's.
TEST(SlabVolume, DeductionsShareOneCalculator)
{
    const auto building = TTestBuilding::FromFile(Fixture("slab-volume.json"));
    building->Activate();
    // Column 20 (400 x 400) and column 20 again: the second call finds its
    // space already gone.
    EXPECT_NEAR(RunSlabRule("TQTKSlabVolDeductColumnByFact", *building, 1, 20), 400.0 * 400 * 120, 0.01);
    EXPECT_NEAR(RunSlabRule("TQTKSlabVolDeductByFact", *building, 1, 20), 0.0, 0.01);
    EXPECT_NEAR(RunSlabRule("TQTKSlabVolDeductByDot05M2", *building, 1, 22), 250.5 * 200 * 120, 0.01);
    EXPECT_NEAR(RunSlabRule("TQTKSlabOriginalVol", *building, 1, 0), 6000.0 * 4000 * 120, 0.01);
}

}  // namespace
