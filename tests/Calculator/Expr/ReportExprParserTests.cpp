// Formulas of parametric elements: their values, and their report texts with
// each parameter's value in its display unit and its display name.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "Calculator/Common/QTKReportExprParser.h"
#include "Host/ElementModel/QTKBoxService.h"
#include "Host/ElementModel/QTKElementModel.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKCalculatorExprContainer.h"
#include "Host/RDX/PXEIntf.h"
#include "Host/Runtime/Assert.h"

namespace {

// Stair 1 of parametric shape 174 with parameters L, B, C, N, Z and D (no
// row in the parameter table), E (two rows), F (a row of another shape only),
// T (below the printed precision) and G (a factor without unit).
constexpr std::string_view CParamTable = R"(
  "databases": [{"name": "Business", "tables": [{"name": "ParamPolyParam",
    "fields": [{"name": "ID", "type": "integer"}, {"name": "ParamPolyID", "type": "integer"},
               {"name": "ParamCode", "type": "text"}, {"name": "ParamName", "type": "text"},
               {"name": "Unit", "type": "text"}],
    "rows": [{"ID": 1, "ParamPolyID": 174, "ParamCode": "L", "ParamName": "长度", "Unit": "mm"},
             {"ID": 2, "ParamPolyID": 174, "ParamCode": "B", "ParamName": "宽度", "Unit": "MM"},
             {"ID": 3, "ParamPolyID": 174, "ParamCode": "C", "ParamName": "厚度", "Unit": "mm"},
             {"ID": 4, "ParamPolyID": 174, "ParamCode": "N", "ParamName": "踏步数", "Unit": ""},
             {"ID": 5, "ParamPolyID": 174, "ParamCode": "Z", "ParamName": "零", "Unit": "mm"},
             {"ID": 6, "ParamPolyID": 174, "ParamCode": "E", "ParamName": "一", "Unit": "mm"},
             {"ID": 7, "ParamPolyID": 174, "ParamCode": "E", "ParamName": "二", "Unit": "mm"},
             {"ID": 8, "ParamPolyID": 175, "ParamCode": "F", "ParamName": "别的", "Unit": "mm"},
             {"ID": 9, "ParamPolyID": 174, "ParamCode": "T", "ParamName": "微", "Unit": ""},
             {"ID": 10, "ParamPolyID": 174, "ParamCode": "G", "ParamName": "系数", "Unit": ""}]}]}],)";

constexpr std::string_view CModel = R"(
  "floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0}],
  "elements": [{"id": 1, "type": 29, "props": {"BottomElev": 0, "TopElev": 1800},
    "param": {"polyID": 174, "values": {"L": 3000, "B": 1200, "C": 500, "N": 12, "Z": 0, "D": 3000,
              "E": 3000, "F": 3000, "T": 0.00004, "G": 1.234567}},
    "shape": {"kind": "point", "insertPt": [0, 0], "size": [3000, 1200]}}]})";

class TReportExprParserTest : public ::testing::Test {
protected:
    void Load(bool withParamTable)
    {
        std::string text(1, '{');
        if (withParamTable)
            text.append(CParamTable);
        text.append(CModel);
        model_ = TQTKElementModel::LoadFromText(text, std::filesystem::current_path());
        model_->Activate();
        StartCalculationSession({});
        record_ = model_->GetElementTable()->GetRecordByID(1);
        info_ = model_->FindElement(1)->GetPolyInfo();
        GetEdoGlobalData(1)->SetCurQty("TJ", "638", "体积");
    }
    void SetUp() override { Load(true); }
    void TearDown() override
    {
        GetQTKModelRuntimeOptions().SetBoxService(nullptr);
        GetQTKModelRuntimeOptions().SetParamPolyParamTable(nullptr);
        StartCalculationSession({});
    }

