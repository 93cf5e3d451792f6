#include "Calculator/Common/QTKOverHighBottomElevCalculator.h"

#include <algorithm>
#include <string_view>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/RDX/RDXSync.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

// An integer setting: the first row of the named table; 0 when the table,
// the row or the key is missing or null.
int Setting(const TableSourceRef& context, std::string_view table, std::string_view key)
{
    return FieldValueInteger(GetSettingRow(context, table), key, 0);
}

// What the workers read of the element and its floors.
struct TElementFacts {
    IQTKElementDrawObj* drawObj = nullptr;
    IRDXRecord* record = nullptr;
    bool regionFlag = false;
    double ground = 0.0;
    double ownFloorElev = 0.0;
};

TElementFacts FactsOf(IQTKCalculatorEDO* edo)
{
    TElementFacts facts;
    facts.drawObj = edo ? edo->GetElementDrawObj() : nullptr;
    facts.record = facts.drawObj ? facts.drawObj->GetRecord() : nullptr;
    facts.regionFlag = GetRegionFlag(facts.record);
    facts.ground = GetProjectGroundElev(facts.record);
    facts.ownFloorElev = GetFloorStructuralElev(facts.record);
    return facts;
}

double FloorElev(const IRDXRecord* floor)
{
    return FieldValueFloat(floor, "StructuralElevation", 0.0) * 1000.0;
}

// Floor method 0: no search.
double NoSearchElev(const TElementFacts& facts, bool useGround)
{
    return useGround && IsOnFirstFloor(facts.record) ? facts.ground : facts.ownFloorElev;
}

bool WallColumnUsesGround(int bottomMethod, bool regionFlag)
{
    switch (bottomMethod) {
        case 0:
        case 3:
        case 6:
            return false;
        case 2:
        case 5:
            return !regionFlag;
        default:
            return true;
    }
}

bool SlabUsesGround(int bottomMethod, bool regionFlag)
{
    return bottomMethod != 0 && !(bottomMethod == 2 && regionFlag);
}

// The bottom of the element's own solid (its box when it has no solid).
double SolidBottom(IQTKCalculatorEDO* edo)
{
    const Ref<IQTKPolyhedron3dIntf> solid = edo->GetOriginalPolyhedronIntf();
    if (solid && solid->GetPolyhedron()->GetFaceCount() > 0)
        return solid->GetPolyhedron()->GetBox().min.z;
    return edo->GetElementDrawObj()->GetBox().min.z;
}

// Which band's elevation a floor method takes: 0 the nearest, 1 the farthest.
using TBandChooser = bool (*)(int floorMethod, bool firstInBand);

bool WallColumnTakesLast(int floorMethod, bool firstInBand)
{
    switch (floorMethod) {
        case 1:
            return !firstInBand;
        case 2:
            return false;
        case 3:
            return true;
        default:
            return firstInBand;
    }
}

bool SlabTakesLast(int floorMethod, bool)
{
    return floorMethod == 1;
}

// The search and its fallbacks.
double SearchBottomElev(IQTKCalculatorEDO* edo, const TElementFacts& facts, int bottomMethod, int floorMethod,
                        bool useGround, bool setBottomMethod, TBandChooser takesLast,
                        TQTKOverHighBottomElevAnalyzerClass analyzerClass)
{
    const IRDXRecord* floor = GetRecordFloor(facts.record);
    const double firstFloorElev = FloorElev(FindFirstFloorOfRegion(floor));
    const bool belowFirstFloor =
        TQTKOverHighBottomElevCalculator::IsBelowFirstFloor(edo, facts.regionFlag, firstFloorElev);
    const bool groundBound = useGround && !belowFirstFloor;

    TQTKOverHighBottomElevInfo info;
    {
        const std::unique_ptr<TQTKOverHighBottomElevAnalyzer> analyzer = analyzerClass(facts.drawObj);
        if (setBottomMethod)
            analyzer->SetBottomMethod(bottomMethod);
        analyzer->Analyze(info, groundBound ? firstFloorElev : CQTKNoLowerBound);
    }
    if (!info.Elevs.empty()) {
        const double elev =
            takesLast(floorMethod, info.FirstInBand) ? info.Elevs.back().First : info.Elevs.front().First;
        return groundBound ? std::max(elev, facts.ground) : elev;
    }
    double result;
    if (info.HasSpiralSlab || info.HasOtherElement) {
        result = facts.ownFloorElev;
        if (useGround && SameValue(facts.ownFloorElev, firstFloorElev))
            result = facts.ground;
    } else if (belowFirstFloor) {
        result = FloorElev(FindLowestBasementFloor(floor));
    } else {
        result = useGround ? facts.ground : firstFloorElev;
    }
    return std::min(result, SolidBottom(edo));
}

