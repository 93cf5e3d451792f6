// Related lists, solids and boxes of the sample building do not depend on the
// order of the elements in the file nor on how many threads ask for them, nor
// in which order.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <thread>

#include <nlohmann/json.hpp>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/QTKElementModel.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Support/TestBuilding.h"

namespace {

std::filesystem::path Examples()
{
    const char* dir = std::getenv("QTK_TEST_FIXTURES");
    return (dir ? std::filesystem::path(dir) : std::filesystem::path("tests/fixtures")).parent_path().parent_path() /
           "examples";
}

// What the calculation sees of one element.
struct TElementView {
    std::vector<int> related;
    double volume = 0.0;
    std::array<double, 6> box{};
    bool operator==(const TElementView&) const = default;
};

// Loads the sample building with its elements in the given order, then lets
// `threads` threads ask for the element objects in `askOrder` (ids), each
// thread taking the next id in turn.
std::map<int, TElementView> Calculate(const nlohmann::json& building, const std::vector<size_t>& fileOrder,
                                      const std::vector<int>& askOrder, int threads)
{
    nlohmann::json shuffled = building;
    shuffled["elements"] = nlohmann::json::array();
    for (size_t i : fileOrder)
        shuffled["elements"].push_back(building["elements"][i]);
    const auto model = TTestBuilding::FromText(shuffled.dump(), Examples());
    model->Activate();

    std::map<int, TElementView> views;
    std::mutex lock;
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t k = next++; k < askOrder.size(); k = next++) {
            const int id = askOrder[k];
            Ref<IQTKCalculatorEDO> edo = GetCalcEDO(model->Record(id), true);
            TElementView view;
            for (int i = 0; i < edo->GetRelatedCount(); ++i)
                view.related.push_back(edo->GetRelated(i)->GetID());
            view.volume = edo->GetOriginalPolyhedron()->GetVolume();
            const TVRMBox3d box = edo->GetElementDrawObj()->GetBox();
            view.box = {box.min.x, box.min.y, box.min.z, box.max.x, box.max.y, box.max.z};
            std::lock_guard guard(lock);
            views[id] = std::move(view);
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back(work);
    for (auto& t : pool)
        t.join();

    return views;
}

TEST(RelatedListOrder, SameListsSolidsAndBoxesForAnyOrderAndThreadCount)
{
    std::ifstream in(Examples() / "building.json");
    const nlohmann::json building = nlohmann::json::parse(in);
    const size_t count = building["elements"].size();
    std::vector<size_t> fileOrder(count);
    std::vector<int> ids(count);
    for (size_t i = 0; i < count; ++i) {
        fileOrder[i] = i;
        ids[i] = building["elements"][i]["id"].get<int>();
    }
    const auto reference = Calculate(building, fileOrder, ids, 1);
    ASSERT_EQ(reference.size(), count);
    // Rooms are related to the finishes they find: from the room's side.
    size_t relations = 0;
    for (const auto& [id, view] : reference)
        relations += view.related.size();
    EXPECT_GT(relations, count);

    std::mt19937 random(20261210);
    for (int round = 0; round < 4; ++round) {
        std::shuffle(fileOrder.begin(), fileOrder.end(), random);
        std::vector<int> askOrder = ids;
        std::shuffle(askOrder.begin(), askOrder.end(), random);
        if (round == 0)
            std::reverse(askOrder.begin(), askOrder.end());
        for (int threads : {1, 2, 8}) {
            SCOPED_TRACE(testing::Message() << "round " << round << ", " << threads << " threads");
            const auto views = Calculate(building, fileOrder, askOrder, threads);
            for (const auto& [id, view] : reference) {
                auto it = views.find(id);
                ASSERT_NE(it, views.end()) << "element " << id;
                EXPECT_EQ(it->second.related, view.related) << "element " << id;
                EXPECT_EQ(it->second.volume, view.volume) << "element " << id;
                EXPECT_EQ(it->second.box, view.box) << "element " << id;
            }
        }
    }
}

}  // namespace