    // The formula's value; its text is the last original item of the record.
    double Evaluate(std::string_view formula, std::string& text)
    {
        TQTKCalcInternalExprContainer& items = GetEdoGlobalData(1)->GetExprContainer();
        const int before = items.GetCount();
        const double value = TQTKParamElementDrawObjParser::CalcFormula(record_, info_.get(), formula, true);
        text = "(none)";
        if (items.GetCount() == before + 1) {
            const auto* item = dynamic_cast<const TQTKCalcInternalOriginalExprItem*>(items.GetItems(before));
            if (item)
                text = item->GetText();
        }
        return value;
    }

    Ref<TQTKElementModel> model_;
    IRDXRecord* record_ = nullptr;
    std::unique_ptr<TParamPolyInfo> info_;
};

// L = 3000 mm (长度), B = 1200 (宽度), C = 500 (厚度), N = 12 (踏步数), Z = 0.
TEST_F(TReportExprParserTest, FormulaValuesAndTexts)
{
    struct Case {
        std::string_view formula;
        double value;
        std::string_view text;
    };
    const Case cases[] = {
        {"L*B", 3.6e6, "3<长度>*1.2<宽度>"},
        {"l*b", 3.6e6, "3<长度>*1.2<宽度>"},  // codes compare without regard to case
        // A zero parameter empties its product and vanishes from the sum.
        {"L*Z+C", 500, "0.5<厚度>"},
        {"L-0", 3000, "3<长度>"},
        {"L+0", 3000, "3<长度>"},
        {"L+0.0", 3000, "3<长度>"},
        // A negative value is 0; the text still states the formula.
        {"L-(B*C)", 0, "3<长度>-1.2<宽度>*0.5<厚度>"},
        {"B-L", 0, "1.2<宽度>-3<长度>"},
        {"L/(B*C)", 0.005, "3<长度>/(1.2<宽度>*0.5<厚度>)"},
        {"(L*B)/C", 7200, "(3<长度>*1.2<宽度>)/0.5<厚度>"},
        {"(L+B)*C", 2.1e6, "(3<长度>+1.2<宽度>)*0.5<厚度>"},
        // The right operand of - and / keeps its brackets at the same priority.
        {"L-(B-C)", 2300, "3<长度>-(1.2<宽度>-0.5<厚度>)"},
        {"L-(B+C)", 1300, "3<长度>-(1.2<宽度>+0.5<厚度>)"},
        {"L/(B/C)", 1250, "3<长度>/(1.2<宽度>/0.5<厚度>)"},
        {"L-B-C", 1300, "3<长度>-1.2<宽度>-0.5<厚度>"},
        {"L+(B-C)", 3700, "3<长度>+1.2<宽度>-0.5<厚度>"},
        {"L*(B/C)", 7200, "3<长度>*1.2<宽度>/0.5<厚度>"},
        // Nothing less B is minus B; "--" reads "+".
        {"Z-B", 0, "-1.2<宽度>"},
        {"Z+B", 1200, "1.2<宽度>"},
        {"L-(-B)", 4200, "3<长度>+1.2<宽度>"},
        {"-(B-C)", 0, "-(1.2<宽度>-0.5<厚度>)"},
        // An IIF shows the branch taken only.
        {"IIF(L>B, L, B)", 3000, "3<长度>"},
        {"IIF(L<B, L, B)*2", 2400, "1.2<宽度>*2"},
        {"N*0.15", 1.8, "12<踏步数>*0.15"},
        {"G*L", 3703.701, "1.2346<系数>*3<长度>"},
        {"L+T", 3000.00004, "3<长度>"},
        {"L*T", 0.12, ""},
        // Functions keep their name and arguments.
        {"SQRT(C*2)", 31.6227766016838, "SQRT(0.5<厚度>*2)"},
        {"PI*L", 3000 * 3.14159265358979, "PI*3<长度>"},
        {"IIF(SameText(L, B), 1, 2)", 2, "2"},
        {"SameText(L, B)", 0, "SameText(3<长度>, 1.2<宽度>)"},
        // Without one row of its own a parameter shows its code and unrounded value.
        {"D*2", 6000, "3000<D>*2"},
        {"E*2", 6000, "3000<E>*2"},
        {"F", 3000, "3000<F>"},
        // An unknown code is 0.
        {"X*2+L", 3000, "3<长度>"},
    };
    for (const Case& c : cases) {
        std::string text;
        EXPECT_NEAR(Evaluate(c.formula, text), c.value, 1e-9 * std::max(1.0, c.value)) << c.formula;
        EXPECT_EQ(text, c.text) << c.formula;
    }
}

