// Sets of 3D line segments measured by length (deduction lines, edges).
#pragma once

#include <vector>

#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

class TVRMCustomLine2d;

class TVRMPolyhedronLines3d {
public:
    struct TEdge {
        TVRMPoint3d start, end;
        int tag = -1;
    };

    void AddEdge(const TVRMPoint3d& start, const TVRMPoint3d& end, int tag = -1);
    // A plan line lifted from its start elevation to its end elevation (an arc by facets).
    void AddLine(const TVRMCustomLine2d& line, double startElevation, double endElevation, int tag = -1);
    // The edges of every loop of a face.
    void AddFaceEdges(const TVRMFace3d& face, int tag = -1);
    void Add(const TVRMPolyhedronLines3d& other);
    void Clear() { edges_.clear(); }

    int GetEdgeCount() const { return static_cast<int>(edges_.size()); }
    const TEdge& GetEdge(int i) const;
    const std::vector<TEdge>& GetEdges() const { return edges_; }
    double GetLength() const;

    // Removes the pieces lying in the closed solid (its boundary included) and
    // returns the length removed. The flag has no effect.
    double Subtract(const TVRMPolyhedron3d& solid, bool flag = true);
    // Keeps only the pieces lying in the closed solid (boundary pieces kept)
    // and returns the length removed. The flag has no effect.
    double Intersect(const TVRMPolyhedron3d& solid, bool flag = false);
    // Keeps the part on the side opposite the plane normal.
    void Cut(const TVRMPlane3d& plane, bool flag = false);
    void Move(const TVRMVector3d& v);

private:
    double Keep(const TVRMPolyhedron3d& solid, bool inside);

    std::vector<TEdge> edges_;
};
