// The elevation from which an element's over-height or scaffold height is
// measured (mm), per element kind, from two settings of the kind's settings
// table: a floor method (whether the elements below count, and which of the
// bands found) and a bottom method (when the project's ground elevation
// replaces the floor elevation). The search of what lies below is
// QTKOverHighBottomElevCalcInfo.
//
// Missing pieces read as defaults: a missing settings table, row or key
// gives method 0; a missing "ProjInfo" row ground 0; a region without a
// first floor a first-floor elevation of 0.
#pragma once

#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKOverHighBottomElevCalcInfo.h"

class IQTKElementDrawObj;

class TQTKOverHighBottomElevCalculator {
public:
    TQTKOverHighBottomElevCalculator() = delete;

    static double GetBeamBottomElev(IQTKCalculatorEDO* edo, const TableSourceRef& context);
    // The beam scaffold rules pass their bottom method (0, 1 or 2).
    static double GetBeamBottomElevAt(IQTKCalculatorEDO* edo, int bottomMethod, const TableSourceRef& context);
    static double GetCeilingScaffoldOverHighBottomElev(IQTKCalculatorEDO* edo, const TableSourceRef& context);
    static double GetCeilingScaffoldBottomElev(IQTKCalculatorEDO* edo, const TableSourceRef& context);
    static double GetColumnBottomElev(IQTKCalculatorEDO* edo, const TableSourceRef& context);
    static double GetColumnScaffoldBottomElev(IQTKCalculatorEDO* edo, const TableSourceRef& context, int bottomMethod);
    static double GetHungCeilingScaffoldBottomElev(IQTKCalculatorEDO* edo, const TableSourceRef& context);
    static double GetHungCeilingScaffoldTopElev(IQTKCalculatorEDO* edo, const TableSourceRef& context);
    static double GetSlabBottomElev(IQTKCalculatorEDO* edo, const TableSourceRef& context);
    // Spiral slabs: measured as a column is searched.
    static double GetSlabBottomElevByColumn(IQTKCalculatorEDO* edo, const TableSourceRef& context);
    static double GetWallBottomElev(IQTKCalculatorEDO* edo, const TableSourceRef& context);
    static double GetWallScaffoldBottomElev(IQTKCalculatorEDO* edo, int bottomMethod, const TableSourceRef& context);

    // Workers.
    static double CalcWallColumnBottomElev(IQTKCalculatorEDO* edo, int bottomMethod, int floorMethod,
                                           TQTKOverHighBottomElevAnalyzerClass analyzerClass);
    static double CalcSlabBottomElev(IQTKCalculatorEDO* edo, int bottomMethod, int floorMethod,
                                     TQTKOverHighBottomElevAnalyzerClass analyzerClass);
    static double CalcBeamBottomElev(IQTKCalculatorEDO* edo, int beamBottomMethod, int beamFloorMethod,
                                     int wallBottomMethod, int wallFloorMethod, int columnBottomMethod,
                                     int columnFloorMethod, TQTKOverHighBottomElevAnalyzerClass analyzerClass);
    static double CalcHungCeilingTopElev(IQTKCalculatorEDO* edo, int topMethod,
                                         TQTKOverHighBottomElevAnalyzerClass analyzerClass);

    // The region flag is set and the element's solid reaches below the first floor.
    static bool IsBelowFirstFloor(IQTKCalculatorEDO* edo, bool regionFlag, double firstFloorElev);
    // "StartPtTopElev" / "EndPtTopElev" or "StartPtBottomElev" / "EndPtBottomElev" differ.
    static bool HasUnevenEnds(const IQTKElementDrawObj* drawObj);
    static double GetAverageEndBottomElev(const IQTKElementDrawObj* drawObj);
};
