// The profiles of arched line elements (arched lintels) in the vertical plane
// of their axis, and the short line across the element that sweeps such a
// profile into the element's solid.
//
// The profile's x runs along the axis from its start, y is the elevation
// above the element's top at its ends. The element keeps its section height
// vertically: the intrados rises by the arch height over its chord and the
// extrados is the intrados raised by the section height, so the arch carries
// as much section as a straight element of the same length. One arch spans
// the whole axis with its crown at the middle; a half arch rises from the
// axis's start to its crown at the axis's end (level there).
//
// The sweep line stands square to the axis at its start, from the right face
// to the left face: swept along it (CreateSweep, reference (0, 0)) the
// profile's x falls along the axis.
#pragma once

struct TQTKLineSectionInfo;
class TVRMCustomLine2d;
class TVRMMultiPolygon2d;

// False, leaving the outputs alone, for an arc axis, an axis or section
// without length, or an arch height that is not positive.
bool GetLineOneArchSectionPolyAndExtendLine(const TVRMCustomLine2d& axis, const TQTKLineSectionInfo& info,
                                            double sectionHeight, double width, double axisOffset,
                                            TVRMMultiPolygon2d& section, TVRMCustomLine2d& extendLine);
bool GetLineHalfArchSectionPolyAndExtendLine(const TVRMCustomLine2d& axis, const TQTKLineSectionInfo& info,
                                             double sectionHeight, double width, double axisOffset,
                                             TVRMMultiPolygon2d& section, TVRMCustomLine2d& extendLine);

// Length of an arch of an arch record (five integers, mm): the circular arc
// over the chord from position Start to position End along the element's
// axis, rising by Rise at its crown (a rise of half the chord is a
// semicircle; no rise, the chord). The record's two further values do not
// change a circular arch's length.
double GetArcLength(int start, int end, int rise, int fourth, int fifth);
