// Solids that wall and beam rules take from one another: the part of a
// neighbour left after its own prior elements were removed, the part of a
// solid inside a band beside a line, prisms along a line piece and the
// halves of a solid at a line's side.
#pragma once

#include <memory>
#include <vector>

#include "Host/RDX/RDXIntf.h"

class TQTKSolidCalc3d;
class TVRMCustomLine2d;
class TVRMOverhighSolidCalc3d;
class TVRMPolyhedron3d;
struct TVRMPoint2d;

// Subtracts from the calculator the part solid of the line element (or
// insulating wall unit) behind Record: its solid less the elements it gives
// way to, the original solid shown in the detail. Returns what the calculator
// removed; 0 when the element has no part solid.
double DeductPartSolid(TQTKSolidCalc3d& calc, IRDXRecord* record);
// The same subtraction, for parallel members of equal thickness.
double AddPartSolid(TQTKSolidCalc3d& calc, IRDXRecord* record);
// The same on every piece of an over-height calculator; the weighted volume removed.
double OverhighDeductParallelPart(TVRMOverhighSolidCalc3d& calc, IRDXRecord* record);
double OverhighDeductCrossingPart(TVRMOverhighSolidCalc3d& calc, IRDXRecord* record);

// The part of Solid inside the band of width Width beside Line (on its right
// when RightSide, else on its left), the line first lengthened at both ends by
// its extension length; the band reaches 100 mm below and above the solid. An
// arc whose radius is at most Width and whose band side faces its centre
// gives the sector under the arc instead. Empty when nothing lies inside.
std::unique_ptr<TVRMPolyhedron3d> CutSolidByLineBand(const TVRMPolyhedron3d& solid, const TVRMCustomLine2d& line,
                                                     bool rightSide, double width);
// The rest: Solid less that band (all of it without a band).
std::unique_ptr<TVRMPolyhedron3d> CutLineBandFromSolid(const TVRMPolyhedron3d& solid, const TVRMCustomLine2d& line,
                                                       bool rightSide, double width);

// A prism along the line piece from P1 to P2, the beam's "SectionWidth" wide
// and centred on the piece, from the beam shape's bottom to its top elevation
// at P1 and at P2. Empty for a beam without a line shape.
std::unique_ptr<TVRMPolyhedron3d> BuildBeamSidePrism(IRDXRecord* beam, const TVRMPoint2d& p1,
                                                     const TVRMCustomLine2d& piece, const TVRMPoint2d& p2);

// Cuts the element's original solid by the upright plane through the start
// of its line whose normal is the line's start direction turned a quarter
// turn (clockwise, to the line's right, when ClockwiseNormal). Returns the
// part on the far side from the normal; Second receives the part on the
// normal's side. Both empty for an element without a line of some length or
// without a solid.
std::unique_ptr<TVRMPolyhedron3d> CutSolidAtLineSide(IRDXRecord* record, bool clockwiseNormal,
                                                     std::unique_ptr<TVRMPolyhedron3d>& second);

// The sizes of a prism along a line piece, in the order of the band
// constructor (TVRMPolyhedron3d::CreateBand): its width, the distance from its
// left side to the line, and its bottom and top at the piece's start and end.
struct TQTKPrismValues {
    double width = 0.0;
    double leftOffset = 0.0;
    double startBottom = 0.0, startTop = 0.0, endBottom = 0.0, endTop = 0.0;
};

// The prism along the piece of Line between the second and third of the four
// end points of Segment1 and Segment2 taken to their closest points on Line
// and sorted along it. Empty when that piece has no length.
std::unique_ptr<TVRMPolyhedron3d> BuildPrismFromSegments(const TVRMCustomLine2d& line, const TVRMCustomLine2d& segment1,
                                                         const TVRMCustomLine2d& segment2,
                                                         const TQTKPrismValues& values);
