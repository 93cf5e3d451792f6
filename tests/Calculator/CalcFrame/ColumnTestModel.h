// Small buildings of columns, tie columns, bases, caps and the walls around
// them, with the rule rows and material rows a case needs, and walls that
// join and give their lines as the wall objects will.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasThicknessInfoLineEntCalcEDO.h"
#include "tests/Support/TestBuilding.h"

// A wall on the line element base.
class TTestColumnWallEDO final : public TQTKHasThicknessInfoLineEntCalcEDO {
public:
    explicit TTestColumnWallEDO(IQTKElementDrawObj* drawObj) : TQTKHasThicknessInfoLineEntCalcEDO(0, drawObj) {}

protected:
    TQTKElementTypeSet GetConnectElementTypes() override { return MakeElementTypeSet({0, 1}); }
};

// Element text builders (mm).
std::string WallJson(int id, double x0, double y0, double x1, double y1, double width, double bottom, double top,
                     const std::string& extraProps = "");
std::string PointJson(int id, int type, double cx, double cy, double sx, double sy, double bottom, double top,
                      const std::string& extraProps = "", const std::string& extra = "");

class TColumnModelTest : public ::testing::Test {
protected:
    // The elements, the "InternalQtyCalcRule" rows ({"InternalQtyID": .., "CalcRuleID": ..}) and the
    // "Material" rows of the rule set; walls (type 0) get line-base wall objects.
    void Load(const std::vector<std::string>& elements, const std::string& ruleRows = "",
              const std::string& materialRows = "");
    void TearDown() override;
    IRDXRecord* Record(int id) const { return building_->Record(id); }
    IQTKElementDrawObj* DrawObj(int id) const { return building_->DrawObj(id); }
    template <class T>
    Ref<T> Edo(int id);

    std::unique_ptr<TTestBuilding> building_;
    std::vector<IQTKElementDrawObj*> attached_;
};

#include "Calculator/Common/QTKCalculatorCommon.h"

template <class T>
Ref<T> TColumnModelTest::Edo(int id)
{
    Ref<T> edo = RefCast<T>(GetCalcEDO(Record(id), true));
    EXPECT_TRUE(edo) << "element " << id;
    return edo;
}
