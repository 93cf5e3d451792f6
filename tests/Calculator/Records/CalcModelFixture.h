// A model file of tests/fixtures/calc (a TTestBuilding) loaded once per test
// program, active per test in a calculation scope over its "Business" data
// and its rule set "NormCalcRule".
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Host/ElementModel/QTKElementModel.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"

class TTestBuilding;

class TCalcModelTest : public ::testing::Test {
protected:
    // The model file of the suite (a name under tests/fixtures/calc).
    static TQTKElementModel& Model(const std::string& fileName);

    // Starts a session on the model; Options may add to the defaults.
    void StartSession(TQTKElementModel& model, TQTKCalcSessionOptions options = {});
    void TearDown() override;

    static IRDXRecord* Record(TQTKElementModel& model, int id);
    static TableSourceRef RuleSet(TQTKElementModel& model);

private:
    TTestBuilding* active_ = nullptr;
};
