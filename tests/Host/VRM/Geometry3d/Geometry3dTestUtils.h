// Small solids shared by the 3D geometry tests.
#pragma once

#include <memory>

#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

std::unique_ptr<TVRMPolyhedron3d> Box(double x0, double y0, double z0, double x1, double y1, double z1);
// Vertical prism over plan rings (outer counter-clockwise, holes clockwise) from z0 to z1.
std::unique_ptr<TVRMPolyhedron3d> Prism(const std::vector<std::vector<std::pair<double, double>>>& rings, double z0,
                                        double z1);
