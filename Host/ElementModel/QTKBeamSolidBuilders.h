// Solids of arched and haunched beams that a swept section does not give.
//
// Arched beam: along a straight line, each arch part bends the beam in its
// vertical plane over the piece [start, end] of the line (mm from the line's
// start; end -1: to the line's end). The rise is that of the beam's bottom
// (the intrados) over the chord between the bottom points at the part's
// ends, measured square to the chord (positive: up); the beam keeps its
// section height square to the arc, so the part is a ring sector between the
// intrados and a concentric extrados, with radial end faces. Outside its
// parts the beam is the plain band between its top and its top less the
// section height. Each arc is faceted at most 1 degree a step.
//
// Haunches: each haunch record of a beam with both sizes of an end above 0
// gives a triangular prism under the beam's bottom at that end of its drawn
// axis: A along the axis, B down at the end, as wide as the record's haunch
// width (else the beam's width), centred on the beam's centre line.
#pragma once

#include <array>
#include <memory>
#include <vector>

class IQTKElementDrawObj;
class IQTKLineShape;
class TVRMCustomLine2d;
class TVRMPolyhedron3d;

// One arch part: kind (1 first part, 2 second part; 0 none), start and end
// positions along the line (end -1: the line's end), shape kind and the
// signed rise, all in whole mm.
struct TQTKArchPart {
    int kind = 0;
    int start = 0;
    int end = -1;
    int shapeKind = 1;
    int rise = 0;
};

struct TQTKArchBeamInfo {
    int count = 0;  // the description applies only when above 0
    TQTKArchPart first;
    TQTKArchPart second;
};

// The arch description of a line shape's section information: its two arch
// records (kind, start, end, shape kind, rise) where they are marked; else,
// for an arch height above 0, one part over the whole axis rising by it.
TQTKArchBeamInfo GetArchBeamInfo(const IQTKLineShape& shape);

// The arched beam's solid along Line (new, owned by the caller): Width wide
// with AxisOffset from its left face to the line, its top at StartTop and
// EndTop at the line's ends. Nil for an arc line, a description that does
// not apply, or sizes without a solid. Flag is kept for the callers.
std::unique_ptr<TVRMPolyhedron3d> BuildArchBeamPolyhedron(const TVRMCustomLine2d& line, const TQTKArchBeamInfo& info,
                                                          int flag, double width, double axisOffset, int sectionHeight,
                                                          double startTop, double endTop);

class TQTKHaunchedBeamPolyhedronBuilder {
public:
    // The haunch solids of a beam (none without haunch records).
    static void BuildByEdo(const IQTKElementDrawObj* drawObj, std::vector<std::unique_ptr<TVRMPolyhedron3d>>& solids);
    // The same grown by Offset: each triangle offset outwards (mitred) and the
    // width grown by twice the offset.
    static void BuildByOffset(const IQTKElementDrawObj* drawObj, std::vector<std::unique_ptr<TVRMPolyhedron3d>>& solids,
                              double offset);
};
