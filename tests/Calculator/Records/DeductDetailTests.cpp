// Edits of the last deduction detail and internal quantities by name.
#include "CalcModelFixture.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"

namespace {

class DeductDetailTest : public TCalcModelTest {
protected:
    void SetUp() override
    {
        TQTKCalcSessionOptions options;
        options.detailMode = true;
        StartSession(model_, options);
        SetDeductDetailContainer(&details_);
        details_.Add(std::make_unique<TQTKDeductDetail>(RecordRef(R(11)), "TJ", "体积", "1"));
        details_.Add(std::make_unique<TQTKDeductDetail>(RecordRef(R(13)), "TJ", "体积", "12.5"));
    }
    void TearDown() override
    {
        SetDeductDetailContainer(nullptr);
        TCalcModelTest::TearDown();
    }
    IRDXRecord* R(int id) { return Record(model_, id); }
    const TQTKDeductDetail& Last() const { return *details_.GetLast(); }

    TQTKElementModel& model_ = Model("records.json");
    TQTKDeductDetailContainer details_;
};

TEST_F(DeductDetailTest, EditsTheLastDetailOfTheRecord)
{
    SetLastDeductDetailFlag(R(13), 3);
    EXPECT_EQ(Last().GetFlag(), 3);
    ScaleLastDeductExpr(R(13), 0.5);
    EXPECT_EQ(Last().GetDedcutExpr(), "6.25");
    ReplaceLastDeductExpr(R(13), &MM2ToM2, 864000.0);
    EXPECT_EQ(Last().GetDedcutExpr(), "0.864");
    // A text that is no number stays.
    details_.GetLast()->SetDedcutExpr("3.6*0.24");
    ScaleLastDeductExpr(R(13), 2.0);
    EXPECT_EQ(Last().GetDedcutExpr(), "3.6*0.24");
}

TEST_F(DeductDetailTest, LeavesOtherRecordsAndNonDetailModeAlone)
{
    SetLastDeductDetailFlag(R(11), 3);
    ScaleLastDeductExpr(R(11), 2.0);
    ReplaceLastDeductExpr(R(11), &MM2ToM2, 1.0);
    EXPECT_EQ(Last().GetFlag(), 0);
    EXPECT_EQ(Last().GetDedcutExpr(), "12.5");
    EXPECT_EQ(details_.GetItems(0)->GetDedcutExpr(), "1");
    {
        TQTKDetailModeScope off(false);
        SetLastDeductDetailFlag(R(13), 3);
        ScaleLastDeductExpr(R(13), 2.0);
    }
    EXPECT_EQ(Last().GetFlag(), 0);
    EXPECT_EQ(Last().GetDedcutExpr(), "12.5");
    details_.Clear();
    ScaleLastDeductExpr(R(13), 2.0);  // an empty container
}

TEST_F(DeductDetailTest, InternalQuantityByRecordId)
{
    GEdoQtyManager().Add(false, 0, "CMMBMJ", {12, 0.5});
    GEdoQtyManager().Add(false, 0, "CMMBMJ", {13, 1.25});
    GEdoQtyManager().Add(false, 0, "CMMBMJ", {13, 9.0});
    EXPECT_DOUBLE_EQ(GetInternalQtyByName(13, "CMMBMJ", 1e6), 1.25e6);
    EXPECT_DOUBLE_EQ(GetInternalQtyByName(13, "DMMBMJ", 1e6), 0.0);
    EXPECT_DOUBLE_EQ(GetInternalQtyByName(11, "CMMBMJ", 1e6), 0.0);
    EXPECT_DOUBLE_EQ(GetInternalQtyByName(999, "CMMBMJ", 1e6), 0.0);
    EXPECT_EQ(FindInternalQty(0, "CMMBMJ").size(), 3u);
    EXPECT_TRUE(FindInternalQty(15, "CMMBMJ").empty());
}

}  // namespace
