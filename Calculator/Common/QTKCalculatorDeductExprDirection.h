// The expression of a deducted area: the deducted shell split by the host's
// shell analyser into measured parts, each part's two sizes put in a stable
// order by a direction taken from the element kinds, printed as a sum of
// "a<长度>*b<宽度>" terms (optionally merged into one term) and, on request,
// left as expression items of the subject.
#pragma once

#include <string>
#include <vector>

#include "Host/QTKCommon/VRMCalculatorExprAnalyser.h"
#include "Host/RDX/RDXIntf.h"

class IQTKElementDrawObj;
class TVRMPolyhedronShell3d;

// Writes into Text the expression of the area Quantity (mm²) that the
// deducting record takes off the subject, Shell being the deducted shell and
// Factor the rule's coefficient. With AddItems the matching items go to the
// subject's expression container; Merge joins parts of one common size into
// one term. The text always holds a number: a split that does not give the
// quantity prints the quantity itself.
void BuildDeductShellExpr(IRDXRecord* subject, IRDXRecord* deducting, const TVRMPolyhedronShell3d& shell, double factor,
                          bool addItems, double quantity, bool merge, const TVRMPolyhedronShell3d* secondShell,
                          std::string& text);

// Which size of a part a list routine works on.
enum class TQTKPartSize { First, Second };

// Puts the part's sizes in the order the direction asks (rectangular faces and boxes).
void OrientDeductPart(TVRMExprInfo3dRecord& part, const TVRMVector3d& direction);
// Merges the parts into one of their common size (total area mm²); empties
// the list when they have none.
void MergeDeductParts(TVRMExprInfo3dArray& parts, double totalArea);
// The distinct sizes of the parts (0.0010123456789); empty when a part
// cannot be merged (kind 2).
void CollectDistinctPartSizes(const TVRMExprInfo3dArray& parts, TQTKPartSize which, std::vector<double>& sizes);
bool HasSameValue(const std::vector<double>& values, double value);
// Appends the value unless the list already holds it.
void AppendValue(std::vector<double>& values, double value);
// Keeps the first part only, its other size made totalArea / the given size.
void SetSinglePart(TVRMExprInfo3dArray& parts, TQTKPartSize which, double totalArea);

// The direction along which the first size of a deducted part runs, from the
// subject's (else the deducting element's) shape and sizes; (0, 1, 0) by default.
class TQTKExprDirectionParser {
public:
    // A nil subject is an assertion failure.
    static void GetDirection(IRDXRecord* subject, IRDXRecord* deducting, TVRMVector3d& direction);
    static void GetPointElementDirection(const IQTKElementDrawObj* drawObj, TVRMVector3d& direction);
    static void GetLineDirection(const IQTKElementDrawObj* drawObj, TVRMVector3d& direction);
    static void GetDefaultDirection(const IQTKElementDrawObj* drawObj, TVRMVector3d& direction);
    static bool GetRectDirection(const IQTKElementDrawObj* drawObj, const TVRMPolygon2d& rectangle, double firstSize,
                                 double secondSize, TVRMVector3d& direction);
    static bool GetBoxDirection(const IQTKElementDrawObj* drawObj, const TVRMBox2d& box, double firstSize,
                                double secondSize, TVRMVector3d& direction);
    // The two sizes of the element kind (mm); False for a kind without a size pair.
    static bool GetDirectionSizes(const IQTKElementDrawObj* drawObj, double& firstSize, double& secondSize);
};
