// Expression items of over-height quantities: the pieces of an over-height
// shell or solid calculator, each measured into parts (one shell or solid
// item per part) or, when a piece cannot be split, one value item. The
// over-height rules call the class methods after filling their calculator;
// an expression never makes a quantity fail, so every exception raised while
// the items are built is dropped (the items added before it stay).
#pragma once

#include "Host/QTKCommon/VRMCalculatorExprAnalyser.h"
#include "Host/RDX/RDXIntf.h"

class TVRMOverhighShellCalc3d;
class TVRMOverhighSolidCalc3d;

// The over-height calculator a rule hands over: a shell or a solid one (or none).
struct TQTKOverhighCalcRef {
    TQTKOverhighCalcRef() = default;
    TQTKOverhighCalcRef(const TVRMOverhighShellCalc3d* calc) : shell(calc) {}
    TQTKOverhighCalcRef(const TVRMOverhighSolidCalc3d* calc) : solid(calc) {}
    const TVRMOverhighShellCalc3d* shell = nullptr;
    const TVRMOverhighSolidCalc3d* solid = nullptr;
};

class TQTKOverhighExprHandler {
public:
    // Reads "OverHighPartitionMethod" of the element kind's settings through
    // the rule context (-1 without a context or for another kind).
    TQTKOverhighExprHandler(IRDXRecord* record, const TableSourceRef& ruleContext, TQTKOverhighCalcRef calc);

    // In expression mode: empties the record's expression container and adds
    // the items of the calculator's pieces.
    static void BuildOverhighExpr(IRDXRecord* record, const TableSourceRef& ruleContext, TQTKOverhighCalcRef calc);
    static void BuildOverhighSideFormboardExpr(IRDXRecord* record, const TableSourceRef& ruleContext,
                                               TQTKOverhighCalcRef calc);
    // The same without emptying the container, every piece as a plain value
    // (the indent ratio of a tie column).
    static void BuildIndentingOverhighExpr(IRDXRecord* record, const TableSourceRef& ruleContext, double indentRatio,
                                           TQTKOverhighCalcRef calc);
    // A value item (printed unconverted, mark 0) of the record's current quantity.
    static void AddOverhighValueItem(IRDXRecord* record, double value, double factor);

    void BuildOverhighItems();
    int GetPieceCount() const;
    bool IsCalcEmpty() const;
    // Parts of piece Index; with none, Value holds the piece's quantity (divided by its factor).
    void GetPieceParts(int index, TVRMExprInfo3dArray& parts, double& value, double& factor) const;
    void AddPartItems(const TVRMExprInfo3dArray& parts, double factor);
    // A gradient beam's prism part as a box of its middle-line length, width and mean height.
    void AdjustGradientBeamPart(TVRMExprInfo3dRecord& part) const;

    int GetElementType() const noexcept { return elementType_; }
    int GetPartitionMethod() const noexcept { return partitionMethod_; }

    // Test hook: called with the message of each exception the class methods drop.
    using TExceptionObserver = void (*)(const char* message);
    static void SetExceptionObserver(TExceptionObserver observer) noexcept;

private:
    static void Build(IRDXRecord* record, const TableSourceRef& ruleContext, TQTKOverhighCalcRef calc, bool clear,
                      double indentRatio);

    int elementType_ = -1;
    int partitionMethod_ = -1;
    TQTKOverhighCalcRef calc_;
    RecordRef record_;
    double indentRatio_ = 0.0;
};