// A wall standing under the beam along it.
bool WallSupportsBeam(const IQTKLineShape& wall, const IQTKLineShape& beam)
{
    const TVRMCustomLine2d& wallLine = wall.GetLine();
    const TVRMCustomLine2d& beamLine = beam.GetLine();
    if (!TVRMPositionFunc2d::IsParallel(wallLine, beamLine, CVRMParallelEpsilon))
        return false;
    if (!LessThan(wall.GetStartPtBottomElev(), beam.GetBottomElevAt(wallLine.StartPt())) &&
        !LessThan(wall.GetEndPtBottomElev(), beam.GetBottomElevAt(wallLine.EndPt())))
        return false;
    TVRMCustomLine2d piece;
    const double along = TVRMPositionFunc2d::SubSeg(wallLine, beamLine, piece) ? piece.Length() : 0.0;
    return GreaterThan(along, 500.0) || SameValue(along, wallLine.Length()) || SameValue(along, beamLine.Length());
}

}  // namespace

// ---------------------------------------------------------------------------
// Routines

bool TQTKOverHighBottomElevCalculator::IsBelowFirstFloor(IQTKCalculatorEDO* edo, bool regionFlag, double firstFloorElev)
{
    return regionFlag && LessThan(SolidBottom(edo), firstFloorElev);
}

bool TQTKOverHighBottomElevCalculator::HasUnevenEnds(const IQTKElementDrawObj* drawObj)
{
    const IPropValues* props = drawObj ? drawObj->GetPropValues() : nullptr;
    return !SameValue(EdoPropValueFloat(props, "StartPtTopElev"), EdoPropValueFloat(props, "EndPtTopElev")) ||
           !SameValue(EdoPropValueFloat(props, "StartPtBottomElev"), EdoPropValueFloat(props, "EndPtBottomElev"));
}

double TQTKOverHighBottomElevCalculator::GetAverageEndBottomElev(const IQTKElementDrawObj* drawObj)
{
    const IPropValues* props = drawObj ? drawObj->GetPropValues() : nullptr;
    return (EdoPropValueFloat(props, "StartPtBottomElev") + EdoPropValueFloat(props, "EndPtBottomElev")) / 2.0;
}

// ---------------------------------------------------------------------------
// Workers

double TQTKOverHighBottomElevCalculator::CalcWallColumnBottomElev(IQTKCalculatorEDO* edo, int bottomMethod,
                                                                  int floorMethod,
                                                                  TQTKOverHighBottomElevAnalyzerClass analyzerClass)
{
    const TElementFacts facts = FactsOf(edo);
    if ((bottomMethod == 3 || bottomMethod == 4 || bottomMethod == 5) && HasUnevenEnds(facts.drawObj))
        return GetAverageEndBottomElev(facts.drawObj);
    const bool useGround = WallColumnUsesGround(bottomMethod, facts.regionFlag);
    if (floorMethod == 0)
        return NoSearchElev(facts, useGround);
    return SearchBottomElev(edo, facts, bottomMethod, floorMethod, useGround, true, WallColumnTakesLast, analyzerClass);
}

double TQTKOverHighBottomElevCalculator::CalcSlabBottomElev(IQTKCalculatorEDO* edo, int bottomMethod, int floorMethod,
                                                            TQTKOverHighBottomElevAnalyzerClass analyzerClass)
{
    const TElementFacts facts = FactsOf(edo);
    const bool useGround = SlabUsesGround(bottomMethod, facts.regionFlag);
    if (floorMethod == 0)
        return NoSearchElev(facts, useGround);
    return SearchBottomElev(edo, facts, bottomMethod, floorMethod, useGround, false, SlabTakesLast, analyzerClass);
}

