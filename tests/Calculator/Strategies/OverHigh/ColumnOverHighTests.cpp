// The column, tie-column indenting and column cap builders: formwork made of
// the side faces of each cut part (the soffit only for a cap whose bottom is
// at or above the cut), floor((x + H/2) / H) rounding, the unknown
// partition method as an assertion, the indent ratio on every piece, slabs
// lowering the top. Storey 1 at 0, so B = 0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Calculator/Strategies/Common/OverHigh/QTKColumnIndentingOverHeightCalcBuilder.h"
#include "Calculator/Strategies/Common/OverHigh/QTKColumnOverHeightCalcBuilder.h"
#include "Calculator/Strategies/Common/OverHigh/QTkColumnCapOverhighCalcBuilder.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/Strategies/OverHigh/OverHighTestModel.h"

namespace {

// Column 400 x 400 around (200, 200) from 0 to Top.
std::string Column(double top, int type = 25)
{
    return PointElement(1, type, 1, 0, 0, 400, 400, 0, top);
}

// The number of level faces in a formwork piece.
int LevelFaces(const TVRMOverhighShellCalcItem3d& item)
{
    int count = 0;
    const TVRMPolyhedronShell3d& shell = *item.GetShell();
    for (const TVRMFace3d& face : shell.GetFaces())
        if (std::abs(face.GetNormal().z) > 0.999)
            ++count;
    return count;
}

class TColumnOverHighTest : public TOverHighTest {
protected:
    std::unique_ptr<TQTkColumnOverHeightCalcBuilder> Builder(const TOverHighSettings& s, const std::string& elements)
    {
        Load(elements, OverHighSettingsTable("QTKColumnCalcSettings", s));
        return std::make_unique<TQTkColumnOverHeightCalcBuilder>(Record(1), Business(), Rules());
    }
};

TEST_F(TColumnOverHighTest, MethodZeroGivesTheVolumeAndTheFourSidesAboveTheCut)
{
    TOverHighSettings s;
    s.start = 3.6;
    auto builder = Builder(s, Column(4800));
    ASSERT_TRUE(builder->IsOverHigh());
    const auto volume = builder->BuildVolumeCalc();
    ASSERT_EQ(volume->GetCount(), 1);
    EXPECT_NEAR(volume->GetVolume(), 400.0 * 400 * 1200, 1e-3);  // 1.92e8
    EXPECT_EQ(Values(builder->GetValueList()), (std::vector<double>{3600, 4800}));
    const auto formwork = builder->BuildFormboardCalc(false);
    ASSERT_EQ(formwork->GetCount(), 1);
    EXPECT_NEAR(formwork->GetArea(), 4 * 400.0 * 1200, 1e-3);  // 1.92e6: no top, no cut face
    EXPECT_EQ(LevelFaces(*formwork->GetItem(0)), 0);
}

TEST_F(TColumnOverHighTest, RoundingByHalfALayer)
{
    struct Case {
        const char* name;
        double top;
        int round;
        int count;
    };
    const Case cases[] = {
        {"2.5 H floored", 2500, 0, 2},
        {"2.5 H ceiled", 2500, 1, 3},
        {"2.5 H by half a layer", 2500, 2, 3},
        {"2.4 H by half a layer", 2400, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOverHighSettings s;
        s.method = 3, s.start = 0.0, s.round = c.round;
        auto builder = Builder(s, Column(c.top));
        EXPECT_EQ(builder->GetPartitionCount(), c.count);
    }
}

TEST_F(TColumnOverHighTest, UnknownPartitionMethodIsAnAssertionAndStoresNothing)
{
    struct Case {
        const char* name;
        bool volume;
        int line;
    };
    const Case cases[] = {{"volume", true, 500}, {"formwork", false, 429}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOverHighSettings s;
        s.method = 7;
        auto builder = Builder(s, Column(4800));
        try {
            if (c.volume)
                builder->BuildVolumeCalc();
            else
                builder->BuildFormboardCalc(false);
            ADD_FAILURE() << "no assertion";
        } catch (const EQTKAssertionFailed& e) {
            EXPECT_EQ(e.Line(), c.line);
        }
        EXPECT_EQ(builder->GetValueList(), nullptr);
    }
}

TEST_F(TColumnOverHighTest, SlabsLowerTheTopWhereTheyMeetTheColumn)
{
    // Top method 1, slab 120 thick with its top at 4800 (underside 4680).
    // The slab over x 300..3000 meets the column's outline but leaves its
    // insertion point (200, 200) outside: it lowers a column's top, not an
    // indenting's.
    struct Case {
        const char* name;
        std::string slab;
        double columnTop;
        double indentingTop;
    };
    const Case cases[] = {
        {"no slab", "", 4800, 4800},
        {"slab over the insertion point", ", " + SlabElement(2, 1, -1000, -1000, 3000, 3000, 4800, 120), 4680, 4680},
        {"slab beside the insertion point", ", " + SlabElement(2, 1, 300, 0, 3000, 400, 4800, 120), 4680, 4800},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOverHighSettings s;
        s.top = 1;
        auto builder = Builder(s, Column(4800, 26) + c.slab);
        EXPECT_DOUBLE_EQ(builder->GetTopElev(), c.columnTop);
        const TVRMPolyhedron3d indenting;
        TQTkColumnIndentingOverHeightCalcBuilder indentingBuilder(&indenting, Record(1), Business(), Rules());
        EXPECT_DOUBLE_EQ(indentingBuilder.GetTopElev(), c.indentingTop);
    }
}

TEST_F(TColumnOverHighTest, IndentingPiecesCarryTheRatioAndTheColumnsSolid)
{
    // A 100 x 400 tooth beside the column from 0 to 4800, method 3 with
    // H = 600 from 3600: pieces above 4200 (weight 2) and 3600..4200 (weight 1).
    TOverHighSettings s;
    s.method = 3, s.partition = 0.6;
    Load(Column(4800, 26), OverHighSettingsTable("QTKColumnCalcSettings", s));
    const auto tooth = TVRMPolyhedron3d::CreateBox(TVRMBox3d({400, 0, 0}, {500, 400, 4800}));
    TQTkColumnIndentingOverHeightCalcBuilder builder(tooth.get(), Record(1), Business(), Rules());
    const auto volume = builder.BuildVolumeCalc(0.5);
    ASSERT_EQ(volume->GetCount(), 2);
    for (int i = 0; i < volume->GetCount(); ++i) {
        EXPECT_DOUBLE_EQ(volume->GetItem(i)->GetCoefficient(), 0.5);
        ASSERT_TRUE(volume->GetItem(i)->GetReferenceSolid());
        EXPECT_NEAR(volume->GetItem(i)->GetReferenceSolid()->GetVolume(), 400.0 * 400 * 4800, 1e-3);
    }
    EXPECT_NEAR(volume->GetVolume(), 100.0 * 400 * (600 * 2 + 600 * 1) * 0.5, 1e-3);
    EXPECT_EQ(Values(builder.GetValueList()), (std::vector<double>{4200, 3600, 4800}));
    const auto formwork = builder.BuildFormboardCalc(false, 0.5);
    ASSERT_EQ(formwork->GetCount(), 2);
    for (int i = 0; i < formwork->GetCount(); ++i)
        EXPECT_DOUBLE_EQ(formwork->GetItem(i)->GetRatio(), 0.5);
    // The tooth's four sides (perimeter 1000), weighted and halved.
    EXPECT_NEAR(formwork->GetArea(), 1000.0 * (600 * 2 + 600 * 1) * 0.5, 1e-3);
}

TEST_F(TColumnOverHighTest, NullStartOffsetOfAnIndentingCutsAtTheColumnsLowestPoint)
{
    TOverHighSettings s;
    Load(Column(4800, 26), OverHighSettingsTable("QTKColumnCalcSettings", s));
    const TVRMPolyhedron3d indenting;
    TQTkColumnIndentingOverHeightCalcBuilder indentingBuilder(&indenting, Record(1), Business(), Rules());
    TQTkColumnOverHeightCalcBuilder columnBuilder(Record(1), Business(), Rules());
    EXPECT_DOUBLE_EQ(indentingBuilder.GetStartOffset(), 0.0);
    EXPECT_DOUBLE_EQ(columnBuilder.GetStartOffset(), -1.0);
}

class TCapOverHighTest : public TOverHighTest {
protected:
    std::unique_ptr<TQTkColumnCapOverhighCalcBuilder> Builder(const TOverHighSettings& s, const std::string& props = "")
    {
        Load(PointElement(1, 27, 1, 0, 0, 1000, 1000, 3800, 4200, props),
             OverHighSettingsTable("QTKColumnCapCalcSetting", s));
        return std::make_unique<TQTkColumnCapOverhighCalcBuilder>(Record(1), Business(), Rules());
    }
};

TEST_F(TCapOverHighTest, SoffitStaysWhileTheCapIsWhollyAboveTheCut)
{
    // Cap 1000 x 1000 from 3800 to 4200, method 0 at the start offset given.
    struct Case {
        const char* name;
        double start;
        double area;
        int levelFaces;
    };
    const Case cases[] = {
        {"cut at 3600: sides and soffit", 3.6, 4 * 1000.0 * 400 + 1000.0 * 1000, 1},
        {"cut at 3900: sides above it only", 3.9, 4 * 1000.0 * 300, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOverHighSettings s;
        s.start = c.start, s.critical = 3.0;
        auto builder = Builder(s);
        ASSERT_TRUE(builder->IsOverHigh());
        const auto formwork = builder->BuildFormboardCalc(true);
        ASSERT_EQ(formwork->GetCount(), 1);
        EXPECT_NEAR(formwork->GetArea(), c.area, 1e-3);
        EXPECT_EQ(LevelFaces(*formwork->GetItem(0)), c.levelFaces);
        const auto volume = builder->BuildVolumeCalc();
        EXPECT_EQ(Values(builder->GetValueList()), (std::vector<double>{c.start * 1000, 4200}));
    }
}

TEST_F(TCapOverHighTest, ArcFlagOfTheCapType)
{
    struct Case {
        const char* name;
        std::string props;
        bool arc;
    };
    const Case cases[] = {
        {"type 5: arcs", R"(, "ColumnCapType": 5)", true},
        {"type 1 without a section polygon: none", R"(, "ColumnCapType": 1)", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOverHighSettings s;
        s.critical = 3.0, s.method = 3, s.partition = 0.2;
        auto builder = Builder(s, c.props);
        const auto formwork = builder->BuildFormboardCalc(true);
        ASSERT_GT(formwork->GetCount(), 0);
        for (int i = 0; i < formwork->GetCount(); ++i)
            EXPECT_EQ(formwork->GetItem(i)->GetIsArc(), c.arc);
    }
}

}  // namespace
