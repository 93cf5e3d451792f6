// Solids and shells of line elements swept along their lines between two
// cut lines (line beddings and other elements whose section the plain prism
// between side lines does not give).
#pragma once

#include <memory>
#include <vector>

class IQTKElementDrawObj;
class TVRMCustomLine2d;
class TVRMMultiPolygon2d;
class TVRMPolyhedron3d;
class TVRMPolyhedronShell3d;

// The solid of a line element between the cut lines: the solid builder's
// prism between them where it applies; otherwise the element's section swept
// along its line lengthened by its extension lengths (its reference point, on
// the line at the top elevation, "AxisOffset" right of the section's left
// edge at its top) and trimmed to the region between the cut lines. Empty for
// a line without length or a section without area.
std::unique_ptr<TVRMPolyhedron3d> BuildLineEntSweptSolid(const IQTKElementDrawObj* drawObj,
                                                         const TVRMCustomLine2d& cut1, const TVRMCustomLine2d& cut2);
// The faces that the section lines (in the section frame: x across, y up)
// sweep along the element's line lengthened as above, placed by Section (the
// element's own section when nil) and trimmed to the region between the cut
// lines (a face standing on a cut line stays); each faces to the right of its
// section line. Empty for a line without length or a section without area.
std::unique_ptr<TVRMPolyhedronShell3d> BuildLineEntSweptShell(const IQTKElementDrawObj* drawObj,
                                                              const std::vector<TVRMCustomLine2d>& sectionLines,
                                                              const TVRMCustomLine2d& cut1,
                                                              const TVRMMultiPolygon2d* section,
                                                              const TVRMCustomLine2d& cut2);
