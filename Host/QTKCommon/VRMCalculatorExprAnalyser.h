// Analysers that turn geometry into the measured parts and formula texts of
// calculation expressions.
//
// Parts (TVRMExprInfo3dRecord), sizes in mm:
//   kind 1  rectangular face: first size x second size (first / second direction along them)
//   kind 2  any other face: its area
//   kind 3  box: first size (length) x second size (width) x third size (height along the axis)
//   kind 4  right prism: first size = section area (mm2), third size = height along the axis
//   kind 5  a term of two sizes written by a rule: first size x second size
// Part texts print each size in metres rounded to 4 decimals with a label:
// "3<长度>*2.8<宽度>", "1.5<面积>", "0.24<长度>*0.3<宽度>*3<高度>", "0.0707<面积>*3<高度>".
// Polygon and perimeter formula texts carry no labels: "3.6*0.24+Pi*0.5*0.5-1*1",
// "(3.6+0.24)*2", "2*Pi*0.5"; a ring that is neither a rectangle nor a circle has
// no area formula, a ring with arc edges (other than a circle) no perimeter formula.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"

class TVRMPolyhedron3d;
class TVRMPolyhedronShell3d;

struct TVRMExprInfo3dRecord {
    uint8_t kind = 0;
    double firstSize = 0.0;
    double secondSize = 0.0;
    double thirdSize = 0.0;
    TVRMVector3d firstDir;     // unit vector of the first size
    TVRMVector3d secondDir;    // unit vector of the second size
    TVRMVector3d normal;       // face normal (faces) or axis (solids, pointing up when not horizontal)
    double orientation = 0.0;  // vertical component of the normal / axis
    double quantity = 0.0;     // area (mm2) of a face part, volume (mm3) of a solid part
};
using TVRMExprInfo3dArray = std::vector<TVRMExprInfo3dRecord>;

class TVRMShellInfoAnalyser {
public:
    // One part per face, the faces of the second shell (may be nil) after those
    // of the first; an empty shell gives no parts.
    static TVRMExprInfo3dArray Analyse(const TVRMPolyhedronShell3d& shell,
                                       const TVRMPolyhedronShell3d* second = nullptr);
};

class TVRMColumnInfoAnalyser {
public:
    // The solid as one box (kind 3) or right prism (kind 4); no parts for any
    // other solid. preferVertical: a vertical axis is tried first.
    static TVRMExprInfo3dArray Analyse(const TVRMPolyhedron3d& solid, bool preferVertical = true);
};

class TVRMPoly2dAnalyser {
public:
    // Area formula of a polygon set (outer rings added, holes subtracted);
    // false when a ring has none. decimals < 0: 4.
    static bool ParseMultiPolygonToString(const TVRMMultiPolygon2d& set, std::string& text, int decimals = 4);
    static bool ParsePolygonToString(const TVRMPolygon2d& polygon, std::string& text, int decimals = 4);
};

class TVRMPerimeterParamExpr {
public:
    // Perimeter formula of all rings of a set; false when a ring has none.
    static bool ParseMultiPolyPerimeterToString(const TVRMMultiPolygon2d& set, std::string& text, int decimals = 4);
};

// mm2 -> m2 (unrounded).
inline double ConvertM2Value(double mm2) noexcept
{
    return mm2 * 1e-6;
}
