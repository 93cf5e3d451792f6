// Expression texts of units with a rectangular section ("SectionTypeID" 0):
// strip foundation units (type 81: section, side and end formwork) and trench
// units (type 84: section, side and end formwork, plastering). Areas are the
// quantities the rules computed (mm²).
#pragma once

#include "Host/RDX/RDXIntf.h"

class TVRMPolyhedronShell3d;

void BuildStripFDUnitSectionAreaExpr(IRDXRecord* record, double area);
void BuildStripFDUnitSideFormboardAreaExpr(IRDXRecord* record, double area);
void BuildStripFDUnitHeadFormboardAreaExpr(IRDXRecord* record, double area);

void BuildTrenchUnitSectionAreaExpr(IRDXRecord* record, double area);
void BuildTrenchUnitFormboardAreaExpr(IRDXRecord* record, double area);
void BuildTrenchUnitHeadFormboardAreaExpr(IRDXRecord* record, double area);
// Plastering of a side wall ("Type" 1: height x the free side lines) or of a
// bottom board ("Type" 0: width x unit line), less the end and other
// deductions (mm²), which are printed as their own terms.
void BuildTrenchPlasteringAreaExpr(IRDXRecord* record, double area, double endDeduction, double deduction);
// The free end of a trench unit: the single rectangular face of the shell,
// twice when both ends are free.
void BuildTrenchFreeHeadPlasteringAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell);
