// What the slab rules share: the slab's element object, the solids of the
// elements they take off a slab, the size tests of the limited rules, and the
// tests that decide which faces of a slab get formwork (the slab formwork,
// over-height and post-cast strip rules all ask them).
//
// Nothing is kept between calls. Lengths are mm, areas mm², volumes mm³.
#pragma once

#include <memory>
#include <optional>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"

class TQTKShellCalc3d;
class TVRMPolyhedron3d;
class TVRMPolyhedronShell3d;

// Raises the interface-cast error for an element that is not of the family.
[[noreturn]] void RaiseNotOfFamily(IRDXRecord* record, const char* family);
// The element object of a record in the family a rule expects; an element of
// another kind raises.
template <class T>
Ref<T> GetFamilyEDO(IRDXRecord* record, const char* family)
{
    Ref<T> edo = RefCast<T>(GetCalcEDO(record, true));
    if (!edo)
        RaiseNotOfFamily(record, family);
    return edo;
}
inline Ref<IQTKSlabCalculator> GetSlabEDO(IRDXRecord* slab)
{
    return GetFamilyEDO<IQTKSlabCalculator>(slab, "slab");
}
// The area of the element's plan outline (its shape's outline), mm².
double GetPlanOutlineArea(IRDXRecord* record);
// A shell of the slab's soffit (the last face of its solid); empty without one.
std::unique_ptr<TVRMPolyhedronShell3d> BuildSoffitShell(IQTKSlabCalculator& slab);
// A shell calculator (factor 1, under the slab's record) over the surface the
// area families measure: a curved slab's outer side of Curved (its curved or
// its original solid; nothing without one), a plane slab's soffit.
std::shared_ptr<TQTKShellCalc3d> NewSlabSurfaceCalc(IQTKSlabCalculator& slab, const TVRMPolyhedron3d* curved);
// A measure is above a size limit: at the limit (within the length
// tolerance) it is not; without a limit nothing is.
bool IsAboveSizeLimit(double measure, std::optional<double> limit);
// The element's plan outline area is above the limit.
bool IsPlanAreaAboveLimit(IRDXRecord* record, std::optional<double> limit);

// A face with this unit normal gets formwork on its upper side too: it faces
// up (or is vertical) and is at least as steep as "DoubleFormboardAngle" of
// "QTKSlabCalcSettings" (degrees). A level top only passes at 0°. Without the
// setting no face passes.
bool IsDoubleFormboardFace(const TVRMVector3d& normal, const TableSourceRef& settings);
// A curved slab gets formwork on all its faces that are not vertical
// ("ArchSlabFormboardMethod" 1); otherwise only on the faces that look down.
bool IsArchSlabDoubleFormboard(const TableSourceRef& settings);
// The faces of a slab's solid that take formwork: a curved slab's downward
// faces (all its faces not upright when IsArchSlabDoubleFormboard); a plane
// slab's soffit (face n-1), with its top (face n-2) when IsDoubleFormboardFace.
std::unique_ptr<TVRMPolyhedronShell3d> BuildSlabFormboardShell(const TVRMPolyhedron3d& slab, bool curved,
                                                               const TableSourceRef& settings);
// The side faces of an element's solid that lie inside the slab's solid,
// where an opening gives them back as formwork: its upright faces (in a
// curved slab) or all but its last two.
std::unique_ptr<TVRMPolyhedronShell3d> BuildSideShellInSlab(const TVRMPolyhedron3d& slab,
                                                            const TVRMPolyhedron3d& element, bool curvedSlab);
// The superposition kinds an element takes off a slab's formwork: the faces
// it stands against (1), and those flush with its own too (3) when its
// formwork comes first (CompareFormboardPriority).
int SlabFormboardKinds(IRDXRecord* slab, IRDXRecord* element, const TableSourceRef& ruleContext);
// A fill wall or a partition wall ("Type" 2 or 5), which takes no formwork off a slab.
bool IsFillerOrPartitionWall(IRDXRecord* wall);
