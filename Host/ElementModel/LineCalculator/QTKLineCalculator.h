// Middle-line calculators: the middle, left and right lines of a line element joined to the
// line elements that meet it at its ends.
//
// Every calculator returns the element's own centre, left and right lines (offsets of its
// drawn axis) cut at each end by one straight cut line:
// - a free end keeps its drawn end (a square or radial cut);
// - a collinear continuation is cut square at the contact;
// - two equal elements meeting at an L are mitred (inner side lines meet at the inner corner,
//   outer ones at the outer corner);
// - an element giving way stops at the near face of the one it gives way to (at its centre
//   line for TQTKMidlineCalculator); the element taking precedence reaches the other's far
//   face; an element running through a junction is never cut, nor are crossing elements;
// - at a node of three or more ends, losers are cut first, then a collinear pair runs through
//   and the rest stop at it, else the most open equal pair mitres and the rest stop at it.
// Precedence of a pair: the priority callback, then the bottom-level and top-level callbacks at
// the junction point (a positive result means the first argument takes precedence); all zero:
// equal, and an element stemming into another gives way.
#pragma once

#include <functional>

#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"

using TQTKLinePriorityFunc = std::function<int(IQTKLineEdoInfo* a, IQTKLineEdoInfo* b)>;
using TQTKLineLevelFunc = std::function<int(IQTKLineEdoInfo* a, IQTKLineEdoInfo* b, const TVRMPoint2d& point)>;

// What a calculator is made with. The element (self) and its provider are the same element
// object; the calculator only reads them and the neighbours the provider lists.
struct TLineCalcArgs {
    IQTKLineEdoInfo* self = nullptr;
    IQTKLineEdoInfoProvider* provider = nullptr;
    TQTKLinePriorityFunc priority;  // nil counts as 0
    TQTKLineLevelFunc topLevel;
    TQTKLineLevelFunc bottomLevel;
    bool attachMode = false;   // neighbours from the same-kind lists
    bool actualWidth = false;  // widths and axis offsets with insulating layers
    int key = 0;               // self's draw-object index key for the connected-id info; 0: self's id
    int elementType = -1;      // self's element type, for extension-length owners; -1 unknown
};

class TQTKLineCalculator {
public:
    explicit TQTKLineCalculator(TLineCalcArgs args) : args_(std::move(args)) {}
    virtual ~TQTKLineCalculator() = default;

    // The joined lines and the neighbours that took part at each end (a new info).
    void Calculate(TVRMCustomLine2d& mid, TVRMCustomLine2d& left, TVRMCustomLine2d& right,
                   Ref<IQTKConnectedEdoIDInfo>& info);
    // Plain offsets of the drawn axis at both ends; the connected-id info as Calculate gives it.
    void AxisCalculate(TVRMCustomLine2d& mid, TVRMCustomLine2d& left, TVRMCustomLine2d& right,
                       Ref<IQTKConnectedEdoIDInfo>& info);

protected:
    enum class TLoserStop { NearFace, CentreLine };
    TQTKLineCalculator(TLineCalcArgs args, TLoserStop loserStop, bool materialOnly)
        : args_(std::move(args)), loserStop_(loserStop), materialOnly_(materialOnly)
    {
    }

private:
    void Run(bool joined, TVRMCustomLine2d& mid, TVRMCustomLine2d& left, TVRMCustomLine2d& right,
             Ref<IQTKConnectedEdoIDInfo>& info);

    TLineCalcArgs args_;
    TLoserStop loserStop_ = TLoserStop::NearFace;
    bool materialOnly_ = false;
};

// Losers stop at the winner's centre line (beams, parapets, copings, beddings and the like;
// the deduction rules remove the overlap).
class TQTKMidlineCalculator : public TQTKLineCalculator {
public:
    explicit TQTKMidlineCalculator(TLineCalcArgs args)
        : TQTKLineCalculator(std::move(args), TLoserStop::CentreLine, false)
    {
    }
};

// Losers stop at the winner's near face: the lines bound the element's actual body.
class TQTKActualMiddleCalculator : public TQTKLineCalculator {
public:
    explicit TQTKActualMiddleCalculator(TLineCalcArgs args)
        : TQTKLineCalculator(std::move(args), TLoserStop::NearFace, false)
    {
    }

protected:
    TQTKActualMiddleCalculator(TLineCalcArgs args, bool materialOnly)
        : TQTKLineCalculator(std::move(args), TLoserStop::NearFace, materialOnly)
    {
    }
};

// As the actual-middle calculator, except that a priority of 2 asked from the calculated
// element's side (a wall measured by its material only) makes the pair equal, with no level
// comparison.
class TQTKActualMiddleCalculatorOnlyMaterialCalculator : public TQTKActualMiddleCalculator {
public:
    explicit TQTKActualMiddleCalculatorOnlyMaterialCalculator(TLineCalcArgs args)
        : TQTKActualMiddleCalculator(std::move(args), true)
    {
    }
};

// The face lines of elements attached to line elements (finishes, scaffolds): the
// actual-middle geometry, usually with the same-kind lists and, for the lines with insulating
// layers, the actual widths.
class TQTKAttachWallfaceZEntMiddleCalculator : public TQTKActualMiddleCalculator {
public:
    using TQTKActualMiddleCalculator::TQTKActualMiddleCalculator;
};

// Extension lengths of a line into the elements connected at its ends (positive lengthens).
// The owner is the element whose calculated middle line has the line's end points, else the
// calculated elements of that type (any when -1) whose drawn band holds the line's middle point
// and whose axis is parallel (several: the largest lengths). Without an owner, the calculated
// elements of that type whose band holds an end are the neighbours there. An end without a
// neighbour gets 0; at a connected end the length reaches the far face of every non-parallel
// neighbour n: w_n / |sin a| + h * |cot a| (a the angle between the two centre lines, at least 5
// degrees; h the owner's half width, else the largest neighbour's).
void CalcLineEDOExtendLength(const TVRMCustomLine2d& line, double& endExt, double& startExt, int elementType = -1);
// Forget every calculated element (before a model is loaded again).
void ClearLineExtendRegistry();
