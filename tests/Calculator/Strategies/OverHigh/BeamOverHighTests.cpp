// The beam builder and, through it, the shared partition: the over-height
// test, the partition methods, rounding, layers and value list of a beam
// 300 x 600 x 6000 with its bottom at 3900 and its top at 4500 on storey 1
// at 0 (B = 0, C = 3600 unless a case says otherwise).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Calculator/Strategies/Common/OverHigh/QTKBeamOverHighCalcBuilder.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "tests/Calculator/Strategies/OverHigh/OverHighTestModel.h"

namespace {

const std::string CBeam = LineElement(1, 15, 1, 0, 0, 6000, 0, 300, 3900, 4500);

class TBeamOverHighTest : public TOverHighTest {
protected:
    std::unique_ptr<TQTkBeamOverHighCalcBuilder> Builder(const TOverHighSettings& s, const std::string& beam = CBeam)
    {
        Load(beam, OverHighSettingsTable("QTKBeamCalcSettings", s));
        return std::make_unique<TQTkBeamOverHighCalcBuilder>(Record(1), Business(), Rules());
    }
};

struct TPiece {
    double z;  // lowest point of the piece
    double weight;
};

TEST_F(TBeamOverHighTest, PartitionMethodsGiveTheirPiecesWeightsAndValueLists)
{
    struct Case {
        const char* name;
        TOverHighSettings settings;
        double volume;                // weighted volume
        std::vector<double> weights;  // of the pieces in the calculator's order
        std::vector<double> values;   // the value list
    };
    TOverHighSettings m0, m1, m2Floor, m2Ceil, m2Round, m3, m7;
    m1.method = 1;
    m2Floor.method = m2Ceil.method = m2Round.method = 2;
    m2Ceil.round = 1;
    m2Round.round = 2;
    m3.method = 3, m3.partition = 0.3;
    m7.method = 7, m7.partition = 0.3;
    const double whole = 300.0 * 600 * 6000;  // 1.08e9
    const Case cases[] = {
        {"method 0, start null: one piece cut 1 mm below the beam", m0, whole, {1}, {3899, 4500}},
        {"method 1: weight (4500 - 3600) / 1000", m1, 0.9 * whole, {0.9}, {3899, 4500}},
        {"method 2, N = 0.9 floored: an empty calculator", m2Floor, 0, {}, {4500}},
        {"method 2, ceiling: one piece of weight 1", m2Ceil, whole, {1}, {3899, 4500}},
        {"method 2, host rounding: one piece of weight 1", m2Round, whole, {1}, {3899, 4500}},
        {"method 3, H = 300: cuts 4200, 3900, 3600 weighted 3, 2, 1",
         m3,
         1.8e6 * (300 * 3 + 300 * 2),
         {3, 2, 1},
         {4200, 3900, 3600, 4500}},
        {"method 7 is layers as 3", m7, 1.8e6 * (300 * 3 + 300 * 2), {3, 2, 1}, {4200, 3900, 3600, 4500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto builder = Builder(c.settings);
        ASSERT_TRUE(builder->IsOverHigh());
        const auto calc = builder->BuildVolumeCalc();
        ASSERT_TRUE(calc);
        EXPECT_NEAR(calc->GetVolume(), c.volume, 1e-3);
        std::vector<double> weights;
        for (int i = 0; i < calc->GetCount(); ++i)
            weights.push_back(calc->GetItem(i)->GetWeight());
        EXPECT_EQ(weights, c.weights);
        EXPECT_EQ(Values(builder->GetValueList()), c.values);
    }
}

TEST_F(TBeamOverHighTest, OverHeightLimitAndFoundationFloor)
{
    struct Case {
        const char* name;
        std::string beam;
        bool overHigh;
    };
    const Case cases[] = {
        {"T - B = 3600 exactly: not over height", LineElement(1, 15, 1, 0, 0, 6000, 0, 300, 3000, 3600), false},
        {"T - B = 3600.01: over height", LineElement(1, 15, 1, 0, 0, 6000, 0, 300, 3000, 3600.01), true},
        {"on the foundation floor: never", LineElement(1, 15, 2, 0, 0, 6000, 0, 300, 3900, 9000), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto builder = Builder(TOverHighSettings{}, c.beam);
        EXPECT_EQ(builder->IsOverHigh(), c.overHigh);
        EXPECT_EQ(builder->GetValueList() != nullptr, c.overHigh);  // the beam's list comes with the test
    }
}

TEST_F(TBeamOverHighTest, RoundMethodsAtTwoAndAHalfLayers)
{
    // Start height 0, so x = T - B: the host rounding takes 2.5 up.
    struct Case {
        const char* name;
        double top;
        int round;
        int count;
    };
    const Case cases[] = {
        {"2.5 H floored", 2500, 0, 2},      {"2.5 H ceiled", 2500, 1, 3},     {"2.5 H host-rounded", 2500, 2, 3},
        {"2.4 H host-rounded", 2400, 2, 2}, {"negative x: none", -500, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOverHighSettings s;
        s.method = 3, s.start = 0.0, s.round = c.round;
        auto builder = Builder(s, LineElement(1, 15, 1, 0, 0, 6000, 0, 300, c.top - 600, c.top));
        EXPECT_EQ(builder->GetPartitionCount(), c.count);
    }
}

TEST_F(TBeamOverHighTest, LayersAscendWithoutCutting)
{
    struct Case {
        const char* name;
        TOverHighSettings settings;
        std::vector<TQTKOverHighLayer> layers;
    };
    TOverHighSettings m0, m3, m2;
    m3.method = 3, m3.partition = 0.3;
    m2.method = 2;  // N = 0.9 floored: none
    const Case cases[] = {
        {"method 0: the whole beam", m0, {{3899, 4500, 1}}},
        {"method 3: bottom up, the highest reaches the top", m3, {{3600, 3900, 1}, {3900, 4200, 2}, {4200, 4500, 3}}},
        {"method 2 without a layer", m2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto builder = Builder(c.settings);
        const auto layers = builder->GetLayers();
        ASSERT_EQ(layers.size(), c.layers.size());
        for (size_t i = 0; i < layers.size(); ++i) {
            EXPECT_DOUBLE_EQ(layers[i].bottom, c.layers[i].bottom);
            EXPECT_DOUBLE_EQ(layers[i].top, c.layers[i].top);
            EXPECT_DOUBLE_EQ(layers[i].weight, c.layers[i].weight);
        }
        EXPECT_EQ(builder->GetValueList(), nullptr);  // nothing was cut
    }
}

TEST_F(TBeamOverHighTest, MissingStartFieldAndZeroOrTinyPartitionHeightStayBounded)
{
    // Without the start field the start height is C; a partition height of 0
    // makes no layer, one of 2 mm with C = 0 would make 2250: clamped.
    struct Case {
        const char* name;
        double partition;
        double critical;
        int method;
        int count;
        std::vector<double> firstValues;  // the first two entries of the value list
    };
    const Case cases[] = {
        {"method 3, H = 0: no piece", 0.0, 3.6, 3, 0, {4500}},
        {"method 2, H = 0: no piece", 0.0, 3.6, 2, 0, {4500}},
        {"method 3, H = 2 mm, C = 0: clamped", 0.002, 0.0, 3, CQTKOverHighMaxLayerCount, {1998, 1996}},
        {"method 0: the whole beam", 0.0, 3.6, 0, 1, {3899, 4500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOverHighSettings s;
        s.startField = false, s.partition = c.partition, s.critical = c.critical, s.method = c.method;
        auto builder = Builder(s);
        ASSERT_TRUE(builder->IsOverHigh());
        const auto calc = builder->BuildVolumeCalc();
        EXPECT_EQ(calc->GetCount(), c.count);
        const std::vector<double> values = Values(builder->GetValueList());
        ASSERT_GE(values.size(), c.firstValues.size());
        for (size_t i = 0; i < c.firstValues.size(); ++i)
            EXPECT_DOUBLE_EQ(values[i], c.firstValues[i]);
        EXPECT_TRUE(std::isfinite(calc->GetVolume()));
    }
}

TEST_F(TBeamOverHighTest, FormworkIsCutFromTheBeamsShell)
{
    // Sides and bottom in the shell; method 3 with H = 300: the sides above
    // 4200 (weight 3) and between 3900 and 4200 (weight 2), the bottom at 3900
    // with the part above it (weight 2); nothing below 3900.
    TOverHighSettings s;
    s.method = 3, s.partition = 0.3;
    auto builder = Builder(s);
    ASSERT_TRUE(builder->IsOverHigh());
    auto beam = RefCast<IQTKBeamCalcEDO>(Edo(1));
    ASSERT_TRUE(beam);
    EXPECT_EQ(builder->BuildFormboardCalc(), nullptr);  // no shell yet
    beam->AddLeftSideFormboard();
    beam->AddRightSideFormboard();
    beam->AddBottomFormboard();
    const auto calc = builder->BuildFormboardCalc();
    ASSERT_TRUE(calc);
    ASSERT_EQ(calc->GetCount(), 3);
    const double side = 6000.0 * 300;  // one side, one layer
    EXPECT_NEAR(calc->GetArea(), 2 * side * 3 + (2 * side + 300.0 * 6000) * 2, 1e-3);
    ASSERT_TRUE(builder->GetValueList());
    EXPECT_EQ(builder->GetValueList()->Count(), 0);  // a formwork build appends nothing
}

}  // namespace
