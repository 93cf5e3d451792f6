// Beam shape tests and face classification: arched, haunched, gradient and
// sloped-face elements, and which faces of a beam's solid are its sides,
// bottom, top or ends against its line and its inclined normal.
#pragma once

#include <vector>

#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"

class TVRMFace3d;

// Face codes of ClassifyFaceByLine: 0 not classified, 1 and 2 side faces
// (the tangent x plan normal positive / negative), 3 a face turned against
// the direction or an end face away from the line's ends, 4 a face turned
// along the direction, 5 an end face at the line's ends.

bool IsArchDrawObj(const IQTKElementDrawObj* drawObj);
bool IsArchRecord(IRDXRecord* record);
// Arched, with one of the two arch ends open.
bool IsPartialArchDrawObj(const IQTKElementDrawObj* drawObj);
bool IsSlopedFaceDrawObj(const IQTKElementDrawObj* drawObj);
bool IsSlopedFaceRecord(IRDXRecord* record);
// A beam or foundation beam of the plain section whose end height differs
// from its section height.
bool IsGradientBeamDrawObj(const IQTKElementDrawObj* drawObj);
bool IsGradientBeamRecord(IRDXRecord* record);
bool IsHaunchedBeamDrawObj(const IQTKElementDrawObj* drawObj);
bool IsHaunchedBeamRecord(IRDXRecord* record);
// "CalcAloneBeamFinishQty" is 1.
bool IsCalcAloneBeamFinishQty(IRDXRecord* record);

// Unit normal of the plane through the beam's inclined axis that holds its
// cross direction: vertical for a level beam and for an element without a
// line shape. A nil draw object is an assertion failure.
void GetInclinedLineNormal(const IQTKElementDrawObj* drawObj, TVRMVector3d& normal);
// Code 0-5 of a face against a line and a direction; Margin widens the face's
// plan box when telling end faces (1 or less: every end face is 5).
int ClassifyFaceByLine(const TVRMCustomLine2d& line, const TVRMFace3d& face, const TVRMVector3d& direction,
                       double margin);
// The faces (not in Skip) whose ClassifyFaceByLine code is in Codes, against
// the draw object's inclined normal, with its width as margin.
void GetInclinedFaceIndices(const IQTKElementDrawObj* drawObj, const TVRMPolyhedron3d& solid,
                            const TVRMCustomLine2d& line, TQTKFaceCodeSet codes, const std::vector<int>& skip,
                            std::vector<int>& indices);
// The same over the faces of a shell calculator's shell; end faces always 5.
void GetInclinedShellFaceIndices(const IQTKElementDrawObj* drawObj, const TQTKShellCalc3d& calc,
                                 const TVRMCustomLine2d& line, TQTKFaceCodeSet codes, const std::vector<int>& skip,
                                 std::vector<int>& indices);
// Faces whose normal is parallel to the element's 3D axis, in face order.
void GetBeamEndFaceIndices(const IQTKElementDrawObj* drawObj, const TVRMPolyhedron3d& solid, std::vector<int>& indices);
// The faces on one side of an arc (the outer side when Clockwise matches the
// arc's sense, else the inner side) or of a straight line (Clockwise: the
// faces turned to its left, else to its right), skipping the first Count
// entries of Skip.
std::vector<int> GetArcSideFaceIndices(const TVRMCustomLine2d& line, const TVRMPolyhedron3d& solid, bool clockwise,
                                       int count, const std::vector<int>& skip);
