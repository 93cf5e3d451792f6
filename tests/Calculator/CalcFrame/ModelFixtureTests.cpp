#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/QTKElementModel.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Support/TestBuilding.h"

namespace {

// A model file of tests/fixtures/calcframe, active for the test's length.
class TModelFixture : public ::testing::Test {
protected:
    void Load(const char* name)
    {
        building_ = TTestBuilding::FromFile(std::filesystem::path("calcframe") / name);
        building_->Activate();
    }
    Ref<IQTKCalculatorEDO> EDO(int id) { return GetCalcEDO(building_->Record(id), true); }
    std::vector<int> RelatedIds(int id)
    {
        Ref<IQTKCalculatorEDO> edo = EDO(id);
        std::vector<int> ids;
        for (int i = 0; i < edo->GetRelatedCount(); ++i)
            ids.push_back(edo->GetRelated(i)->GetID());
        return ids;
    }
    std::unique_ptr<TTestBuilding> building_;
};

TEST_F(TModelFixture, WallDoorAndSlabAreRelatedBothWays)
{
    Load("wall-door-slab.json");
    EXPECT_EQ(RelatedIds(30), (std::vector<int>{11}));
    EXPECT_EQ(RelatedIds(11), (std::vector<int>{5, 30}));  // the virtual wall at its end is left out
    EXPECT_EQ(RelatedIds(5), (std::vector<int>{11}));
    EXPECT_EQ(EDO(12)->GetMode(), 2);
    EXPECT_EQ(EDO(11)->GetMaterial(), "砖");
    EXPECT_EQ(EDO(11)->GetType(), -1);
}

TEST_F(TModelFixture, MergedSolidUnitesTheSubSolids)
{
    Load("wall-door-slab.json");
    // The base object's relation solid is the original united with the
    // sub-solids (a column's own object keeps to the column's solid).
    IQTKElementDrawObj* column = building_->DrawObj(40);
    Ref<TQTKCalculatorEDO> edo(new TQTKCalculatorEDO(0, column));
    edo->SetPrepareState(CQTKEdoPrepared);
    column->SetCalcEDO(static_cast<IQTKCalculatorEDO*>(edo.get()));
    TVRMPolyhedron3d* merged = EDO(40)->GetMergedSolid();
    EXPECT_NEAR(merged->GetVolume(), 150.0 * 100 * 100, 1e-3);
    EXPECT_NEAR(EDO(40)->GetRelationPolyhedronIntf()->GetPolyhedron()->GetVolume(),
                400.0 * 400 * 3000 + 150.0 * 100 * 100, 1.0);
    column->SetCalcEDO(nullptr);
}

}  // namespace
