#include "Calculator/Common/QTKCalculatorExprHole.h"

#include <string>

#include "Calculator/Common/QTKCalculatorExprMeasure.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/Runtime/SysUtils.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CDoorType = 4;
constexpr int CWindowType = 5;
constexpr int CDoorWinType = 6;

bool IsDoorOrWindow(int elementType)
{
    return elementType == CDoorType || elementType == CWindowType;
}

int ElementTypeOf(const IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record);
    return drawObj ? drawObj->GetElementTypeID() : -1;
}

// Writes the printed sizes (m) into the template for a record in expression mode.
void WriteSizes(IRDXRecord* record, std::string_view format, std::initializer_list<TVarRec> sizes)
{
    if (IsExprMode(record))
        AddExprText(record, Format(format, sizes));
}

// A size less its frame deduction: "(a<label>-d<deduction label>)", or "a<label>" without one.
std::string Deducted(double size, double deduct, const char* label, const char* deductLabel)
{
    const double s = ExprLength(size);
    const double d = ExprLength(deduct);
    if (IsZero(d))
        return Format("%g<%s>", {s, label});
    return Format("(%g<%s>-%g<%s>)", {s, label, d, deductLabel});
}

// Door and window parts of a door-with-window filling.
void WriteDoorWinFilling(IRDXRecord* record, bool door, bool window)
{
    if (!IsExprMode(record) || ElementTypeOf(record) != CDoorWinType)
        return;
    std::string text;
    if (door) {
        double w = 0, h = 0, topBottom = 0, side = 0;
        GetDoorWinDoorSize(record, w, h, topBottom, side);
        text += Deducted(w, side, "门宽度", "门框左右扣尺寸");
        text += '*';
        text += Deducted(h, topBottom, "门高度", "门框上下扣尺寸");
    }
    if (window) {
        double w = 0, h = 0, topBottom = 0, side = 0;
        GetDoorWinWinSize(record, w, h, topBottom, side);
        if (!text.empty())
            text += '+';
        text += Deducted(w, side, "窗宽度", "窗框左右扣尺寸");
        text += '*';
        text += Deducted(h, topBottom, "窗高度", "窗框上下扣尺寸");
    }
    AddExprText(record, text);
}

}  // namespace

void BuildHoleRectAreaExpr(IRDXRecord* record, int elementType, double width, double height)
{
    if (IsDoorOrWindow(elementType))
        WriteSizes(record, "%g<宽度>*%g<高度>", {ExprLength(width), ExprLength(height)});
}

void BuildHoleOpeningAreaExpr(IRDXRecord* record)
{
    if (!IsExprMode(record))
        return;
    const int type = ElementTypeOf(record);
    if (type == CDoorWinType) {
        const IPropValues* props = GetExprElement(record)->GetPropValues();
        if (!props)
            return;
        const double w = props->GetFloat("OpeningWidth");
        const double h = props->GetFloat("OpeningHeight");
        const double winWidth = props->GetFloat("WinWidth");
        const double sill = props->GetFloat("WinAboveFloorHeight");
        BuildDoorWinOpeningAreaExpr(record, type, w - winWidth, h, winWidth, h - sill);
        return;
    }
    double first = 0, second = 0;
    bool axisParallel = false;
    if (IsDoorOrWindow(type) && GetRecordRectSize(record, first, second, axisParallel))
        BuildHoleRectAreaExpr(record, type, first, second);
}

void BuildHoleFillingAreaExpr(IRDXRecord* record, int elementType, double width, double height, double sideDeduct,
                              double topBottomDeduct)
{
    if (!IsDoorOrWindow(elementType) || !IsExprMode(record))
        return;
    std::string text = Deducted(width, sideDeduct, "宽度", "框左右扣尺寸");
    text += '*';
    text += Deducted(height, topBottomDeduct, "高度", "框上下扣尺寸");
    AddExprText(record, text);
}

void BuildHoleFillingAreaExprFromShape(IRDXRecord* record)
{
    if (!IsExprMode(record))
        return;
    double first = 0, second = 0;
    bool axisParallel = false;
    if (GetRecordRectSize(record, first, second, axisParallel))
        BuildHoleFillingAreaExpr(record, ElementTypeOf(record), first, second, 0, 0);
}

void BuildHoleSizePerimeterWithoutBottomExpr(IRDXRecord* record, int elementType, double width, double height)
{
    if (IsDoorOrWindow(elementType))
        WriteSizes(record, "%g<宽度>+%g<高度>*2", {ExprLength(width), ExprLength(height)});
}

void BuildHolePerimeterWithoutBottomExpr(IRDXRecord* record)
{
    if (!IsExprMode(record))
        return;
    double first = 0, second = 0;
    bool axisParallel = false;
    const int type = ElementTypeOf(record);
    if (IsDoorOrWindow(type) && GetRecordRectSize(record, first, second, axisParallel) && axisParallel)
        BuildHoleSizePerimeterWithoutBottomExpr(record, type, first, second);
}

void BuildHoleSizePerimeterExpr(IRDXRecord* record, int elementType, double width, double height)
{
    if (IsDoorOrWindow(elementType))
        WriteSizes(record, "(%g<宽度>+%g<高度>)*2", {ExprLength(width), ExprLength(height)});
}

void BuildHolePerimeterExpr(IRDXRecord* record)
{
    if (!IsExprMode(record))
        return;
    double first = 0, second = 0;
    bool axisParallel = false;
    const int type = ElementTypeOf(record);
    if (IsDoorOrWindow(type) && GetRecordRectSize(record, first, second, axisParallel))
        BuildHoleSizePerimeterExpr(record, type, first, second);
}

void BuildDoorWinDoorAreaExpr(IRDXRecord* record, int elementType, double doorWidth, double doorHeight)
{
    if (elementType == CDoorWinType)
        WriteSizes(record, "%g<门宽度>*%g<门高度>", {ExprLength(doorWidth), ExprLength(doorHeight)});
}

void BuildDoorWinWinAreaExpr(IRDXRecord* record, int elementType, double winWidth, double winHeight)
{
    if (elementType == CDoorWinType)
        WriteSizes(record, "%g<窗宽度>*%g<窗高度>", {ExprLength(winWidth), ExprLength(winHeight)});
}

void BuildDoorWinOpeningAreaExpr(IRDXRecord* record, int elementType, double doorWidth, double doorHeight,
                                 double winWidth, double winHeight)
{
    if (elementType == CDoorWinType)
        WriteSizes(record, "%g<门宽度>*%g<门高度>+%g<窗宽度>*%g<窗高度>",
                   {ExprLength(doorWidth), ExprLength(doorHeight), ExprLength(winWidth), ExprLength(winHeight)});
}

void BuildDoorWinPerimeterWithoutBottomExpr(IRDXRecord* record, int elementType, double width, double height)
{
    if (elementType == CDoorWinType)
        WriteSizes(record, "%g<宽度>+%g<高度>*2", {ExprLength(width), ExprLength(height)});
}

void BuildDoorWinFillingAreaExpr(IRDXRecord* record)
{
    WriteDoorWinFilling(record, true, true);
}

void BuildDoorWinDoorFillingAreaExpr(IRDXRecord* record)
{
    WriteDoorWinFilling(record, true, false);
}

void BuildDoorWinWinFillingAreaExpr(IRDXRecord* record)
{
    WriteDoorWinFilling(record, false, true);
}
