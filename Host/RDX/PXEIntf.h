// The host's expression engine: one language for match expressions, view
// filters and parametric formulas.
//
// A parser compiles a text once into a tree of nodes; it then evaluates the
// tree as often as needed, asking a value callback for the value of each
// identifier. Evaluation allocates nothing once every text value has been
// seen at its full length. A parser is used by one thread at a time; make
// one parser per thread.
//
// Language: numbers (58, 0.5, 1e3), texts in single quotes ('it''s' holds a
// quote), True / False, identifiers (letters, digits, "_", any non-ASCII
// letter), foreign-key paths ~ElementID.ElementTypeID, + - * / (division is
// always in floating point), unary - and +, = <> < <= > >=, and, or, not,
// "x in [a, b, ...]", parentheses and function calls. Keywords and function
// names are not case-sensitive. Functions: IIF(c, a, b), SameText(a, b),
// SQRT, SQR, ABS, sin, cos, tan, arcsin, arccos, arctan, PI (also without
// parentheses). arcsin / arccos outside [-1, 1] and SQRT of a negative number
// give NaN; division by zero gives an infinity or NaN: callers test with
// std::isfinite.
//
// Priorities (larger binds tighter): or 1, and 2, not 3, comparisons and in 4,
// binary + - 5, * / 6, unary - + 7.
//
// Values: comparisons and "in" with a null operand are False; arithmetic
// with a null operand is null; texts compare by bytes (SameText ignores
// case); a text against a number compares as a number when it reads as one.
// A text of more than 5000 nodes or nested deeper than 200 levels does not
// compile.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "Host/Runtime/Interface.h"

// Data types of constants, identifiers and values.
enum : int {
    pdtNull = 0,  // a value only: a null field or an undefined result
    pdtInteger = 10,
    pdtFloat = 11,
    pdtString = 12,
    pdtBoolean = 13,
};

// Node kinds.
enum : int {
    pnkConstant = 0,
    pnkVariable = 1,
    pnkUnaryPrefix = 2,
    pnkUnaryPostfix = 3,  // no operator of the language is postfix
    pnkBinary = 4,
    pnkFunction = 5,
};

// Operator placement of unary operators.
enum : int { popPostfix = 0, popPrefix = 1 };

// A value: null, integer, float, text or Boolean. Numbers are held as double
// (integers are exact up to 2^53).
class TPXEValue {
public:
    int GetDataType() const noexcept { return type_; }
    bool IsNull() const noexcept { return type_ == pdtNull; }
    bool IsNumber() const noexcept { return type_ == pdtInteger || type_ == pdtFloat; }

    void SetNull() noexcept { type_ = pdtNull; }
    void SetAsInteger(std::int64_t v) noexcept
    {
        type_ = pdtInteger;
        num_ = static_cast<double>(v);
    }
    void SetAsFloat(double v) noexcept
    {
        type_ = pdtFloat;
        num_ = v;
    }
    void SetAsBoolean(bool v) noexcept
    {
        type_ = pdtBoolean;
        num_ = v ? 1.0 : 0.0;
    }
    // Reuses the held text's storage: no allocation once it is large enough.
    void SetAsString(std::string_view v)
    {
        type_ = pdtString;
        text_.assign(v.data(), v.size());
    }
    // Appends to a text value (the value must hold a text).
    void AppendString(std::string_view v) { text_.append(v.data(), v.size()); }

    // Conversions. Null gives 0, 0.0, False and "". A Boolean is 1 or 0 as a
    // number; a number is True when non-zero; a text is True when it reads
    // "True" (any case), and as a number it is parsed (NaN when it is not one).
    double AsFloat() const noexcept;
    std::int64_t AsInteger() const noexcept;  // truncates toward zero
    bool AsBoolean() const noexcept;
    // The held text (empty unless the value is a text).
    std::string_view GetString() const noexcept { return type_ == pdtString ? std::string_view(text_) : ""; }
    // Display text of any value (allocates).
    std::string ToString() const;

private:
    int type_ = pdtNull;
    double num_ = 0.0;
    std::string text_;
};

struct TPXEOperator {
    std::string_view symbol;    // "+", "<=", "and", "not", "in", ...
    int placement = popPrefix;  // unary operators only
    std::uint8_t priority = 0;  // larger binds tighter
};

struct TPXEFunction {
    std::string_view name;  // canonical spelling: "IIF", "SameText", "SQRT", ...
    int argCount = 0;
};

