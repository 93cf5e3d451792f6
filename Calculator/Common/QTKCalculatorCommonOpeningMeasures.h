// Measures of openings that hole-size limits and finish rules share: the
// opening's outline area, the length of its edges inside a finish face, and
// the depth of its sill and reveals. The reveal routines return a depth or a
// length; the rules multiply them and write the area expression themselves.
//
// Opening types: 4 door, 5 window, 6 door-window, 7 opening, 8 ribbon window,
// 9 ribbon opening, 13 alcove. An opening's section on a wall is its outline
// in the wall's elevation plane (x along the wall's line, y elevation).
// Lengths are mm, areas mm².
#pragma once

#include <memory>

#include "Host/RDX/RDXIntf.h"

class TVRMLinearCalcContr;
class TVRMMultiPolygon2d;

// The area a hole-size limit is compared with: a ribbon window or ribbon
// opening's section on its own wall, any other element's shape polygon (an
// opening's outline in its wall plane). 0 without either.
double GetOpeningOutlineArea(IRDXRecord* opening);
// A new calculator over the edges of the opening's section on the host (nil:
// the opening's own wall). Unless AllEdges, the straight edges lying on the
// section's lowest elevation (the sill line) are left out. Nil when the
// opening has no section there.
std::unique_ptr<TVRMLinearCalcContr> BuildOpeningEdgeCalc(IRDXRecord* opening, IRDXRecord* host, bool allEdges);
// Length of the opening's edges on the finish's host inside Polygon; the sill
// edge counts only where the opening stands above the floor (a ribbon opening
// whose start or end bottom is above the floor's structural elevation, any
// other opening with a non-zero "AboveFloorHeight").
double GetHollowSideLength(IRDXRecord* opening, IRDXRecord* finish, const TVRMMultiPolygon2d* polygon);
// The same with the sill edge counted as AllEdges says.
double GetOpeningEdgeLengthIn(IRDXRecord* opening, IRDXRecord* finish, const TVRMMultiPolygon2d* polygon,
                              bool allEdges);
// Depth of the sill under an opening that a floor finish of the room horizon
// adds (the caller multiplies it by the opening's length): the wall's
// "Thickness" less the opening's "FrameThickness" when one room horizon of
// that type lies at the opening's bottom, else measured from the wall's side
// line in the room to the opening's line. 0 when the opening is not related
// to the room horizon or has no wall.
double GetHoleBottomArea(IRDXRecord* opening, IRDXRecord* roomHorizon);
// Depth of the reveal beside an opening that the finish adds (Block: the
// block layer, else plastering): 0 unless the opening lies on the finish's
// face side; a wall-face finish on the wall of an opening whose frame object
// is not set: 0 outside, the wall's "Thickness" plus the finish's layer
// inside; otherwise the distance of the opening's line from the finish's
// host side line (a ribbon window less half its "FrameThickness", 0 when the
// frame is nearer than that) plus the finish's layer.
double GetHoleSideArea(IRDXRecord* opening, IRDXRecord* finish, bool block);
// Length of the ribbon opening's reveal edges on the finish's host inside
// Polygon: the ends shared with a neighbouring ribbon opening count only
// above and below the neighbour, the sill only where it stands above the
// finish and outside a slab. WithDado: the dados of the finish's host with the
// finish's "EDOPID" are taken out first. WithSkirt, Flag1 and Flag2 are kept
// for the callers and change nothing.
double GetFinishHoleSideArea(IRDXRecord* opening, IRDXRecord* finish, const TVRMMultiPolygon2d* polygon, bool withDado,
                             bool withSkirt, bool block, bool flag1, bool flag2);
// The reveal area of the opening within the skirt: skirt "Height" x the
// number of the opening's ends lying inside the skirt's line x the reveal depth.
double GetSkirtHoleSideArea(IRDXRecord* skirt, IRDXRecord* opening, bool block);
