// Thickness fallbacks, rating thickness, layer thickness and opening frame
// depth.
#include "CalcModelFixture.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Calculator/Strategies/Common/QTKStrategiesCommon.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"

namespace {

class ThicknessTest : public TCalcModelTest {
protected:
    void SetUp() override { StartSession(model_); }
    IRDXRecord* R(int id) { return Record(model_, id); }
    TQTKElementModel& model_ = Model("records.json");
};

TEST_F(ThicknessTest, RecordThicknessFallbacks)
{
    EXPECT_DOUBLE_EQ(GetRecordThickness(R(13)), 200.0);
    EXPECT_DOUBLE_EQ(GetRecordThickness(R(14)), 300.0);  // a beam: "SectionWidth"
    EXPECT_DOUBLE_EQ(GetRecordThickness(R(30)), 250.0);  // negative "Thickness" is absent
    EXPECT_DOUBLE_EQ(GetRecordThickness(R(17)), 0.0);    // neither
    EXPECT_DOUBLE_EQ(GetDrawObjThickness(nullptr), 0.0);
}

TEST_F(ThicknessTest, RatingThickness)
{
    EXPECT_EQ(GetWallRatingThickness(R(11), RuleSet(model_)), 200);  // 240 -> 200
    EXPECT_EQ(GetWallRatingThickness(R(13), RuleSet(model_)), 200);  // no row for 200
    // No "QTKWallCalcSettings": the rounded thickness.
    EXPECT_EQ(GetWallRatingThickness(R(11), TableSourceRef(model_.GetBusiness())), 240);
}

TEST_F(ThicknessTest, LayerThickness)
{
    // Insulating layer 50 with an air layer of 10; wall-face finish 20.
    EXPECT_DOUBLE_EQ(GetHalfThicknessWithLayer(R(23), true), 30.0);
    EXPECT_DOUBLE_EQ(GetThicknessWithLayer(R(23), true), 50.0);
    EXPECT_DOUBLE_EQ(GetHalfThicknessWithLayer(R(23), false), 0.0);
    EXPECT_DOUBLE_EQ(GetHalfThicknessWithLayer(R(22), true), 10.0);
    EXPECT_DOUBLE_EQ(GetThicknessWithLayer(R(22), true), 20.0);
    EXPECT_DOUBLE_EQ(GetThicknessWithLayer(R(22), false), 0.0);
}

// A finish 20 thick on a wall with an insulating layer: the layer counts,
// whole, on the side the finish measures outside it.
TEST_F(ThicknessTest, FinishLayersOutsideTheWallsInsulatingLayer)
{
    struct Case {
        bool blockOutside, plasteringOutside;
        double hostLayer;
        double halfBlock, block, halfPlastering, plastering;
    };
    const Case cases[] = {{false, false, 50, 10, 20, 0, 0},
                          {true, false, 50, 60, 70, 0, 0},
                          {false, true, 50, 10, 20, 50, 50},
                          {true, true, 50, 60, 70, 50, 50},
                          {true, true, 0, 10, 20, 0, 0}};
    for (const Case& c : cases) {
        TFakeEDOScope scope;
        TFakeWallFaceEDO& finish = scope.Attach<TFakeWallFaceEDO>(model_.FindElement(22));
        finish.blockOutsideLayer = c.blockOutside;
        finish.plasteringOutsideLayer = c.plasteringOutside;
        finish.hostLayerThickness = c.hostLayer;
        SCOPED_TRACE(testing::Message() << c.blockOutside << c.plasteringOutside << c.hostLayer);
        EXPECT_DOUBLE_EQ(GetHalfThicknessWithLayer(R(22), true), c.halfBlock);
        EXPECT_DOUBLE_EQ(GetThicknessWithLayer(R(22), true), c.block);
        EXPECT_DOUBLE_EQ(GetHalfThicknessWithLayer(R(22), false), c.halfPlastering);
        EXPECT_DOUBLE_EQ(GetThicknessWithLayer(R(22), false), c.plastering);
    }
}

TEST_F(ThicknessTest, FrameDepth)
{
    // Wall 13 is 200 thick; finish 22 lies on its left, 32 on its right. Door 24: frame 60,
    // offset 20; door 33: offset 200; ribbon window 25 along the wall: frame 60, offset 50.
    EXPECT_TRUE(IsFinishOnOpeningLeft(R(22), R(24)));
    EXPECT_FALSE(IsFinishOnOpeningLeft(R(32), R(24)));
    EXPECT_DOUBLE_EQ(GetOpeningFrameDepth(R(22), R(24)), 100.0 - 30.0 + 20.0);
    EXPECT_DOUBLE_EQ(GetOpeningFrameDepth(R(32), R(24)), 100.0 - 30.0 - 20.0);
    EXPECT_DOUBLE_EQ(GetOpeningFrameDepth(R(22), R(33)), 270.0);
    EXPECT_DOUBLE_EQ(GetOpeningFrameDepth(R(32), R(33)), 0.0);  // never negative
    // A ribbon opening applies its offset less 30, the other way round.
    EXPECT_TRUE(IsFinishOnOpeningLeft(R(22), R(25)));
    EXPECT_DOUBLE_EQ(GetOpeningFrameDepth(R(22), R(25)), 70.0 - 20.0);
    EXPECT_DOUBLE_EQ(GetOpeningFrameDepth(R(32), R(25)), 70.0 + 20.0);
}

}  // namespace
