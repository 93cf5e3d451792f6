#include <gtest/gtest.h>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKFinishColumnOutLines.h"
#include "Calculator/Common/QTKFloatList.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

TEST(FloatListTest, GrowsByFiveAndChecksIndices)
{
    TFloatList list;
    for (int i = 0; i < 6; ++i)
        list.Add(i * 1.5);
    EXPECT_EQ(list.Count(), 6);
    EXPECT_EQ(list.Capacity(), 10);
    EXPECT_DOUBLE_EQ(list.Get(5), 7.5);
    EXPECT_THROW(list.Get(6), EQTKAssertionFailed);
    EXPECT_THROW(list.Get(-1), EQTKAssertionFailed);
}

TEST(GeometryHolderTest, HoldersOwnTheirGeometry)
{
    Ref<IQTKSectionPoly> empty(new TQTKSectionPoly(nullptr));
    EXPECT_EQ(empty->GetPolygon(), nullptr);
    Ref<IQTKSectionPoly> section(new TQTKSectionPoly(TVRMMultiPolygon2d::Create()));
    EXPECT_NE(section->GetPolygon(), nullptr);

    EXPECT_THROW(MakePolyhedronHolder(nullptr), EQTKAssertionFailed);
    TVRMPolyhedron3d* solid = nullptr;
    {
        Ref<IQTKPolyhedron3dIntf> holder = MakePolyhedronHolder(TVRMPolyhedron3d::CreateBox({{0, 0, 0}, {1, 2, 3}}));
        Ref<IQTKPolyhedron3dIntf> reader = holder;
        holder = nullptr;
        solid = reader->GetPolyhedron();
        EXPECT_DOUBLE_EQ(solid->GetVolume(), 6.0);  // valid while any reference is held
    }
}

TEST(ElementTypeSetTest, IgnoresIdsOutsideTheByteRange)
{
    const TQTKElementTypeSet set = MakeElementTypeSet({0, 15, 255, 256, -1});
    EXPECT_EQ(set.count(), 3u);
    EXPECT_TRUE(set.test(15));
}

std::unique_ptr<TQTKOutFinishLines> Band(int key, double bottom, double top, int pieces)
{
    auto group = std::make_unique<TQTKOutFinishLines>();
    group->Key = key;
    group->BottomElev = bottom;
    group->TopElev = top;
    for (int i = 0; i < pieces; ++i)
        group->AddLine(std::make_unique<TVRMCustomLine2d>(TVRMPoint2d{0.0 + i, 0}, TVRMPoint2d{1.0 + i, 0}), i == 0);
    return group;
}

TEST(FinishColumnOutLinesTest, GroupsAreFoundByColumnInTheOrderAdded)
{
    TQTKOutFinishLinesContainer container;
    container.Add(Band(7, 0, 1500, 2));
    container.Add(Band(9, 0, 3000, 1));
    container.Add(Band(7, 1500, 3000, 3));

    auto none = container.GetByKey(8);
    EXPECT_TRUE(none->IsDone());

    auto bands = container.GetByKey(7);
    std::vector<std::pair<double, int>> seen;
    while (!bands->IsDone()) {
        TQTKOutFinishLines* group = bands->Next();
        seen.emplace_back(group->BottomElev, group->GetCount());
    }
    EXPECT_EQ(seen, (std::vector<std::pair<double, int>>{{0, 2}, {1500, 3}}));
    EXPECT_THROW(bands->Next(), EQTKAssertionFailed);
    bands.reset();  // the groups stay with the container
    EXPECT_TRUE(container.GetItem(2).GetItem(0).OnRefLine);
    EXPECT_FALSE(container.GetItem(2).GetItem(2).OnRefLine);
    EXPECT_THROW(container.GetItem(2).GetItem(3), EQTKAssertionFailed);
    EXPECT_THROW(container.GetItem(3), EQTKAssertionFailed);

    container.Clear();
    EXPECT_FALSE(container.HasKey(7));
    container.Add(Band(7, 0, 100, 1));
    EXPECT_TRUE(container.HasKey(7));
}

}  // namespace
