#include "Host/ElementModel/LineCalculator/QTKCompareElevCommon.h"

#include <algorithm>
#include <vector>

#include "Host/ElementModel/LineCalculator/QTKLineBand.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/Runtime/FastCast.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"

namespace {

struct TElevRange {
    double bottom = 0.0;
    double top = 0.0;
};

template <class TShape>
const TShape* ShapeOf(const IQTKElementDrawObj* drawObj)
{
    return drawObj ? FastCast<const TShape>(drawObj->GetShape()) : nullptr;
}

template <class TShape>
const TShape* ShapeOf(IRDXRecord* record)
{
    return record ? ShapeOf<TShape>(FastCast<const IQTKElementDrawObj>(record->GetObject())) : nullptr;
}

TElevRange RangeAt(const IQTKLineShape& line, const TVRMPoint2d& p)
{
    return {line.GetBottomElevAt(p), line.GetTopElevAt(p)};
}

TElevRange RangeAt(const IQTKFaceShape& face, const TVRMPoint2d& p)
{
    const IQTKFaceElevInfo* info = face.GetFaceElevInfo();
    const double top = info ? info->GetElevAt(p) : face.GetElev();
    return {top - face.GetThickness() * (info ? info->GetThicknessFactor() : 1.0), top};
}

TElevRange RangeOf(const IQTKPointShape& point)
{
    return {point.GetBottomElev(), point.GetTopElev()};
}

double Overlap(const TElevRange& a, const TElevRange& b)
{
    return std::min(a.top, b.top) - std::max(a.bottom, b.bottom);
}

// b meets a: overlapping, or touching a's top / bottom where allowed.
bool RangesMeet(const TElevRange& a, const TElevRange& b, bool touchTop, bool touchBottom)
{
    if (GreaterThan(Overlap(a, b), 0.0))
        return true;
    return (touchTop && SameValue(b.bottom, a.top)) || (touchBottom && SameValue(b.top, a.bottom));
}

bool PlansMeet(const IQTKShape& a, const IQTKShape& b)
{
    return TVRMPositionFunc2d::MultiPolyMultiPolyPosition(a.GetOutline(), b.GetOutline()) != 0;
}

TQTKLineBand BandOf(const IQTKLineShape& line)
{
    return TQTKLineBand::Of(line.GetLine(), line.GetWidth(), line.GetAxisOffset());
}

// Where a line element lies on another shape: the middle of the first piece of its axis inside
// the shape's outline; false when the axis does not reach it.
bool PointOnFace(const IQTKLineShape& line, const IQTKShape& face, TVRMPoint2d& p)
{
    std::vector<TVRMCustomLine2d> pieces;
    TVRMIntersectFunc2d::Intersect(line.GetLine(), face.GetOutline(), pieces);
    if (pieces.empty())
        return false;
    p = pieces.front().MiddlePoint();
    return true;
}

// Elevation of a line element at a point: linear along its axis, continued past its ends.
double LineElevAt(const IQTKLineShape& line, const TVRMPoint2d& p, bool top)
{
    const TVRMCustomLine2d& axis = line.GetLine();
    const double s = top ? line.GetStartPtTopElev() : line.GetStartPtBottomElev();
    const double e = top ? line.GetEndPtTopElev() : line.GetEndPtBottomElev();
    const double length = axis.Length();
    return length > CVRMEpsilon ? s + (e - s) * axis.LengthAtPoint(p) / length : s;
}

int CompareLineElevLevel(const IQTKElementDrawObj* a, const IQTKElementDrawObj* b, const TVRMPoint2d& p, bool top)
{
    const IQTKLineShape* la = ShapeOf<IQTKLineShape>(a);
    const IQTKLineShape* lb = ShapeOf<IQTKLineShape>(b);
    if (!la || !lb)
        return 0;
    return CompareValue(LineElevAt(*la, p, top), LineElevAt(*lb, p, top));
}

}  // namespace

int CompareLineTopElevLevel(const IQTKElementDrawObj* a, const IQTKElementDrawObj* b, const TVRMPoint2d& point)
{
    return CompareLineElevLevel(a, b, point, true);
}

int CompareLineBottomElevLevel(const IQTKElementDrawObj* a, const IQTKElementDrawObj* b, const TVRMPoint2d& point)
{
    return CompareLineElevLevel(a, b, point, false);
}

bool IsLineEntAndLineEntIntByLength(IRDXRecord* a, IRDXRecord* b, double minOverlap)
{
    const IQTKLineShape* la = ShapeOf<IQTKLineShape>(a);
    const IQTKLineShape* lb = ShapeOf<IQTKLineShape>(b);
    if (!la || !lb)
        return false;
    const TVRMPoint2d p = BandJunctionPoint(BandOf(*la), BandOf(*lb));
    return GreaterEqualThan(Overlap(RangeAt(*la, p), RangeAt(*lb, p)), minOverlap);
}

bool IsLineEntAndLineEntInt(IRDXRecord* a, IRDXRecord* b, double minOverlap)
{
    const IQTKLineShape* la = ShapeOf<IQTKLineShape>(a);
    const IQTKLineShape* lb = ShapeOf<IQTKLineShape>(b);
    return la && lb && PlansMeet(*la, *lb) && IsLineEntAndLineEntIntByLength(a, b, minOverlap);
}

