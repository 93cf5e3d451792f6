// Reflections of plan geometry in an axis line.
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMGeom2dUtils.h"

using namespace VRMGeom2d;

TVRMPoint2d TVRMMirrorFunc2d::Mirror(const TVRMPoint2d& p, const TVRMCustomLine2d& axis)
{
    const TVRMVector2d u = axis.Vector().Normal();
    const TVRMVector2d r = p - axis.StartPt();
    return axis.StartPt() + u * (2.0 * r.InnerProduct(u)) - r;
}

void TVRMMirrorFunc2d::Mirror(TVRMCustomLine2d& line, const TVRMCustomLine2d& axis)
{
    if (axis.Vector().Normal() == TVRMVector2d{})
        return;
    line = TVRMCustomLine2d(Mirror(line.StartPt(), axis), Mirror(line.EndPt(), axis), line.Radius(),
                            FlipArcKind(line.ArcKind()));
}

void TVRMMirrorFunc2d::Mirror(TVRMPolygon2d& polygon, const TVRMCustomLine2d& axis)
{
    if (axis.Vector().Normal() == TVRMVector2d{})
        return;
    for (TVRMVertex2d& v : polygon.Vertices()) {
        v.pt = Mirror(v.pt, axis);
        v.kind = FlipArcKind(v.kind);
    }
    polygon.Reverse();
}

void TVRMMirrorFunc2d::Mirror(TVRMMultiPolygon2d& set, const TVRMCustomLine2d& axis)
{
    for (TVRMPolygon2d& polygon : set.Items())
        Mirror(polygon, axis);
}
