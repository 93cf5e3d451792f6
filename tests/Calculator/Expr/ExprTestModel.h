// A model test with the expression data of its records at hand: the current
// quantity "MJ" in expression mode, its text, its items, and test element
// objects attached for the test's length.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKCalculatorExprContainer.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"
#include "tests/Calculator/Geometry/GeometryTestModel.h"

// One row of a text table: a builder run on a record for a quantity of its
// own, and the text it must leave ("(none)": no text).
struct TExprTextCase {
    const char* name;
    int record;
    std::function<void(IRDXRecord*)> build;
    const char* text;
};

class TExprModelTest : public TGeometryModelTest {
protected:
    void TearDown() override
    {
        fakes_.reset();
        TGeometryModelTest::TearDown();
    }
    // The record's quantity "MJ" is being computed, with expressions or without.
    static void StartQty(const IRDXRecord* record, bool exprMode = true)
    {
        TQTKEdoGlobalData* data = GetEdoGlobalData(record->GetID());
        data->SetCurQty("MJ", "MJ", "面积");
        data->SetIsExprMode(exprMode);
    }
    static std::string Text(const IRDXRecord* record, const std::string& key = "MJ")
    {
        std::string text;
        return GetEdoGlobalData(record->GetID())->GetExprText(key, text) ? text : "(none)";
    }
    // A quantity of its own per table row: the first text written for a quantity stays.
    static void StartRowQty(const IRDXRecord* record, const std::string& key)
    {
        TQTKEdoGlobalData* data = GetEdoGlobalData(record->GetID());
        data->SetCurQty(key, key, key);
        data->SetIsExprMode(true);
    }
    static TQTKCalcInternalExprContainer& Items(const IRDXRecord* record)
    {
        return GetEdoGlobalData(record->GetID())->GetExprContainer();
    }
    // Runs each row on its own quantity key and compares the text.
    void ExpectTexts(const std::vector<TExprTextCase>& cases,
                     const std::function<void(const TExprTextCase&)>& before = {})
    {
        for (size_t i = 0; i < cases.size(); ++i) {
            const TExprTextCase& c = cases[i];
            SCOPED_TRACE(c.name);
            if (before)
                before(c);
            const std::string key = std::to_string(i);
            StartRowQty(Record(c.record), key);
            c.build(Record(c.record));
            EXPECT_EQ(Text(Record(c.record), key), c.text);
        }
    }
    template <class T>
    T& Attach(int id)
    {
        if (!fakes_)
            fakes_ = std::make_unique<TFakeEDOScope>();
        return fakes_->Attach<T>(DrawObj(id));
    }

private:
    std::unique_ptr<TFakeEDOScope> fakes_;
};
