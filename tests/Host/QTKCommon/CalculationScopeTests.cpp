#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Host/QTKCommon/QTKCalculationScope.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/RDX/RDXTable.h"
#include "Host/Runtime/Assert.h"

namespace {

Ref<TRDXDatabase> Business()
{
    static const Ref<TRDXDatabase> business = MakeRef<TRDXDatabase>("Business");
    return business;
}

// A scope with everything switched on: detail mode, expressions, tables, a
// message callback and a release hook, each one observable afterwards.
struct TFullScope {
    std::vector<std::string> messages;
    int released = 0;

    TQTKCalculationScopeOptions Options()
    {
        TQTKCalculationScopeOptions options;
        options.session.business = TableSourceRef(Business().get());
        options.session.detailMode = true;
        options.session.multiThread = true;
        options.messages = [this](std::string_view message) { messages.emplace_back(message); };
        options.exprMode = true;
        options.release = [this] { ++released; };
        return options;
    }
};

// What a calculation inside a full scope leaves behind if the scope does not clean up.
void CalculateAndRecord(TQTKCalculationScope& scope)
{
    TQTKEdoGlobalData& data = scope.BeginQuantity(7, "TJ");
    EXPECT_TRUE(data.GetIsExprMode());
    EXPECT_TRUE(data.AddExprText("1.2<体积>"));
    EXPECT_TRUE(AddDeductDetail(std::make_unique<TQTKDeductDetail>(nullptr, "TJ", "体积", "0.3<扣>")));
    ShowHostMessage("warned");
}

TEST(CalculationScope, InstallsItsSessionContainerCallbackAndExpressionMode)
{
    TFullScope full;
    {
        TQTKCalculationScope scope(full.Options());
        EXPECT_TRUE(GIsDetailMode);
        EXPECT_TRUE(IsCalculatorMultiThread());
        EXPECT_EQ(GBusiness().get(), static_cast<IRDXTableSource*>(Business().get()));
        EXPECT_EQ(GetDeductDetailContainer(), &scope.Details());
        CalculateAndRecord(scope);
        EXPECT_EQ(scope.ExprText(7, "tj"), "1.2<体积>");
        EXPECT_EQ(scope.ExprText(7, "MJ"), std::nullopt);
        EXPECT_EQ(scope.ExprText(8, "TJ"), std::nullopt);
        EXPECT_EQ(scope.Details().GetCount(), 1);
        EXPECT_EQ(full.messages, std::vector<std::string>{"warned"});
        EXPECT_EQ(full.released, 0);
    }
    EXPECT_EQ(full.released, 1);
}

TEST(CalculationScope, AfterAnExceptionTheNextScopeStartsClean)
{
    TFullScope full;
    try {
        TQTKCalculationScope scope(full.Options());
        CalculateAndRecord(scope);
        throw std::runtime_error("rule failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(full.released, 1);
    // Between scopes: nothing of the first one is reachable.
    EXPECT_FALSE(GIsDetailMode);
    EXPECT_EQ(GetDeductDetailContainer(), nullptr);
    EXPECT_FALSE(GBusiness());
    EXPECT_FALSE(IsCalculatorMultiThread());

    TQTKCalculationScope second;
    EXPECT_FALSE(GIsDetailMode);
    EXPECT_EQ(GetDeductDetailContainer(), &second.Details());
    EXPECT_FALSE(GBusiness());
    ShowHostMessage("dropped");
    EXPECT_EQ(full.messages, std::vector<std::string>{"warned"});
    EXPECT_EQ(second.ExprText(7, "TJ"), std::nullopt);
    EXPECT_FALSE(GetEdoGlobalData(7)->GetIsExprMode());
    EXPECT_EQ(GetEdoGlobalData(7)->GetCurQtyKey(), "");
    EXPECT_FALSE(AddDeductDetail(std::make_unique<TQTKDeductDetail>(nullptr, "TJ", "体积", "0.3<扣>")));
    EXPECT_EQ(second.Details().GetCount(), 0);
    EXPECT_FALSE(second.BeginQuantity(7, "TJ").GetIsExprMode());
}

TEST(CalculationScope, PutsBackWhatTheThreadHadBefore)
{
    TQTKDeductDetailContainer outer;
    std::vector<std::string> outerMessages;
    SetHostMessageCallback([&](std::string_view message) { outerMessages.emplace_back(message); });
    StartCalculationSession({});
    GIsDetailMode = true;
    SetDeductDetailContainer(&outer);
    {
        TFullScope full;
        TQTKCalculationScope scope(full.Options());
        ShowHostMessage("inner");
    }
    EXPECT_TRUE(GIsDetailMode);
    EXPECT_EQ(GetDeductDetailContainer(), &outer);
    ShowHostMessage("outer");
    EXPECT_EQ(outerMessages, std::vector<std::string>{"outer"});
    SetHostMessageCallback(nullptr);
    SetDeductDetailContainer(nullptr);
    GIsDetailMode = false;
}

TEST(CalculationScope, ScopesDoNotNest)
{
    TQTKCalculationScope scope;
    EXPECT_THROW(TQTKCalculationScope inner, EQTKAssertionFailed);
    EXPECT_EQ(GetDeductDetailContainer(), &scope.Details());
}

}  // namespace
