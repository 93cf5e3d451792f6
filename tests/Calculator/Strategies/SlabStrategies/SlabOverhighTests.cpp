// Slab over-height builders and the over-height volume, formwork and side
// formwork rules, with the plain side formwork rules. Storey 1 at 0 (B = 0),
// critical height 3.6 m; the slab is 6000 x 4000 x 120 with its top at 5000
// unless a case says otherwise, so partition method 1 weighs every piece by
// (5000 - 3600) / 1000 = 1.4.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/SlabStrategies/QTKSlabOverhighCalcBuilder.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "tests/Calculator/Strategies/OverHigh/OverHighTestModel.h"
#include "tests/Support/RegistryChecks.h"

namespace {

constexpr double CPlan = 6000.0 * 4000;      // the slab's plan, mm²
constexpr double CSlabVolume = CPlan * 120;  // 2.88e9 mm³
constexpr double CExcessWeight = 1.4;        // method 1: 1.4 m above 3.6 m

std::string Num(double v)
{
    return std::to_string(v);
}

// A slab of 120 over (x0, y0)-(x1, y1); Elevation: a face elevation (else
// level at Top); Props are added to its properties (", ..." form).
std::string SlabAt(int id, double x0, double y0, double x1, double y1, double top, const std::string& props = "",
                   int floor = 1, const std::string& elevation = "")
{
    const std::string elev = elevation.empty() ? R"({"kind": "level", "elev": )" + Num(top) + "}" : elevation;
    return R"({"id": )" + std::to_string(id) + R"(, "type": 19, "floor": )" + std::to_string(floor) +
           R"(, "props": {"Thickness": 120, "TopElev": )" + Num(top) + R"(, "Material": "混凝土")" + props +
           R"(}, "shape": {"kind": "face", "outline": [[)" + Num(x0) + ", " + Num(y0) + "], [" + Num(x1) + ", " +
           Num(y0) + "], [" + Num(x1) + ", " + Num(y1) + "], [" + Num(x0) + ", " + Num(y1) + R"(]], "elevation": )" +
           elev + R"(, "thickness": 120}})";
}

// Slab 1: 6000 x 4000, top at Top.
std::string Slab1(double top = 5000, const std::string& props = "", int floor = 1)
{
    return SlabAt(1, 0, 0, 6000, 4000, top, props, floor);
}

// A column (Material concrete) over (x0, y0)-(x1, y1) from Bottom to Top.
std::string Column(int id, double x0, double y0, double x1, double y1, double bottom = 0, double top = 5000)
{
    return PointElement(id, 25, 1, x0, y0, x1, y1, bottom, top, R"(, "Material": "混凝土")");
}

// Sloped slab 1 over 6000 x 4000: its top rises from Elev along the edge
// Edge into the slab by Ratio.
std::string SlopedSlab(int edge, double elev, double ratio)
{
    return SlabAt(1, 0, 0, 6000, 4000, elev, "", 1,
                  R"({"kind": "ratio", "edge": )" + std::to_string(edge) + R"(, "elev": )" + Num(elev) +
                      R"(, "ratio": )" + Num(ratio) + "}");
}

TOverHighSettings Method(int method)
{
    TOverHighSettings s;
    s.method = method;
    return s;
}

class TSlabOverhighTest : public TOverHighTest {
protected:
    // The slab settings with the over-height keys, plus more tables.
    void LoadSlab(const std::string& elements, const TOverHighSettings& s, const std::string& moreTables = "",
                  const std::string& moreDatabases = "")
    {
        Load(elements, OverHighSettingsTable("QTKSlabCalcSettings", s) + moreTables, false, moreDatabases);
    }

    double Run(const char* rule, int subject, int object = 0) const
    {
        const auto strategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(rule));
        return strategy->Calculate(Record(subject), object ? Record(object) : RecordRef(), Business(), Rules());
    }

    Ref<IQTKSlabCalculator> SlabEdo(int id) const { return RefCast<IQTKSlabCalculator>(Edo(id)); }
};