double TQTKOverHighBottomElevCalculator::CalcBeamBottomElev(IQTKCalculatorEDO* edo, int beamBottomMethod,
                                                            int beamFloorMethod, int wallBottomMethod,
                                                            int wallFloorMethod, int columnBottomMethod,
                                                            int columnFloorMethod,
                                                            TQTKOverHighBottomElevAnalyzerClass analyzerClass)
{
    const TElementFacts facts = FactsOf(edo);
    const bool useGround = SlabUsesGround(beamBottomMethod, facts.regionFlag);
    if (beamFloorMethod == 0)
        return NoSearchElev(facts, useGround);

    bool supported = false;
    double maxSupport = -2147483647.0, minSupport = 2147483647.0;
    auto support = [&](double elev) {
        supported = true;
        maxSupport = std::max(maxSupport, elev);
        minSupport = std::min(minSupport, elev);
    };
    if (const IQTKLineShape* beam = GetDrawObjLineShape(facts.drawObj)) {
        TRecordList related;
        edo->GetRelatedByTypes(MakeElementTypeSet({0, 1}), &related);
        for (const RecordRef& record : related) {
            const IQTKLineShape* wall = GetDrawObjLineShape(GetRecordDrawObj(record.get()));
            if (wall && WallSupportsBeam(*wall, *beam))
                support(CalcWallColumnBottomElev(GetCalcEDO(record, true).get(), wallBottomMethod, wallFloorMethod,
                                                 MakeOverHighBottomElevAnalyzer<TQTKWallOverHighBottomElevAnalyzer>));
        }
        if (!supported) {
            edo->GetRelatedByTypes(MakeElementTypeSet({25, 26}), &related);
            for (const RecordRef& record : related) {
                const IQTKElementDrawObj* column = GetRecordDrawObj(record.get());
                const auto* point = column ? dynamic_cast<const IQTKPointShape*>(column->GetShape()) : nullptr;
                if (!point)
                    continue;
                const TVRMPoint3d at = point->GetPoint();
                if (LessThan(point->GetBottomElev(), beam->GetBottomElevAt({at.x, at.y})))
                    support(
                        CalcWallColumnBottomElev(GetCalcEDO(record, true).get(), columnBottomMethod, columnFloorMethod,
                                                 MakeOverHighBottomElevAnalyzer<TQTKColumnOverHighBottomElevAnalyzer>));
            }
        }
    }
    if (supported)
        return beamFloorMethod == 1 ? minSupport : maxSupport;
    return SearchBottomElev(edo, facts, beamBottomMethod, beamFloorMethod, useGround, false, SlabTakesLast,
                            analyzerClass);
}

double TQTKOverHighBottomElevCalculator::CalcHungCeilingTopElev(IQTKCalculatorEDO* edo, int topMethod,
                                                                TQTKOverHighBottomElevAnalyzerClass analyzerClass)
{
    IQTKElementDrawObj* drawObj = edo->GetElementDrawObj();
    const IRDXRecord* floor = GetRecordFloor(drawObj->GetRecord());
    if (topMethod == 0)
        return (FieldValueFloat(floor, "StructuralElevation", 0.0) + FieldValueFloat(floor, "Height", 0.0)) * 1000.0;
    TQTKOverHighBottomElevInfo info;
    analyzerClass(drawObj)->Analyze(info, CQTKNoLowerBound);
    if (info.Elevs.empty()) {
        auto* ceiling = dynamic_cast<IQTKHungCeilingCalcEDO*>(edo);
        return ceiling ? ceiling->GetElevation() : EdoPropValueFloat(drawObj->GetPropValues(), "BottomElev");
    }
    return topMethod == 1 ? info.Elevs.front().First : info.Elevs.back().First;
}

// ---------------------------------------------------------------------------
// Per element kind

namespace {

constexpr std::string_view CFloorKey = "OverHighFloorElevCalcMethod";
constexpr std::string_view CBottomKey = "OverHighBottomElevCalcMethod";

template <class T>
constexpr TQTKOverHighBottomElevAnalyzerClass Analyzer = MakeOverHighBottomElevAnalyzer<T>;

}  // namespace

double TQTKOverHighBottomElevCalculator::GetBeamBottomElevAt(IQTKCalculatorEDO* edo, int bottomMethod,
                                                             const TableSourceRef& context)
{
    return CalcBeamBottomElev(
        edo, bottomMethod, Setting(context, "QTKBeamCalcSettings", CFloorKey),
        Setting(context, "QTKWallCalcSettings", CBottomKey), Setting(context, "QTKWallCalcSettings", CFloorKey),
        Setting(context, "QTKColumnCalcSettings", CBottomKey), Setting(context, "QTKColumnCalcSettings", CFloorKey),
        Analyzer<TQTKBeamOverHighBottomElevAnalyzer>);
}

double TQTKOverHighBottomElevCalculator::GetBeamBottomElev(IQTKCalculatorEDO* edo, const TableSourceRef& context)
{
    return GetBeamBottomElevAt(edo, Setting(context, "QTKBeamCalcSettings", CBottomKey), context);
}

double TQTKOverHighBottomElevCalculator::GetCeilingScaffoldOverHighBottomElev(IQTKCalculatorEDO* edo,
                                                                              const TableSourceRef& context)
{
    return CalcSlabBottomElev(
        edo, Setting(context, "QTKCeilingFinishCalcSettings", "CeilingScaffoldOverHighBottomElevCalcMethod"),
        Setting(context, "QTKCeilingFinishCalcSettings", "CeilingScaffoldFloorElevCalcMethod"),
        Analyzer<TQTKSlabOverHighBottomElevAnalyzer>);
}

