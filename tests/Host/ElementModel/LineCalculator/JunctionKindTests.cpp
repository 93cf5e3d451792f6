#include <gtest/gtest.h>

#include "LineTestModel.h"

using namespace LineTest;

namespace {

struct TKindCase {
    const char* name;
    TVRMCustomLine2d a;
    double wa;
    TVRMCustomLine2d b;
    double wb;
    int ab;
    int ba;
};

Ref<TTestLineEdo> Info(int id, const TVRMCustomLine2d& axis, double width)
{
    return MakeRef<TTestLineEdo>(TElement{id, axis, width, width / 2});
}

// Mirrored code of (B, A) allowed for a code of (A, B).
bool IsMirror(int ab, int ba)
{
    switch (ab) {
        case 0:
            return ba == 0;
        case 1:
        case 2:
        case 3:
            return ba >= 1 && ba <= 3;
        case 5:
        case 6:
            return ba == 7 || ba == 13 || ba == 14;
        case 7:
            return ba == 5 || ba == 6 || ba == 11;
        case 8:
            return ba == 10;
        case 9:
            return ba == 9;
        case 10:
            return ba == 8;
        case 11:
            return ba == 7;
        case 12:
            return ba == 4;
        case 4:
            return ba == 12;
        case 13:
        case 14:
            return ba == 5 || ba == 6;
        case 15:
            return ba == 15;
        default:
            return false;
    }
}

}  // namespace

TEST(JunctionKind, CodesOfBothArgumentOrders)
{
    const TKindCase cases[] = {
        {"L at A's end", Seg(0, 0, 5000, 0), 200, Seg(5000, 0, 5000, 3000), 200, 2, 1},
        {"L at both starts", Seg(0, 0, 5000, 0), 200, Seg(0, 0, 0, 3000), 200, 1, 1},
        {"T, A the stem", Seg(0, 0, 5000, 0), 200, Seg(5000, -2000, 5000, 2000), 200, 6, 7},
        {"T, stem drawn to the face", Seg(0, 0, 4900, 0), 200, Seg(5000, -2000, 5000, 2000), 200, 6, 7},
        {"X, A narrower", Seg(0, 0, 5000, 0), 200, Seg(2500, -2000, 2500, 2000), 300, 8, 10},
        {"X, equal", Seg(0, 0, 5000, 0), 200, Seg(2500, -2000, 2500, 2000), 200, 9, 9},
        {"overshoot at A's start", Seg(-150, 0, 5000, 0), 200, Seg(0, 0, 0, 3000), 200, 13, 5},
        {"overshoot at A's end", Seg(0, 0, 5150, 0), 200, Seg(5000, 0, 5000, 3000), 200, 14, 5},
        {"collinear continuation", Seg(0, 0, 5000, 0), 200, Seg(5000, 0, 8000, 0), 200, 2, 1},
        {"parallel overlap, equal", Seg(0, 0, 5000, 0), 200, Seg(3000, 0, 8000, 0), 200, 15, 15},
        {"parallel overlap, A narrower", Seg(0, 0, 5000, 0), 120, Seg(3000, 0, 8000, 0), 240, 12, 4},
        {"A inside B's band", Seg(2450, -50, 2450, 50), 200, Seg(0, 0, 5000, 0), 200, 11, 7},
        {"stub across an end", Seg(5000, -60, 5000, 60), 200, Seg(0, 0, 5000, 0), 240, 3, 2},
        {"parallel apart", Seg(0, 0, 5000, 0), 200, Seg(0, 1000, 5000, 1000), 200, 0, 0},
        {"side by side, touching", Seg(0, 0, 5000, 0), 200, Seg(0, 200, 5000, 200), 200, 0, 0},
        {"passing beyond an end", Seg(0, 0, 5000, 0), 200, Seg(5150, -2000, 5150, 2000), 200, 0, 0},
        {"skew L", Seg(0, 0, 5000, 0), 240, Seg(5000, 0, 6500, 2598.0762), 240, 2, 1},
        {"arc meeting a line", Seg(0, 0, 5000, 0), 240, TVRMCustomLine2d({5000, 0}, {2000, 3000}, 3000, 1), 240, 2, 1},
    };
    for (const TKindCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Ref<TTestLineEdo> a = Info(1, c.a, c.wa);
        const Ref<TTestLineEdo> b = Info(2, c.b, c.wb);
        EXPECT_EQ(IntersectShape(a.get(), b.get()), c.ab);
        EXPECT_EQ(IntersectShape(b.get(), a.get()), c.ba);
        EXPECT_TRUE(IsMirror(c.ab, c.ba));
        EXPECT_EQ(IntersectShape(a.get(), b.get(), 3), c.ab & 3);
    }
}

