// The expression engine: compile once, evaluate with values from a callback,
// the parse tree that report texts are built from, and compile errors.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <variant>

#include "Host/RDX/PXEIntf.h"

namespace {

using TVal = std::variant<double, std::int64_t, std::string, bool>;

// A parser whose identifiers take their values from a map (absent: null).
struct TEnv {
    std::map<std::string, TVal, std::less<>> values;
    Ref<IPXEParser> parser = RDXEngine("")->CreateParser();

    TEnv()
    {
        parser->SetValueCallback([this](IPXEIdentifierNode& node) {
            auto it = values.find(node.GetName());
            if (it == values.end())
                return node.Value().SetNull();
            std::visit(
                [&](const auto& v) {
                    using T = std::decay_t<decltype(v)>;
                    if constexpr (std::is_same_v<T, double>)
                        node.Value().SetAsFloat(v);
                    else if constexpr (std::is_same_v<T, std::int64_t>)
                        node.Value().SetAsInteger(v);
                    else if constexpr (std::is_same_v<T, std::string>)
                        node.Value().SetAsString(v);
                    else
                        node.Value().SetAsBoolean(v);
                },
                it->second);
        });
    }
    const TPXEValue& Eval(std::string_view text)
    {
        parser->Compile(text);
        return parser->Evaluate();
    }
};

}  // namespace

TEST(PXEEngine, Formulas)
{
    TEnv env;
    env.values = {{"TJKD", 300.0},
                  {"KTJ", 250.0},
                  {"N1", std::int64_t{10}},
                  {"TBKD", 280.0},
                  {"TBGD", 150.0},
                  {"B", 1200.0},
                  {"R", 1000.0},
                  {"Big", std::numeric_limits<std::int64_t>::max()}};
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"1/2", 0.5},
        {"2+3*4", 14},
        {"(2+3)*4", 20},
        {"10-4-3", 3},
        {"12/2/3", 2},
        {"-2*3", -6},
        {"- -2", 2},
        {"2*-3", -6},
        {"SQRT(SQR(3)+SQR(4))", 5},
        {"sqrt(sqr(3)+sqr(4))", 5},
        {"IIF(TJKD<=KTJ,0,N1*TBKD*TJKD)", 10 * 280.0 * 300.0},
        {"IIF(TJKD=300,1,2)", 1},
        {"IIF(TJKD<=KTJ,1/0,7)", 7},  // only the branch taken is evaluated
        {"PI", std::numbers::pi},
        {"pi()*2", 2 * std::numbers::pi},
        {"R*R*arcsin(B/2/R)", 1000.0 * 1000.0 * std::asin(0.6)},
        {"arccos(0)", std::numbers::pi / 2},
        {"tan(0)", 0},
        {"1e3+.5", 1000.5},
        {"Unknown+1", 0},  // null propagates; null reads as 0
        // integers beyond the exact range are floats, also when negated
        {"-9223372036854775807", -9223372036854775807.0},
        {"-Big", -9223372036854775807.0},
        {"3*-Big", -3 * 9223372036854775807.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_NEAR(env.Eval(c.text).AsFloat(), c.value, 1e-9);
    }
    EXPECT_TRUE(env.Eval("Unknown+1").IsNull());
    EXPECT_EQ(env.Eval("N1*2").GetDataType(), pdtInteger);
    EXPECT_EQ(env.Eval("N1/2").GetDataType(), pdtFloat);
    EXPECT_EQ(env.Eval("-Big").GetDataType(), pdtFloat);
    EXPECT_EQ(env.Eval("9223372036854775807").GetDataType(), pdtFloat);
    EXPECT_EQ(env.Eval("-8999999999999999").GetDataType(), pdtInteger);
}