// The piece weights of an over-height calculator in its order (the highest piece first).
template <class Calc>
std::vector<double> Weights(const Calc& calc)
{
    std::vector<double> weights;
    for (int i = 0; i < calc.GetCount(); ++i)
        weights.push_back(calc.GetItem(i)->GetWeight());
    return weights;
}

void ExpectWeights(const std::vector<double>& actual, const std::vector<double>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-9) << "piece " << i;
}

// ---------------------------------------------------------------------------
// Builders

TEST_F(TSlabOverhighTest, PartitionMethodsCutTheSlabIntoWeightedPieces)
{
    struct Case {
        const char* name;
        TOverHighSettings settings;
        double top;
        std::vector<double> weights;  // from the top down
        double volume;
    };
    TOverHighSettings absent = Method(1);
    absent.startField = false;
    TOverHighSettings layers = Method(3);  // 40 mm layers from 4870: 50, 40 and 30 mm of the slab
    layers.partition = 0.04, layers.start = 4.87;
    TOverHighSettings noLayer = Method(3);  // the count starts above the slab
    noLayer.start = 5.1;
    TOverHighSettings flatLayer = Method(2);
    flatLayer.partition = 0.0;
    TOverHighSettings counted = Method(2);  // (5050 - 3600) / 1000 = 1.45, ceiled
    counted.start = 3.6, counted.round = 1;
    const Case cases[] = {
        {"method 1, start null: one piece of 1.4", Method(1), 5000, {1.4}, CSlabVolume * 1.4},
        {"method 1, start absent: the same", absent, 5000, {1.4}, CSlabVolume * 1.4},
        {"method 0, start null: the whole slab, weight 1", Method(0), 5000, {1}, CSlabVolume},
        {"method 3, three layers: 3, 2, 1 from the top", layers, 5000, {3, 2, 1}, CPlan * (50 * 3 + 40 * 2 + 30)},
        {"method 3, no layer: no piece", noLayer, 5000, {}, 0},
        {"method 2, partition height 0: no piece", flatLayer, 5000, {}, 0},
        {"method 2, N = 2: the slab above 3.6 m twice", counted, 5050, {2}, CSlabVolume * 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadSlab(Slab1(c.top), c.settings);
        TQTkSlabOverhighVolCalcBuilder builder(Record(1), Business(), Rules());
        EXPECT_TRUE(builder.IsOverHigh());
        const auto calc = builder.BuildSolidCalc();
        ExpectWeights(Weights(*calc), c.weights);
        EXPECT_NEAR(calc->GetVolume(), c.volume, 1e-6 * CSlabVolume);
    }
}

TEST_F(TSlabOverhighTest, LayerCountRoundsTheExcessOverTheCountStart)
{
    // Count start 3.6 m, count top 5.05 m, B = 0: e = 1.45 m, H = 1 m.
    struct Case {
        const char* name;
        int round;
        int count;
    };
    const Case cases[] = {{"round down", 0, 1}, {"round up", 1, 2}, {"round half up: 1.95 floored", 2, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOverHighSettings s = Method(2);
        s.start = 3.6, s.round = c.round;
        LoadSlab(Slab1(5050), s);
        TQTkSlabOverhighVolCalcBuilder builder(Record(1), Business(), Rules());
        EXPECT_NEAR(builder.GetCountTopElev() - builder.GetStartHeight() - builder.GetBottomElev(), 1450, 1e-9);
        EXPECT_EQ(builder.GetPartitionCount(), c.count);
    }
}

TEST_F(TSlabOverhighTest, SlabsThatAreNotOverHighGetEmptyCalculatorsAndEveryRuleGivesNothing)
{
    struct Case {
        const char* name;
        std::string slab;
    };
    const Case cases[] = {
        {"a floor slab", Slab1(5000, R"(, "IsFloorSlab": 1)")},
        {"a slab on the foundation floor", Slab1(5000, "", 2)},
        {"a top 3.0 m above B", Slab1(3000)},
    };
    const char* const rules[] = {
        "TQTKSlabOriginalOverhighVol",
        "TQTKSlabOverhighVolDeductColumnByFact",
        "TQTKSlabOriginalOverhighFormboardArea",
        "TQTKSlabDeductOverhighFormboardAreaAddSideArea",
        "TQTKSlabOriginalOverhighSideFormboardArea",
        "TQTKSlabDeductOverhighSideFormboardArea",
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadSlab(c.slab + "," + Column(20, 800, 800, 1200, 1200), Method(1));
        EXPECT_FALSE(TQTkSlabOverhighFormboardCalcBuilder(Record(1), Business(), Rules()).IsOverHigh());
        for (const char* rule : rules)
            EXPECT_EQ(Run(rule, 1, 20), 0.0) << rule;
        EXPECT_EQ(SlabEdo(1)->GetOverhighVolumeCalc()->GetCount(), 0);
        EXPECT_EQ(SlabEdo(1)->GetOverhighFormboardCalc()->GetCount(), 0);
        EXPECT_EQ(SlabEdo(1)->GetOverhighSideFormboardCalc()->GetCount(), 0);
    }
}

TEST_F(TSlabOverhighTest, TopElevationOfASlopedSlabByMethod)
{
    // The top rises from 4000 along edge 0 by 1 in 4 over 4000: 4000 to 5000.
    // The soffit lies 120 below it square to the slope, 120 cos θ lower.
    const double drop = 120 / std::sqrt(1 + 0.25 * 0.25);
    struct Case {
        const char* name;
        int method;
        double top;
    };
    const Case cases[] = {
        {"0: highest point of the top", 0, 5000},
        {"1: highest point of the soffit", 1, 5000 - drop},
        {"2: mid-height of the top", 2, 4500},
        {"3: mid-height of the soffit", 3, 4500 - drop},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOverHighSettings s;
        s.top = c.method;
        LoadSlab(SlopedSlab(0, 4000, 0.25), s);
        TQTkSlabOverhighVolCalcBuilder builder(Record(1), Business(), Rules());
        EXPECT_NEAR(builder.GetTopElev(), c.top, 1e-6);
    }
}

TEST_F(TSlabOverhighTest, TheFirstBuildersTopStaysWithTheSlab)
{
    // Slabs 1 and 2 are both sloped 4000 to 5000; the rule set measures the
    // top by method 0, the other database by method 2 (the mid-height, 4500).
    TOverHighSettings byMid;
    byMid.top = 2;
    const std::string other =
        R"({"name": "Other", "tables": [)" + OverHighSettingsTable("QTKSlabCalcSettings", byMid) + "]}";
    const std::string slab2 =
        SlabAt(2, 0, 10000, 6000, 14000, 4000, "", 1, R"({"kind": "ratio", "edge": 0, "elev": 4000, "ratio": 0.25})");
    LoadSlab(SlopedSlab(0, 4000, 0.25) + "," + slab2, TOverHighSettings(), "", other);
    const TableSourceRef otherRules(
        dynamic_cast<IRDXTableSource*>(building_->Model()->GetRDXModel()->GetDatabaseByIndex(2)));
    ASSERT_TRUE(otherRules);

    EXPECT_NEAR(TQTkSlabOverhighVolCalcBuilder(Record(1), Business(), Rules()).GetTopElev(), 5000, 1e-6);
    ASSERT_TRUE(SlabEdo(1)->GetOverhighElev());
    EXPECT_NEAR(SlabEdo(1)->GetOverhighElev()->FirstElev, 5000, 1e-6);
    EXPECT_NEAR(SlabEdo(1)->GetOverhighElev()->SecondElev, 0, 1e-6);
    EXPECT_NEAR(TQTkSlabOverhighVolCalcBuilder(Record(1), Business(), otherRules).GetTopElev(), 5000, 1e-6);
    // A slab without a stored top takes the other method's.
    EXPECT_NEAR(TQTkSlabOverhighVolCalcBuilder(Record(2), Business(), otherRules).GetTopElev(), 4500, 1e-6);
}

// ---------------------------------------------------------------------------
// Over-height volume

TEST_F(TSlabOverhighTest, VolumeLessAColumnPieceByPiece)
{
    TOverHighSettings layers = Method(3);
    layers.partition = 0.04, layers.start = 4.87;
    struct Case {
        const char* name;
        TOverHighSettings settings;
        double original;
        double column;
    };
    const Case cases[] = {
        {"method 1: 400 x 400 x 120 x 1.4", Method(1), CSlabVolume * 1.4, 400.0 * 400 * 120 * 1.4},
        {"method 3: each layer by its weight", layers, CPlan * 260, 400.0 * 400 * (50 * 3 + 40 * 2 + 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadSlab(Slab1() + "," + Column(20, 800, 800, 1200, 1200), c.settings);
        // The deduction runs first and builds the pieces; the original reads them.
        EXPECT_NEAR(Run("TQTKSlabOverhighVolDeductColumnByFact", 1, 20), c.column, 1e-3);
        EXPECT_NEAR(Run("TQTKSlabOriginalOverhighVol", 1), c.original - c.column, 1e-6 * c.original);
    }
}

TEST_F(TSlabOverhighTest, LimitedVolumeDeductionsAtTheLimitAndJustAbove)
{
    // Columns from 0 to 5000 (the 0.05 m³ ones 1000 high, 4200 to 5200); what
    // comes off is their part of the slab x 1.4.
    struct Case {
        const char* rule;
        double x;  // the column's plan is x by y
        double y;
        double bottom;
        double top;
        double expected;
    };
    const Case cases[] = {
        {"TQTKSlabOverhighVolDeductByDot05M2", 250, 200, 0, 5000, 0},
        {"TQTKSlabOverhighVolDeductByDot05M2", 250, 200.1, 0, 5000, 250 * 200.1 * 120 * 1.4},
        {"TQTKSlabOverhighVolDeductByDot3M2", 600, 500, 0, 5000, 0},
        {"TQTKSlabOverhighVolDeductByDot3M2", 600, 500.1, 0, 5000, 600 * 500.1 * 120 * 1.4},
        {"TQTKSlabOverhighVolDeductBy1M2", 1000, 1000, 0, 5000, 0},
        {"TQTKSlabOverhighVolDeductBy1M2", 1000, 1000.1, 0, 5000, 1000 * 1000.1 * 120 * 1.4},
        {"TQTKSlabOverhighVolDeductBy5M2", 2500, 2000, 0, 5000, 0},
        {"TQTKSlabOverhighVolDeductBy5M2", 2500, 2000.1, 0, 5000, 2500 * 2000.1 * 120 * 1.4},
        {"TQTKSlabOverhighVolDeductByDot05M3", 250, 200, 4200, 5200, 0},
        {"TQTKSlabOverhighVolDeductByDot05M3", 250, 200.1, 4200, 5200, 250 * 200.1 * 120 * 1.4},
        {"TQTKSlabOverhighVolDeductByDot05M3", 200, 200, 4200, 5200, 0},  // 0.04 m³
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " " + Num(c.x) + " x " + Num(c.y));
        LoadSlab(Slab1() + "," + Column(20, 500, 500, 500 + c.x, 500 + c.y, c.bottom, c.top), Method(1));
        EXPECT_NEAR(Run(c.rule, 1, 20), c.expected, 1e-3);
    }
}

TEST_F(TSlabOverhighTest, RegisteredBasesWithoutALimitGiveNothingAndBuildNothing)
{
    const char* const rules[] = {
        "TQTKSlabOverhighVolDeductByArea",
        "TQTKSlabOverhighVolDeductByVol",
        "TQTKSlabDeductFormboardAreaAddSizeByArea",
    };
    LoadSlab(Slab1() + "," + Column(20, 500, 500, 2500, 2500), Method(1));
    for (const char* rule : rules)
        EXPECT_EQ(Run(rule, 1, 20), 0.0) << rule;
    EXPECT_FALSE(SlabEdo(1)->GetOverhighVolumeCalc());
    EXPECT_FALSE(SlabEdo(1)->GetOverhighFormboardCalc());
    EXPECT_FALSE(SlabEdo(1)->GetOverhighElev());
}

TEST_F(TSlabOverhighTest, OuterWallsAndTieBeamsOnOuterWalls)
{
    // Walls 240 through the slab (0 to 5000); tie beams 240 x 300 under the
    // slab's top, 2000 long, on an outer and an inner wall.
    const std::string elements =
        Slab1() + "," +
        LineElement(30, 0, 1, 0, 1000, 6000, 1000, 240, 0, 5000, R"(, "Material": "混凝土", "InnerOuterFlag": 0)") +
        "," +
        LineElement(31, 0, 1, 4500, 0, 4500, 4000, 240, 0, 5000, R"(, "Material": "混凝土", "InnerOuterFlag": 1)") +
        "," +
        LineElement(42, 18, 1, 4500, 2000, 4500, 4000, 240, 4700, 5000,
                    R"(, "Material": "混凝土", "InnerOuterFlag": 0)") +
        "," + LineElement(32, 0, 1, 0, 3000, 4000, 3000, 240, 0, 4880, R"(, "Material": "砖", "InnerOuterFlag": 0)") +
        "," +
        LineElement(41, 18, 1, 0, 3000, 2000, 3000, 240, 4700, 5000, R"(, "Material": "混凝土", "InnerOuterFlag": 0)");
    struct Case {
        const char* rule;
        int object;
        double expected;
    };
    const Case cases[] = {
        {"TQTKSlabOverhighVolDeductConcreteExternalWallByFact", 30, 0},
        {"TQTKSlabOverhighVolDeductConcreteExternalWallByFact", 31, 240 * 4000 * 120 * 1.4},
        {"TQTKSlabOverhighVolDeductExternalTieBeam", 41, 0},
        {"TQTKSlabOverhighVolDeductExternalTieBeam", 42, 240 * 2000 * 120 * 1.4},
        {"TQTKSlabOverhighVolDeductOutBeam", 30, 0},
        {"TQTKSlabOverhighVolDeductOutBeam", 31, 240 * 4000 * 120 * 1.4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " " + std::to_string(c.object));
        LoadSlab(elements, Method(1));
        EXPECT_NEAR(Run(c.rule, 1, c.object), c.expected, 1e-3);
    }
}

// ---------------------------------------------------------------------------
// Over-height formwork

TEST_F(TSlabOverhighTest, FormworkIsTheWeightedSoffit)
{
    LoadSlab(Slab1(), Method(1));
    EXPECT_NEAR(Run("TQTKSlabOriginalOverhighFormboardArea", 1), CPlan * 1.4, 1e-3);
}

TEST_F(TSlabOverhighTest, AnOpeningGivesBackItsSidesWhichLaterDeductionsTakeToo)
{
    // Column 20 (400 x 400 at 800..1200) takes 160,000 x 1.4 of the soffit and
    // gives back its four sides in the slab, 4 x 400 x 120 x 1.4. Column 21
    // (1050..1450 x 850..1150) then takes the soffit not yet taken
    // (400 x 300 - 150 x 300) and the part of column 20's side at x = 1200
    // inside it (300 x 120), all x 1.4.
    LoadSlab(Slab1() + "," + Column(20, 800, 800, 1200, 1200) + "," + Column(21, 1050, 850, 1450, 1150), Method(1));
    EXPECT_NEAR(Run("TQTKSlabDeductOverhighFormboardAreaAddSideArea", 1, 20), 224000 - 268800, 1e-3);
    EXPECT_NEAR(SlabEdo(1)->GetOverhighFormboardCalc()->GetArea(), CPlan * 1.4 - 224000 + 268800, 1e-3);
    EXPECT_NEAR(Run("TQTKSlabDeductOverhighFormboardAreaByFact", 1, 21), (75000 + 36000) * 1.4, 1e-3);
    EXPECT_NEAR(Run("TQTKSlabOriginalOverhighFormboardArea", 1), CPlan * 1.4 - 224000 + 268800 - (75000 + 36000) * 1.4,
                1e-3);
}

TEST_F(TSlabOverhighTest, LimitedOpeningsAtTheLimitAndJustAbove)
{
    // What comes off: the plan x 1.4 less the sides in the slab x 1.4.
    auto net = [](double x, double y) { return x * y * 1.4 - 2 * (x + y) * 120 * 1.4; };
    struct Case {
        const char* rule;
        double x;
        double y;
        double expected;
    };
    const Case cases[] = {
        {"TQTKSlabDeductFormboardAreaAddSizeByDot3M2", 600, 500, 0},
        {"TQTKSlabDeductFormboardAreaAddSizeByDot3M2", 600, 500.1, net(600, 500.1)},
        {"TQTKSlabDeductFormboardAreaAddSizeBy1M2", 1000, 1000, 0},
        {"TQTKSlabDeductFormboardAreaAddSizeBy1M2", 1000, 1000.00001, net(1000, 1000.00001)},  // 1,000,000.01 mm²
        {"TQTKSlabDeductFormboardAreaAddSizeBy5M2", 2500, 2000, 0},
        {"TQTKSlabDeductFormboardAreaAddSizeBy5M2", 2500, 2000.1, net(2500, 2000.1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " " + Num(c.x) + " x " + Num(c.y));
        LoadSlab(Slab1() + "," + Column(20, 1000, 1000, 1000 + c.x, 1000 + c.y), Method(1));
        EXPECT_NEAR(Run(c.rule, 1, 20), c.expected, 0.01);
    }
}

TEST_F(TSlabOverhighTest, FillAndPartitionWallsTakeNoFormwork)
{
    // A brick wall 240 under the slab along its length takes 240 x 6000 of the soffit.
    struct Case {
        const char* name;
        int type;
        double expected;
    };
    const Case cases[] = {
        {"an ordinary brick wall", 0, 240 * 6000 * 1.4}, {"a filler wall", 2, 0}, {"a partition wall", 5, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadSlab(Slab1() + "," +
                     LineElement(30, 0, 1, 0, 2000, 6000, 2000, 240, 0, 4880,
                                 R"(, "Material": "砖", "Type": )" + std::to_string(c.type)),
                 Method(1));
        EXPECT_NEAR(Run("TQTKSlabDeductBlockWallOverhighFormboardAreaWithoutFillerWallAndPartitionWall", 1, 30),
                    c.expected, 1e-3);
    }
}

TEST_F(TSlabOverhighTest, EveryCallMarksTheCurvedSlabsPiecesAgain)
{
    // An arch of rise 1000 over a span of 6000 with its feet at 4000: its top at 5000.
    LoadSlab(
        SlabAt(1, 0, -3000, 6000, 3000, 4000, "", 1,
               R"({"kind": "cylinder", "first": 6000, "second": 1000, "base": 4000, "axis": [[0, 0], [6000, 0]]})"),
        Method(1));
    Edo(1)->ClearQtyItems();
    ASSERT_TRUE(SlabEdo(1)->IsCurvedFaceShape());
    EXPECT_GT(Run("TQTKSlabOriginalOverhighFormboardArea", 1), 0.0);
    const auto calc = SlabEdo(1)->GetOverhighFormboardCalc();
    ASSERT_GT(calc->GetCount(), 0);
    for (int i = 0; i < calc->GetCount(); ++i) {
        EXPECT_TRUE(calc->GetItem(i)->GetIsArc());
        calc->GetItem(i)->SetIsArc(false);
    }
    Run("TQTKSlabOriginalOverhighFormboardArea", 1);
    for (int i = 0; i < calc->GetCount(); ++i)
        EXPECT_TRUE(calc->GetItem(i)->GetIsArc()) << "piece " << i;
}

// ---------------------------------------------------------------------------
// Side formwork

TEST_F(TSlabOverhighTest, SideFormworkAreaAndLength)
{
    LoadSlab(Slab1(), Method(1));
    EXPECT_NEAR(Run("TQTKSlabOriginalSideFormboardArea", 1), 20000.0 * 120, 1e-3);
    EXPECT_NEAR(Run("TQTKSlabOriginalSideFormboardLength", 1), 20000, 1e-6);
    EXPECT_NEAR(Run("TQTKSlabOriginalOverhighSideFormboardArea", 1), 20000.0 * 120 * 1.4, 1e-3);
}

TEST_F(TSlabOverhighTest, SideLengthOfALevelSlabWithAnAddedPolygon)
{
    // A 1000 x 1000 square against the edge x = 6000 adds two 1000 sides.
    LoadSlab(Slab1(), Method(1));
    auto square = std::make_unique<TVRMMultiPolygon2d>();
    square->Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{6000, 1000}, {7000, 1000}, {7000, 2000}, {6000, 2000}}));
    SlabEdo(1)->AddAddPolygon(30, std::move(square));
    EXPECT_NEAR(Run("TQTKSlabOriginalSideFormboardLength", 1), 22000, 1e-6);
}

TEST_F(TSlabOverhighTest, SideLengthOfASlopedSlabRunsAlongItsSoffit)
{
    // Rising 3000 over 6000 from the edge x = 0: the soffit is 6708.20 x 4000.
    LoadSlab(SlopedSlab(3, 2000, 0.5), Method(1));
    EXPECT_NEAR(Run("TQTKSlabOriginalSideFormboardLength", 1), 2 * (std::sqrt(6000.0 * 6000 + 3000 * 3000) + 4000),
                1e-3);
}

TEST_F(TSlabOverhighTest, NeighbouringSlabsTakeTheEdgesTheyAbutOrAlmostAbut)
{
    // Slab 2 beside the edge x = 6000 of slab 1 (4000 x 120), flush or 5 mm
    // off: the 10 mm skin on its face there reaches the edge across the gap,
    // and, lying over slab 1's corners, the strips of the two sides that meet
    // the edge flush with it (10 mm less the gap each).
    const double edge = 4000.0 * 120;
    struct Case {
        const char* name;
        double gap;
        const char* rule;
        double expected;
    };
    const Case cases[] = {
        {"flush, by its solid", 0, "TQTKSlabDeductSideFormboardArea", edge},
        {"flush, slab rule", 0, "TQTKSlabDeductSlabSideFormboardArea", edge + 2 * 10 * 120},
        {"5 mm off, by its solid", 5, "TQTKSlabDeductSideFormboardArea", 0},
        {"5 mm off, slab rule: a skin reaches it", 5, "TQTKSlabDeductSlabSideFormboardArea", edge + 2 * 5 * 120},
        {"5 mm off, over height", 5, "TQTKSlabDeductSlabOverhighSideFormboardArea", (edge + 2 * 5 * 120) * 1.4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadSlab(Slab1() + "," + SlabAt(2, 6000 + c.gap, 0, 9000, 4000, 5000), Method(1));
        EXPECT_NEAR(Run(c.rule, 1, 2), c.expected, 1e-3);
    }
}

TEST_F(TSlabOverhighTest, ASlabHoleTakesTheEdgeFlushWithItsSideWhateverThePriority)
{
    // Slab formwork comes before columns'. A column and a slab hole over
    // 5000..6000 x 1000..2000 through the slab: the hole's side x = 6000 lies
    // in the slab's edge and takes 1000 x 120 of it; the column's does not.
    const std::string priority = R"(, {"name": "QTKOtherCalcSetting", "fields": [{"name": "ID", "type": "integer"},
        {"name": "FormboardPriority", "type": "detail", "fields": [{"name": "ElementFormboardPriority", "type": "integer"}]}],
        "rows": [{"ID": 1, "FormboardPriority": [{"ElementFormboardPriority": 19}, {"ElementFormboardPriority": 25},
                                                  {"ElementFormboardPriority": 24}]}]})";
    const std::string hole =
        R"({"id": 24, "type": 24, "floor": 1, "parent": 1, "shape": {"kind": "face", "outline": [[5000, 1000], [6000, 1000],
            [6000, 2000], [5000, 2000]], "elev": 5000, "thickness": 120}})";
    struct Case {
        const char* rule;
        int object;
        double expected;
    };
    const Case cases[] = {
        {"TQTKSlabDeductSideFormboardArea", 20, 0},
        {"TQTKSlabDeductSideFormboardArea", 24, 1000 * 120},
        {"TQTKSlabDeductOverhighSideFormboardArea", 20, 0},
        {"TQTKSlabDeductOverhighSideFormboardArea", 24, 1000 * 120 * 1.4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " " + std::to_string(c.object));
        LoadSlab(Slab1() + "," + Column(20, 5000, 1000, 6000, 2000, 4880, 5000) + "," + hole, Method(1), priority);
        EXPECT_NEAR(Run(c.rule, 1, c.object), c.expected, 1e-3);
    }
}

