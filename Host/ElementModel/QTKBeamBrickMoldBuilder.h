// The brick mould of a beam: brick walls of a given thickness standing
// against both sides of the beam, from its bottom to its top.
#pragma once

#include <memory>
#include <vector>

class TVRMCustomLine2d;
class TVRMPolyhedron3d;

// Left and Right are the beam's side lines, both running the beam's way; each
// wall lies on the outer side of its line, its bottom and top interpolated
// from the start to the end values. The solids are the left wall then the
// right one; none for a thickness or a height without volume.
std::vector<std::unique_ptr<TVRMPolyhedron3d>> BuildBeamBrickMoldPolyHedron(const TVRMCustomLine2d& left,
                                                                            const TVRMCustomLine2d& right,
                                                                            double thickness, double startBottom,
                                                                            double startTop, double endBottom,
                                                                            double endTop);
