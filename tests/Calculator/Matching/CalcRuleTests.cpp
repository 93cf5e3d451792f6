// Matchers of the internal-quantity rule table, identifier typing, and the
// query of the volume rule between two elements.
#include <array>
#include <thread>

#include "CalcModelFixture.h"
#include "Calculator/Common/QTKCalcRule.h"
#include "Calculator/Common/QTKCalcStrategy.h"
#include "Calculator/Common/QTKRuleOperator.h"
#include "Host/RDX/PXEIntf.h"

namespace {

class CalcRuleTest : public TCalcModelTest {
protected:
    void SetUp() override
    {
        StartSession(model_);
        cache_.ruleTable = TableRef(Settings()->GetTable("CalcRule"));
        cache_.defaultStrategy = MakeRef<TQTKCalcStrategy>();
    }
    void TearDown() override
    {
        for (int i = 0; i < Rules()->GetRowCount(); ++i)
            Rules()->GetRow(i)->SetObject(nullptr);
        ClearRuleQueryCache();
        TCalcModelTest::TearDown();
    }
    IRDXDatabase* Settings() { return RuleSet(model_)->GetDatabase(); }
    IRDXTable* Rules() { return Settings()->GetTable("InternalQtyCalcRule"); }
    RecordRef Row(int id) { return RecordRef(Rules()->GetRecordByID(id)); }
    IRDXRecord* R(int id) { return Record(model_, id); }
    std::unique_ptr<TQTKInternalQtyCalcRule> Matcher(int rowId)
    {
        return std::make_unique<TQTKInternalQtyCalcRule>(RuleSet(model_), Row(rowId), &cache_, GetCalculatorModule());
    }
    int QueryRow(int subject, int object)
    {
        const IRDXRecord* row = TQTKRuleQuery::FindVolumeRule(RecordRef(R(subject)), RecordRef(R(object)));
        return row ? row->GetID() : 0;
    }

    TQTKElementModel& model_ = Model("matching.json");
    TQTKStrategyCache cache_;
};

TEST_F(CalcRuleTest, ElementTypesOfTheRow)
{
    const auto matcher = Matcher(1);
    EXPECT_EQ(matcher->GetSubjectElementTypeID(), 0);
    EXPECT_EQ(matcher->GetObjectElementTypeID(), 15);
    const auto column = Matcher(6);  // the column's volume has no object type
    EXPECT_EQ(column->GetSubjectElementTypeID(), 25);
    EXPECT_EQ(column->GetObjectElementTypeID(), -1);
}

TEST_F(CalcRuleTest, MatchExpressions)
{
    const auto thick = Matcher(1);  // subject " Thickness > 300 "
    EXPECT_FALSE(thick->SubjectMatches(R(1)));
    EXPECT_TRUE(thick->SubjectMatches(R(2)));
    EXPECT_TRUE(thick->ObjectMatches(R(10)));  // empty object expression
    const auto high = Matcher(2);              // object "SectionHeight >= 600 and Material = '混凝土'"
    EXPECT_TRUE(high->SubjectMatches(R(1)));
    EXPECT_FALSE(high->ObjectMatches(R(10)));
    EXPECT_TRUE(high->ObjectMatches(R(11)));
    EXPECT_EQ(high->GetCandidate().get(), R(11));
    EXPECT_FALSE(high->ObjectMatches(R(12)));  // C30
    high->SetCandidate(RecordRef(R(11)));
    EXPECT_TRUE(high->ObjectMatches());
    // Null and blank expressions match every subject and object.
    const auto any = Matcher(3);
    for (int id : {1, 2, 10, 11, 20}) {
        EXPECT_TRUE(any->SubjectMatches(R(id))) << id;
        EXPECT_TRUE(any->ObjectMatches(R(id))) << id;
    }
    // An identifier no table defines compiles and never matches.
    EXPECT_FALSE(Matcher(6)->SubjectMatches(R(20)));
}

TEST_F(CalcRuleTest, ExpressionsThatDoNotCompile)
{
    const auto message = [this](int rowId) {
        try {
            Matcher(rowId);
        } catch (const EQTKMatchExprError& error) {
            return std::string(error.what());
        }
        return std::string("compiled");
    };
    EXPECT_EQ(message(4), "构件[墙],中间量[坏表达式],主体匹配表达式[Thickness >]解析错误");
    EXPECT_EQ(message(5), "构件[墙],中间量[坏客体表达式],客体匹配表达式[SectionHeight = (]解析错误");
}

TEST_F(CalcRuleTest, StrategiesOfTheRows)
{
    const auto a = Matcher(1);
    const auto b = Matcher(1);
    EXPECT_EQ(a->GetStrategy(), b->GetStrategy());                 // one strategy per rule id
    EXPECT_NE(Matcher(2)->GetStrategy(), cache_.defaultStrategy);  // rule id 0
    EXPECT_EQ(Matcher(3)->GetStrategy(), cache_.defaultStrategy);  // null "CalcRuleID"
    EXPECT_EQ(cache_.ruleIds, (std::vector<int>{0, 5}));
}

TEST_F(CalcRuleTest, OnlyTheMatcherAStrategyPointsToClearsIt)
{
    auto first = Matcher(1);
    auto second = Matcher(1);
    const Ref<IQTKCalcStrategy> strategy = first->GetStrategy();
    strategy->SetMatchRule(first.get());
    second.reset();
    EXPECT_EQ(strategy->GetMatchRule(), first.get());
    first.reset();
    EXPECT_EQ(strategy->GetMatchRule(), nullptr);
}

TEST_F(CalcRuleTest, IdentifierTypes)
{
    struct Case {
        int elementType;
        const char* field;
        bool found;
        int dataType;
    };
    const std::array<Case, 6> cases{{{0, "Thickness", true, pdtFloat},
                                     {15, "SectionHeight", true, pdtFloat},
                                     {15, "Material", true, pdtString},
                                     {0, "Type", true, pdtInteger},
                                     {0, "SectionHeight", false, 0},
                                     {-1, "Thickness", false, 0}}};
    for (const Case& c : cases) {
        int dataType = 0;
        EXPECT_EQ(ResolveMatchField(RuleSet(model_), c.elementType, c.field, dataType), c.found) << c.field;
        if (c.found) {
            EXPECT_EQ(dataType, c.dataType) << c.field;
        }
    }
    int dataType = 0;
    EXPECT_THROW(ResolveMatchField(RuleSet(model_), 72, "Thickness", dataType), std::logic_error);
}

TEST_F(CalcRuleTest, VolumeRuleBetweenTwoElements)
{
    // Only the second dictionary row of wall and beam names the volume.
    EXPECT_EQ(QueryRow(2, 10), 1);  // a thick wall
    EXPECT_EQ(QueryRow(1, 11), 2);  // a high concrete beam
    EXPECT_EQ(QueryRow(1, 10), 3);  // the row that matches everything
    EXPECT_EQ(QueryRow(10, 1), 0);  // beam against wall: no volume quantity
    EXPECT_EQ(QueryRow(20, 10), 0);
    StartCalculationSession({});
    EXPECT_EQ(QueryRow(2, 10), 0);  // no business data
}

TEST_F(CalcRuleTest, VolumeRuleThroughTheHostMatchersOnSeveralThreads)
{
    for (int id : {1, 2, 3})
        Row(id)->SetObject(MakeRef<TQTKInternalQtyCalcRuleHolder>(Matcher(id)).get());
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i)
                if (QueryRow(2, 10) != 1 || QueryRow(1, 11) != 2 || QueryRow(1, 12) != 3)
                    ++wrong;
            ClearRuleQueryCache();
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
}

}  // namespace