TEST_F(TReportExprParserTest, ItemsOfTheCurrentQuantity)
{
    TQTKCalcInternalExprContainer& items = GetEdoGlobalData(1)->GetExprContainer();
    EXPECT_NEAR(TQTKParamElementDrawObjParser::CalcFormula(record_, info_.get(), "L*B", false), 3.6e6, 1e-6);
    EXPECT_EQ(items.GetCount(), 0);
    // Expression mode off does not stop the item.
    GetEdoGlobalData(1)->SetIsExprMode(false);
    TQTKParamElementDrawObjParser::CalcFormula(record_, info_.get(), "L*B", true);
    ASSERT_EQ(items.GetCount(), 1);
    EXPECT_EQ(items.GetItems(0)->GetQtyKey(), "TJ");
    EXPECT_EQ(items.GetItems(0)->GetFactor(), 1.0);
    EXPECT_EQ(items.GetItems(0)->GetExprText(), "3<长度>*1.2<宽度>");
    EXPECT_EQ(items.GetItems(0)->GetRecord().get(), record_);
    // Without a record there is nowhere to put the text.
    EXPECT_NEAR(TQTKParamElementDrawObjParser::CalcFormula(nullptr, info_.get(), "L+B", true), 4200, 1e-9);
    EXPECT_EQ(items.GetCount(), 1);
}

TEST_F(TReportExprParserTest, UnknownCodesAskTheCreator)
{
    TQTKParamElementDrawObjParser parser(record_, info_.get());
    parser.OnGetParamValue = [](std::string_view code) { return code == "BH" ? 240.0 : 0.5; };
    EXPECT_NEAR(parser.EvaluateFormula("BH*PDXS+L", false), 3120, 1e-9);
    // The element's own parameters come first.
    EXPECT_NEAR(parser.EvaluateFormula("L", false), 3000, 1e-9);
    // Without parametric information every code is unknown.
    EXPECT_NEAR(TQTKParamElementDrawObjParser::CalcFormula(record_, nullptr, "L+1", false), 1, 1e-9);
}

TEST_F(TReportExprParserTest, WithoutParameterTableNumbersOnly)
{
    TearDown();
    Load(false);
    std::string text;
    EXPECT_NEAR(Evaluate("L*B", text), 3.6e6, 1e-6);
    EXPECT_EQ(text, "3000*1200");
    EXPECT_NEAR(Evaluate("C*0.001", text), 0.5, 1e-12);
    EXPECT_EQ(text, "500*0.001");
}

TEST_F(TReportExprParserTest, EngineErrorsReachTheCaller)
{
    EXPECT_THROW(TQTKParamElementDrawObjParser::CalcFormula(record_, info_.get(), "L*(B", true), EPXESyntaxError);
    EXPECT_EQ(GetEdoGlobalData(1)->GetExprContainer().GetCount(), 0);
    // A value that is not a number is 0.
    EXPECT_EQ(TQTKParamElementDrawObjParser::CalcFormula(record_, info_.get(), "SQRT(Z-L)", false), 0.0);
}

