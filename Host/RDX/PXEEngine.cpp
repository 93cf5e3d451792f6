// The expression engine: tokenizer, recursive-descent compiler into a tree of
// nodes, and the nodes' evaluation. Every node keeps its own result value, so
// that evaluating a compiled tree again reuses the same storage.
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <numbers>
#include <vector>

#include "Host/RDX/PXEIntf.h"
#include "Host/Runtime/NameList.h"
#include "Host/Runtime/SysUtils.h"

// ------------------------------------------------------------------ TPXEValue

double TPXEValue::AsFloat() const noexcept
{
    switch (type_) {
        case pdtInteger:
        case pdtFloat:
        case pdtBoolean:
            return num_;
        case pdtString: {
            const char* begin = text_.data();
            const char* end = begin + text_.size();
            while (begin < end && *begin == ' ')
                ++begin;
            double v = 0;
            auto [ptr, ec] = std::from_chars(begin, end, v);
            if (ec != std::errc() || ptr == begin || ptr != end)
                return std::numeric_limits<double>::quiet_NaN();
            return v;
        }
        default:
            return 0.0;
    }
}

std::int64_t TPXEValue::AsInteger() const noexcept
{
    const double v = std::trunc(AsFloat());
    if (!(std::abs(v) < 9.2e18))
        return 0;
    return static_cast<std::int64_t>(v);
}

bool TPXEValue::AsBoolean() const noexcept
{
    if (type_ == pdtString)
        return SameText(text_, "True");
    return type_ != pdtNull && num_ != 0.0 && !std::isnan(num_);
}

std::string TPXEValue::ToString() const
{
    switch (type_) {
        case pdtInteger:
            return std::to_string(AsInteger());
        case pdtFloat:
            return FloatToStr(num_);
        case pdtBoolean:
            return num_ != 0.0 ? "True" : "False";
        case pdtString:
            return text_;
        default:
            return {};
    }
}

EPXESyntaxError::EPXESyntaxError(std::string expression, int position, std::string reason)
    : std::runtime_error("expression \"" + expression + "\", position " + std::to_string(position) + ": " + reason),
      expression_(std::move(expression)),
      position_(position),
      reason_(std::move(reason))
{
}

namespace {

// Integer values beyond this magnitude are held as floats: the value holder
// keeps numbers as doubles, exact for integers only up to 2^53.
constexpr double kExactIntegerLimit = 9.0e15;

class TParser;

// Owner handle of every node kind (the interfaces have no public destructor).
struct TOwned {
    virtual ~TOwned() = default;
};

// What every node shares: kind, type, text, position and its result.
template <class I>
class TNode : public I, public TOwned {
public:
    TNode(int kind, int dataType, std::string_view text, int position)
        : kind_(kind), dataType_(dataType), text_(text), position_(position)
    {
    }
    int GetKind() const noexcept override { return kind_; }
    int GetDataType() const noexcept override { return dataType_; }
    IPXENode* GetLeft() const noexcept override { return left_; }
    IPXENode* GetRight() const noexcept override { return right_; }
    std::string_view GetText() const noexcept override { return text_; }
    int GetPosition() const noexcept override { return position_; }
    const TPXEValue& GetValue() const noexcept override { return value_; }

