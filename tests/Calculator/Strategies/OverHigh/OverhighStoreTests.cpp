// The guarded get-or-build of the element objects' over-height stores: of
// several rules on several threads only one builds; a build that raises
// stores nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "Calculator/Common/QTKFloatList.h"
#include "Calculator/Strategies/Common/OverHigh/QTKBeamOverHighCalcBuilder.h"
#include "Calculator/Strategies/Common/OverHigh/QTKColumnOverHeightCalcBuilder.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "tests/Calculator/Strategies/OverHigh/OverHighTestModel.h"

namespace {

class TOverhighStoreTest : public TOverHighTest {};

TEST_F(TOverhighStoreTest, OneBuildAmongThreadsAndNothingStoredOnFailure)
{
    struct Case {
        const char* name;
        std::string element;
        std::string settingsTable;
    };
    const Case cases[] = {
        {"beam", LineElement(1, 15, 1, 0, 0, 6000, 0, 300, 3900, 4500), "QTKBeamCalcSettings"},
        {"column", PointElement(1, 25, 1, 0, 0, 400, 400, 0, 4800), "QTKColumnCalcSettings"},
        {"wall", LineElement(1, 0, 1, 0, 0, 6000, 0, 200, 0, 4800), "QTKWallCalcSettings"},
        {"column cap", PointElement(1, 27, 1, 0, 0, 1000, 1000, 3800, 4200), "QTKColumnCapCalcSetting"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.element, OverHighSettingsTable(c.settingsTable, TOverHighSettings{}));
        const Ref<IQTKOverhighCalcHolder> holder = RefCast<IQTKOverhighCalcHolder>(Edo(1));
        ASSERT_TRUE(holder);

        // A build that raises leaves the store empty.
        EXPECT_THROW(holder->GetOrBuildOverhighCalcs([](TQTKOverhighCalcSet& set) {
            set.volume = std::make_shared<TVRMOverhighSolidCalc3d>();
            throw std::runtime_error("cut failed");
        }),
                     std::runtime_error);
        EXPECT_FALSE(holder->GetOrBuildOverhighCalcs(nullptr).volume);

        std::atomic<int> builds{0};
        std::vector<TVRMOverhighSolidCalc3d*> seen(6, nullptr);
        std::vector<std::thread> threads;
        for (size_t t = 0; t < seen.size(); ++t)
            threads.emplace_back([&, t] {
                const TQTKOverhighCalcSet set = holder->GetOrBuildOverhighCalcs([&](TQTKOverhighCalcSet& stored) {
                    if (stored.volume)
                        return;
                    ++builds;
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                    stored.volume = std::make_shared<TVRMOverhighSolidCalc3d>();
                    stored.valueList = std::make_shared<TFloatList>();
                });
                seen[t] = set.volume.get();
            });
        for (auto& thread : threads)
            thread.join();
        EXPECT_EQ(builds.load(), 1);
        for (TVRMOverhighSolidCalc3d* calc : seen)
            EXPECT_EQ(calc, seen.front());
        EXPECT_TRUE(seen.front());
    }
}

TEST_F(TOverhighStoreTest, BeamKeepsWhatTheGuardedBuildStored)
{
    TOverHighSettings s;
    s.method = 3, s.partition = 0.3;
    Load(LineElement(1, 15, 1, 0, 0, 6000, 0, 300, 3900, 4500), OverHighSettingsTable("QTKBeamCalcSettings", s));
    auto beam = RefCast<IQTKBeamCalcEDO>(Edo(1));
    const TQTKOverhighCalcSet set =
        RefCast<IQTKOverhighCalcHolder>(Edo(1))->GetOrBuildOverhighCalcs([&](TQTKOverhighCalcSet& stored) {
            TQTkBeamOverHighCalcBuilder builder(Record(1), Business(), Rules());
            if (!builder.IsOverHigh())
                return;
            stored.volume = builder.BuildVolumeCalc();
            stored.valueList = builder.TakeValueList();
        });
    ASSERT_TRUE(set.volume);
    EXPECT_EQ(beam->GetOverhighVolumeCalc(), set.volume.get());
    EXPECT_EQ(Values(beam->GetOverhighValueList()), (std::vector<double>{4200, 3900, 3600, 4500}));
}

}  // namespace
