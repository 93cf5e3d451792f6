// Junction kinds and end meetings of line elements, on their drawn geometry.
//
// The junction kind of two line elements A and B (IntersectShape) is one of the codes below
// (the low 7 bits of the result; bit 7 is always 0). "In-start" means the start of A's axis lies in
// B's drawn band, "through" that A crosses B's band with both ends outside on opposite sides.
//   0   no contact
//   1   L at A's start (also a parallel end-to-end continuation)        undecided
//   2   L at A's end                                                    undecided
//   3   A lies with both ends in B's band, B ends in A's band           undecided
//   4   parallel overlap, A wider                                       B gives way
//   5   T, A's start in B's band, B through                             A gives way
//   6   T, A's end in B's band, B through                               A gives way
//   7   T, B ends in A's band, A through                                B gives way
//   8   crossing, A narrower                                            A gives way
//   9   crossing, equal widths                                          undecided
//   10  crossing, A wider                                               B gives way
//   11  A inside B's band, B through                                    A gives way
//   12  parallel overlap, A narrower                                    A gives way
//   13  corner where A runs a little past B near A's start              B gives way
//   14  the same near A's end                                           B gives way
//   15  parallel overlap, equal widths                                  greater index key gives way
// Swapping the arguments gives the mirrored code: 1, 2, 3 -> 1, 2 or 3; 5, 6 -> 7, 13 or 14;
// 7 -> 5 or 6; 8 <-> 10; 9 -> 9; 11 -> 7; 12 <-> 4; 13, 14 -> 5 or 6; 15 -> 15.
#pragma once

#include <cstdint>

#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"

// Bits of the ends of the first element that a junction kind concerns.
inline constexpr int CQTKJunctionAtStart = 1;
inline constexpr int CQTKJunctionAtEnd = 2;

// The junction kind of A and B from their drawn axes, widths and axis offsets, masked.
uint8_t IntersectShape(IQTKLineEdoInfo* a, IQTKLineEdoInfo* b, uint8_t mask = 127);
// The ends of the first element a junction kind concerns (CQTKJunctionAtStart/AtEnd bits).
int GetJunctionKindPlace(int kind) noexcept;

// Whether B meets A at A's start (atStart) or end: the junction kind concerns that end of A,
// or B overlaps A in parallel and that end of A lies in B's band. endFlag / startFlag tell
// whether B's end / start is at the same meeting (a search for every element meeting at a
// node continues through those ends).
bool IsIntersect(IQTKLineEdoInfo* a, bool atStart, IQTKLineEdoInfo* b, bool& endFlag, bool& startFlag);
bool IsIntersect(IQTKLineEdoInfo* a, bool atStart, IQTKLineEdoInfo* b);

// The members of a list whose drawn band contains the point (closed), in list order.
TQTKLineEdoInfoArray GetConnectedEdos(const TQTKLineEdoInfoArray& infos, const TVRMPoint2d& point);

// The point where two line elements meet: the crossing of their centre lines (of two
// crossings, the one nearer to both bands); the mean of their middle points when the centre
// lines do not cross or overlap.
TVRMPoint2d GetJunctionPoint(IQTKLineEdoInfo* a, IQTKLineEdoInfo* b);
