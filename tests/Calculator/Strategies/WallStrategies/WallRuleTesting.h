// Shared by the wall rule tests: calling a rule by name, and the wall crossed
// by a trench (a test object until the trench object lands).
#pragma once

#include <memory>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Support/TestBuilding.h"

inline double RunWallRule(const char* rule, const TTestBuilding& building, int subject, int object)
{
    const auto strategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(rule));
    return strategy->Calculate(RecordRef(building.Record(subject)), RecordRef(building.Record(object)), GBusiness(),
                               building.RuleSet());
}

// Wall 1 (0,0)-(6000,0), 240 thick, 0 to 3000; trench 2 across it at x 3000
// with its unit 3. The trench's whole solid is 1000 wide (x 2500 to 3500)
// from 0 to 600 high, its hollow 600 wide from 100 to 500; both reach
// through the wall. Unit 3 belongs to trench 2 and names it ("EDOPID").
// The wall settings hold "AreaCalcMethod"; the trench object lives as long as Fakes.
inline std::unique_ptr<TTestBuilding> TrenchAcrossWall(int areaCalcMethod, bool hasHollow, TFakeEDOScope& fakes)
{
    auto building = TTestBuilding::FromText(R"({
        "databases": [{"name": "Business", "tables": []}, {"name": "NormCalcRule", "tables": [
          {"name": "QTKWallCalcSettings", "fields": [{"name": "AreaCalcMethod", "type": "integer"}],
           "rows": [{"AreaCalcMethod": )" + std::to_string(areaCalcMethod) +
                                            R"(}]}]}],
        "floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0}],
        "elements": [
          {"id": 1, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}},
          {"id": 2, "type": 80, "floor": 1, "props": {"Width": 1000, "BottomElev": 0, "TopElev": 600},
           "shape": {"kind": "line", "start": [3000, -2000], "end": [3000, 2000]}},
          {"id": 3, "type": 84, "floor": 1, "parent": 2, "props": {"EDOPID": 2, "Width": 200},
           "shape": {"kind": "line", "start": [2600, -2000], "end": [2600, 2000]}}]})");
    building->Activate();
    auto& trench = fakes.Attach<TFakeTrenchEDO>(building->DrawObj(2));
    trench.whole = *TVRMPolyhedron3d::CreateBox(TVRMBox3d({2500, -2000, 0}, {3500, 2000, 600}));
    if (hasHollow)
        trench.hole = *TVRMPolyhedron3d::CreateBox(TVRMBox3d({2700, -2000, 100}, {3300, 2000, 500}));
    return building;
}