    IPXENode* left_ = nullptr;
    IPXENode* right_ = nullptr;

protected:
    int kind_;
    int dataType_;
    std::string_view text_;  // points into the parser's copy of the expression
    int position_;
    TPXEValue value_;
};

class TConstNode final : public TNode<IPXENode> {
public:
    TConstNode(int dataType, std::string_view text, int position) : TNode(pnkConstant, dataType, text, position) {}
    TPXEValue& Slot() noexcept { return value_; }
    const TPXEValue& ComputeValue() override { return value_; }
};

class TIdentNode final : public TNode<IPXEIdentifierNode> {
public:
    TIdentNode(const TParser* parser, int dataType, std::string_view text, int position,
               std::vector<std::string_view> path)
        : TNode(pnkVariable, dataType, text, position), parser_(parser), path_(std::move(path))
    {
    }
    std::string_view GetName() const noexcept override { return text_; }
    int GetPathCount() const noexcept override { return static_cast<int>(path_.size()); }
    std::string_view GetPathItem(int index) const noexcept override
    {
        return index >= 0 && index < GetPathCount() ? path_[static_cast<size_t>(index)] : std::string_view();
    }
    TPXEValue& Value() noexcept override { return value_; }
    int GetTag() const noexcept override { return tag_; }
    void SetTag(int tag) noexcept override { tag_ = tag; }
    const TPXEValue& ComputeValue() override;

private:
    const TParser* parser_;
    std::vector<std::string_view> path_;
    int tag_ = -1;
};

enum class TOp { Neg, Plus, Not, Add, Sub, Mul, Div, Eq, Ne, Lt, Le, Gt, Ge, And, Or, In };

struct TOpDef {
    TOp op;
    TPXEOperator info;
};

// Priorities: or 1, and 2, not 3, comparisons 4, + - 5, * / 6, unary 7.
const TOpDef kOps[] = {
    {TOp::Neg, {"-", popPrefix, 7}}, {TOp::Plus, {"+", popPrefix, 7}},  {TOp::Not, {"not", popPrefix, 3}},
    {TOp::Add, {"+", popPrefix, 5}}, {TOp::Sub, {"-", popPrefix, 5}},   {TOp::Mul, {"*", popPrefix, 6}},
    {TOp::Div, {"/", popPrefix, 6}}, {TOp::Eq, {"=", popPrefix, 4}},    {TOp::Ne, {"<>", popPrefix, 4}},
    {TOp::Lt, {"<", popPrefix, 4}},  {TOp::Le, {"<=", popPrefix, 4}},   {TOp::Gt, {">", popPrefix, 4}},
    {TOp::Ge, {">=", popPrefix, 4}}, {TOp::And, {"and", popPrefix, 2}}, {TOp::Or, {"or", popPrefix, 1}},
    {TOp::In, {"in", popPrefix, 4}},
};

const TOpDef& OpDef(TOp op)
{
    return kOps[static_cast<int>(op)];
}

// Equality and order of two values; false whenever either is null. Texts
// compare by bytes; everything else as numbers (a text that is no number
// compares unequal).
bool Compare(TOp op, const TPXEValue& a, const TPXEValue& b) noexcept
{
    if (a.IsNull() || b.IsNull())
        return false;
    int c = 0;
    if (a.GetDataType() == pdtString && b.GetDataType() == pdtString) {
        const int r = a.GetString().compare(b.GetString());
        c = r < 0 ? -1 : (r > 0 ? 1 : 0);
    } else {
        const double x = a.AsFloat(), y = b.AsFloat();
        if (std::isnan(x) || std::isnan(y))
            return op == TOp::Ne;
        c = x < y ? -1 : (x > y ? 1 : 0);
    }
    switch (op) {
        case TOp::Eq:
        case TOp::In:
            return c == 0;
        case TOp::Ne:
            return c != 0;
        case TOp::Lt:
            return c < 0;
        case TOp::Le:
            return c <= 0;
        case TOp::Gt:
            return c > 0;
        case TOp::Ge:
            return c >= 0;
        default:
            return false;
    }
}

class TUnaryNode final : public TNode<IPXEUnaryNode> {
public:
    TUnaryNode(TOp op, int dataType, std::string_view text, int position, IPXENode* operand)
        : TNode(pnkUnaryPrefix, dataType, text, position), op_(op)
    {
        right_ = operand;
    }
    const TPXEOperator& GetOperator() const noexcept override { return OpDef(op_).info; }
    const TPXEValue& ComputeValue() override
    {
        const TPXEValue& v = right_->ComputeValue();
        if (op_ == TOp::Not)
            value_.SetAsBoolean(!v.AsBoolean());
        else if (v.IsNull())
            value_.SetNull();
        else if (op_ == TOp::Plus)
            value_ = v;
        else if (v.GetDataType() == pdtInteger && std::abs(v.AsFloat()) < kExactIntegerLimit)
            value_.SetAsInteger(-v.AsInteger());
        else
            value_.SetAsFloat(-v.AsFloat());
        return value_;
    }

private:
    TOp op_;
};

class TFuncNode;

class TBinaryNode final : public TNode<IPXEBinaryNode> {
public:
    TBinaryNode(TOp op, int dataType, std::string_view text, int position, IPXENode* l, IPXENode* r)
        : TNode(pnkBinary, dataType, text, position), op_(op)
    {
        left_ = l;
        right_ = r;
    }
    const TPXEOperator& GetOperator() const noexcept override { return OpDef(op_).info; }
    const TPXEValue& ComputeValue() override;

private:
    void Arithmetic(const TPXEValue& a, const TPXEValue& b);
    TOp op_;
};

enum class TFn { IIF, SameText, Sqrt, Sqr, Abs, Sin, Cos, Tan, ArcSin, ArcCos, ArcTan, Pi, List };

struct TFnDef {
    TFn fn;
    TPXEFunction info;
};

const TFnDef kFns[] = {
    {TFn::IIF, {"IIF", 3}},       {TFn::SameText, {"SameText", 2}}, {TFn::Sqrt, {"SQRT", 1}},
    {TFn::Sqr, {"SQR", 1}},       {TFn::Abs, {"ABS", 1}},           {TFn::Sin, {"sin", 1}},
    {TFn::Cos, {"cos", 1}},       {TFn::Tan, {"tan", 1}},           {TFn::ArcSin, {"arcsin", 1}},
    {TFn::ArcCos, {"arccos", 1}}, {TFn::ArcTan, {"arctan", 1}},     {TFn::Pi, {"PI", 0}},
    {TFn::List, {"[]", -1}},
};

const TFnDef* FindFunction(std::string_view name)
{
    for (const auto& f : kFns)
        if (f.fn != TFn::List && SameText(f.info.name, name))
            return &f;
    return nullptr;
}

class TFuncNode final : public TNode<IPXEFunctionNode> {
public:
    TFuncNode(const TFnDef& def, int dataType, std::string_view text, int position, std::vector<IPXENode*> args)
        : TNode(pnkFunction, dataType, text, position), def_(def), args_(std::move(args))
    {
    }
    const TPXEFunction& GetFunction() const noexcept override { return def_.info; }
    int GetArgCount() const noexcept override { return static_cast<int>(args_.size()); }
    IPXENode* GetArg(int index) const noexcept override
    {
        return index >= 0 && index < GetArgCount() ? args_[static_cast<size_t>(index)] : nullptr;
    }
    const TPXEValue& ComputeValue() override;
    // "x in [...]": whether one item equals the value.
    bool Contains(const TPXEValue& v)
    {
        for (IPXENode* item : args_)
            if (Compare(TOp::Eq, v, item->ComputeValue()))
                return true;
        return false;
    }

private:
    const TFnDef& def_;
    std::vector<IPXENode*> args_;
};

void TBinaryNode::Arithmetic(const TPXEValue& a, const TPXEValue& b)
{
    if (a.IsNull() || b.IsNull()) {
        value_.SetNull();
        return;
    }
    if (op_ == TOp::Add && a.GetDataType() == pdtString && b.GetDataType() == pdtString) {
        // Concatenation into this node's own text (reuses its storage).
        value_.SetAsString(a.GetString());
        value_.AppendString(b.GetString());
        return;
    }
    const double x = a.AsFloat(), y = b.AsFloat();
    const bool ints = a.GetDataType() == pdtInteger && b.GetDataType() == pdtInteger;
    double r = 0;
    switch (op_) {
        case TOp::Add:
            r = x + y;
            break;
        case TOp::Sub:
            r = x - y;
            break;
        case TOp::Mul:
            r = x * y;
            break;
        default:
            value_.SetAsFloat(x / y);
            return;
    }
    if (ints && std::abs(r) < kExactIntegerLimit)
        value_.SetAsInteger(static_cast<std::int64_t>(r));
    else
        value_.SetAsFloat(r);
}

const TPXEValue& TBinaryNode::ComputeValue()
{
    switch (op_) {
        case TOp::And:
            value_.SetAsBoolean(left_->ComputeValue().AsBoolean() && right_->ComputeValue().AsBoolean());
            break;
        case TOp::Or:
            value_.SetAsBoolean(left_->ComputeValue().AsBoolean() || right_->ComputeValue().AsBoolean());
            break;
        case TOp::In:
            value_.SetAsBoolean(static_cast<TFuncNode*>(right_)->Contains(left_->ComputeValue()));
            break;
        case TOp::Add:
        case TOp::Sub:
        case TOp::Mul:
        case TOp::Div:
            Arithmetic(left_->ComputeValue(), right_->ComputeValue());
            break;
        default: {
            const TPXEValue& a = left_->ComputeValue();
            value_.SetAsBoolean(Compare(op_, a, right_->ComputeValue()));
        }
    }
    return value_;
}

const TPXEValue& TFuncNode::ComputeValue()
{
    switch (def_.fn) {
        case TFn::IIF:
            value_ = args_[args_[0]->ComputeValue().AsBoolean() ? 1 : 2]->ComputeValue();
            return value_;
        case TFn::SameText: {
            const TPXEValue& a = args_[0]->ComputeValue();
            const TPXEValue& b = args_[1]->ComputeValue();
            if (a.GetDataType() == pdtString && b.GetDataType() == pdtString)
                value_.SetAsBoolean(SameText(a.GetString(), b.GetString()));
            else
                value_.SetAsBoolean(SameText(a.ToString(), b.ToString()));
            return value_;
        }
        case TFn::Pi:
            value_.SetAsFloat(std::numbers::pi);
            return value_;
        case TFn::List:
            value_.SetNull();
            return value_;
        default:
            break;
    }
    const TPXEValue& a = args_[0]->ComputeValue();
    if (a.IsNull()) {
        value_.SetNull();
        return value_;
    }
    const double x = a.AsFloat();
    double r = 0;
    switch (def_.fn) {
        case TFn::Sqrt:
            r = std::sqrt(x);
            break;
        case TFn::Sqr:
            r = x * x;
            break;
        case TFn::Abs:
            r = std::abs(x);
            break;
        case TFn::Sin:
            r = std::sin(x);
            break;
        case TFn::Cos:
            r = std::cos(x);
            break;
        case TFn::Tan:
            r = std::tan(x);
            break;
        case TFn::ArcSin:
            r = std::asin(x);
            break;
        case TFn::ArcCos:
            r = std::acos(x);
            break;
        default:
            r = std::atan(x);
            break;
    }
    value_.SetAsFloat(r);
    return value_;
}

// ------------------------------------------------------------------- parser

enum class TTok { End, Number, Text, Ident, Path, Symbol };

struct TToken {
    TTok kind = TTok::End;
    std::string_view text;
    int pos = 0;  // 1-based
};

bool IsIdentStart(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

bool IsIdentChar(unsigned char c)
{
    return IsIdentStart(c) || (c >= '0' && c <= '9');
}

// Limits that keep compiling and evaluating a hostile text within the stack.
constexpr int kMaxDepth = 200;
constexpr size_t kMaxNodes = 5000;

class TParser final : public TInterfacedObject, public IPXEParser {
public:
    void Compile(std::string_view text, const TPXETypeCallback& typeOf) override;
    void SetValueCallback(TPXEValueCallback onValue) override { onValue_ = std::move(onValue); }
    const TPXEValue& Evaluate() override { return root_ ? root_->ComputeValue() : null_; }
    IPXENode* GetRoot() const noexcept override { return root_; }
    std::string_view GetExpression() const noexcept override { return *text_; }
    int GetIdentifierCount() const noexcept override { return static_cast<int>(identifiers_.size()); }
    IPXEIdentifierNode* GetIdentifier(int index) const noexcept override
    {
        return index >= 0 && index < GetIdentifierCount() ? identifiers_[static_cast<size_t>(index)] : nullptr;
    }

    void FillValue(IPXEIdentifierNode& node) const
    {
        if (onValue_)
            onValue_(node);
        else
            node.Value().SetNull();
    }

private:
    // Compilation state.
    [[noreturn]] void Fail(int pos, const std::string& reason) const
    {
        throw EPXESyntaxError(std::string(*text_), pos, reason);
    }
    void Next();
    bool IsSymbol(std::string_view s) const { return tok_.kind == TTok::Symbol && tok_.text == s; }
    bool IsKeyword(std::string_view s) const { return tok_.kind == TTok::Ident && SameText(tok_.text, s); }
    void Expect(std::string_view s)
    {
        if (!IsSymbol(s)) {
            std::string reason(1, '"');
            reason.append(s).append("\" expected");
            if (tok_.kind == TTok::End)
                reason.append(" at the end");
            Fail(tok_.pos, reason);
        }
        Next();
    }
    template <class T, class... A>
    T* Make(A&&... args)
    {
        if (nodes_.size() >= kMaxNodes)
            Fail(tok_.pos, "the expression is too long");
        auto node = std::make_unique<T>(std::forward<A>(args)...);
        T* raw = node.get();
        nodes_.push_back(std::move(node));
        return raw;
    }
    // Left-associative binary levels: or, and, + -, * /.
    enum class TLevel { Or, And, Add, Mul };
    IPXENode* ParseOr(int depth) { return ParseLevel(TLevel::Or, depth); }
    IPXENode* ParseLevel(TLevel level, int depth);
    IPXENode* ParseOperand(TLevel level, int depth);
    bool LevelOperator(TLevel level, TOp& op) const;
    IPXENode* ParseNot(int depth);
    IPXENode* ParseCompare(int depth);
    IPXENode* ParseUnary(int depth);
    IPXENode* ParsePrimary(int depth);
    IPXENode* ParseFunction(const TToken& name, int depth);
    IPXENode* Binary(TOp op, const TToken& at, IPXENode* l, IPXENode* r);

    // The expression text lives on the heap so that node texts stay valid.
    std::unique_ptr<std::string> text_ = std::make_unique<std::string>();
    std::vector<std::unique_ptr<TOwned>> nodes_;
    std::vector<IPXEIdentifierNode*> identifiers_;
    IPXENode* root_ = nullptr;
    TPXEValueCallback onValue_;
    TPXEValue null_;
    // Only while compiling.
    const TPXETypeCallback* typeOf_ = nullptr;
    size_t at_ = 0;
    TToken tok_;
};

const TPXEValue& TIdentNode::ComputeValue()
{
    parser_->FillValue(*this);
    return value_;
}

void TParser::Next()
{
    const std::string& s = *text_;
    while (at_ < s.size() && (s[at_] == ' ' || s[at_] == '\t' || s[at_] == '\r' || s[at_] == '\n'))
        ++at_;
    tok_.pos = static_cast<int>(at_) + 1;
    if (at_ >= s.size()) {
        tok_ = {TTok::End, {}, tok_.pos};
        return;
    }
    const size_t start = at_;
    const auto c = static_cast<unsigned char>(s[at_]);
    auto view = [&] { return std::string_view(s).substr(start, at_ - start); };
    if ((c >= '0' && c <= '9') || (c == '.' && at_ + 1 < s.size() && s[at_ + 1] >= '0' && s[at_ + 1] <= '9')) {
        while (at_ < s.size() && ((s[at_] >= '0' && s[at_] <= '9') || s[at_] == '.'))
            ++at_;
        if (at_ < s.size() && (s[at_] == 'e' || s[at_] == 'E')) {
            size_t k = at_ + 1;
            if (k < s.size() && (s[k] == '+' || s[k] == '-'))
                ++k;
            if (k < s.size() && s[k] >= '0' && s[k] <= '9') {
                at_ = k;
                while (at_ < s.size() && s[at_] >= '0' && s[at_] <= '9')
                    ++at_;
            }
        }
        tok_ = {TTok::Number, view(), tok_.pos};
        return;
    }
    if (c == '\'') {
        ++at_;
        for (;;) {
            if (at_ >= s.size())
                Fail(tok_.pos, "the text has no closing quote");
            if (s[at_] == '\'') {
                if (at_ + 1 < s.size() && s[at_ + 1] == '\'') {
                    at_ += 2;
                    continue;
                }
                ++at_;
                break;
            }
            ++at_;
        }
        tok_ = {TTok::Text, view(), tok_.pos};
        return;
    }
    if (IsIdentStart(c)) {
        while (at_ < s.size() && IsIdentChar(static_cast<unsigned char>(s[at_])))
            ++at_;
        tok_ = {TTok::Ident, view(), tok_.pos};
        return;
    }
    if (c == '~') {
        ++at_;
        for (;;) {
            if (at_ >= s.size() || !IsIdentStart(static_cast<unsigned char>(s[at_])))
                Fail(static_cast<int>(at_) + 1, "a field name expected in the path");
            while (at_ < s.size() && IsIdentChar(static_cast<unsigned char>(s[at_])))
                ++at_;
            if (at_ < s.size() && s[at_] == '.')
                ++at_;
            else
                break;
        }
        tok_ = {TTok::Path, view(), tok_.pos};
        return;
    }
    static constexpr std::string_view two[] = {"<>", "<=", ">="};
    for (auto t : two)
        if (std::string_view(s).substr(at_, 2) == t) {
            at_ += 2;
            tok_ = {TTok::Symbol, view(), tok_.pos};
            return;
        }
    if (std::string_view("()[],+-*/=<>").find(static_cast<char>(c)) != std::string_view::npos) {
        ++at_;
        tok_ = {TTok::Symbol, view(), tok_.pos};
        return;
    }
    Fail(tok_.pos, "unexpected character \"" + std::string(1, static_cast<char>(c)) + "\"");
}

void TParser::Compile(std::string_view text, const TPXETypeCallback& typeOf)
{
    nodes_.clear();
    identifiers_.clear();
    root_ = nullptr;
    text_ = std::make_unique<std::string>(text);
    typeOf_ = &typeOf;
    at_ = 0;
    try {
        Next();
        if (tok_.kind == TTok::End)
            Fail(1, "the expression is empty");
        IPXENode* root = ParseOr(0);
        if (tok_.kind != TTok::End)
            Fail(tok_.pos, "unexpected \"" + std::string(tok_.text) + "\"");
        root_ = root;
    } catch (...) {
        nodes_.clear();
        identifiers_.clear();
        typeOf_ = nullptr;
        throw;
    }
    typeOf_ = nullptr;
}

IPXENode* TParser::Binary(TOp op, const TToken& at, IPXENode* l, IPXENode* r)
{
    int type = pdtBoolean;
    switch (op) {
        case TOp::Add:
        case TOp::Sub:
        case TOp::Mul:
        case TOp::Div: {
            const int a = l->GetDataType(), b = r->GetDataType();
            if (op == TOp::Add && a == pdtString && b == pdtString)
                type = pdtString;
            else if (op != TOp::Div && a == pdtInteger && b == pdtInteger)
                type = pdtInteger;
            else
                type = pdtFloat;
            break;
        }
        default:
            break;
    }
    return Make<TBinaryNode>(op, type, at.text, at.pos, l, r);
}

IPXENode* TParser::ParseOperand(TLevel level, int depth)
{
    switch (level) {
        case TLevel::Or:
            return ParseLevel(TLevel::And, depth);
        case TLevel::And:
            return ParseNot(depth);
        case TLevel::Add:
            return ParseLevel(TLevel::Mul, depth);
        default:
            return ParseUnary(depth);
    }
}

bool TParser::LevelOperator(TLevel level, TOp& op) const
{
    switch (level) {
        case TLevel::Or:
            op = TOp::Or;
            return IsKeyword("or");
        case TLevel::And:
            op = TOp::And;
            return IsKeyword("and");
        case TLevel::Add:
            op = IsSymbol("+") ? TOp::Add : TOp::Sub;
            return IsSymbol("+") || IsSymbol("-");
        default:
            op = IsSymbol("*") ? TOp::Mul : TOp::Div;
            return IsSymbol("*") || IsSymbol("/");
    }
}

IPXENode* TParser::ParseLevel(TLevel level, int depth)
{
    if (depth > kMaxDepth)
        Fail(tok_.pos, "the expression is nested too deeply");
    IPXENode* l = ParseOperand(level, depth);
    for (TOp op; LevelOperator(level, op);) {
        const TToken at = tok_;
        Next();
        l = Binary(op, at, l, ParseOperand(level, depth));
    }
    return l;
}

IPXENode* TParser::ParseNot(int depth)
{
    if (IsKeyword("not")) {
        const TToken at = tok_;
        Next();
        if (depth > kMaxDepth)
            Fail(at.pos, "the expression is nested too deeply");
        return Make<TUnaryNode>(TOp::Not, pdtBoolean, at.text, at.pos, ParseNot(depth + 1));
    }
    return ParseCompare(depth);
}

IPXENode* TParser::ParseCompare(int depth)
{
    IPXENode* l = ParseLevel(TLevel::Add, depth);
    static constexpr std::pair<std::string_view, TOp> cmp[] = {{"=", TOp::Eq},  {"<>", TOp::Ne}, {"<", TOp::Lt},
                                                               {"<=", TOp::Le}, {">", TOp::Gt},  {">=", TOp::Ge}};
    for (const auto& [sym, op] : cmp)
        if (IsSymbol(sym)) {
            const TToken at = tok_;
            Next();
            return Binary(op, at, l, ParseLevel(TLevel::Add, depth));
        }
    if (IsKeyword("in")) {
        const TToken at = tok_;
        Next();
        const TToken open = tok_;
        Expect("[");
        std::vector<IPXENode*> items;
        if (!IsSymbol("]")) {
            items.push_back(ParseOr(depth + 1));
            while (IsSymbol(",")) {
                Next();
                items.push_back(ParseOr(depth + 1));
            }
        }
        Expect("]");
        static const TFnDef& list = kFns[static_cast<int>(TFn::List)];
        IPXENode* r = Make<TFuncNode>(list, pdtNull, std::string_view(list.info.name), open.pos, std::move(items));
        return Binary(TOp::In, at, l, r);
    }
    return l;
}

IPXENode* TParser::ParseUnary(int depth)
{
    if (IsSymbol("-") || IsSymbol("+")) {
        const TToken at = tok_;
        Next();
        if (depth > kMaxDepth)
            Fail(at.pos, "the expression is nested too deeply");
        IPXENode* operand = ParseUnary(depth + 1);
        const int type = operand->GetDataType() == pdtInteger ? pdtInteger : pdtFloat;
        return Make<TUnaryNode>(at.text == "-" ? TOp::Neg : TOp::Plus, type, at.text, at.pos, operand);
    }
    return ParsePrimary(depth);
}

IPXENode* TParser::ParsePrimary(int depth)
{
    const TToken t = tok_;
    switch (t.kind) {
        case TTok::Number: {
            Next();
            const bool isFloat = t.text.find_first_of(".eE") != std::string_view::npos;
            std::int64_t i = 0;
            auto [ptr, ec] = std::from_chars(t.text.data(), t.text.data() + t.text.size(), i);
            auto* node = Make<TConstNode>(pdtInteger, t.text, t.pos);
            if (!isFloat && ec == std::errc() && ptr == t.text.data() + t.text.size() &&
                static_cast<double>(i) < kExactIntegerLimit) {
                node->Slot().SetAsInteger(i);
            } else {
                double d = 0;
                auto [p2, ec2] = std::from_chars(t.text.data(), t.text.data() + t.text.size(), d);
                if (ec2 != std::errc() || p2 != t.text.data() + t.text.size())
                    Fail(t.pos, "\"" + std::string(t.text) + "\" is not a number");
                node = Make<TConstNode>(pdtFloat, t.text, t.pos);
                node->Slot().SetAsFloat(d);
            }
            return node;
        }
        case TTok::Text: {
            Next();
            std::string value;
            for (size_t k = 1; k + 1 < t.text.size(); ++k) {
                value += t.text[k];
                if (t.text[k] == '\'')
                    ++k;  // a doubled quote stands for one
            }
            auto* node = Make<TConstNode>(pdtString, t.text, t.pos);
            node->Slot().SetAsString(value);
            return node;
        }
        case TTok::Ident:
        case TTok::Path: {
            Next();
            if (t.kind == TTok::Ident) {
                if (SameText(t.text, "True") || SameText(t.text, "False")) {
                    auto* node = Make<TConstNode>(pdtBoolean, t.text, t.pos);
                    node->Slot().SetAsBoolean(SameText(t.text, "True"));
                    return node;
                }
                for (std::string_view kw : {"and", "or", "not", "in"})
                    if (SameText(t.text, kw))
                        Fail(t.pos, "unexpected \"" + std::string(t.text) + "\"");
                if (IsSymbol("("))
                    return ParseFunction(t, depth);
                if (const TFnDef* fn = FindFunction(t.text); fn && fn->info.argCount == 0)
                    return Make<TFuncNode>(*fn, pdtFloat, t.text, t.pos, std::vector<IPXENode*>{});
            }
            std::vector<std::string_view> path;
            std::string_view rest = t.kind == TTok::Path ? t.text.substr(1) : t.text;
            for (size_t dot; (dot = rest.find('.')) != std::string_view::npos; rest = rest.substr(dot + 1))
                path.push_back(rest.substr(0, dot));
            path.push_back(rest);
            int type = (typeOf_ && *typeOf_) ? (*typeOf_)(t.text) : 0;
            if (type <= 0)
                type = pdtInteger;
            auto* node = Make<TIdentNode>(this, type, t.text, t.pos, std::move(path));
            identifiers_.push_back(node);
            return node;
        }
        case TTok::Symbol:
            if (t.text == "(") {
                Next();
                IPXENode* inner = ParseOr(depth + 1);
                Expect(")");
                return inner;
            }
            Fail(t.pos, "unexpected \"" + std::string(t.text) + "\"");
        case TTok::End:
        default:
            Fail(t.pos, "the expression ends too early");
    }
}

IPXENode* TParser::ParseFunction(const TToken& name, int depth)
{
    const TFnDef* fn = FindFunction(name.text);
    if (!fn)
        Fail(name.pos, "unknown function \"" + std::string(name.text) + "\"");
    Expect("(");
    std::vector<IPXENode*> args;
    if (!IsSymbol(")")) {
        args.push_back(ParseOr(depth + 1));
        while (IsSymbol(",")) {
            Next();
            args.push_back(ParseOr(depth + 1));
        }
    }
    Expect(")");
    if (static_cast<int>(args.size()) != fn->info.argCount)
        Fail(name.pos, std::string(fn->info.name) + " takes " + std::to_string(fn->info.argCount) +
                           " argument(s), not " + std::to_string(args.size()));
    int type = pdtFloat;
    if (fn->fn == TFn::SameText)
        type = pdtBoolean;
    else if (fn->fn == TFn::IIF)
        type = args[1]->GetDataType() == args[2]->GetDataType() ? args[1]->GetDataType() : pdtFloat;
    return Make<TFuncNode>(*fn, type, name.text, name.pos, std::move(args));
}

class TRDXEngine final : public TInterfacedObject, public IRDXEngine {
public:
    Ref<IPXEParser> CreateParser() const override { return Ref<IPXEParser>(new TParser); }
};

}  // namespace

IRDXEngine* RDXEngine(std::string_view name)
{
    static const Ref<TRDXEngine> engine(new TRDXEngine);
    return name.empty() ? engine.get() : nullptr;
}
