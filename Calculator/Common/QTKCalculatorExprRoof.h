// Expression texts of roofs (type 67): the roof's area and perimeter and the
// lengths and areas of its rolled edges and ridges. Edges are measured on the
// roof's plane (an inclined edge is longer than in plan). Lengths mm, areas mm².
#pragma once

#include "Host/RDX/RDXIntf.h"

// The roof polygon's formula, for a level face.
void BuildRoofAreaExpr(IRDXRecord* record);
// "(a+b+...)<各个边长之和>" over every edge of the roof polygon.
void BuildRoofPerimeterExpr(IRDXRecord* record);
// The edges with a rolled edge: "%g<边长>*%g<高度>" each, and their lengths.
void BuildRoofRolledEdgeAreaExpr(IRDXRecord* record, double area);
void BuildRoofRolledEdgeLengthExpr(IRDXRecord* record, double length);
// The lengths of the ridge edges.
void BuildRidgeLineLengthExpr(IRDXRecord* record, double length);
