#include "Calculator/Common/QTKReportExprParser.h"

#include <cmath>
#include <cstdint>

#include "Calculator/Common/QTKExprCommon.h"
#include "Host/ElementModel/QTKBoxService.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/RDX/PXEIntf.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/Runtime/CorvaMathUtils.h"
#include "Host/Runtime/NameList.h"
#include "Host/Runtime/SysUtils.h"

namespace {

constexpr double CZeroValue = 5e-5;

std::string ReplaceAll(const std::string& text, std::string_view from, std::string_view to)
{
    std::string result;
    size_t at = 0;
    for (size_t hit = text.find(from); hit != std::string::npos; hit = text.find(from, at)) {
        result.append(text, at, hit - at).append(to);
        at = hit + from.size();
    }
    return result.append(text, at);
}

bool IsOperatorNodeKind(int kind)
{
    return kind == pnkUnaryPrefix || kind == pnkUnaryPostfix || kind == pnkBinary;
}

const TPXEOperator& OperatorOf(IPXENode* node)
{
    if (node->GetKind() == pnkBinary) {
        auto* binary = dynamic_cast<IPXEBinaryNode*>(node);
        QTK_ASSERT(binary != nullptr);
        return binary->GetOperator();
    }
    auto* unary = dynamic_cast<IPXEUnaryNode*>(node);
    QTK_ASSERT(unary != nullptr);
    return unary->GetOperator();
}

std::uint8_t GetNodePriority(IPXENode* node, int kind)
{
    QTK_ASSERT_MSG(IsOperatorNodeKind(kind), "not an operator node");
    return OperatorOf(node).priority;
}

IPXEFunctionNode& FunctionOf(IPXENode* node)
{
    auto* function = dynamic_cast<IPXEFunctionNode*>(node);
    QTK_ASSERT(function != nullptr);
    return *function;
}

}  // namespace

// ---------------------------------------------------------------------------
// TQTKParamElementDrawObjParser

TQTKParamElementDrawObjParser::TQTKParamElementDrawObjParser(IRDXRecord* record, const TParamPolyInfo* info)
    : record_(record), paramTable_(GetQTKModelRuntimeOptions().GetParamPolyParamTable()), info_(info)
{
}

double TQTKParamElementDrawObjParser::EvaluateFormula(std::string_view formula, bool buildExpression)
{
    IRDXEngine* engine = RDXEngine("");
    QTK_ASSERT_MSG(engine != nullptr, "no property-table engine");
    const Ref<IPXEParser> parser = engine->CreateParser();
    parser->Compile(formula, [](std::string_view) { return pdtFloat; });
    parser->SetValueCallback([this](IPXEIdentifierNode& node) { GetVarValue(node); });
    double result = parser->EvaluateFloat();
    if (!(result >= 0.0))
        result = 0.0;
    if (buildExpression) {
        std::string text;
        TQTKDetailExprBuilder::BuildExpr(
            parser->GetRoot(), text, [this](IPXENode& node, std::string& varText) { FormatParamText(node, varText); });
        AddOriginalExprItem(record_.get(), text);
    }
    return result;
}

double TQTKParamElementDrawObjParser::CalcFormula(IRDXRecord* record, const TParamPolyInfo* info,
                                                  std::string_view formula, bool buildExpression)
{
    TQTKParamElementDrawObjParser parser(record, info);
    return parser.EvaluateFormula(formula, buildExpression);
}

void TQTKParamElementDrawObjParser::GetVarValue(IPXEIdentifierNode& node) const
{
    const std::string_view name = node.GetName();
    double value = 0.0;
    if (info_ && info_->HasProp(name))
        value = info_->AsDouble(name);
    else if (OnGetParamValue)
        value = OnGetParamValue(name);
    node.Value().SetAsFloat(value);
}

void TQTKParamElementDrawObjParser::FormatParamText(IPXENode& node, std::string& text) const
{
    if (node.GetKind() != pnkVariable || !paramTable_)
        return;
    auto* variable = dynamic_cast<IPXEIdentifierNode*>(&node);
    QTK_ASSERT(variable != nullptr);
    const std::string filter = Format("(%s=%d)and(SameText(%s, %s))", {"ParamPolyID", info_ ? info_->ParamPolyID() : 0,
                                                                       "ParamCode", QuotedStr(variable->GetName())});
    const ViewRef view = SyncCreateRdxStaticView(paramTable_.get(), filter);
    double value = node.GetValue().AsFloat();
    std::string name(variable->GetName());
    if (view && view->GetRowCount() == 1) {
        const IRDXRecord* row = view->GetRow(0);
        const bool millimetres = SameText(row->GetAsString("Unit"), "mm");
        value = FRound(millimetres ? value * 0.001 : value, 4, 1e-12);
        name = row->GetAsString("ParamName");
    }
    text = Format("%g<%s>", {value, name});
}

// ---------------------------------------------------------------------------
// TQTKDetailExprBuilder

TQTKDetailExprBuilder::TQTKDetailExprBuilder(TFormatVariable onFormatVariable)
    : OnFormatVariable(std::move(onFormatVariable))
{
}