TEST_F(TSlabOverhighTest, ConcreteWallRuleLeavesOtherWallsOut)
{
    // A wall 240 standing against the edge x = 6000 over its whole length.
    struct Case {
        const char* material;
        double expected;
    };
    const Case cases[] = {{"混凝土", 4000.0 * 120 * 1.4}, {"砖", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.material);
        LoadSlab(Slab1() + "," +
                     LineElement(30, 0, 1, 6120, 0, 6120, 4000, 240, 0, 5000,
                                 std::string(R"(, "Material": ")") + c.material + "\""),
                 Method(1));
        EXPECT_NEAR(Run("TQTKSlabDeductCrocreteWallOverhighSideFormboardArea", 1, 30), c.expected, 1e-3);
    }
}

// ---------------------------------------------------------------------------
// Registration

const std::vector<std::string> CSlabOverhighRuleNames = {
    // over-height volume
    "TQTKSlabCustomOverhighVol",
    "TQTKSlabOriginalOverhighVol",
    "TQTKSlabOverhighVolDeductByFact",
    "TQTKSlabOverhighVolDeductConcreteExternalWallByFact",
    "TQTKSlabOverhighVolDeductColumnByFact",
    "TQTKSlabOverhighVolDeductExternalTieBeam",
    "TQTKSlabOverhighVolDeductByArea",
    "TQTKSlabOverhighVolDeductByDot3M2",
    "TQTKSlabOverhighVolDeductBy1M2",
    "TQTKSlabOverhighVolDeductByDot05M2",
    "TQTKSlabOverhighVolDeductBy5M2",
    "TQTKSlabOverhighVolDeductByVol",
    "TQTKSlabOverhighVolDeductByDot05M3",
    "TQTKSlabOverhighVolDeductOutBeam",
    // over-height formwork
    "TQTKSlabCustomOverhighFormboardArea",
    "TQTKSlabOriginalOverhighFormboardArea",
    "TQTKSlabDeductOverhighFormboardAreaByFact",
    "TQTKSlabDeductBlockWallOverhighFormboardAreaByFact",
    "TQTKSlabDeductBlockWallOverhighFormboardAreaWithoutFillerWallAndPartitionWall",
    "TQTKSlabDeductBeamOverhighFormboardArea",
    "TQTKSlabDeductOverhighFormboardAreaAddSideArea",
    "TQTKSlabDeductFormboardAreaAddSizeByArea",
    "TQTKSlabDeductFormboardAreaAddSizeByDot3M2",
    "TQTKSlabDeductFormboardAreaAddSizeBy1M2",
    "TQTKSlabDeductFormboardAreaAddSizeBy5M2",
    // side formwork
    "TQTKSlabOriginalSideFormboardArea",
    "TQTKSlabOriginalSideFormboardLength",
    "TQTKSlabDeductSideFormboardArea",
    "TQTKSlabDeductSlabSideFormboardArea",
    // over-height side formwork
    "TQTKSlabCustomOverhighSideFormboardArea",
    "TQTKSlabOriginalOverhighSideFormboardArea",
    "TQTKSlabDeductOverhighSideFormboardArea",
    "TQTKSlabDeductBlockWallOverhighSideFormboardArea",
    "TQTKSlabDeductCrocreteWallOverhighSideFormboardArea",
    "TQTKSlabDeductSlabOverhighSideFormboardArea",
};

TEST(SlabOverhighRuleRegistration, EveryNameAnswersWithItsOwnClass)
{
    for (const std::string& name : CSlabOverhighRuleNames) {
        const auto rule = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(name.c_str()));
        ASSERT_TRUE(rule) << name;
        EXPECT_EQ(RuleClassName(*rule), name);
    }
    // The side formwork base is not registered: its name gives the neutral rule.
    const auto base = Ref<IQTKCalcStrategy>::Adopt(GetStrategy("TQTKSlabCustomSideFormboardArea"));
    EXPECT_EQ(RuleClassName(*base), "TQTKCalcStrategy");
}

}  // namespace
