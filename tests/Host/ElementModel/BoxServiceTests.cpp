// The box query: closed boxes, touching within the tolerance, ids ascending.
#include <thread>

#include "Host/ElementModel/QTKBoxService.h"
#include "tests/Host/ElementModel/ElementModelTestUtils.h"

namespace {

TVRMBox3d Box(double x0, double y0, double z0, double x1, double y1, double z1)
{
    return TVRMBox3d({x0, y0, z0}, {x1, y1, z1});
}

TEST(BoxService, BoxesMeetWhenTheyTouchWithinTheTolerance)
{
    const TVRMBox3d unit = Box(0, 0, 0, 1, 1, 1);
    struct Case {
        TVRMBox3d other;
        bool meets;
    };
    const Case cases[] = {
        {Box(1, 0, 0, 2, 1, 1), true},                                                  // a shared face
        {Box(1.001, 0, 0, 2, 1, 1), true},                                              // a gap within the tolerance
        {Box(1.002, 0, 0, 2, 1, 1), false},                                             // beyond it
        {Box(0.5, 0.5, 0.5, 3, 3, 3), true},                                            // overlap
        {Box(0.2, 0.2, 0.2, 0.8, 0.8, 0.8), true},                                      // inside
        {Box(-CVRMMaxInt, -CVRMMaxInt, 2, CVRMMaxInt, CVRMMaxInt, CVRMMaxInt), false},  // open above z = 2
        {Box(-HUGE_VAL, -HUGE_VAL, 1, HUGE_VAL, HUGE_VAL, HUGE_VAL), true},
    };
    std::vector<std::pair<int, TVRMBox3d>> items{{1, unit}};
    TQTKBoxService service(items);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.other.min.x << " " << c.other.min.z);
        EXPECT_EQ(IsBox3dIntersectant(unit, c.other, 1), c.meets);
        EXPECT_EQ(IsBox3dIntersectant(c.other, unit, 1), c.meets);
        EXPECT_EQ(service.Query(c.other, 1), c.meets ? std::vector<int>{1} : std::vector<int>{});
    }
}

TEST(BoxService, QueryReturnsIdsAscendingWithoutRepeats)
{
    const std::vector<std::pair<int, TVRMBox3d>> items{
        {42, Box(0, 0, 0, 10, 10, 10)},   {7, Box(10, 0, 0, 20, 10, 10)},
        {19, Box(5, 5, 5, 6, 6, 6)},      {3, Box(100, 0, 0, 110, 10, 10)},
        {8, Box(-10, -10, 10, 0, 0, 20)}, {5, Box(1, 1, 1, 0, 0, 0)},  // invalid: left out
    };
    const TQTKBoxService service(items);
    EXPECT_EQ(service.GetCount(), 5);
    EXPECT_EQ(service.Query(Box(0, 0, 0, 10, 10, 10)), (std::vector<int>{7, 8, 19, 42}));
    EXPECT_EQ(service.Query(TVRMBox3d::Open()), (std::vector<int>{3, 7, 8, 19, 42}));
    EXPECT_TRUE(service.Query(Box(50, 50, 50, 60, 60, 60)).empty());
    EXPECT_TRUE(service.Query(TVRMBox3d()).empty());  // an invalid query box meets nothing
}

TEST(BoxService, ModelElementsThroughTheRuntimeOptions)
{
    // Two walls meeting at a corner, a slab on them and a column away from them.
    const auto model = LoadElements(
        R"({"id": 5, "type": 0, "props": {"Thickness": 200, "BottomElev": 0, "TopElev": 2880},
            "shape": {"kind": "line", "start": [0, 0], "end": [4000, 0]}},
           {"id": 3, "type": 0, "props": {"Thickness": 200, "BottomElev": 0, "TopElev": 2880},
            "shape": {"kind": "line", "start": [0, 0], "end": [0, 4000]}},
           {"id": 9, "type": 19, "props": {"Thickness": 120, "TopElev": 3000},
            "shape": {"kind": "face", "outline": [[0, 0], [4000, 0], [4000, 4000], [0, 4000]]}},
           {"id": 1, "type": 25, "props": {"BottomElev": 0, "TopElev": 3000},
            "shape": {"kind": "point", "insertPt": [8000, 8000], "size": [400, 400]}})");
    model->Activate();
    const IQTKBoxService* service = GetQTKModelRuntimeOptions().GetBoxService();
    ASSERT_EQ(service, model->GetBoxService());
    // The slab's box touches the walls' tops: all three, the slab itself included, ascending.
    EXPECT_EQ(service->Query(model->FindElement(9)->GetBox(), 1), (std::vector<int>{3, 5, 9}));
    const int walls[] = {0};
    const auto found =
        TQTKBoxServiceOp::GetBoxIntersectEDOs(model->GetElementTable(), model->FindElement(9)->GetBox(), walls);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0]->GetIndexKey(), 3);
    EXPECT_EQ(found[1]->GetIndexKey(), 5);
    EXPECT_EQ(TQTKBoxServiceOp::GetBoxIntersectEDOs(model->GetElementTable(), TVRMBox3d::Open(), {}).size(), 4u);
    GetQTKModelRuntimeOptions().SetBoxService(nullptr);
    EXPECT_TRUE(TQTKBoxServiceOp::GetBoxIntersectEDOs(model->GetElementTable(), TVRMBox3d::Open(), {}).empty());
}

TEST(BoxService, ConcurrentQueriesAgree)
{
    std::vector<std::pair<int, TVRMBox3d>> items;
    for (int i = 0; i < 2000; ++i)
        items.emplace_back(i + 1, Box(i * 10.0, 0, 0, i * 10.0 + 10, 10, 10));
    const TQTKBoxService service(items);
    const std::vector<int> expected = service.Query(Box(95, 0, 0, 205, 1, 1));
    ASSERT_EQ(expected.size(), 12u);  // boxes from x 90 to x 210
    std::vector<std::thread> threads;
    std::atomic<int> mismatches{0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int k = 0; k < 500; ++k)
                if (service.Query(Box(95, 0, 0, 205, 1, 1)) != expected)
                    ++mismatches;
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
