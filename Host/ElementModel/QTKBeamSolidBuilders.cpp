#include "Host/ElementModel/QTKBeamSolidBuilders.h"

#include <algorithm>
#include <cmath>

#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

// The widest step of a faceted arch (1 degree).
constexpr double CArchFacetAngle = CVRMPi / 180.0;

// A point of a line's vertical plane: u along the line, z the elevation.
using TProfilePoint = TVRMPoint2d;

// The vertical plane of a straight line, moved sideways to a face: maps
// (u, z) to space and extrudes profiles across the element.
struct TProfileFrame {
    TVRMPoint2d origin;      // on the left face, at the line's start
    TVRMVector2d direction;  // unit, along the line
    TVRMVector2d right;      // unit, to the right of the line

    TProfileFrame(const TVRMCustomLine2d& line, double leftOffset)
        : direction(line.Vector().Normal()), right(direction.RotateHalfPi(true))
    {
        origin = line.StartPt() - right * leftOffset;
    }

    TVRMPoint3d At(const TProfilePoint& p) const
    {
        const TVRMPoint2d plan = origin + direction * p.x;
        return {plan.x, plan.y, p.y};
    }

    // The counter-clockwise profile rings (u right, z up) extruded to the
    // right by Width; empty without rings.
    std::unique_ptr<TVRMPolyhedron3d> Extrude(const TVRMMultiPolygon2d& profile, double width) const
    {
        auto solid = std::make_unique<TVRMPolyhedron3d>();
        const TVRMVector3d normal{right.x, right.y, 0.0};
        for (int i = 0; i < profile.GetCount(); ++i) {
            TVRMLoop3d loop;
            for (const TVRMVertex2d& v : profile.GetItems(i).Vertices())
                loop.push_back(At(v.pt));
            const auto piece = TVRMPolyhedron3d::CreateExtrusion({loop}, normal, normal * width, true);
            for (const TVRMFace3d& face : piece->GetFaces())
                solid->AddFace(face);
        }
        return solid;
    }
};

TVRMPolygon2d Ring(const std::vector<TProfilePoint>& points)
{
    TVRMPolygon2d ring;
    for (const TProfilePoint& p : points)
        ring.Add(p);
    return ring;
}

// Points of a circle from angle a0 to a1 (either way), at most a facet step apart.
void AddArc(std::vector<TProfilePoint>& points, const TProfilePoint& centre, double radius, double a0, double a1)
{
    const int steps = std::max(4, static_cast<int>(std::ceil(std::abs(a1 - a0) / CArchFacetAngle)));
    for (int i = 0; i <= steps; ++i) {
        const double a = a0 + (a1 - a0) * i / steps;
        points.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
    }
}

struct TArchPiece {
    double start = 0.0, end = 0.0, rise = 0.0;
};

// The profile of one arch part: the ring sector between the intrados through
// the bottom points at its ends and the concentric extrados; empty when it
// has no arc.
bool ArchSectorRing(const TProfilePoint& p0, const TProfilePoint& p1, double rise, double height, TVRMPolygon2d& ring)
{
    const TVRMVector2d chord = p1 - p0;
    const double c = chord.Length();
    if (c <= CVRMEpsilon || std::abs(rise) <= CVRMEpsilon)
        return false;
    const TVRMVector2d up = chord.Normal().RotateHalfPi(false);  // left of the chord: up for a chord along +u
    const double r = std::abs(rise);
    const double radius = (c * c / 4.0 + r * r) / (2.0 * r);
    const TProfilePoint middle{(p0.x + p1.x) / 2.0, (p0.y + p1.y) / 2.0};
    const double side = rise > 0.0 ? 1.0 : -1.0;
    const TProfilePoint centre = middle + up * (side * (r - radius));
    const double outer = radius + side * height;  // the body lies above the intrados
    if (outer <= CVRMEpsilon)
        return false;
    const double a0 = std::atan2(p0.y - centre.y, p0.x - centre.x);
    double a1 = std::atan2(p1.y - centre.y, p1.x - centre.x);
    // The intrados runs through the arc's apex: counter-clockwise from p0 for a
    // sagging arch, clockwise for a rising one.
    if (rise > 0.0) {
        while (a1 > a0)
            a1 -= 2.0 * CVRMPi;
    } else {
        while (a1 < a0)
            a1 += 2.0 * CVRMPi;
    }
    std::vector<TProfilePoint> points;
    AddArc(points, centre, radius, a0, a1);
    AddArc(points, centre, outer, a1, a0);
    ring = Ring(points);
    if (ring.IsClockwise())
        ring.Reverse();
    return true;
}

}  // namespace

TQTKArchBeamInfo GetArchBeamInfo(const IQTKLineShape& shape)
{
    const TQTKLineSectionInfo& section = shape.GetSectionInfo();
    TQTKArchBeamInfo info;
    auto part = [](const std::array<int, 5>& values) {
        return TQTKArchPart{values[0], values[1], values[2], values[3], values[4]};
    };
    if (section.firstArch[0] == 1) {
        info.first = part(section.firstArch);
        ++info.count;
    }
    if (section.secondArch[0] == 2) {
        info.second = part(section.secondArch);
        ++info.count;
    }
    if (info.count == 0 && section.archHeight > 0.0) {
        info.first = {1, 0, static_cast<int>(Round(shape.GetLine().Length())), 1,
                      static_cast<int>(Round(section.archHeight))};
        info.count = 1;
    }
    return info;
}