TEST(PXEEngine, NonFiniteResultsAreDetectable)
{
    TEnv env;
    env.values = {{"B", 3000.0}, {"R", 1000.0}, {"Z", 0.0}};
    for (const char* text : {"R*R*arcsin(B/2/R)", "arccos(2)", "SQRT(-1)", "1/Z", "Z/Z"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(std::isfinite(env.Eval(text).AsFloat()));
    }
}

TEST(PXEEngine, MatchExpressions)
{
    TEnv env;
    env.values = {{"Material", std::string("混凝土")}, {"Type", std::int64_t{2}}, {"Thickness", 240.0},
                  {"Name", std::string("It's")},       {"UnitFlag", true},        {"Code", std::string("58")}};
    struct Case {
        const char* text;
        bool value;
    };
    const Case cases[] = {
        {"True", true},
        {"false", false},
        {"Material = '混凝土'", true},
        {"Material <> '砖'", true},
        {"Material = '混凝土 '", false},
        {"SameText(Name, 'IT''S')", true},
        {"Name = 'it''s'", false},  // = on texts is exact
        {"Type in [1, 2, 3]", true},
        {"Type in [5]", false},
        {"Type in []", false},
        {"not Type in [5]", true},
        {"Type = 2 and Thickness >= 240", true},
        {"Type = 1 or Thickness > 200 and Thickness < 240", false},  // and binds tighter than or
        {"(Type = 1 or Thickness > 200) and Thickness < 250", true},
        {"not (Type = 2)", false},
        {"UnitFlag = True", true},
        {"UnitFlag", true},
        {"Code = 58", true},       // a numeric text compares as a number
        {"Material = 58", false},  // a text that is no number is unequal
        {"Material <> 58", true},
        {"Unknown = 0", false},  // null equals nothing
        {"Unknown <> 0", false},
        {"not Unknown", true},
        {"Type + 1 = 3", true},
        {"IIF(Type = 2, 'a', 'b') = 'a'", true},
        {"'ab' + 'c' = 'abc'", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(env.Eval(c.text).AsBoolean(), c.value);
    }
}

TEST(PXEEngine, IdentifierTyping)
{
    auto parser = RDXEngine("")->CreateParser();
    // the callback knows Thickness only; every other name is typed 10 and compiles
    parser->Compile("(Thickness > 200) and (ShortArmShearWall = 1) and ~FloorID.Height > 3",
                    [](std::string_view name) { return name == "Thickness" ? pdtFloat : 0; });
    ASSERT_EQ(parser->GetIdentifierCount(), 3);
    EXPECT_EQ(parser->GetIdentifier(0)->GetDataType(), pdtFloat);
    EXPECT_EQ(parser->GetIdentifier(1)->GetName(), "ShortArmShearWall");
    EXPECT_EQ(parser->GetIdentifier(1)->GetDataType(), pdtInteger);
    IPXEIdentifierNode* path = parser->GetIdentifier(2);
    EXPECT_EQ(path->GetName(), "~FloorID.Height");
    ASSERT_EQ(path->GetPathCount(), 2);
    EXPECT_EQ(path->GetPathItem(0), "FloorID");
    EXPECT_EQ(path->GetPathItem(1), "Height");
    // without a value callback every identifier is null
    EXPECT_FALSE(parser->EvaluateBoolean());
}

TEST(PXEEngine, ParseTree)
{
    auto parser = RDXEngine("")->CreateParser();
    parser->Compile("A-(B*C)/2+IIF(A<=1, -X, SQRT(Y))");
    // (A - ((B*C)/2)) + IIF(...)
    IPXENode* root = parser->GetRoot();
    ASSERT_EQ(root->GetKind(), pnkBinary);
    auto* plus = dynamic_cast<IPXEBinaryNode*>(root);
    ASSERT_TRUE(plus);
    EXPECT_EQ(plus->GetOperator().symbol, "+");
    EXPECT_EQ(plus->GetOperator().priority, 5);
    auto* minus = dynamic_cast<IPXEBinaryNode*>(root->GetLeft());
    ASSERT_TRUE(minus);
    EXPECT_EQ(minus->GetOperator().symbol, "-");
    EXPECT_EQ(minus->GetLeft()->GetKind(), pnkVariable);
    auto* div = dynamic_cast<IPXEBinaryNode*>(minus->GetRight());
    ASSERT_TRUE(div);
    EXPECT_EQ(div->GetOperator().symbol, "/");
    EXPECT_EQ(div->GetOperator().priority, 6);
    EXPECT_EQ(div->GetRight()->GetKind(), pnkConstant);
    EXPECT_EQ(div->GetRight()->GetDataType(), pdtInteger);
    EXPECT_EQ(div->GetRight()->GetText(), "2");
    EXPECT_EQ(dynamic_cast<IPXEBinaryNode*>(div->GetLeft())->GetOperator().symbol, "*");

    auto* iif = dynamic_cast<IPXEFunctionNode*>(root->GetRight());
    ASSERT_TRUE(iif);
    EXPECT_EQ(iif->GetKind(), pnkFunction);
    EXPECT_EQ(iif->GetFunction().name, "IIF");
    ASSERT_EQ(iif->GetArgCount(), 3);
    auto* neg = dynamic_cast<IPXEUnaryNode*>(iif->GetArg(1));
    ASSERT_TRUE(neg);
    EXPECT_EQ(neg->GetKind(), pnkUnaryPrefix);
    EXPECT_EQ(neg->GetOperator().placement, popPrefix);
    EXPECT_EQ(neg->GetOperator().priority, 7);
    EXPECT_EQ(neg->GetRight()->GetText(), "X");
    auto* sqrt = dynamic_cast<IPXEFunctionNode*>(iif->GetArg(2));
    ASSERT_TRUE(sqrt);
    EXPECT_EQ(sqrt->GetText(), "SQRT");
    EXPECT_EQ(sqrt->GetArgCount(), 1);

    // "compute value" of the IIF condition, with values from the callback
    parser->SetValueCallback([](IPXEIdentifierNode& node) { node.Value().SetAsFloat(node.GetName() == "A" ? 1 : 4); });
    EXPECT_TRUE(iif->GetArg(0)->ComputeValue().AsBoolean());
    EXPECT_TRUE(iif->GetArg(0)->GetValue().AsBoolean());

    parser->Compile("'it''s' + 0.50 + True");
    auto* left = root = parser->GetRoot();
    while (left->GetLeft())
        left = left->GetLeft();
    EXPECT_EQ(left->GetText(), "'it''s'");
    EXPECT_EQ(left->GetDataType(), pdtString);
    EXPECT_EQ(left->GetValue().GetString(), "it's");
    EXPECT_EQ(root->GetLeft()->GetRight()->GetText(), "0.50");
    EXPECT_EQ(root->GetLeft()->GetRight()->GetDataType(), pdtFloat);
    EXPECT_EQ(root->GetRight()->GetDataType(), pdtBoolean);
}

TEST(PXEEngine, SyntaxErrors)
{
    struct Case {
        const char* text;
        int position;
    };
    const Case cases[] = {
        {"", 1},        {"A +", 4},   {"(A = 1", 7}, {"A = 'abc", 5}, {"IIF(A, 1)", 1},  {"Foo(1)", 1},
        {"A = 1 B", 7}, {"A # 1", 3}, {"A in 1", 6}, {"~ = 1", 2},    {"A and or B", 7}, {"1..2", 1},
    };
    auto parser = RDXEngine("")->CreateParser();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            parser->Compile(c.text);
            ADD_FAILURE() << "compiled";
        } catch (const EPXESyntaxError& e) {
            EXPECT_EQ(e.Position(), c.position) << e.what();
            EXPECT_EQ(e.Expression(), c.text);
            EXPECT_NE(std::string(e.what()).find(c.text), std::string::npos);
        }
        EXPECT_EQ(parser->GetRoot(), nullptr) << "a failed compile leaves no tree";
        EXPECT_TRUE(parser->Evaluate().IsNull());
    }
    // a deeply nested text is refused, not a stack overflow
    EXPECT_THROW(parser->Compile(std::string(100000, '(') + "1"), EPXESyntaxError);
    EXPECT_THROW(parser->Compile(std::string(100000, '-') + "1"), EPXESyntaxError);
    std::string chain = "1";
    for (int i = 0; i < 100000; ++i)
        chain += "+1";
    EXPECT_THROW(parser->Compile(chain), EPXESyntaxError);
}

TEST(PXEEngine, EngineByName)
{
    EXPECT_TRUE(RDXEngine(""));
    EXPECT_EQ(RDXEngine("Other"), nullptr);
}
