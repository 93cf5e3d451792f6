#include "CalcModelFixture.h"

#include <cstdlib>
#include <map>

#include "Calculator/Common/QTKCalculatorCommon.h"

TQTKElementModel& TCalcModelTest::Model(const std::string& fileName)
{
    static std::map<std::string, Ref<TQTKElementModel>> models;
    Ref<TQTKElementModel>& model = models[fileName];
    if (!model) {
        const char* dir = std::getenv("QTK_TEST_FIXTURES");
        model = TQTKElementModel::LoadFromFile(std::string(dir ? dir : "tests/fixtures") + "/calc/" + fileName);
    }
    return *model;
}

TableSourceRef TCalcModelTest::RuleSet(TQTKElementModel& model)
{
    return TableSourceRef(model.GetRDXModel()->FindDatabase("NormCalcRule"));
}

void TCalcModelTest::StartSession(TQTKElementModel& model, TQTKCalcSessionOptions options)
{
    model.Activate();
    if (!options.business)
        options.business = TableSourceRef(model.GetBusiness());
    if (!options.calculatorSetting)
        options.calculatorSetting = RuleSet(model);
    StartCalculationSession(options);
}

void TCalcModelTest::TearDown()
{
    FreeCalcEDOs();
    StartCalculationSession({});
}

IRDXRecord* TCalcModelTest::Record(TQTKElementModel& model, int id)
{
    const IQTKElementDrawObj* element = model.FindElement(id);
    EXPECT_NE(element, nullptr) << "no element " << id;
    return element ? element->GetRecord() : nullptr;
}
