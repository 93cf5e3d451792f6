// Shared by the beam rule tests: calling a rule by name, and a foundation
// beam crossed (or followed) by a trench, a test object with a whole solid
// the test states.
#pragma once

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Support/TestBuilding.h"

// The rule object is of class T itself.
template <class T>
bool IsRuleOf(IQTKCalcStrategy* rule)
{
    return rule && typeid(*rule) == typeid(T);
}

inline double RunBeamRule(const char* rule, const TTestBuilding& building, int subject, int object)
{
    const auto strategy = Ref<IQTKCalcStrategy>::Adopt(GetStrategy(rule));
    return strategy->Calculate(RecordRef(building.Record(subject)), RecordRef(building.Record(object)), GBusiness(),
                               building.RuleSet());
}

// A building of one or two storeys (ids 1 and 2, 3 m each) with the elements
// (a model file's "elements" array) and a rule set whose "FormboardPriority"
// lists the element types in that order (empty: no list).
inline std::unique_ptr<TTestBuilding> BeamBuilding(const std::string& elements, std::vector<int> priorities = {})
{
    std::string list;
    for (const int type : priorities)
        list +=
            (list.empty() ? "" : ", ") + std::string(R"({"ElementFormboardPriority": )") + std::to_string(type) + "}";
    auto building = TTestBuilding::FromText(R"({
        "databases": [{"name": "Business", "tables": []}, {"name": "NormCalcRule", "tables": [
          {"name": "QTKOtherCalcSetting", "fields": [{"name": "ID", "type": "integer"},
            {"name": "FormboardPriority", "type": "detail",
             "fields": [{"name": "ElementFormboardPriority", "type": "integer"}]}],
           "rows": [{"ID": 1, "FormboardPriority": [)" +
                                            list + R"(]}]}]}],
        "floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0},
                   {"ID": 2, "Name": "F2", "StructuralElevation": 3.0, "Height": 3.0}],
        "elements": )" + elements + "}");
    building->Activate();
    return building;
}

// Foundation beam 1 (0,0)-(6000,0), 240 x 500 from -500 to 0. Trench 2 runs
// across it at x 3000 (Across) or along its axis, its unit 3 beside its
// line; its whole solid is 1000 wide (across: x 2500 to 3500; along: y -500
// to 500, holding the whole beam) from -600 to 0.
inline std::unique_ptr<TTestBuilding> TrenchUnderFDBeam(bool across, TFakeEDOScope& fakes)
{
    const std::string trenchLine =
        across ? R"("start": [3000, -2000], "end": [3000, 2000])" : R"("start": [0, 0], "end": [6000, 0])";
    const std::string unitLine =
        across ? R"("start": [2600, -2000], "end": [2600, 2000])" : R"("start": [0, -400], "end": [6000, -400])";
    auto building = BeamBuilding(R"([
          {"id": 1, "type": 47, "floor": 1, "props": {"SectionWidth": 240, "SectionHeight": 500, "TopElev": 0,
           "Material": "混凝土"}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0]}},
          {"id": 2, "type": 80, "floor": 1, "props": {"Width": 1000, "BottomElev": -600, "TopElev": 0},
           "shape": {"kind": "line", )" +
                                 trenchLine +
                                 R"(}},
          {"id": 3, "type": 84, "floor": 1, "parent": 2, "props": {"EDOPID": 2, "Width": 200},
           "shape": {"kind": "line", )" +
                                 unitLine + R"(}}])");
    auto& trench = fakes.Attach<TFakeTrenchEDO>(building->DrawObj(2));
    trench.whole = across ? *TVRMPolyhedron3d::CreateBox(TVRMBox3d({2500, -2000, -600}, {3500, 2000, 0}))
                          : *TVRMPolyhedron3d::CreateBox(TVRMBox3d({0, -500, -600}, {6000, 500, 0}));
    return building;
}

// Runs the beam's original formwork rule (left, right, bottom and top faces),
// then the rule; what the rule returns.
inline double RunAfterFormwork(const char* rule, const TTestBuilding& building, int subject, int object)
{
    RunBeamRule("TQTKBeamOriginalFormboardArea", building, subject, 0);
    return RunBeamRule(rule, building, subject, object);
}
