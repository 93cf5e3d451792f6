// The brick mould of a strip foundation unit: brick formwork of a given
// thickness around the unit's plan outline, trimmed to a band along the unit.
#pragma once

#include <memory>

class TVRMCustomLine2d;
class TVRMMultiPolygon2d;
class TVRMPolyhedron3d;

class TQTKStripUnitBrickMoldBuilder {
public:
    // The ring between the plan outline and the outline grown by Thickness,
    // from Bottom up by Height; nil when there is nothing to build.
    static std::unique_ptr<TVRMPolyhedron3d> BuildOneBrickMold(double thickness, double height,
                                                               const TVRMMultiPolygon2d& plan, double bottom);
    // Keeps the part of Mould within HalfWidth of Line on either side, the
    // band prolonged by Reach beyond each end of the line.
    static void TrimToBand(TVRMPolyhedron3d& mould, const TVRMCustomLine2d& line, double halfWidth, double reach);
};
