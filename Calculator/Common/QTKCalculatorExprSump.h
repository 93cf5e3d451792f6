// Expression texts of sumps (type 56): the body's volume less its hole, the
// hole's formwork and the areas under the sump. Also the texts of any solid
// as a prism ("%g<长度>*%g<宽度>*%g<高度>", "%g<面积>*%g<高度>") or as a
// prismoid ((bottom + middle section x 4 + top) x height / 6), which the
// column base and cap texts use too. Sizes mm, areas mm².
#pragma once

#include <string>

#include "Host/RDX/RDXIntf.h"

class IQTKCalculatorEDO;
class IQTKSumpCalcEDO;
class TVRMPolyhedron3d;
class TVRMPolyhedronShell3d;

class TQTKSumpExprHandler {
public:
    // The body as a prism or prismoid, less the hole as a box or prism; not
    // compared with the volume.
    static void BuildSumpVolExpr(IRDXRecord* record);
    static void BuildSumpHoleSideFormboardAreaExpr(IRDXRecord* record, double area);
    static void BuildSumpHoleBottomFormboardAreaExpr(IRDXRecord* record, double area);
    // The level area under the sump: the hole section widened by "Outside" on
    // every side, else the shell's one rectangle, else the body's bottom outline.
    static void BuildSumpBottomHorizonAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell, double area);
    // The vertical faces under the sump, one term per face (at most 8 faces).
    static void BuildSumpBottomVerticalAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell);

    // A solid standing upright as a box or a prism; False for any other.
    static bool BuildPrismText(const TVRMPolyhedron3d* solid, std::string& text);
    // A solid with level top and bottom whose prismoid formula gives its volume.
    static bool BuildPrismoidVolText(const TVRMPolyhedron3d* solid, std::string& text);
    // An upright box (first the longer plan side, second the shorter) or an
    // upright prism (first its section area, second -1) whose sizes give the
    // solid's volume. A nil solid is an assertion failure.
    static bool GetColumnBoxSize(const TVRMPolyhedron3d* solid, double& first, double& height, double& second);
    // Areas of the level bottom and top faces, of the section halfway up, and
    // the height, when the prismoid formula gives the volume. A nil solid is an
    // assertion failure.
    static bool GetPrismoidAreas(const TVRMPolyhedron3d* solid, double& bottom, double& height, double& top,
                                 double& middle);
    // "SectionWidth" and "SectionHeight" of an element whose "SectionTypeID" is 0.
    static bool GetSectionSize(IQTKCalculatorEDO* edo, double& width, double& height);
    // The two sides of a shell that is exactly one rectangle (b, then a).
    static bool GetShellRectSides(const TVRMPolyhedronShell3d& shell, double& b, double& a);
    // The sump hole's plan sizes (second -1: first is its plan area) and its
    // depth below the body's top; False without a hole or depth. A nil object
    // is an assertion failure.
    static bool GetHoleSize(IQTKSumpCalcEDO* edo, double& first, double& depth, double& second);
};
