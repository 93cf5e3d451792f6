// Expression texts of column caps (type 27) and column bases (type 28):
// volume as a box, prism or prismoid (a cap with an upper part as the sum of
// its two parts), formwork and side areas of a box, face areas and the
// section perimeter. Sizes mm, areas mm², lengths mm.
#pragma once

#include "Host/RDX/RDXIntf.h"

class TVRMPolyhedron3d;
class TVRMPolyhedronShell3d;

class TQTKColumnBaseCapExprHandler {
public:
    // Not compared with the volume.
    static void BuildColumnBaseCapVolExpr(IRDXRecord* record, const TVRMPolyhedron3d* solid, double volume);
    // A cap of "ColumnCapType" 2, 3, 6 or 7 cut at "TopElev" - "Height1": the
    // part below, "+", the part above.
    static void BuildSplitCapVolExpr(IRDXRecord* record, const TVRMPolyhedron3d* solid);
    // "(%g<长度>+%g<宽度>)*2*%g<高度>", with the bottom face "+%g<长度>*%g<宽度>".
    static void BuildColumnBaseCapFormboardAreaExpr(IRDXRecord* record, bool withBottomFace, double area);
    static void BuildColumnBaseCapFaceAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell, double area);
    static void BuildColumnBaseCapPerimeterExpr(IRDXRecord* record, double length);
};
