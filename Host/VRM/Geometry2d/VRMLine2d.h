// Plan lines: a straight segment or a circular arc as one value type, polylines and line lists.
//
// An arc is kept as its two end points, its radius and its kind (the sweep kind of a polygon's arc
// vertex): 1 counter-clockwise with a sweep below pi, 2 clockwise below pi, 3 counter-clockwise of
// pi or more, 4 clockwise of pi or more. Its centre follows from the chord, the radius and the kind;
// an arc whose radius is shorter than half the chord (beyond the length tolerance) is invalid and is
// measured as its chord. Lengths along an arc are arc lengths.
#pragma once

#include <vector>

#include "Host/VRM/Geometry2d/VRMPoint2d.h"

inline constexpr int CVRMArcKindNone = 0;
inline constexpr int CVRMArcKindCCW = 1;       // counter-clockwise, sweep < pi
inline constexpr int CVRMArcKindCW = 2;        // clockwise, sweep < pi
inline constexpr int CVRMArcKindCCWMajor = 3;  // counter-clockwise, sweep >= pi
inline constexpr int CVRMArcKindCWMajor = 4;   // clockwise, sweep >= pi

// Kind of an arc of the given turning sense and (positive) sweep.
int GetSweepArcKind(bool clockwise, double sweep) noexcept;
inline bool IsClockwiseArcKind(int kind) noexcept
{
    return kind == CVRMArcKindCW || kind == CVRMArcKindCWMajor;
}

// Circle data of a valid arc: centre, positive sweep, turning sense (+1 counter-clockwise, -1
// clockwise) and the angle of the start point seen from the centre.
struct TVRMArcData {
    bool valid = false;
    TVRMPoint2d center;
    double sweep = 0.0;
    double sense = 1.0;
    double startAngle = 0.0;
};

class TVRMCustomLine2d {
public:
    TVRMCustomLine2d() = default;
    // Straight segment.
    TVRMCustomLine2d(const TVRMPoint2d& startPt, const TVRMPoint2d& endPt) : start_(startPt), end_(endPt) {}
    // Arc of the given radius and kind; kind 0 or a radius <= 0 gives a straight segment.
    TVRMCustomLine2d(const TVRMPoint2d& startPt, const TVRMPoint2d& endPt, double radius, int kind);
    // Arc around a centre from a start angle by a signed sweep (positive: counter-clockwise).
    static TVRMCustomLine2d ArcByCenter(const TVRMPoint2d& center, double radius, double startAngle, double sweep);

    const TVRMPoint2d& StartPt() const noexcept { return start_; }
    const TVRMPoint2d& EndPt() const noexcept { return end_; }
    // Set the end points exactly; an arc keeps its radius and kind.
    void SetStartPt(const TVRMPoint2d& p) noexcept { start_ = p; }
    void SetEndPt(const TVRMPoint2d& p) noexcept { end_ = p; }

    bool IsArc() const noexcept { return kind_ != CVRMArcKindNone; }
    double Radius() const noexcept { return radius_; }
    int ArcKind() const noexcept { return kind_; }
    bool IsClockwise() const noexcept { return IsClockwiseArcKind(kind_); }
    // A straight line is valid with a length above zero; an arc when its radius reaches half the chord.
    bool IsValidaty(double tol = CVRMEpsilon) const noexcept;
    // Circle data; not valid for a straight line or an invalid arc.
    TVRMArcData GetArcData() const noexcept;
    // Centre of an arc; false for a straight line or an invalid arc.
    bool CenterPt(TVRMPoint2d& center) const noexcept;
    // Positive sweep angle of an arc (0 for a straight line).
    double Sweep() const noexcept;
    // Angles of the end points seen from the centre, in [0, 2pi), and the turning sense.
    bool StartAndEndAngle(double& startAngle, double& endAngle, bool& clockwise) const noexcept;

