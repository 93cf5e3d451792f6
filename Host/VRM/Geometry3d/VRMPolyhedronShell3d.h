// Shells: open sets of planar faces (finish faces, formwork faces).
//
// Each face keeps its normal (faces copied from a solid keep the outward
// normal) and, as origin tag, the index of the solid face it came from.
// Subtracting a solid works face by face in the face's plane: the solid's
// section there (its interior) and the solid faces lying in the plane (its
// boundary) are cut from the face with plan polygon booleans. A piece of a
// face is inside the solid, on a solid face of opposite orientation
// (contact), on one of the same orientation (flush) or outside; the
// superposition kind set chooses which boundary pieces go with the inside.
#pragma once

#include <memory>
#include <vector>

#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

class TVRMCustomLine2d;
class TVRMMultiPolygon2d;

class TVRMPolyhedronShell3d {
public:
    TVRMPolyhedronShell3d() = default;
    // Copies of chosen faces of a solid.
    TVRMPolyhedronShell3d(const TVRMPolyhedron3d& solid, int faceIndex);
    TVRMPolyhedronShell3d(const TVRMPolyhedron3d& solid, const std::vector<int>& faceIndexes);

    std::unique_ptr<TVRMPolyhedronShell3d> Clone() const { return std::make_unique<TVRMPolyhedronShell3d>(*this); }

    bool HasFaces() const { return !faces_.empty(); }
    int GetFaceCount() const { return static_cast<int>(faces_.size()); }
    const TVRMFace3d& GetFace(int i) const;
    const std::vector<TVRMFace3d>& GetFaces() const { return faces_; }
    // A copy of the face; reversed turns its normal round.
    void AddFace(const TVRMFace3d& face, bool reversed = false);
    // A vertical face standing on a plan line (straight or arc), its bottom and
    // top interpolated from start to end; the normal is the line's left normal
    // when leftSide is true, the right normal otherwise. An arc gives a run of facets.
    void AddFace(const TVRMCustomLine2d& line, bool leftSide, double startBottom, double startTop, double endBottom,
                 double endTop);
    // The vertical faces around a plan outline between two levels, facing
    // outward from the outline (inward when inward is true).
    void AddFace(const TVRMMultiPolygon2d& outline, double bottom, double top, bool inward);
    void DeleteFace(int i);
    void Clear() { faces_.clear(); }

    double GetArea() const;
    // Splits at a plane: the part against the normal is returned, the part on
    // the normal side goes to `second`. A face lying in the plane goes to the
    // first part when its normal points the plane's way, else to the second.
    std::unique_ptr<TVRMPolyhedronShell3d> Cut(const TVRMPlane3d& plane, std::unique_ptr<TVRMPolyhedronShell3d>& second,
                                               double tol = CVRMPlaneEpsilon) const;
    // Removes the part of the shell that the solid takes (inside, and on its
    // boundary as the superposition kind set says); returns the area removed.
    // A face the solid could not be resolved against (its section does not
    // close, the plan boolean refuses it) is left whole and counted in
    // `unresolved` when given.
    double Subtract(const TVRMPolyhedron3d& solid, int superpositionKinds, int* unresolved = nullptr);
    // Keeps only that part; returns the area removed (unresolved faces as above).
    double Intersect(const TVRMPolyhedron3d& solid, int superpositionKinds, int* unresolved = nullptr);
    // Joins faces that are coplanar with the same orientation and share edges.
    void SimpleFace();
    void Negate();
    void Move(const TVRMVector3d& v);

private:
    // Applies op (2 subtract, 0 intersect) face by face; returns the area removed.
    double Apply(const TVRMPolyhedron3d& solid, int op, int superpositionKinds, int* unresolved);

    std::vector<TVRMFace3d> faces_;
};
