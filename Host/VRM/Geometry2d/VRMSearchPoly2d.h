// Region search over plan lines: the closed regions that a set of lines (wall centre lines, unit
// section edges) encloses.
//
// Each line (straight or arc) carries an index, an optional band beside it (a width to its left and
// one to its right, or a wall's thickness and axis offset) and a flag. The search runs along the
// middle line of each band (the line itself when it has no width). Lines are split at every crossing
// and touching point (within the tolerance); pieces that bound no region (dangling ends, stubs,
// bridges between closed groups) are left out. With AutoClose (TVRMSmartSearchPolyEx2d) an open end
// is first joined to the nearest other line whose band it reaches (distance from the end to that
// line at most the sum of the two half widths): a straight line is extended to it when its
// extension meets it within that reach, otherwise a closing edge runs to the nearest point of it.
//
// Results are deterministic: regions ordered by their start vertex (lowest y, then lowest x, then
// the direction of the first edge), each ring starting there, outer rings counter-clockwise. Every
// edge reports the index and flag of the line it lies on (-1 and 0 for a closing edge); arcs stay
// arcs. Areas are exact.
#pragma once

#include <memory>
#include <vector>

#include "Host/VRM/Geometry2d/VRMPolygon2d.h"

// One ring of a found region: edge i lies on the line with index edgeIndexes[i] (-1: closing edge).
struct TVRMSearchRing2d {
    TVRMPolygon2d ring;
    std::vector<int> edgeIndexes;
    std::vector<int> edgeFlags;
};

struct TVRMSearchRegion2d {
    TVRMSearchRing2d outer;               // counter-clockwise
    std::vector<TVRMSearchRing2d> holes;  // clockwise: closed groups of lines standing inside the region
    // Indexes of the lines that form the region, ascending, without repeats and without -1: the lines
    // of its rings (FindPolys), every line of its closed group (FindBigPolys).
    std::vector<int> lineIndexes;

    // The outer ring and its holes as a polygon set.
    TVRMMultiPolygon2d ToMultiPolygon() const;
    double Area() const;
};

class TVRMSearchPoly2d {
public:
    explicit TVRMSearchPoly2d(double tol = CVRMEpsilon);
    virtual ~TVRMSearchPoly2d();
    TVRMSearchPoly2d(const TVRMSearchPoly2d&) = delete;
    TVRMSearchPoly2d& operator=(const TVRMSearchPoly2d&) = delete;

    // A line without width.
    void AddLine(const TVRMCustomLine2d& line, int index = -1, int flag = 0);
    // A line with a band of leftWidth on its left and rightWidth on its right.
    void AddLine(const TVRMCustomLine2d& line, int index, double leftWidth, double rightWidth, int flag = 0);
    // A wall line: thickness, and axis offset = distance from the left face to the line.
    void AddWall(const TVRMCustomLine2d& line, int index, double thickness, double axisOffset, int flag = 0);
    // Every edge of a ring, each with the same index and flag.
    void AddPolygon(const TVRMPolygon2d& ring, int index = -1, int flag = 0);
    int GetLineCount() const noexcept;
    void Clear();

    // The bounded regions of the arrangement (its faces), with holes where a closed group stands inside.
    const std::vector<TVRMSearchRegion2d>& FindPolys();
    // The outer boundary of each closed group of lines (no holes).
    const std::vector<TVRMSearchRegion2d>& FindBigPolys();

protected:
    void SetAutoCloseMode(bool on);

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};

// The search with gap closing: AutoClose joins open ends to the lines their bands reach.
class TVRMSmartSearchPolyEx2d : public TVRMSearchPoly2d {
public:
    explicit TVRMSmartSearchPolyEx2d(double tol = CVRMEpsilon, bool autoClose = true) : TVRMSearchPoly2d(tol)
    {
        SetAutoClose(autoClose);
    }
    void SetAutoClose(bool on) { SetAutoCloseMode(on); }
};