    double Length() const noexcept;
    TVRMVector2d Vector() const noexcept { return end_ - start_; }  // chord vector
    TVRMBox2d Box() const noexcept;
    void Reverse() noexcept;
    TVRMCustomLine2d Reversed() const noexcept
    {
        TVRMCustomLine2d r = *this;
        r.Reverse();
        return r;
    }
    // Unit direction of travel at a length from the start (arcs: the tangent there).
    TVRMVector2d DirectionAt(double length) const noexcept;
    // Unit tangent at the foot of a point.
    TVRMVector2d TangentAt(const TVRMPoint2d& p) const noexcept;
    TVRMVector2d StartDirection() const noexcept { return DirectionAt(0.0); }
    TVRMVector2d EndDirection() const noexcept { return DirectionAt(Length()); }
    // Point at a length from the start; beyond the ends the line (the circle) is continued.
    TVRMPoint2d PointAtLength(double length) const noexcept;
    TVRMPoint2d MiddlePoint() const noexcept { return PointAtLength(Length() / 2.0); }
    // Signed position of a point's foot from the start; may be negative or beyond the length.
    double LengthAtPoint(const TVRMPoint2d& p) const noexcept;
    // Move the start back / the end forward along the line by d (negative shortens).
    void ExtendBack(double d) noexcept;
    void ExtendForward(double d) noexcept;
    // The piece between two lengths from the start (either may lie outside 0..Length: extension).
    TVRMCustomLine2d SubLine(double fromLength, double toLength) const noexcept;
    void Move(const TVRMVector2d& v) noexcept
    {
        start_ = start_ + v;
        end_ = end_ + v;
    }

private:
    TVRMPoint2d start_;
    TVRMPoint2d end_;
    double radius_ = 0.0;
    int kind_ = CVRMArcKindNone;
};

// Straight segment and arc: construction helpers of the one line type (no data of their own).
class TVRMLine2d : public TVRMCustomLine2d {
public:
    using TVRMCustomLine2d::TVRMCustomLine2d;
    TVRMLine2d(const TVRMCustomLine2d& line) : TVRMCustomLine2d(line) {}
};

class TVRMArc2d : public TVRMCustomLine2d {
public:
    TVRMArc2d() = default;
    TVRMArc2d(const TVRMPoint2d& startPt, const TVRMPoint2d& endPt, double radius, int kind)
        : TVRMCustomLine2d(startPt, endPt, radius, kind)
    {
    }
    TVRMArc2d(const TVRMCustomLine2d& line) : TVRMCustomLine2d(line) {}
    // Arc through three points (start, a point on it, end); a straight segment when they are collinear.
    static TVRMCustomLine2d ArcBy3Points(const TVRMPoint2d& startPt, const TVRMPoint2d& midPt,
                                         const TVRMPoint2d& endPt);
    // The other arc of the same circle between the same end points, same direction of travel.
    static TVRMCustomLine2d ArcInverse(const TVRMCustomLine2d& arc);
};

// A vertex of a polyline or a polygon ring; with arc data the edge from this vertex to the next is an arc.
struct TVRMVertex2d {
    TVRMPoint2d pt;
    double radius = 0.0;
    int kind = CVRMArcKindNone;

    bool IsArc() const noexcept { return kind != CVRMArcKindNone && radius > 0.0; }
    friend bool operator==(const TVRMVertex2d&, const TVRMVertex2d&) = default;
};

// Open polyline with line and arc vertices.
class TVRMLines2d {
public:
    TVRMLines2d() = default;
    explicit TVRMLines2d(std::vector<TVRMVertex2d> vertices) : vertices_(std::move(vertices)) {}
    // From consecutive lines (each line's start is taken; the last line's end closes the list).
    static TVRMLines2d FromLines(const std::vector<TVRMCustomLine2d>& lines);

    std::vector<TVRMVertex2d>& Vertices() noexcept { return vertices_; }
    const std::vector<TVRMVertex2d>& Vertices() const noexcept { return vertices_; }
    int GetCount() const noexcept { return static_cast<int>(vertices_.size()); }
    void Add(const TVRMPoint2d& p) { vertices_.push_back({p}); }
    void Add(const TVRMVertex2d& v) { vertices_.push_back(v); }
    int GetEdgeCount() const noexcept { return vertices_.size() < 2 ? 0 : static_cast<int>(vertices_.size()) - 1; }
    TVRMCustomLine2d GetEdge(int index) const;
    std::vector<TVRMCustomLine2d> GetLines() const;
    double Length() const noexcept;
    TVRMBox2d Box() const noexcept;
    void Reverse();

private:
    std::vector<TVRMVertex2d> vertices_;
};

// A list of separate lines.
class TVRMSeg2dList {
public:
    std::vector<TVRMCustomLine2d>& Items() noexcept { return items_; }
    const std::vector<TVRMCustomLine2d>& Items() const noexcept { return items_; }
    int GetCount() const noexcept { return static_cast<int>(items_.size()); }
    const TVRMCustomLine2d& GetItems(int index) const;
    void Add(const TVRMCustomLine2d& line) { items_.push_back(line); }
    void Clear() noexcept { items_.clear(); }
    double GetTotalLength() const noexcept;

private:
    std::vector<TVRMCustomLine2d> items_;
};
