// Boolean operations of solids and of shells against solids.
//
// Solids made of stacked vertical prisms (every face vertical or level: walls,
// beams, columns, level slabs, openings, round and arc members by their
// facets, and what deductions leave of them) are combined as plan polygon
// booleans level by level. A solid that every vertical line meets once, between
// planar top and bottom faces (a sloped slab or roof, its sides upright or
// leaning, a gradient beam, a wall whose top slopes) less, or intersected with,
// a vertical prism reaching through its whole height (a column, a beam or an
// opening through it) is the plan boolean under its top and bottom faces, and
// what is left qualifies again. Every other pair goes through the general
// corefinement engine. All give the same solids. A curved facet that comes
// through whole keeps its circle (its analytic measure); a piece cut across
// its width counts by its chord, on either engine.
// Result faces are ordered by the face of A they come from (A's order),
// then the faces from B; faces of A keep their origin tags, faces from B get -1.
#pragma once

#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

class TVRMCustomLine2d;
class TVRMPolyhedronShell3d;

// Kinds of a boolean operation.
enum : int {
    CVRMBoolIntersect = 0,
    CVRMBoolUnion = 1,
    CVRMBoolSubtract = 2,
};

// Superposition kind sets of shell against solid, by bit value: 1 = {0}
// (faces touched by a solid face of opposite orientation: contact), 2 = {1}
// (faces lying on a solid face of the same orientation: flush), 3 = both.
enum : int {
    CVRMSuperpositionNone = 0,
    CVRMSuperpositionContact = 1,
    CVRMSuperpositionFlush = 2,
    CVRMSuperpositionBoth = 3,
};

// Which engine a solid boolean uses.
enum class TVRMBooleanPath {
    Auto,     // a prism path when the pair qualifies, else the general one
    Prism,    // the prism paths only (false when the pair does not qualify)
    General,  // corefinement only
};

class TVRMNewPolyBooleanOperator {
public:
    // a := a op b (kind 0 intersection, 1 union, 2 difference a - b). The
    // result may be empty. An operand without volume (flat, folded, with
    // non-finite coordinates) is the empty solid. When the engine refuses the
    // solids they are tried again with their near-coincident vertices merged;
    // false when that fails too, a then unchanged. `option` is accepted for
    // the callers and has no effect.
    static bool BooleanOperate(TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, int kind, int option = 1);
    static bool BooleanOperate(TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, int kind, TVRMBooleanPath path);
    // Shell against solid: kind 2 removes from the shell what the solid takes
    // (see the superposition kinds), kind 0 keeps only that. The shell keeps
    // the remainder. Kind 1 is not defined for shells (assertion). False when
    // a face could not be resolved against the solid (it is left whole).
    static bool BooleanOperate(TVRMPolyhedronShell3d& shell, const TVRMPolyhedron3d& solid, int kind,
                               int superpositionKinds, int option = 1);
    // Trims a solid to the plan region between two lines (closing edges start
    // to start and end to end), unbounded in height.
    static bool Cut(TVRMPolyhedron3d& solid, const TVRMCustomLine2d& left, const TVRMCustomLine2d& right);
    static bool Cut(TVRMPolyhedronShell3d& shell, const TVRMCustomLine2d& left, const TVRMCustomLine2d& right,
                    int superpositionKinds);
};

// 0 apart, 1 the interiors intersect (containment and equality included), 2 touch only.
int Position(const TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, double tol = CVRMPlaneEpsilon);
