// Splitting lines against polygon sets (shared by the position, intersection and cut functions;
// not part of the public interface).
#pragma once

#include <vector>

#include "Host/VRM/Geometry2d/VRMFunc2d.h"

// A piece of a line between two consecutive boundary crossings, with the position of its middle
// against the set (0 inside, 1 on the boundary, 2 outside).
struct TVRMSplitPiece {
    TVRMCustomLine2d line;
    int position = 2;
};

// A line cut at the feet of points (pieces not longer than tol are left out); the ends stay exact.
std::vector<TVRMCustomLine2d> SplitLineAt(const TVRMCustomLine2d& line, const std::vector<TVRMPoint2d>& points,
                                          double tol);

// The pieces of a line between its crossings with the set's boundary, in the line's direction;
// pieces not longer than tol are left out.
std::vector<TVRMSplitPiece> SplitLineBySet(const TVRMCustomLine2d& line, const TVRMMultiPolygon2d& set, double tol);

// Consecutive pieces whose positions are selected (bit 1 << position) joined into lines.
void CollectPieces(const std::vector<TVRMSplitPiece>& pieces, int positionMask, std::vector<TVRMCustomLine2d>& result,
                   double tol);

// The region of a set has some width beyond the tolerance (slivers and spikes do not count).
bool HasSubstance(const TVRMMultiPolygon2d& set, double tol);