TEST(JunctionKind, AxisOffsetMovesTheBand)
{
    // The same axes; B's band lies wholly to the right of its axis, so A's end no longer reaches it.
    const Ref<TTestLineEdo> a = Info(1, Seg(0, 0, 4800, 0), 200);
    const Ref<TTestLineEdo> centred = Info(2, Seg(5000, -2000, 5000, 2000), 400);
    const Ref<TTestLineEdo> offset = MakeRef<TTestLineEdo>(TElement{3, Seg(5000, -2000, 5000, 2000), 400, 0});
    EXPECT_EQ(IntersectShape(a.get(), centred.get()), 6);
    EXPECT_EQ(IntersectShape(a.get(), offset.get()), 0);
}

TEST(JunctionKind, EndMeetingsAndTheirContinuationFlags)
{
    const Ref<TTestLineEdo> a = Info(1, Seg(0, 0, 5000, 0), 240);
    const Ref<TTestLineEdo> b = Info(2, Seg(5000, 0, 5000, 3000), 240);
    const Ref<TTestLineEdo> through = Info(3, Seg(0, -2000, 0, 2000), 240);
    const Ref<TTestLineEdo> overlap = Info(4, Seg(4000, 0, 9000, 0), 240);
    bool endFlag = true, startFlag = false;
    EXPECT_TRUE(IsIntersect(a.get(), false, b.get(), endFlag, startFlag));
    EXPECT_FALSE(endFlag);
    EXPECT_TRUE(startFlag);
    EXPECT_FALSE(IsIntersect(a.get(), true, b.get()));
    // A stems into a through element: no continuation through it.
    EXPECT_TRUE(IsIntersect(a.get(), true, through.get(), endFlag, startFlag));
    EXPECT_FALSE(endFlag || startFlag);
    // Parallel overlap: A's end lies in the other's band; the other's start lies in A's.
    EXPECT_TRUE(IsIntersect(a.get(), false, overlap.get(), endFlag, startFlag));
    EXPECT_TRUE(startFlag);
    EXPECT_FALSE(endFlag);
    EXPECT_FALSE(IsIntersect(a.get(), true, overlap.get()));
}

TEST(JunctionKind, ConnectedEdosAndJunctionPoint)
{
    const TQTKLineEdoInfoArray infos{Ref<IQTKLineEdoInfo>(Info(1, Seg(0, 0, 5000, 0), 240).get()),
                                     Ref<IQTKLineEdoInfo>(Info(2, Seg(5000, 0, 5000, 3000), 240).get()),
                                     Ref<IQTKLineEdoInfo>(Info(3, Seg(0, 1000, 5000, 1000), 240).get())};
    const TQTKLineEdoInfoArray atCorner = GetConnectedEdos(infos, {5000, 120});
    ASSERT_EQ(atCorner.size(), 2u);
    EXPECT_EQ(atCorner[0]->GetID(), 1);
    EXPECT_EQ(atCorner[1]->GetID(), 2);
    EXPECT_TRUE(GetConnectedEdos(infos, {2500, 500}).empty());
    EXPECT_TRUE(GetJunctionPoint(infos[0].get(), infos[1].get()).IsEqualTo({5000, 0}));
    // Parallel centre lines: the mean of their middle points.
    EXPECT_TRUE(GetJunctionPoint(infos[0].get(), infos[2].get()).IsEqualTo({2500, 500}));
}

TEST(ConnectedEdoIDInfo, EntriesByKey)
{
    const Ref<TQTKConnectedEdoIDInfo> info = MakeRef<TQTKConnectedEdoIDInfo>();
    EXPECT_TRUE(info->IsStartFree(7));
    EXPECT_EQ(info->GetEndConnectedID(7), 0);
    info->SetEntry(7, {{9, 3, 9}, 3}, {});
    EXPECT_TRUE(info->IsStartConnected(7));
    EXPECT_TRUE(info->IsEndFree(7));
    EXPECT_EQ(info->GetStart(7).ids, (std::vector<int>{3, 9}));
    EXPECT_EQ(info->GetStartConnectedID(7), 3);
    EXPECT_TRUE(info->IsConnectedAtStart(7, 9));
    EXPECT_FALSE(info->IsConnectedAtEnd(7, 9));
    EXPECT_TRUE(info->IsStartFree(8));
}
