// Plan line and outline geometry: arc tests of shapes and lines, the centre
// line of a line element, the part of a box between two lines, a pair of
// side lines moved apart, the outline of a floor's external walls on their
// outer faces, the perimeter of a point element and the slab rise along a
// line.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class IRDXRecord;
class IQTKElementDrawObj;
class TVRMCustomLine2d;
class TVRMLines2d;
class TVRMMultiPolygon2d;
class TVRMPolygon2d;
struct TVRMBox2d;

// Line shape: its line is an arc or its section has an arc; point shape: its
// polygon; face shape: its outline; other shapes: false.
bool ShapeHasArc(const IQTKElementDrawObj* drawObj);
// The record's line shape (required): its line is an arc or its section has an arc vertex.
bool LineElementHasArc(IRDXRecord* record);
// Some polyline has an arc vertex before its last vertex.
bool MultiLinesHasArc(const std::vector<TVRMLines2d>& lines);

// The centre line of a line element: its axis moved to the middle of its
// width ("Thickness", else "SectionWidth"; asserted positive) by "AxisOffset".
TVRMCustomLine2d GetLineEntCenterLine(IRDXRecord* record);

// The line a line element is measured along (owned by its element object or
// shape, not a copy): a line element's calculated middle line, a bedding's
// drawn line, a strip foundation unit's unit line, an insulating wall unit's
// middle line. Any other element is an assertion failure.
const TVRMCustomLine2d* GetLineEntAxisLine(IRDXRecord* record);

TVRMPolygon2d CreatePolygonFromLines(const TVRMCustomLine2d& first, const TVRMCustomLine2d& second);
// The part of a box between two lines (between two arcs: the ring between
// their circles, within the region between them).
std::unique_ptr<TVRMMultiPolygon2d> ClipBoxBetweenLines(const TVRMBox2d& box, const TVRMCustomLine2d& first,
                                                        const TVRMCustomLine2d& second);
// Moves two side lines D apart each, away from each other (A to its left, B to
// its right, for A left of B). D = 0 leaves both untouched; otherwise both are
// replaced. Lines that lie on each other are moved by -D and +D plainly.
void WidenLinePair(std::unique_ptr<TVRMCustomLine2d>& first, std::unique_ptr<TVRMCustomLine2d>& second, double d);
// The floor's external wall loops moved edge by edge onto the walls' outer
// faces (host external-wall information, asserted present).
std::unique_ptr<TVRMMultiPolygon2d> BuildFloorExternalWallOutline(int floorId);
double GetPointElementPerimeter(IRDXRecord* record);
// The free ends of a line element that lie inside the polygon: bit 1 its
// start, bit 2 its end. The free ends are those where its line element object
// meets no connected line element; an element without such an object has none.
std::uint8_t GetLineEndsInPolygon(IRDXRecord* record, const TVRMMultiPolygon2d& polygon);
// The rise of the first related slab's surface between the line's ends; 0
// without a related slab.
double GetSlabRiseAlongLine(IRDXRecord* record, const TVRMCustomLine2d& line);