// Trees the engine never makes, for the builder's own checks.
class TFakeNode : public IPXENode {
public:
    explicit TFakeNode(int kind) : kind_(kind) { value_.SetAsFloat(1.0); }
    int GetKind() const noexcept override { return kind_; }
    int GetDataType() const noexcept override { return pdtFloat; }
    IPXENode* GetLeft() const noexcept override { return nullptr; }
    IPXENode* GetRight() const noexcept override { return nullptr; }
    std::string_view GetText() const noexcept override { return "1"; }
    int GetPosition() const noexcept override { return 1; }
    const TPXEValue& ComputeValue() override { return value_; }
    const TPXEValue& GetValue() const noexcept override { return value_; }

private:
    int kind_;
    TPXEValue value_;
};

class TFakeFunctionNode : public IPXEFunctionNode {
public:
    TFakeFunctionNode(std::string_view name, int argCount) : function_{name, argCount} {}
    int GetKind() const noexcept override { return pnkFunction; }
    int GetDataType() const noexcept override { return pdtFloat; }
    IPXENode* GetLeft() const noexcept override { return nullptr; }
    IPXENode* GetRight() const noexcept override { return nullptr; }
    std::string_view GetText() const noexcept override { return function_.name; }
    int GetPosition() const noexcept override { return 1; }
    const TPXEValue& ComputeValue() override { return value_; }
    const TPXEValue& GetValue() const noexcept override { return value_; }
    const TPXEFunction& GetFunction() const noexcept override { return function_; }
    int GetArgCount() const noexcept override { return function_.argCount; }
    IPXENode* GetArg(int) const noexcept override { return &arg_; }

private:
    TPXEFunction function_;
    TPXEValue value_;
    mutable TFakeNode arg_{pnkConstant};
};

class TFakeUnaryNode : public IPXEUnaryNode {
public:
    explicit TFakeUnaryNode(int placement) : operator_{"-", placement, 7} {}
    int GetKind() const noexcept override { return pnkUnaryPrefix; }
    int GetDataType() const noexcept override { return pdtFloat; }
    IPXENode* GetLeft() const noexcept override { return &operand_; }
    IPXENode* GetRight() const noexcept override { return &operand_; }
    std::string_view GetText() const noexcept override { return operator_.symbol; }
    int GetPosition() const noexcept override { return 1; }
    const TPXEValue& ComputeValue() override { return value_; }
    const TPXEValue& GetValue() const noexcept override { return value_; }
    const TPXEOperator& GetOperator() const noexcept override { return operator_; }

private:
    TPXEOperator operator_;
    TPXEValue value_;
    mutable TFakeNode operand_{pnkConstant};
};

TEST(DetailExprBuilderTest, MalformedTreesAreAssertionFailures)
{
    std::string text;
    TFakeFunctionNode iif2("IIF", 2), iif3("iif", 3), sqr("SQR", 1), pi("PI", 0);
    EXPECT_THROW(TQTKDetailExprBuilder::BuildExpr(&iif2, text, {}), EQTKAssertionFailed);
    TQTKDetailExprBuilder::BuildExpr(&iif3, text, {});
    EXPECT_EQ(text, "1");
    TQTKDetailExprBuilder::BuildExpr(&sqr, text, {});
    EXPECT_EQ(text, "SQR(1)");
    TQTKDetailExprBuilder::BuildExpr(&pi, text, {});
    EXPECT_EQ(text, "PI");
    TFakeNode unknown(9);
    EXPECT_THROW(TQTKDetailExprBuilder::BuildExpr(&unknown, text, {}), EQTKAssertionFailed);
    TFakeUnaryNode prefix(popPrefix), postfix(popPostfix), other(2);
    TQTKDetailExprBuilder::BuildExpr(&prefix, text, {});
    EXPECT_EQ(text, "-1");
    TQTKDetailExprBuilder::BuildExpr(&postfix, text, {});
    EXPECT_EQ(text, "1-");
    EXPECT_THROW(TQTKDetailExprBuilder::BuildExpr(&other, text, {}), EQTKAssertionFailed);
}

}  // namespace