class IPXENode {
public:
    virtual int GetKind() const noexcept = 0;
    // Data type: of a constant its literal's type, of an identifier the type
    // the typing callback gave, of an operator or a function its result type.
    virtual int GetDataType() const noexcept = 0;
    // Binary nodes: the operands; prefix unary: the operand is the right
    // child; postfix unary: the left child. Nil where absent.
    virtual IPXENode* GetLeft() const noexcept = 0;
    virtual IPXENode* GetRight() const noexcept = 0;
    // The node's text as written: a constant's literal ("0.5", "'abc'",
    // "True"), an identifier's name, an operator's symbol, a function's name.
    virtual std::string_view GetText() const noexcept = 0;
    // Position (1-based) of the node's text in the expression.
    virtual int GetPosition() const noexcept = 0;
    // Evaluates the subtree (identifiers through the parser's value callback)
    // and keeps the result as the node's value.
    virtual const TPXEValue& ComputeValue() = 0;
    // The value of the last evaluation.
    virtual const TPXEValue& GetValue() const noexcept = 0;

protected:
    ~IPXENode() = default;
};

class IPXEIdentifierNode : public IPXENode {
public:
    // The name as written ("Thickness", "~ElementID.ElementTypeID").
    virtual std::string_view GetName() const noexcept = 0;
    // The parts of a foreign-key path ("ElementID", "ElementTypeID"); a plain
    // identifier has one part, its name.
    virtual int GetPathCount() const noexcept = 0;
    virtual std::string_view GetPathItem(int index) const noexcept = 0;
    // The value holder the value callback fills.
    virtual TPXEValue& Value() noexcept = 0;
    // A slot for the caller (for example the column the name is bound to).
    virtual int GetTag() const noexcept = 0;
    virtual void SetTag(int tag) noexcept = 0;

protected:
    ~IPXEIdentifierNode() = default;
};

class IPXEUnaryNode : public IPXENode {
public:
    virtual const TPXEOperator& GetOperator() const noexcept = 0;

protected:
    ~IPXEUnaryNode() = default;
};

class IPXEBinaryNode : public IPXENode {
public:
    virtual const TPXEOperator& GetOperator() const noexcept = 0;

protected:
    ~IPXEBinaryNode() = default;
};

// A function call; also the item list of "in" (name "[]").
class IPXEFunctionNode : public IPXENode {
public:
    virtual const TPXEFunction& GetFunction() const noexcept = 0;
    virtual int GetArgCount() const noexcept = 0;
    virtual IPXENode* GetArg(int index) const noexcept = 0;

protected:
    ~IPXEFunctionNode() = default;
};

// A text that does not compile: names the position (1-based), the text and
// what is wrong.
class EPXESyntaxError : public std::runtime_error {
public:
    EPXESyntaxError(std::string expression, int position, std::string reason);
    const std::string& Expression() const noexcept { return expression_; }
    int Position() const noexcept { return position_; }
    const std::string& Reason() const noexcept { return reason_; }

private:
    std::string expression_;
    int position_;
    std::string reason_;
};

// Identifier typing: name -> data type; 0 (or no callback) types it 10.
using TPXETypeCallback = std::function<int(std::string_view name)>;
// Identifier value: fills node.Value(). Without a callback identifiers are null.
using TPXEValueCallback = std::function<void(IPXEIdentifierNode& node)>;

class IPXEParser : public virtual IInterface {
public:
    // Compiles the text, replacing any earlier tree. Raises EPXESyntaxError.
    virtual void Compile(std::string_view text, const TPXETypeCallback& typeOf = {}) = 0;
    virtual void SetValueCallback(TPXEValueCallback onValue) = 0;
    // Evaluates the compiled tree (a null value when nothing is compiled).
    virtual const TPXEValue& Evaluate() = 0;
    bool EvaluateBoolean() { return Evaluate().AsBoolean(); }
    double EvaluateFloat() { return Evaluate().AsFloat(); }
    // The root of the tree; nil before a successful compile.
    virtual IPXENode* GetRoot() const noexcept = 0;
    virtual std::string_view GetExpression() const noexcept = 0;
    // The identifier nodes in text order.
    virtual int GetIdentifierCount() const noexcept = 0;
    virtual IPXEIdentifierNode* GetIdentifier(int index) const noexcept = 0;
};

class IRDXEngine : public virtual IInterface {
public:
    virtual Ref<IPXEParser> CreateParser() const = 0;
};

// The property-table engine of that name; "" is the default engine. Nil for
// an unknown name. Not owned by the caller.
IRDXEngine* RDXEngine(std::string_view name);
