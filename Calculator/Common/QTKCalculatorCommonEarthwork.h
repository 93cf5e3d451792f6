// Earthwork measures shared by the excavation, ditch and pit rules and the
// backfills that follow them: how an earthwork was deducted from another (so
// that its backfill knows which solid to subtract), the width of a ditch's
// earth layer, the slope factor of an earthwork element and the edge-by-edge
// offset of plan outlines by slope widths.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "Host/RDX/RDXIntf.h"

class IQTKCalculatorEDO;
class IQTKElementDrawObj;
class TVRMMultiPolygon2d;

// Deduction mode applied between two earthwork kinds (excavation, ditch, pit),
// kept by (subject kind, object kind). The deduction rules store the mode they
// applied; the backfill volumes read it to choose the solid they subtract.
// Entries are single bytes read and written without a lock.
class TQTKEarthStrategyList {
public:
    // All modes 0.
    TQTKEarthStrategyList() = default;
    TQTKEarthStrategyList(const TQTKEarthStrategyList&) = delete;
    TQTKEarthStrategyList& operator=(const TQTKEarthStrategyList&) = delete;

    void Clear() noexcept;
    // 0 excavation (types 40, 43, 87), 1 ditch (41, 44, 88), 2 pit (42, 45,
    // 89); -1 for every other type.
    static int IndexOfEarthKind(int elementTypeId) noexcept;
    // Nothing changes when either type is not an earthwork kind.
    void SetDeductMode(int subjectType, int objectType, std::uint8_t mode) noexcept;
    // 1 when either type is not an earthwork kind; 0 for a pair never set.
    std::uint8_t GetDeductMode(int subjectType, int objectType) const noexcept;

private:
    std::array<std::array<std::atomic<std::uint8_t>, 3>, 3> modes_{};
};

// The library's one list, made on first use. It lives for one calculation
// session: the first request after a session starts finds it cleared.
TQTKEarthStrategyList& GetEarthStrategyList();

// Width of layer Layer (0 ordinary earth, 1 wet earth, any other the frozen
// earth) of the ditch earth behind Record: its "BottomWidth", the two working
// faces when the ditch has them, and, when it slopes, "LeftSlopeFactor" and
// "RightSlopeFactor" times a depth. The depths run from the ditch bottom
// upward: layer 0 from 0 to the cut depth, layer 1 on to the cut plus the wet
// depth, the frozen layer on by the frozen depth. AtLowerDepth True gives the
// width at the layer's lower depth (layer 0: the bottom width), False at its
// upper depth. A record without an earthwork object is an assertion failure.
double GetDitchEarthLayerWidth(IRDXRecord* record, int layer, bool atLowerDepth);

// For an excavation, ditch or pit object that slopes: its largest slope factor
// and True. Otherwise Factor 0 and False.
bool GetEdoSlopeFactor(IQTKCalculatorEDO* edo, double& factor);
// The largest slope factor of an earthwork, backfill or backfill unit; 0 when
// the element (for a unit, its backfill) does not slope, or has no earthwork
// object. Other element types take GetMaxSlopeFactor. Always True.
bool GetEarthSlopeFactor(IRDXRecord* record, double& factor);
// The largest slope factor of the element, never below 0: over the edges of
// the outline's first ring of an excavation or pit kind (an edge without slope
// information takes the element's "SlopeFactor"), the larger of
// "LeftSlopeFactor" and "RightSlopeFactor" of a ditch kind. Any other type is
// an assertion failure.
double GetMaxSlopeFactor(IRDXRecord* record);
// The element's "SlopeFactor", 0 when it has none (or for a nil object).
double GetDrawObjSlopeFactor(const IQTKElementDrawObj* drawObj);

// A new polygon set: each ring moved outward edge by edge, the widths taken in
// order over all rings' edges (0 past the end of Widths); a ring that cannot
// be moved is copied.
std::unique_ptr<TVRMMultiPolygon2d> OffsetPolygonEdges(const TVRMMultiPolygon2d& polygon,
                                                       const std::vector<double>& widths);
double GetOffsetPolygonArea(const TVRMMultiPolygon2d& polygon, const std::vector<double>& widths);
// OffsetPolygonEdges of the slope bottom outline of a pit or excavation earth
// (empty when the object has none), and its area. A record without a pit or
// excavation object is an assertion failure.
std::unique_ptr<TVRMMultiPolygon2d> GetEarthPolygonOffset(IRDXRecord* record, const std::vector<double>& widths);
double GetEarthPolygonOffsetArea(IRDXRecord* record, const std::vector<double>& widths);
