// The expression core: first text wins, appends, printed numbers, the check
// against the quantity, optional terms and the expression flag.
#include <array>

#include "CalcModelFixture.h"
#include "Calculator/Common/QTKExprCommon.h"

namespace {

class ExprCommonTest : public TCalcModelTest {
protected:
    void SetUp() override
    {
        StartSession(model_);
        record_ = Record(model_, 13);
        data_ = GetEdoGlobalData(record_->GetID());
        data_->SetCurQty("MJ", "MJ", "面积");
        data_->SetIsExprMode(true);
    }
    std::string Text() const
    {
        std::string text;
        return data_->GetExprText("MJ", text) ? text : "(none)";
    }

    TQTKElementModel& model_ = Model("records.json");
    IRDXRecord* record_ = nullptr;
    TQTKEdoGlobalData* data_ = nullptr;
};

TEST_F(ExprCommonTest, FirstTextStaysAndAppendsNeedOne)
{
    EXPECT_FALSE(AppendToExprText(record_, "-1<扣外墙>"));
    EXPECT_EQ(Text(), "(none)");
    EXPECT_TRUE(AddExprText(record_, " 3.6<长度>*2<宽度>"));
    EXPECT_FALSE(AddExprText(record_, "1<面积>"));
    EXPECT_TRUE(AppendToExprText(record_, "-1<扣外墙>"));
    EXPECT_EQ(Text(), " 3.6<长度>*2<宽度>-1<扣外墙>");  // stored as given, no separator
    // Another quantity of the record has its own text.
    data_->SetCurQty("TJ", "TJ", "体积");
    EXPECT_TRUE(AddExprText(record_, "1<体积>"));
    EXPECT_EQ(Text(), " 3.6<长度>*2<宽度>-1<扣外墙>");
    EXPECT_FALSE(AddExprText(nullptr, "1"));
}

TEST(ExprNumbers, RoundedInMetresToFourDecimals)
{
    struct Case {
        double value;
        const char* text;
    };
    const std::array<Case, 6> lengths{
        {{987.654, "0.9877"}, {240.0, "0.24"}, {3000.0, "3"}, {0.04, "0"}, {123.45, "0.1235"}, {-123.45, "-0.1235"}}};
    for (const Case& c : lengths)
        EXPECT_EQ(Format("%g", {ExprLength(c.value)}), c.text) << c.value;
    EXPECT_EQ(Format("%g", {ExprArea(864000.0)}), "0.864");
    EXPECT_EQ(Format("%g", {ExprVolume(1.23456e9)}), "1.2346");
    EXPECT_EQ(Format("%g", {ExprFactor(0.33333)}), "0.3333");
    EXPECT_TRUE(IsExprConsistent(0.8640, 0.8643, CQTKExprAreaTolerance));
    EXPECT_FALSE(IsExprConsistent(0.8640, 0.8646, CQTKExprAreaTolerance));
    EXPECT_TRUE(IsExprConsistent(1.000, 1.0009, CQTKExprVolumeTolerance));
}

TEST_F(ExprCommonTest, LengthTimesWidthIsCheckedAgainstTheArea)
{
    EXPECT_FALSE(AddLengthWidthAreaExpr(record_, 1000000.0, 3600.0, 240.0));  // 1 m² against 0.864 m²
    EXPECT_EQ(Text(), "(none)");
    EXPECT_TRUE(AddLengthWidthAreaExpr(record_, 864000.0, 3600.0, 240.0));
    EXPECT_EQ(Text(), "3.6<长度>*0.24<宽度>");
}

TEST_F(ExprCommonTest, NothingOutsideExpressionMode)
{
    data_->SetIsExprMode(false);
    EXPECT_FALSE(IsExprMode(record_));
    EXPECT_FALSE(AddLengthWidthAreaExpr(record_, 864000.0, 3600.0, 240.0));
    EXPECT_EQ(Text(), "(none)");
    EXPECT_FALSE(IsExprMode(nullptr));
}

TEST(ExprTerms, ZeroTermsAreLeftOut)
{
    TQTKExprTerms terms;
    terms.Add(0.0, "%g<底面>", {0.0});
    terms.Add(1.2, "%g<侧面>", {1.2});
    terms.Add(0.0004, "%g<端面>", {0.0004});
    terms.Add(0.5, "%g<侧面>", {0.5});
    EXPECT_EQ(terms.Text(), "1.2<侧面>+0.5<侧面>");
    TQTKExprTerms none;
    none.Add(0.0, "%g<底面>", {0.0});
    EXPECT_TRUE(none.IsEmpty());
}

}  // namespace