bool IsLineEntAndPointEntInt(IRDXRecord* line, IRDXRecord* point, double minOverlap)
{
    const IQTKLineShape* l = ShapeOf<IQTKLineShape>(line);
    const IQTKPointShape* p = ShapeOf<IQTKPointShape>(point);
    return l && p && PlansMeet(*l, *p) &&
           GreaterEqualThan(Overlap(RangeAt(*l, p->GetInsertPt()), RangeOf(*p)), minOverlap);
}

bool IsLineEntAndPointEntIntOnHeight(IRDXRecord* line, IRDXRecord* point, bool atFloor, double elevation)
{
    const IQTKLineShape* l = ShapeOf<IQTKLineShape>(line);
    const IQTKPointShape* p = ShapeOf<IQTKPointShape>(point);
    if (!l || !p || !PlansMeet(*l, *p))
        return false;
    const TElevRange r = RangeAt(*l, p->GetInsertPt());
    return atFloor ? LessEqualThan(r.bottom, elevation) && GreaterThan(r.top, elevation)
                   : LessThan(r.bottom, elevation) && GreaterEqualThan(r.top, elevation);
}

bool IsPointEntAndLineEntInt(IRDXRecord* point, IRDXRecord* line, bool touchTop, bool touchBottom)
{
    const IQTKPointShape* p = ShapeOf<IQTKPointShape>(point);
    const IQTKLineShape* l = ShapeOf<IQTKLineShape>(line);
    return p && l && PlansMeet(*p, *l) && RangesMeet(RangeOf(*p), RangeAt(*l, p->GetInsertPt()), touchTop, touchBottom);
}

bool IsPointEntAndFaceEntInt(IRDXRecord* point, IRDXRecord* face, bool touchTop, bool touchBottom)
{
    const IQTKPointShape* p = ShapeOf<IQTKPointShape>(point);
    const IQTKFaceShape* f = ShapeOf<IQTKFaceShape>(face);
    return p && f && PlansMeet(*p, *f) && RangesMeet(RangeOf(*p), RangeAt(*f, p->GetInsertPt()), touchTop, touchBottom);
}

bool IsFaceEntAndLineEntInt(IRDXRecord* face, IRDXRecord* line, bool touchTop, bool touchBottom)
{
    const IQTKFaceShape* f = ShapeOf<IQTKFaceShape>(face);
    const IQTKLineShape* l = ShapeOf<IQTKLineShape>(line);
    if (!f || !l || !PlansMeet(*f, *l))
        return false;
    TVRMPoint2d p;
    if (!PointOnFace(*l, *f, p))
        p = l->GetLine().MiddlePoint();  // beside the face: compare at the line's middle
    return RangesMeet(RangeAt(*f, p), RangeAt(*l, p), touchTop, touchBottom);
}

bool IsLineEntOnPosition(IRDXRecord* a, IRDXRecord* b, bool touchTop, bool touchBottom)
{
    const IQTKLineShape* la = ShapeOf<IQTKLineShape>(a);
    const IQTKLineShape* lb = ShapeOf<IQTKLineShape>(b);
    if (!la || !lb)
        return false;
    const int position = TVRMPositionFunc2d::MultiPolyMultiPolyPosition(la->GetOutline(), lb->GetOutline());
    if (position == 0 || position == 2)
        return false;
    TVRMPoint2d p;
    if (!PointOnFace(*la, *lb, p))
        p = la->GetLine().MiddlePoint();
    return RangesMeet(RangeAt(*la, p), RangeAt(*lb, p), touchTop, touchBottom);
}

bool IsSlabOnWallTop(IRDXRecord* element, IRDXRecord* slab)
{
    const IQTKFaceShape* s = ShapeOf<IQTKFaceShape>(slab);
    if (!s)
        return false;
    TVRMPoint2d p;
    double top = 0.0;
    if (const IQTKLineShape* l = ShapeOf<IQTKLineShape>(element)) {
        if (!PointOnFace(*l, *s, p))
            return false;
        top = l->GetTopElevAt(p);
    } else if (const IQTKPointShape* pt = ShapeOf<IQTKPointShape>(element)) {
        p = pt->GetInsertPt();
        if (TVRMPositionFunc2d::PointPosition(p, s->GetOutline()) == 2)
            return false;
        top = pt->GetTopElev();
    } else {
        return false;
    }
    const TElevRange r = RangeAt(*s, p);
    return GreaterEqualThan(top, r.bottom) && LessEqualThan(top, r.top);
}

bool IsSameFaceElevInfo(const IQTKFaceShape* a, const IQTKFaceShape* b)
{
    if (!a || !b || a->GetElevKind() != b->GetElevKind())
        return false;
    for (const IQTKFaceShape* outline : {a, b})
        for (const TVRMPoint2d& v : outline->GetVertexList())
            if (!SameValue(RangeAt(*a, v).top, RangeAt(*b, v).top))
                return false;
    return true;
}
