#include "CalcModelFixture.h"

#include <map>
#include <memory>

#include "tests/Support/TestBuilding.h"

namespace {

// The buildings of the program, kept to its end (never freed: their element
// objects refer to framework state that is gone by the time statics die).
std::map<const TQTKElementModel*, TTestBuilding*>& Buildings()
{
    static auto* buildings = new std::map<const TQTKElementModel*, TTestBuilding*>;
    return *buildings;
}

TTestBuilding& BuildingOf(const TQTKElementModel& model)
{
    return *Buildings().at(&model);
}

}  // namespace

TQTKElementModel& TCalcModelTest::Model(const std::string& fileName)
{
    static auto* byName = new std::map<std::string, TTestBuilding*>;
    TTestBuilding*& building = (*byName)[fileName];
    if (!building) {
        building = TTestBuilding::FromFile("calc/" + fileName).release();
        Buildings()[building->Model()] = building;
    }
    return *building->Model();
}

TableSourceRef TCalcModelTest::RuleSet(TQTKElementModel& model)
{
    return TableSourceRef(model.GetRDXModel()->FindDatabase("NormCalcRule"));
}

void TCalcModelTest::StartSession(TQTKElementModel& model, TQTKCalcSessionOptions options)
{
    if (!options.calculatorSetting)
        options.calculatorSetting = RuleSet(model);
    TQTKCalculationScopeOptions scope;
    scope.session = std::move(options);
    active_ = &BuildingOf(model);
    active_->Activate(std::move(scope));
}

void TCalcModelTest::TearDown()
{
    if (active_)
        active_->Deactivate();
    active_ = nullptr;
}

IRDXRecord* TCalcModelTest::Record(TQTKElementModel& model, int id)
{
    IRDXRecord* record = BuildingOf(model).Record(id);
    EXPECT_NE(record, nullptr) << "no element " << id;
    return record;
}
