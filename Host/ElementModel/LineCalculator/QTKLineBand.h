// A line element's band in plan: its drawn axis and the three offsets (not part of the public
// interface; shared by the junction-kind and calculator units).
#pragma once

#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"

struct TQTKLineBand {
    IQTKLineEdoInfo* info = nullptr;
    int id = 0;
    TVRMCustomLine2d axis;
    TVRMCustomLine2d centre;
    TVRMCustomLine2d left;
    TVRMCustomLine2d right;
    double width = 0.0;
    double half = 0.0;
    bool valid = false;

    // The band of an info with its own or its actual width; not valid for an axis not longer
    // than the length tolerance or a width that cannot be offset.
    static TQTKLineBand Of(IQTKLineEdoInfo* info, bool actualWidth);
    // Plain offsets of an axis.
    static TQTKLineBand Of(const TVRMCustomLine2d& axis, double width, double axisOffset);

    const TVRMPoint2d& CentreEnd(bool atStart) const noexcept { return atStart ? centre.StartPt() : centre.EndPt(); }
    const TVRMPoint2d& CentreFarEnd(bool atStart) const noexcept { return CentreEnd(!atStart); }
    // Unit tangent pointing away from the element at one end.
    TVRMVector2d Outgoing(bool atStart) const noexcept
    {
        return atStart ? -centre.StartDirection() : centre.EndDirection();
    }
    // Closed drawn band: within half the width of the centre line and within its length.
    bool Contains(const TVRMPoint2d& p, double tol = CVRMEpsilon) const;
};

// Junction kind of two bands (see QTKLineCalculatorImpl.h).
int JunctionKind(const TQTKLineBand& a, const TQTKLineBand& b);
bool IsBandParallel(const TQTKLineBand& a, const TQTKLineBand& b);
TVRMPoint2d BandJunctionPoint(const TQTKLineBand& a, const TQTKLineBand& b);
// Of the crossings of two extended lines, the one nearest to a point; false when none.
bool NearestExtIntersect(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, const TVRMPoint2d& near,
                         TVRMPoint2d& point);
// How far a line must be extended at one end to leave every non-parallel neighbour past its far
// face, side lines of half width h included: max of w / |sin a| + h * |cot a| over the neighbours
// (a the angle between the line and the neighbour's centre line where they cross, at least 5
// degrees); 0 without such a neighbour.
double ReachPastNeighbours(const TVRMCustomLine2d& line, bool atStart, double half,
                           const std::vector<TQTKLineBand>& neighbours);

// Remember the extension lengths of a calculated middle line for CalcLineEDOExtendLength.
void RegisterLineExtension(const TVRMCustomLine2d& mid, const TQTKLineBand& owner, double startExt, double endExt,
                           int elementType);
