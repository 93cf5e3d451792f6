// Measuring routines of the expression builders: whether a shape, face,
// shell or element really is a rectangle, box or band, and its sizes (mm), so
// that a builder can print length times width; also the length of a plan
// segment lifted onto an inclined plane. A routine that finds the shape not
// of the required form returns False; the builder then writes no text.
#pragma once

#include <initializer_list>

#include "Host/RDX/RDXIntf.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"

class IQTKElementDrawObj;
class IQTKShape;
class TQTKShellCalc3d;
class TVRMCustomLine2d;
class TVRMFace3d;
class TVRMPolygon2d;
class TVRMPolyhedronShell3d;

// The element behind a record; nil for a nil record or another kind of object.
const IQTKElementDrawObj* GetExprElement(const IRDXRecord* record);
// The same for a record in expression mode whose element type is one of Types; nil otherwise.
const IQTKElementDrawObj* GetExprElement(const IRDXRecord* record, std::initializer_list<int> types);

// Length of a plan segment (straight or arc) lifted onto the plane through
// the origin with the given normal; a vertical plane gives the plan length.
double CalcArcLengthOnPlane(const TVRMCustomLine2d& segment, const TVRMVector3d& normal);

// A point or face shape carries information on any of its edges.
bool HasShapeEdgeInfo(const IQTKShape* shape);

// Sizes of the element's plan rectangle: along x and y when it is axis
// parallel (flag True), else edge 0 first when it runs closer to the x axis.
bool GetRecordRectSize(IRDXRecord* record, double& firstSize, double& secondSize, bool& axisParallel);
// Width (shorter side) and length of a rectangle.
bool GetPolygonRectSize(const TVRMPolygon2d* polygon, double& width, double& length);
bool GetFaceRectSize(const TVRMFace3d* face, double& width, double& length);
// A shell of exactly one rectangular face.
bool GetShellRectSize(const TVRMPolyhedronShell3d* shell, double& width, double& length);
bool GetShellCalcRectSize(const TQTKShellCalc3d* calc, double& width, double& length);
// Bottom and top z of a vertical rectangular face.
bool GetFaceElevRange(const TVRMFace3d& face, double& bottom, double& top);

// A band of finish along a line: its side faces share one elevation range,
// end faces (square to the line) are summed apart. Length = (total - end
// area) / height.
bool GetBandShellSize(const TQTKShellCalc3d* calc, const TVRMCustomLine2d* line, double& length, double& endArea,
                      double& height, double totalArea);
// The same for a coping's formwork: level faces summed apart, a sloping face fails.
bool GetCopingShellSize(const TQTKShellCalc3d* calc, const TVRMCustomLine2d* line, double& length, double& endArea,
                        double& horizontalArea, double& height);

// Bedding (type 55): shape kind ("Shape": 0 point, 1 line, 2 face), section
// type, sizes B and A, thickness and (line bedding) line length. Shell: the
// face bedding's measured shell, or nil.
bool GetBeddingSize(IRDXRecord* record, int& shapeKind, int& sectionType, double& sizeB, double& sizeA,
                    double& thickness, double& lineLength, const TVRMPolyhedronShell3d* shell);
// Coping (type 70): section sizes and the middle line's length x its length rate.
bool GetCopingSectionSize(IRDXRecord* record, double& firstSize, double& secondSize, double& length);
// The door and the window part of a door-with-window, with their frame deductions.
void GetDoorWinDoorSize(IRDXRecord* record, double& width, double& height, double& topBottomDeduct, double& sideDeduct);
void GetDoorWinWinSize(IRDXRecord* record, double& width, double& height, double& topBottomDeduct, double& sideDeduct);
// Foundation units: two plan (section) sizes and a third one (height; strip
// unit: the unit line's length).
bool GetIsolatedFDUnitSize(IRDXRecord* record, double& firstSize, double& secondSize, double& thirdSize);
bool GetPileCapUnitSize(IRDXRecord* record, double& firstSize, double& secondSize, double& thirdSize);
bool GetStripFDUnitSize(IRDXRecord* record, double& firstSize, double& secondSize, double& thirdSize);
// A beam's section; a gradient beam's height is the mean of its two heights.
bool GetBeamSectionSize(IRDXRecord* record, double& width, double& height);
// End faces of a line bedding's formwork shell (its last faces) at the ends
// where another element is connected (mm²).
double GetBeddingEndArea(IRDXRecord* record, const TVRMPolyhedronShell3d& formworkShell);
