// A wall's sizes: lengths along its axis, middle and side lines, its height
// and its thickness (mm). Several also put the wall object into the mode its
// later quantities use: measured along the axis or the calculated middle line,
// by one material only, with a given calculation thickness, with a side face
// added to its side-face shell. The object element is not used.
#pragma once

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// The drawn axis line's length; the wall is measured along its axis from now on.
class TQTKWallAxisLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
// The calculated middle line's length; the wall is measured along it from now on.
class TQTKWallMiddleLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
// The mean height of the two ends; 0 below 1 mm.
class TQTKWallHeight final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
// The rounded "Thickness", which becomes the calculation thickness.
class TQTKWallThickness final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
// The rating thickness ("ThicknessModulus" of "QTKWallCalcSettings"), which becomes the calculation thickness.
class TQTKWallRatingThickness final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
// The left (right) side line's length; that side's faces join the side-face shell.
class TQTKWallLeftSideLineLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
class TQTKWallRightSideLineLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
// The length of the side lines that face out.
class TQTKWallExternalSidelineLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
// The material-only middle line's length, walls of concrete or solid brick
// (concrete only) joining as equals; measured along it from now on.
class TQTKWallBrickAndConcreteMiddleLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
class TQTKWallConcreteMiddleLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterWallSizeRules(TStrategyRegistry& registry);