void TQTKDetailExprBuilder::BuildExpr(IPXENode* root, std::string& text, TFormatVariable onFormatVariable)
{
    QTK_ASSERT(root != nullptr);
    TQTKDetailExprBuilder builder(std::move(onFormatVariable));
    text = builder.BuildNodeText(root);
}

std::string TQTKDetailExprBuilder::BuildNodeText(IPXENode* node)
{
    QTK_ASSERT(node != nullptr);
    switch (node->GetKind()) {
        case pnkConstant:
            return std::string(node->GetText());
        case pnkVariable: {
            const TPXEValue& value = node->GetValue();
            std::string text;
            if (node->GetDataType() == pdtInteger) {
                if (value.AsInteger() == 0)
                    return {};
                text = std::to_string(value.AsInteger());
            } else if (node->GetDataType() == pdtFloat) {
                if (std::fabs(value.AsFloat()) < CZeroValue)
                    return {};
                text = FRoundToStr(value.AsFloat(), 4, 1e-12);
            } else {
                text = std::string(node->GetText());
            }
            if (OnFormatVariable)
                OnFormatVariable(*node, text);
            return text;
        }
        case pnkUnaryPrefix:
        case pnkUnaryPostfix:
            return BuildUnaryText(node);
        case pnkBinary:
            return BuildBinaryText(node);
        case pnkFunction:
            return SameText(FunctionOf(node).GetFunction().name, "IIF") ? BuildIIFText(node) : BuildFunctionText(node);
        default:
            QTK_ASSERT_MSG(false, "unknown node kind");
            return {};
    }
}

std::string TQTKDetailExprBuilder::BuildUnaryText(IPXENode* node)
{
    const TPXEOperator& op = OperatorOf(node);
    if (op.placement == popPrefix)
        return std::string(op.symbol) + BuildOperandText(node, node->GetRight());
    QTK_ASSERT_MSG(op.placement == popPostfix, "unknown operator placement");
    return BuildOperandText(node, node->GetLeft()) + std::string(op.symbol);
}

std::string TQTKDetailExprBuilder::BuildBinaryText(IPXENode* node)
{
    const std::string_view op = OperatorOf(node).symbol;
    const bool additive = op == "+" || op == "-";
    IPXENode* right = node->GetRight();
    if (additive && right && right->GetKind() == pnkConstant &&
        (right->GetDataType() == pdtInteger || right->GetDataType() == pdtFloat) &&
        std::fabs(right->GetValue().AsFloat()) < CZeroValue)
        return BuildNodeText(node->GetLeft());
    const std::string l = BuildOperandText(node, node->GetLeft());
    const std::string r = BuildOperandText(node, right);
    if ((op == "*" || op == "/") && (l.empty() || r.empty()))
        return {};
    std::string text;
    if (!l.empty() && !r.empty())
        text = l + std::string(op) + r;
    else if (!l.empty())
        text = l;
    else if (!r.empty())
        // Nothing less something is minus that something.
        text = op == "-" ? "-" + r : r;
    return ReplaceAll(ReplaceAll(text, "--", "+"), "+-", "-");
}

std::string TQTKDetailExprBuilder::BuildOperandText(IPXENode* parent, IPXENode* child)
{
    std::string text = BuildNodeText(child);
    if (text.empty() || !IsOperatorNodeKind(child->GetKind()))
        return text;
    const std::uint8_t parentPriority = GetNodePriority(parent, parent->GetKind());
    const std::uint8_t childPriority = GetNodePriority(child, child->GetKind());
    bool brackets = childPriority < parentPriority;
    if (!brackets && childPriority == parentPriority && parent->GetKind() == pnkBinary &&
        child->GetKind() == pnkBinary) {
        const std::string_view parentOp = OperatorOf(parent).symbol;
        // a/(b*c) stays as written; so do a-(b-c) and a/(b/c), whose right
        // operand would otherwise change the value the text states.
        brackets = (parentOp == "/" && OperatorOf(child).symbol == "*") ||
                   ((parentOp == "-" || parentOp == "/") && child == parent->GetRight());
    }
    return brackets ? "(" + text + ")" : text;
}

std::string TQTKDetailExprBuilder::BuildFunctionText(IPXENode* node)
{
    IPXEFunctionNode& function = FunctionOf(node);
    std::string text(function.GetFunction().name);
    const int count = function.GetArgCount();
    for (int i = 0; i < count; ++i)
        text += (i == 0 ? "(" : ", ") + BuildNodeText(function.GetArg(i));
    if (count > 0)
        text += ")";
    return text;
}

std::string TQTKDetailExprBuilder::BuildIIFText(IPXENode* node)
{
    IPXEFunctionNode& function = FunctionOf(node);
    QTK_ASSERT_MSG(function.GetArgCount() == 3, "IIF takes three arguments");
    const bool condition = function.GetArg(0)->ComputeValue().AsBoolean();
    return BuildNodeText(function.GetArg(condition ? 1 : 2));
}
