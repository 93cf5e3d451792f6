// Plan polygons (one ring with line and arc edges) and polygon sets.
//
// Rings are closed implicitly (no repeated first vertex). In a set, outer rings run
// counter-clockwise (SignArea > 0) and holes clockwise; a clockwise ring is a hole. Areas,
// perimeters and lengths of arc edges are exact. A set item is a plain polygon, a rectangle
// (centre, half sizes, angle) or a circle (two arc vertices of kind 3, kind 4 for a hole).
#pragma once

#include <memory>
#include <vector>

#include "Host/VRM/Geometry2d/VRMLine2d.h"

enum class TVRMPolygonKind { Polygon, Rectangle, Circle };

class TVRMPolygon2d {
public:
    TVRMPolygon2d() = default;
    explicit TVRMPolygon2d(std::vector<TVRMVertex2d> vertices) : vertices_(std::move(vertices)) {}
    explicit TVRMPolygon2d(const std::vector<TVRMPoint2d>& points);

    // The ring between two lines: first line, its end to the second's end, the second line back,
    // its start to the first's start; turned counter-clockwise.
    static TVRMPolygon2d CreateBetweenLines(const TVRMCustomLine2d& first, const TVRMCustomLine2d& second);
    // The band along a line from leftWidth on its left to rightWidth on its right (a negative width
    // crosses the line). Vertex order start-right, end-right, end-left, start-left; arcs give arc edges.
    static TVRMPolygon2d CreateBand(const TVRMCustomLine2d& line, double leftWidth, double rightWidth);
    // Circle item: counter-clockwise, or clockwise when it is a hole.
    static TVRMPolygon2d CreateCircle(const TVRMPoint2d& center, double radius, bool hole = false);

    std::vector<TVRMVertex2d>& Vertices() noexcept
    {
        normalized_ = false;
        return vertices_;
    }
    const std::vector<TVRMVertex2d>& Vertices() const noexcept { return vertices_; }
    int GetCount() const noexcept { return static_cast<int>(vertices_.size()); }
    const TVRMVertex2d& GetVertex(int index) const;
    void Add(const TVRMPoint2d& p)
    {
        normalized_ = false;
        vertices_.push_back({p});
    }
    void Add(const TVRMVertex2d& v)
    {
        normalized_ = false;
        vertices_.push_back(v);
    }
    void Clear() noexcept;

    // Edge i runs from vertex i to vertex i+1 (the last one back to vertex 0).
    int GetEdgeCount() const noexcept { return vertices_.size() < 2 ? 0 : static_cast<int>(vertices_.size()); }
    TVRMCustomLine2d GetEdge(int index) const;
    std::vector<TVRMCustomLine2d> GetEdges() const;

    // Signed area: positive for a counter-clockwise ring.
    double SignArea() const noexcept;
    double Area() const noexcept;
    double Perimeter() const noexcept;
    TVRMBox2d Box() const noexcept;
    bool IsClockwise() const noexcept { return SignArea() < 0.0; }
    bool IsHole() const noexcept { return IsClockwise(); }
    // Reverse the direction of travel; arc edges keep their shape.
    void Reverse();
    // Drop repeated vertices (within tol) and vertices on a straight run; false when fewer than
    // three edges or no area remain.
    bool Normalize(double tol = CVRMEpsilon);
    // The same, for a ring whose vertices `first` to `first + count - 1` each stand between the
    // neighbours they had in a ring that Normalize(tol) left as it was (IsNormalized), without arcs:
    // they are looked at again only once a neighbour has gone.
    bool Normalize(double tol, size_t first, size_t count);
    // Normalize(CVRMEpsilon) last left this ring as it is, and it has not changed since (any
    // change, and the mutable vertex list, clear this).
    bool IsNormalized() const noexcept { return normalized_; }

    TVRMPolygonKind ItemKind() const noexcept { return itemKind_; }
    // Four straight edges at right angles; always true for a rectangle item.
    bool IsRectangle(double tol = CVRMEpsilon) const noexcept;
    // All edges arcs of one circle; the radius is taken from edge 0.
    bool IsCircle(double tol = CVRMEpsilon, double* radius = nullptr, TVRMPoint2d* center = nullptr) const;

    void Move(const TVRMVector2d& v) noexcept;

protected:
    std::vector<TVRMVertex2d> vertices_;
    TVRMPolygonKind itemKind_ = TVRMPolygonKind::Polygon;
    bool normalized_ = false;
};

// Rectangle item: counter-clockwise corners c + R(theta)(-a,-b), (a,-b), (a,b), (-a,b).
class TVRMRectangle2d : public TVRMPolygon2d {
public:
    TVRMRectangle2d(const TVRMPoint2d& center, double halfA, double halfB, double angle = 0.0);
};

class TVRMMultiPolygon2d {
public:
    TVRMMultiPolygon2d() = default;
    static std::unique_ptr<TVRMMultiPolygon2d> Create() { return std::make_unique<TVRMMultiPolygon2d>(); }
    std::unique_ptr<TVRMMultiPolygon2d> Clone() const { return std::make_unique<TVRMMultiPolygon2d>(*this); }

    std::vector<TVRMPolygon2d>& Items() noexcept { return items_; }
    const std::vector<TVRMPolygon2d>& Items() const noexcept { return items_; }
    int GetCount() const noexcept { return static_cast<int>(items_.size()); }
    bool IsEmpty() const noexcept { return items_.empty(); }
    TVRMPolygon2d& GetItems(int index);
    const TVRMPolygon2d& GetItems(int index) const;
    void Add(const TVRMPolygon2d& polygon) { items_.push_back(polygon); }
    void Add(TVRMPolygon2d&& polygon) { items_.push_back(std::move(polygon)); }
    void Add(const TVRMMultiPolygon2d& set);
    void Delete(int index);
    void Clear() noexcept { items_.clear(); }
    // An outer ring reports itself as not a hole.
    bool IsHole(int index) const;

    int GetEdgeCount() const noexcept;
    double SignArea() const noexcept;
    double Area() const noexcept;  // abs(SignArea): outer rings minus holes
    double Perimeter() const noexcept;
    TVRMBox2d Box() const noexcept;
    // Clean every ring and drop rings without area. A clockwise ring that lies in no outer ring is
    // turned counter-clockwise (an outer ring given the wrong way round).
    void Normalize(double tol = CVRMEpsilon);
    // One ring that is a rectangle / a circle.
    bool IsRectangle(double tol = CVRMEpsilon) const noexcept;
    bool IsCircle(double tol = CVRMEpsilon, double* radius = nullptr) const;
    void Move(const TVRMVector2d& v) noexcept;

private:
    std::vector<TVRMPolygon2d> items_;
};
