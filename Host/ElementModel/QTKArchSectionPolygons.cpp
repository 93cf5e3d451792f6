#include "Host/ElementModel/QTKArchSectionPolygons.h"

#include <cmath>

#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

bool CanBuild(const TVRMCustomLine2d& axis, const TQTKLineSectionInfo& info, double sectionHeight, double width)
{
    return !axis.IsArc() && axis.Length() > CVRMEpsilon && sectionHeight > CVRMEpsilon && width > CVRMEpsilon &&
           info.archHeight > CVRMEpsilon;
}

TVRMCustomLine2d AcrossLine(const TVRMCustomLine2d& axis, double width, double axisOffset)
{
    const TVRMVector2d right = axis.Vector().Normal().RotateHalfPi(true);
    const TVRMPoint2d start = axis.StartPt();
    return TVRMCustomLine2d(start + right * (width - axisOffset), start - right * axisOffset);
}

// The band between an intrados arc from (0, -H) to (L, -H + endRise) and the
// same arc raised by H; the arc bulges upwards.
TVRMMultiPolygon2d ArchBand(double length, double height, double radius, double endRise, bool major)
{
    TVRMPolygon2d ring(std::vector<TVRMVertex2d>{
        {{0.0, -height}, radius, major ? CVRMArcKindCWMajor : CVRMArcKindCW},
        {{length, -height + endRise}},
        {{length, endRise}, radius, major ? CVRMArcKindCCWMajor : CVRMArcKindCCW},
        {{0.0, 0.0}},
    });
    TVRMMultiPolygon2d set;
    set.Add(std::move(ring));
    return set;
}

}  // namespace

bool GetLineOneArchSectionPolyAndExtendLine(const TVRMCustomLine2d& axis, const TQTKLineSectionInfo& info,
                                            double sectionHeight, double width, double axisOffset,
                                            TVRMMultiPolygon2d& section, TVRMCustomLine2d& extendLine)
{
    if (!CanBuild(axis, info, sectionHeight, width))
        return false;
    const double length = axis.Length(), half = length / 2.0, rise = info.archHeight;
    const double radius = (half * half + rise * rise) / (2.0 * rise);
    section = ArchBand(length, sectionHeight, radius, 0.0, rise >= half);
    extendLine = AcrossLine(axis, width, axisOffset);
    return true;
}

bool GetLineHalfArchSectionPolyAndExtendLine(const TVRMCustomLine2d& axis, const TQTKLineSectionInfo& info,
                                             double sectionHeight, double width, double axisOffset,
                                             TVRMMultiPolygon2d& section, TVRMCustomLine2d& extendLine)
{
    if (!CanBuild(axis, info, sectionHeight, width))
        return false;
    // Half of an arch spanning twice the axis: the crown at the axis's end.
    const double length = axis.Length(), rise = info.archHeight;
    const double radius = (length * length + rise * rise) / (2.0 * rise);
    section = ArchBand(length, sectionHeight, radius, rise, false);
    extendLine = AcrossLine(axis, width, axisOffset);
    return true;
}

double GetArcLength(int start, int end, int rise, int, int)
{
    const double chord = std::abs(static_cast<double>(end) - start);
    const double height = std::abs(static_cast<double>(rise));
    if (chord <= CVRMEpsilon || height <= CVRMEpsilon)
        return chord;
    // The arc's radius from its chord and rise; the arc subtends four times
    // the angle whose tangent is rise over half the chord.
    const double radius = (chord * chord / 4.0 + height * height) / (2.0 * height);
    return radius * 4.0 * std::atan2(2.0 * height, chord);
}
