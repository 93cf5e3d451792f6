// Formulas of parametric elements (stairs, balconies, swing and dormer
// windows): a formula over the element's parameter codes is evaluated with the
// host expression engine and, when asked, written into the bill as a text in
// which every parameter shows its value and display name ("3<长度>*1.2<宽度>").
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "Host/RDX/RDXIntf.h"

class IPXENode;
class IPXEIdentifierNode;
class TParamPolyInfo;

// Evaluates formulas of one parametric element.
class TQTKParamElementDrawObjParser {
public:
    // The value of a parameter code the element's parametric information does
    // not hold.
    using TGetParamValue = std::function<double(std::string_view code)>;

    // Keeps the record and borrows the parametric information (may be nil: every
    // code is then unknown); takes the active model's "ParamPolyParam" table.
    TQTKParamElementDrawObjParser(IRDXRecord* record, const TParamPolyInfo* info);
    TQTKParamElementDrawObjParser(const TQTKParamElementDrawObjParser&) = delete;
    TQTKParamElementDrawObjParser& operator=(const TQTKParamElementDrawObjParser&) = delete;

    // The formula's value, 0 when it is negative or not a number. With
    // BuildExpression the formula as written is rendered and added to the
    // record's expression items as its original-quantity text (the value's
    // clamping does not change the text). Parse and evaluation errors of the
    // engine reach the caller.
    double EvaluateFormula(std::string_view formula, bool buildExpression);
    // A parser for one evaluation.
    static double CalcFormula(IRDXRecord* record, const TParamPolyInfo* info, std::string_view formula,
                              bool buildExpression);

    // Asked for a code the parametric information does not hold; unknown codes
    // are 0 without it.
    TGetParamValue OnGetParamValue;

private:
    void GetVarValue(IPXEIdentifierNode& node) const;
    // Replaces a parameter's text by its value in its display unit and its
    // display name, when the parameter table has exactly one row for it.
    void FormatParamText(IPXENode& node, std::string& text) const;

    RecordRef record_;
    TableRef paramTable_;
    const TParamPolyInfo* info_;
};

// Renders a parsed formula as a report text. A parameter that is 0 renders as
// nothing: it vanishes from sums and empties the products it is a factor of.
// An IIF shows only the branch its condition selects.
class TQTKDetailExprBuilder {
public:
    // May replace the text made for a variable node (called only for a
    // non-empty text).
    using TFormatVariable = std::function<void(IPXENode& node, std::string& text)>;

    static void BuildExpr(IPXENode* root, std::string& text, TFormatVariable onFormatVariable);

    TFormatVariable OnFormatVariable;

private:
    explicit TQTKDetailExprBuilder(TFormatVariable onFormatVariable);
    std::string BuildNodeText(IPXENode* node);
    std::string BuildUnaryText(IPXENode* node);
    std::string BuildBinaryText(IPXENode* node);
    std::string BuildOperandText(IPXENode* parent, IPXENode* child);
    std::string BuildFunctionText(IPXENode* node);
    std::string BuildIIFText(IPXENode* node);
};
