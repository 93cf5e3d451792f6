// Composite elements and their units: strip and isolated foundations, pile
// caps, trenches, insulating walls and earth backfills are kept as a parent
// element with unit sub-elements (layers or steps). Lists of the units, a
// unit's line across the composite's axis, the composite's solid as the union
// of its units, and which unit is the bottom or top one.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"

class IQTKLineEdoInfo;

// Unit element types: 81 strip-foundation, 82 isolated-foundation, 83
// pile-cap, 84 trench, 86 insulating-wall and 87-89 earth-backfill units.
bool IsCompositeUnitType(int elementTypeId);
// The unit type of a composite element type; -1 when the type has no units.
int GetCompositeUnitType(int compositeTypeId);

// The unit records among the children of the record's element, in child order.
TRecordList GetCompositeUnitRecords(IRDXRecord* record);
// The same units as their elements (no record look-ups).
std::vector<const IQTKElementDrawObj*> GetCompositeUnitDrawObjs(const IQTKElementDrawObj* drawObj);
// The rows of the record's table whose "CompositeEDOPID" is the record's id.
ViewRef GetCompositeChildRecords(IRDXRecord* record);
// "AxisOffset" plus the least unit "Offset" - unit width / 2 (the units of the
// composite's own unit type); "AxisOffset" alone without such units.
double GetCompositeAxisOffset(const IQTKElementDrawObj* drawObj);
// Width of the unit's section box, and its offset from the composite's least
// offset: compositeOffset - "Offset" + width / 2.
void GetUnitWidthAndOffset(const IQTKElementDrawObj* unit, double& offset, double& width, double compositeOffset);
// The element's line moved by a - b/2 - c + d/2 (composite axis offset and
// width, unit offset and width).
TVRMCustomLine2d OffsetUnitLine(IQTKLineEdoInfo& info, double a, double b, double c, double d);

// The solid of a line element (or, with UseParent, of a unit along its
// composite's line) over a piece of line: with Cut, the part of the line
// between the segment's ends, else the segment itself. The caller owns it.
std::unique_ptr<TVRMPolyhedron3d> BuildLineSegmentSolid(const TVRMCustomLine2d& segment,
                                                        const IQTKElementDrawObj* drawObj, bool useParent, bool cut);
// The level box that BuildLineSegmentSolid sweeps for a strip-foundation
// unit (UseParent and Cut) whose section is an upright rectangle, over a
// straight piece of its composite's level line: the path the section's box
// travels along, centred on it, its half width and its bottom and top
// levels. False for any other element, section, line or a slope.
bool GetStripUnitLevelBox(const TVRMCustomLine2d& segment, const IQTKElementDrawObj* unit, TVRMCustomLine2d& path,
                          double& halfWidth, double& bottom, double& top);
// A unit laid as an upright prism across its composite's band: the plan
// region between two lines (the section's upright edges along the band, at
// the lesser and the greater offset across it, both ended on the composite's
// end edges), between two levels.
struct TQTKUnitPrism {
    const TVRMCustomLine2d* low = nullptr;
    const TVRMCustomLine2d* high = nullptr;
    double lowOffset = 0.0, highOffset = 0.0, bottom = 0.0, top = 0.0;
};
// The union of unit prisms stacked one on another, built face by face with
// whole end faces (what uniting them and merging each end's pieces gives):
// each prism stands on the top of the one below, overlaps it across the band,
// and has neither edge in line with the one below. Faces: bottom, each
// prism's two sides, the steps between two prisms (the up-facing pieces of
// one level in one face, the down-facing ones in another), top, then the
// start end face n-2 and the end end face n-1. Nil when the prisms do not
// stack so.
std::unique_ptr<TVRMPolyhedron3d> BuildStackedUnitPrisms(std::vector<TQTKUnitPrism> prisms);
// Union of the units' solids; an empty solid without units.
std::unique_ptr<TVRMPolyhedron3d> BuildCompositeSolid(const IQTKElementDrawObj* drawObj);
// Union of the pieces Build gives for the units, by ascending record id (as
// the two above unite them); a nil piece is left out.
std::unique_ptr<TVRMPolyhedron3d> UniteCompositeUnits(
    const IQTKElementDrawObj* drawObj,
    const std::function<std::unique_ptr<TVRMPolyhedron3d>(const IQTKElementDrawObj*)>& build);
// Union of the units' solids over a piece of the composite's line.
std::unique_ptr<TVRMPolyhedron3d> BuildCompositeSegmentSolid(const TVRMCustomLine2d& line,
                                                             const IQTKElementDrawObj* drawObj, bool cut);
// The bottom unit of its type in its composite (no sibling of its type lies
// lower; on an equal bottom the lower record id comes first) / the top unit.
bool IsFirstCompositeUnit(const IQTKElementDrawObj* unit);
bool IsLastCompositeUnit(const IQTKElementDrawObj* unit);
// A foundation unit's solid (strip, isolated and pile-cap units) less the
// solids of its related foundation-level elements of a lower material rank;
// nil for other elements. The unit's own solid is unchanged.
std::unique_ptr<TVRMPolyhedron3d> BuildUnitNetSolid(IQTKCalculatorEDO* unit);
// The sub-elements of a parametric element with the given sub-ids, id by id.
std::vector<Ref<IQTKElementDrawObj>> GetParamSubDrawObjsByIds(IRDXRecord* record, const std::vector<int>& ids);
