// Up to which elevation a wall or beam is measured for its over-height parts
// and scaffolds when slabs rest on it: the underside of those slabs rather
// than the element's own top.
//
// Crossing modes (how a sloped slab's elevation is read where the element
// crosses it): 0 at the middle between the first and the last crossing, 1
// the higher, 2 the lower, 3 the mean of the elevations there; any other
// mode is an assertion failure. Top modes (the element's own top from its
// "StartPtTopElev" and "EndPtTopElev"): 0 and 3 the mean, 2 the lower, any
// other the higher. Elevations are mm.
#pragma once

#include "Host/RDX/RDXIntf.h"

class TVRMCustomLine2d;

// The surface elevation of the face element where the line element runs
// under it, by crossing mode. The crossings are the ends of the pieces of the
// element's middle line inside the face's outline (a line wholly inside: its
// own ends); without any, of its left line, then of its right line (an
// insulating wall unit's lines come from the unit object). -infinity when no
// line meets the outline.
double GetFaceElevAtLineCrossing(IRDXRecord* lineEnt, IRDXRecord* face, int crossingMode);
// The same with the middle line only.
double GetFaceElevAtMidLineCrossing(IRDXRecord* lineEnt, IRDXRecord* face, int crossingMode);

// The element's top by top mode.
double GetWallTopByMode(IRDXRecord* record, int topMode);

// The wall's scaffold height to the slab bottoms over Line: starting from the
// wall's highest top, the underside of the first related slab that lies at or
// above the wall's lowest bottom replaces it, later ones raise it. A sloped or
// level face slab (type 19) is read at the wall's middle line, a slab of type
// 20 ("TopElev" less "Thickness") counts where Line runs under it.
double GetScaffoldHeightToSlabBottom(IRDXRecord* wall, const TVRMCustomLine2d& line, int crossingMode);
// As GetScaffoldHeightToSlabBottom over the related slabs that rest on the
// wall's top and overlap its outline; the wall's top by mode when no slab is
// related to it.
double GetWallTopUnderSlab(IRDXRecord* wall, int crossingMode, int topMode);
// The least underside of the slabs resting on the wall that together cover
// its whole outline (level slabs on a level wall, sloped ones on a sloping
// wall); the wall's top by mode when they do not cover it or there are none.
double GetWallOverhighTopElev(IRDXRecord* wall, int crossingMode, int topMode);
// Whether the element's left line (else its right line) crosses the face's
// outline at exactly two points at least 500 mm apart.
bool IsWallCrossingFace(IRDXRecord* lineEnt, IRDXRecord* face);
// The highest slab surface over the beam (or wall) among the slabs resting on
// it that overlap it or run across it, less the largest thickness among the
// slabs at that surface; its top by mode without such slabs.
double GetBeamOverhighTopElev(IRDXRecord* element, int crossingMode, int topMode);
