// Elevation comparisons and relation tests of line, point and face elements, on their draw
// objects' shapes. Two elevation ranges "meet" when they overlap by more than the length
// tolerance; where a test takes touch flags, ranges that only touch meet too when the second
// element touches the first one's top (touchTop) or bottom (touchBottom). Plan meeting: the two
// shape outlines are not apart (touching counts). Elements without the shape a test needs do
// not meet.
#pragma once

#include "Host/VRM/Geometry2d/VRMPoint2d.h"

class IRDXRecord;
class IQTKElementDrawObj;
class IQTKFaceShape;

// -1, 0 or 1: the top (bottom) elevations of two line elements at a plan point, each taken
// linearly along its axis and continued past its ends; 0 when either is not a line element.
int CompareLineTopElevLevel(const IQTKElementDrawObj* a, const IQTKElementDrawObj* b, const TVRMPoint2d& point);
int CompareLineBottomElevLevel(const IQTKElementDrawObj* a, const IQTKElementDrawObj* b, const TVRMPoint2d& point);

// Two line elements overlap in elevation by at least minOverlap where their centre lines meet
// (the junction point).
bool IsLineEntAndLineEntIntByLength(IRDXRecord* a, IRDXRecord* b, double minOverlap);
// The same, and their plans meet.
bool IsLineEntAndLineEntInt(IRDXRecord* a, IRDXRecord* b, double minOverlap);
// A line element and a point element (column) meet in plan and overlap in elevation by at least
// minOverlap at the point element's insertion point.
bool IsLineEntAndPointEntInt(IRDXRecord* line, IRDXRecord* point, double minOverlap);
// A line element meets a point element in plan and stands at an elevation there: at a floor
// (atFloor) it reaches from at or below the elevation to above it; at a ceiling from below it up
// to at least the elevation.
bool IsLineEntAndPointEntIntOnHeight(IRDXRecord* line, IRDXRecord* point, bool atFloor, double elevation);
// A point element meets a line / face element (at its insertion point).
bool IsPointEntAndLineEntInt(IRDXRecord* point, IRDXRecord* line, bool touchTop, bool touchBottom);
bool IsPointEntAndFaceEntInt(IRDXRecord* point, IRDXRecord* face, bool touchTop, bool touchBottom);
// A face element meets a line element (where the line's axis lies on the face).
bool IsFaceEntAndLineEntInt(IRDXRecord* face, IRDXRecord* line, bool touchTop, bool touchBottom);
// Line element b stands on a's position: their plans overlap (more than touching) and their
// heights meet where a's axis runs over b (a wall continued by the wall above it, a beam resting
// on a wall).
bool IsLineEntOnPosition(IRDXRecord* a, IRDXRecord* b, bool touchTop, bool touchBottom);
// A slab rests on the element's top: where the element lies under the slab, its top is within
// the slab's thickness (from the slab's bottom to its surface).
bool IsSlabOnWallTop(IRDXRecord* element, IRDXRecord* slab);
// Two face shapes have the same surface: the same elevation kind and the same elevations at every
// vertex of both outlines.
bool IsSameFaceElevInfo(const IQTKFaceShape* a, const IQTKFaceShape* b);