std::unique_ptr<TVRMPolyhedron3d> BuildArchBeamPolyhedron(const TVRMCustomLine2d& line, const TQTKArchBeamInfo& info,
                                                          int /*flag*/, double width, double axisOffset,
                                                          int sectionHeight, double startTop, double endTop)
{
    const double length = line.Length();
    if (line.IsArc() || info.count <= 0 || length <= CVRMEpsilon || width <= CVRMEpsilon || sectionHeight <= 0)
        return nullptr;
    const double height = sectionHeight;
    auto top = [&](double u) { return startTop + (endTop - startTop) * u / length; };
    auto bottomPoint = [&](double u) { return TProfilePoint{u, top(u) - height}; };

    std::vector<TArchPiece> pieces;
    for (const TQTKArchPart* p : {&info.first, &info.second}) {
        if (p->kind != 1 && p->kind != 2)
            continue;
        const double s = std::clamp(static_cast<double>(p->start), 0.0, length);
        const double e = p->end == -1 ? length : std::clamp(static_cast<double>(p->end), 0.0, length);
        if (e - s > CVRMEpsilon)
            pieces.push_back({s, e, static_cast<double>(p->rise)});
    }
    if (pieces.empty())
        return nullptr;
    std::sort(pieces.begin(), pieces.end(), [](const TArchPiece& a, const TArchPiece& b) { return a.start < b.start; });

    TVRMMultiPolygon2d profile;
    double at = 0.0;
    auto addPlain = [&](double u0, double u1) {
        if (u1 - u0 > CVRMEpsilon)
            profile.Add(Ring({bottomPoint(u0), bottomPoint(u1), {u1, top(u1)}, {u0, top(u0)}}));
    };
    for (const TArchPiece& piece : pieces) {
        const double s = std::max(piece.start, at);
        if (piece.end - s <= CVRMEpsilon)
            continue;
        addPlain(at, s);
        TVRMPolygon2d sector;
        if (ArchSectorRing(bottomPoint(s), bottomPoint(piece.end), piece.rise, height, sector))
            profile.Add(sector);
        else
            addPlain(s, piece.end);
        at = piece.end;
    }
    addPlain(at, length);
    const auto merged = TVRMIntersectFunc2d::MergePolygon(profile);
    if (!merged || merged->GetCount() == 0)
        return nullptr;
    auto solid = TProfileFrame(line, axisOffset).Extrude(*merged, width);
    return solid->HasFaces() ? std::move(solid) : nullptr;
}

namespace {

// The triangles of a beam's haunches in the vertical plane of its axis (u
// along the axis, z up), each grown by Offset, with the width of each.
void BuildHaunches(const IQTKElementDrawObj* drawObj, double offset,
                   std::vector<std::unique_ptr<TVRMPolyhedron3d>>& solids)
{
    const auto* owner = dynamic_cast<const IQTKBeamHaunchInfoOwner*>(drawObj);
    const IQTKBeamHaunchInfoList* list = owner ? owner->GetHaunchInfos() : nullptr;
    const auto* shape = drawObj ? dynamic_cast<const IQTKLineShape*>(drawObj->GetShape()) : nullptr;
    if (!list || !shape || shape->GetLine().IsArc())
        return;
    const TVRMCustomLine2d& axis = shape->GetLine();
    const double length = axis.Length();
    if (length <= CVRMEpsilon)
        return;
    const double beamWidth = shape->GetWidth();
    const double centreOffset = beamWidth / 2.0 - shape->GetAxisOffset();  // centre line right of the axis
    auto bottom = [&](double u) {
        return shape->GetStartPtBottomElev() +
               (shape->GetEndPtBottomElev() - shape->GetStartPtBottomElev()) * u / length;
    };
    for (int i = 0; i < list->GetCount(); ++i) {
        const IQTKBeamHaunchInfo* haunch = list->GetItem(i);
        if (!haunch)
            continue;
        const double width = (haunch->GetHaunchWidth() > 0.0 ? haunch->GetHaunchWidth() : beamWidth) + 2.0 * offset;
        // Left face of the haunch, from the axis: the centre line less half its width.
        const TProfileFrame frame(axis, width / 2.0 - centreOffset);
        auto add = [&](double a, double b, bool atStart) {
            if (a <= CVRMEpsilon || b <= CVRMEpsilon)
                return;
            const double u0 = atStart ? 0.0 : length;
            const double u1 = atStart ? std::min(a, length) : std::max(length - a, 0.0);
            TVRMPolygon2d triangle = Ring({{u0, bottom(u0) - b}, {u1, bottom(u1)}, {u0, bottom(u0)}});
            if (triangle.IsClockwise())
                triangle.Reverse();
            if (offset != 0.0) {
                TVRMPolygon2d grown;
                if (!TVRMOffsetFunc2d::Offset(triangle, offset, grown))
                    return;
                triangle = grown;
            }
            TVRMMultiPolygon2d profile;
            profile.Add(triangle);
            auto solid = frame.Extrude(profile, width);
            if (solid->HasFaces())
                solids.push_back(std::move(solid));
        };
        add(haunch->GetStartHaunchA(), haunch->GetStartHaunchB(), true);
        add(haunch->GetEndHaunchA(), haunch->GetEndHaunchB(), false);
    }
}

}  // namespace

void TQTKHaunchedBeamPolyhedronBuilder::BuildByEdo(const IQTKElementDrawObj* drawObj,
                                                   std::vector<std::unique_ptr<TVRMPolyhedron3d>>& solids)
{
    BuildHaunches(drawObj, 0.0, solids);
}

void TQTKHaunchedBeamPolyhedronBuilder::BuildByOffset(const IQTKElementDrawObj* drawObj,
                                                      std::vector<std::unique_ptr<TVRMPolyhedron3d>>& solids,
                                                      double offset)
{
    BuildHaunches(drawObj, offset, solids);
}
