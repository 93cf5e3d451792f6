// Shared by the beam rule tests: calling a rule by name, and a foundation
// beam crossed (or followed) by a trench, a test object with a whole solid
// the test states.
#pragma once

#include <memory>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Support/TestBuilding.h"

inline double RunBeamRule(const char* rule, const TTestBuilding& building, int subject, int object)
{
    const auto strategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(rule));
    return strategy->Calculate(RecordRef(building.Record(subject)), RecordRef(building.Record(object)), GBusiness(),
                               building.RuleSet());
}

// Foundation beam 1 (0,0)-(6000,0), 240 x 500 from -500 to 0. Trench 2 runs
// across it at x 3000 (Across) or along its axis, its unit 3 beside its
// line; its whole solid is 1000 wide (across: x 2500 to 3500; along: y -500
// to 500, holding the whole beam) from -600 to 0. The settings hold the formwork priority list PriorityList.
inline std::unique_ptr<TTestBuilding> TrenchUnderFDBeam(bool across, TFakeEDOScope& fakes,
                                                        const std::string& priorityList = "")
{
    const std::string trenchLine =
        across ? R"("start": [3000, -2000], "end": [3000, 2000])" : R"("start": [0, 0], "end": [6000, 0])";
    const std::string unitLine =
        across ? R"("start": [2600, -2000], "end": [2600, 2000])" : R"("start": [0, -400], "end": [6000, -400])";
    auto building = TTestBuilding::FromText(R"({
        "databases": [{"name": "Business", "tables": []}, {"name": "NormCalcRule", "tables": [
          {"name": "QTKOtherCalcSetting", "fields": [{"name": "FormboardPriority", "type": "text"}],
           "rows": [{"FormboardPriority": ")" +
                                            priorityList + R"("}]}]}],
        "floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0}],
        "elements": [
          {"id": 1, "type": 47, "floor": 1, "props": {"SectionWidth": 240, "SectionHeight": 500, "TopElev": 0,
           "Material": "混凝土"}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}},
          {"id": 2, "type": 80, "floor": 1, "props": {"Width": 1000, "BottomElev": -600, "TopElev": 0},
           "shape": {"kind": "line", )" + trenchLine +
                                            R"(}},
          {"id": 3, "type": 84, "floor": 1, "parent": 2, "props": {"EDOPID": 2, "Width": 200},
           "shape": {"kind": "line", )" + unitLine +
                                            R"(}}]})");
    building->Activate();
    auto& trench = fakes.Attach<TFakeTrenchEDO>(building->DrawObj(2));
    trench.whole = across ? *TVRMPolyhedron3d::CreateBox(TVRMBox3d({2500, -2000, -600}, {3500, 2000, 0}))
                          : *TVRMPolyhedron3d::CreateBox(TVRMBox3d({0, -500, -600}, {6000, 500, 0}));
    return building;
}
