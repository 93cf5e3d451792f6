// Whether two elements belong together before a rule subtracts one from the
// other: an opening in a wall, a wall within a beam's width, a beam on a wall
// face or on a parallel wall, a beam over a flight, a column standing alone.
// Pure functions of the records, their element objects and the host geometry;
// none keeps state.
//
// Side distances are signed, positive to the right of a line's direction; a
// line element's band runs from -AxisOffset (left face) to Width - AxisOffset
// (right face). Lengths are mm; lengths and elevations compare with the
// tolerance 0.0010123456789, lines as parallel with 0.002.
#pragma once

#include "Host/RDX/RDXIntf.h"

class IQTKFaceShape;
class TVRMPlane3d;

// "InnerOuterFlag" is 1; False without the property.
bool HasOuterFlag(IRDXRecord* record);
// A beam on the outside: by its "InnerOuterFlag" where the property is shown
// (its "VisibleFlag" expression holds on the beam); else the parallel walls
// and insulating walls whose solids meet the beam cover more of its middle
// line as outer walls than as inner walls.
bool IsOuterBeamByWalls(IRDXRecord* beam);
// The first related wall or insulating wall parallel to the beam covers at
// least 200 of the beam's line, or all of it.
bool IsBeamOnParallelElement(IRDXRecord* beam);
// The beam is parallel to the wall and its middle line lies half its
// thickness from an external side line of the wall (an insulating wall unit:
// a side that has an inner-side shell). Side: 1 left, 2 right, 3 both; 0 none.
bool IsBeamSideOnWallFace(IRDXRecord* beam, IRDXRecord* wall, int& side);
// A sloping beam over a stair: its slope along a stair outline edge parallel
// to it equals the flight's rise ("Height" - "StepHeight") over that edge.
bool IsBeamOverStairSegment(IRDXRecord* beam, IRDXRecord* stair);
// The first outline edge marked as the flight's edge; -1 when none.
int GetFlightEdgeIndex(const IQTKFaceShape* shape);
// Among B's related elements of A's type, the first one parallel to B that B
// cuts a piece longer than 1 out of and that A relates to decides: B's
// "Thickness" is below its "SectionHeight". True when there is none.
bool IsOnThinnerParallelWall(IRDXRecord* a, IRDXRecord* b);
// A level beam and a level face element share the bottom elevation at the
// start of the beam's line.
bool IsSameBottomElev(IRDXRecord* beam, IRDXRecord* face);
// The wall's band (its "Thickness" about its line, placed by its
// "AxisOffset", a wall part's by its wall's) lies within the beam's band
// ("SectionWidth", "AxisOffset"); the lines must be parallel.
bool IsWallWithinBeamWidth(IRDXRecord* beam, IRDXRecord* wall);
// The planes coincide (within 1.0123456789e-5) and their unit normals agree
// (within 0.0010123456789): coincident planes facing opposite ways differ.
bool IsSamePlane(const TVRMPlane3d& a, const TVRMPlane3d& b);
// Exactly one related element of the type has its "TopElev" within 10 of the
// record's box bottom (type 33, room horizon) or top (other types).
bool HasOneRelatedAtTopElev(IRDXRecord* record, int elementTypeId);
// The opening belongs to the wall: a ribbon window or ribbon opening (types
// 8, 9) runs parallel to the wall and its band lies within the wall's band;
// any other opening's host wall is parallel to the wall.
bool IsOpeningInWall(IRDXRecord* wall, IRDXRecord* opening);
// The opening does not stand in a slab: ribbon windows and openings (8, 9)
// and alcoves (13) are False when their bottom lies within the thickness of
// a related non-floor slab (19, 20), ribbon ones also within a room horizon
// (33) at their bottom; doors, windows, door-windows and openings (4-7) are
// False; any other element True.
bool IsOpeningOutsideSlab(IRDXRecord* opening);
// The wall, insulating wall or parapet (0, 1, 69) among the opening's related
// elements whose line is parallel to the opening's; the last such one in
// related-list order. False and Wall nil when there is none.
bool FindOpeningWall(IRDXRecord* opening, RecordRef& wall);
// The opening lies on the side of the finish's host that the finish covers
// (the opening's host is the finish's, or its band reaches that side).
bool IsOpeningOnFaceSide(IRDXRecord* finish, IRDXRecord* opening);
// Doors, windows, door-windows and openings (4-7): their host wall is
// parallel to the line element (False without one); ribbon windows and
// openings (8, 9): they are; any other element: True.
bool IsHoleOnLineEnt(IRDXRecord* lineEnt, IRDXRecord* hole);
// No related wall, insulating wall or parapet (0, 1, 69) meets the column
// with its middle line crossing the column's outline.
bool IsAloneColumn(IRDXRecord* column);
// No related wall, insulating wall or parapet meets the column on height at
// the elevation (at a floor when AtFloor, else at a ceiling).
bool IsIndependentColumn(IRDXRecord* column, bool atFloor, double elevation);
// Equal element type ids.
bool IsSameElementType(IRDXRecord* a, IRDXRecord* b);