double TQTKOverHighBottomElevCalculator::GetCeilingScaffoldBottomElev(IQTKCalculatorEDO* edo,
                                                                      const TableSourceRef& context)
{
    return CalcSlabBottomElev(edo, Setting(context, "QTKCeilingFinishCalcSettings", "CeilingScaffoldBottomCalcMethod"),
                              Setting(context, "QTKCeilingFinishCalcSettings", "CeilingScaffoldFloorElevCalcMethod"),
                              Analyzer<TQTKSlabOverHighBottomElevAnalyzer>);
}

double TQTKOverHighBottomElevCalculator::GetColumnBottomElev(IQTKCalculatorEDO* edo, const TableSourceRef& context)
{
    return CalcWallColumnBottomElev(edo, Setting(context, "QTKColumnCalcSettings", CBottomKey),
                                    Setting(context, "QTKColumnCalcSettings", CFloorKey),
                                    Analyzer<TQTKColumnOverHighBottomElevAnalyzer>);
}

double TQTKOverHighBottomElevCalculator::GetColumnScaffoldBottomElev(IQTKCalculatorEDO* edo,
                                                                     const TableSourceRef& context, int bottomMethod)
{
    return CalcWallColumnBottomElev(edo, bottomMethod,
                                    Setting(context, "QTKColumnCalcSettings", "ScaffoldFloorElevCalcMethod"),
                                    Analyzer<TQTKColumnOverHighBottomElevAnalyzer>);
}

double TQTKOverHighBottomElevCalculator::GetHungCeilingScaffoldBottomElev(IQTKCalculatorEDO* edo,
                                                                          const TableSourceRef& context)
{
    // The hung ceiling table numbers the two search methods the other way round.
    int floorMethod = Setting(context, "QTKHungCeilingFinishCalcSettings", "HungCeilingScaffoldFloorElevCalcMethod");
    if (floorMethod == 1 || floorMethod == 2)
        floorMethod = 3 - floorMethod;
    return CalcSlabBottomElev(
        edo, Setting(context, "QTKHungCeilingFinishCalcSettings", "HungCeilingScaffoldBottomElevCalcMethod"),
        floorMethod, Analyzer<TQTKSlabOverHighBottomElevAnalyzer>);
}

double TQTKOverHighBottomElevCalculator::GetHungCeilingScaffoldTopElev(IQTKCalculatorEDO* edo,
                                                                       const TableSourceRef& context)
{
    return CalcHungCeilingTopElev(
        edo, Setting(context, "QTKHungCeilingFinishCalcSettings", "HungCeilingScaffoldTopElevCalcMethod"),
        Analyzer<TQTKHungCeilingOverHighBottomElevAnalyzer>);
}

double TQTKOverHighBottomElevCalculator::GetSlabBottomElev(IQTKCalculatorEDO* edo, const TableSourceRef& context)
{
    return CalcSlabBottomElev(edo, Setting(context, "QTKSlabCalcSettings", CBottomKey),
                              Setting(context, "QTKSlabCalcSettings", CFloorKey),
                              Analyzer<TQTKSlabOverHighBottomElevAnalyzer>);
}

double TQTKOverHighBottomElevCalculator::GetSlabBottomElevByColumn(IQTKCalculatorEDO* edo,
                                                                   const TableSourceRef& context)
{
    return CalcSlabBottomElev(edo, Setting(context, "QTKSlabCalcSettings", CBottomKey),
                              Setting(context, "QTKSlabCalcSettings", CFloorKey),
                              Analyzer<TQTKColumnOverHighBottomElevAnalyzer>);
}

double TQTKOverHighBottomElevCalculator::GetWallBottomElev(IQTKCalculatorEDO* edo, const TableSourceRef& context)
{
    return CalcWallColumnBottomElev(edo, Setting(context, "QTKWallCalcSettings", CBottomKey),
                                    Setting(context, "QTKWallCalcSettings", CFloorKey),
                                    Analyzer<TQTKWallOverHighBottomElevAnalyzer>);
}

double TQTKOverHighBottomElevCalculator::GetWallScaffoldBottomElev(IQTKCalculatorEDO* edo, int bottomMethod,
                                                                   const TableSourceRef& context)
{
    return CalcWallColumnBottomElev(edo, bottomMethod,
                                    Setting(context, "QTKWallCalcSettings", "ScaffoldFloorElevCalcMethod"),
                                    Analyzer<TQTKWallOverHighBottomElevAnalyzer>);
}
