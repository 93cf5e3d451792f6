// The custom wall and the wall objects on small wall models: calculation
// thickness, sides facing out and their passing on, openings of parallel
// walls, the cached scaffold bottom elevation, the external-side and end-face
// shells, short-limb shear walls, and wall 1015 of the sample building.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKRelationPolyhedronList.h"
#include "Calculator/Common/QTKShortArmShearWallBuilder.h"
#include "Calculator/Common/QTKWallScaffoldBottomElev.h"
#include "Host/ElementModel/QTKBoxService.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKDeductPolyhedronLines.h"
#include "Host/QTKCommon/QTKHostExceptions.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXTable.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/CalcFrame/QtyTable.h"
#include "tests/Support/TestBuilding.h"

namespace {

struct TWall {
    int id;
    double x0, y0, x1, y1;
    double thickness = 240;
    int innerOuter = 0;
    std::string extra = {};  // further properties, ", \"Name\": value"
};

std::string Walls(std::initializer_list<TWall> walls)
{
    std::ostringstream text;
    text << "[";
    for (const TWall& w : walls)
        text << (&w == walls.begin() ? "" : ",") << R"({"id": )" << w.id << R"(, "type": 0, "floor": 1, "props": )"
             << R"({"Thickness": )" << w.thickness << R"(, "BottomElev": 0, "TopElev": 3000, "InnerOuterFlag": )"
             << w.innerOuter << w.extra << R"(}, "shape": {"kind": "line", "start": [)" << w.x0 << ", " << w.y0
             << "], \"end\": [" << w.x1 << ", " << w.y1 << "]}}";
    text << "]";
    return text.str();
}

class TWallTest : public ::testing::Test {
protected:
    void Load(const std::string& elements, bool shortArmFlag = false)
    {
        building_ = TTestBuilding::FromElements(elements);
        building_->Activate();
        GProjectHasShortArmShearFlag = shortArmFlag ? 1 : 0;
    }
    Ref<IQTKWallCalcEDO> Wall(int id) { return RefCast<IQTKWallCalcEDO>(GetCalcEDO(building_->Record(id), true)); }
    std::unique_ptr<TTestBuilding> building_;
};

// ---------------------------------------------------------------------------
// Calculation thickness

TEST_F(TWallTest, CalculationThicknessAndTheVolumeFactor)
{
    Load(Walls({{1, 0, 0, 5000, 0, 200}}));
    const Ref<IQTKWallCalcEDO> wall = Wall(1);
    EXPECT_EQ(wall->GetThickness(), 200);
    // No rule table: the thickness.
    EXPECT_EQ(wall->CalcInternalQtyThickness(nullptr), 200);
    wall->ResetForQty(nullptr);
    EXPECT_EQ(wall->GetCalcThickness(), -1);
    // A calculator built while undecided decides first: never a negative factor.
    EXPECT_NEAR(wall->GetVolumeCalc()->GetFactor(), 1.0, 1e-12);
    wall->FreeCalcCache();
    wall->SetCalcThickness(180);
    EXPECT_NEAR(wall->GetVolumeCalc()->GetFactor(), 0.9, 1e-12);
    EXPECT_NEAR(wall->GetAreaCalc()->GetFactor(), 1.0 / 180, 1e-15);
    // Area = volume / calculation thickness: 200 x 5000 x 3000 / 180.
    EXPECT_NEAR(wall->GetAreaCalc()->GetVolume(), 200.0 * 5000 * 3000 / 180, 1e-3);
    wall->ClearQtyItems();
    EXPECT_EQ(wall->GetCalcThickness(), 200);
}

TEST_F(TWallTest, AWallWithoutThicknessHasVolumeFactorZeroAndAreaFactorOne)
{
    // Drawn 200 wide, "Thickness" 0.
    Load(R"([{"id": 1, "type": 0, "floor": 1, "props": {"Thickness": 0, "BottomElev": 0, "TopElev": 3000},
              "shape": {"kind": "line", "start": [0, 0], "end": [5000, 0], "width": 200}}])");
    const Ref<IQTKWallCalcEDO> wall = Wall(1);
    EXPECT_EQ(wall->GetThickness(), 0);
    EXPECT_EQ(wall->GetVolumeCalc()->GetFactor(), 0.0);
    EXPECT_EQ(wall->GetAreaCalc()->GetFactor(), 1.0);
}

// A rule set with the rows of "InternalQtyCalcRule" given and a
// "QTKWallCalcSettings" that rates 240 as 200; walls 1 (brick 240), 2
// (concrete 240) and 3 (brick 180).
std::string RatedWalls(const std::string& ruleRows)
{
    return R"({"databases": [{"name": "NormCalcRule", "tables": [
        {"name": "InternalQtyCalcRule", "fields": [{"name": "ID", "type": "integer"},
           {"name": "InternalQtyID", "type": "integer"}, {"name": "SubjectMatchExpr", "type": "text"},
           {"name": "CalcRuleID", "type": "integer"}], "rows": [)" +
           ruleRows + R"(]},
        {"name": "QTKWallCalcSettings", "fields": [{"name": "ThicknessModulus", "type": "detail",
           "fields": [{"name": "DefinedThickness", "type": "integer"}, {"name": "ActualThickness", "type": "integer"}]}],
         "rows": [{"ThicknessModulus": [{"DefinedThickness": 240, "ActualThickness": 200}]}]}]}],
      "floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0}],
      "elements": )" +
           Walls({{1, 0, 0, 5000, 0, 240, 0, R"(, "Material": "砖")"},
                  {2, 0, 5000, 5000, 5000, 240, 0, R"(, "Material": "混凝土")"},
                  {3, 0, 10000, 5000, 10000, 180, 0, R"(, "Material": "砖")"}}) +
           "}";
}

TEST_F(TWallTest, CalculationThicknessFromTheRuleTable)
{
    struct Case {
        const char* name;
        std::string rows;
        int wall;
        int expected;
    };
    const std::string rate = R"({"ID": 1, "InternalQtyID": 2, "CalcRuleID": 653})";
    const Case cases[] = {
        {"no row of internal quantity 2", R"({"ID": 1, "InternalQtyID": 3, "CalcRuleID": 653})", 1, 240},
        {"no matching row", R"({"ID": 1, "InternalQtyID": 2, "SubjectMatchExpr": "Material = '混凝土'",
                                "CalcRuleID": 653})",
         1, 240},
        {"a matching expression, rule 653", R"({"ID": 1, "InternalQtyID": 2,
                                                "SubjectMatchExpr": "Material = '混凝土'", "CalcRuleID": 653})",
         2, 200},
        {"an empty expression matches every wall, rule 653", rate, 1, 200},
        {"a blank expression is empty", R"({"ID": 1, "InternalQtyID": 2, "SubjectMatchExpr": "  ",
                                           "CalcRuleID": 653})",
         1, 200},
        {"another rule keeps the thickness", R"({"ID": 1, "InternalQtyID": 2, "CalcRuleID": 12})", 1, 240},
        {"the first match decides", R"({"ID": 1, "InternalQtyID": 2, "CalcRuleID": 12},
                                      {"ID": 2, "InternalQtyID": 2, "CalcRuleID": 653})",
         1, 240},
        {"a thickness the list does not rate", rate, 3, 180},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        building_ = TTestBuilding::FromText(RatedWalls(c.rows));
        building_->Activate();
        const Ref<IQTKWallCalcEDO> wall = Wall(c.wall);
        const int thickness = wall->GetThickness();
        EXPECT_EQ(wall->CalcInternalQtyThickness(building_->RuleSet()), c.expected);
        // Decided again after ResetForQty, by the calculator that needs it
        // (the session's rule set): factor calculation thickness / thickness.
        wall->SetCalcThickness(thickness);
        wall->ResetForQty(nullptr);
        EXPECT_NEAR(wall->GetVolumeCalc()->GetFactor(), static_cast<double>(c.expected) / thickness, 1e-12);
        EXPECT_EQ(wall->GetCalcThickness(), c.expected);
        wall->ClearQtyItems();
        EXPECT_EQ(wall->GetCalcThickness(), thickness);
    }
}

// ---------------------------------------------------------------------------
// Sides

TEST_F(TWallTest, AnOuterWallIsExternalOnBothSidesUntilASideIsSet)
{
    Load(Walls({{1, 0, 0, 5000, 0, 240, 1}, {2, 0, 20000, 5000, 20000, 240, 0}}));
    const Ref<IQTKWallCalcEDO> outer = Wall(1), inner = Wall(2);
    EXPECT_TRUE(outer->IsLeftSideExternal());
    EXPECT_TRUE(outer->IsRightSideExternal());
    EXPECT_FALSE(inner->IsLeftSideExternal());
    outer->SetLeftSideExternal(true);
    EXPECT_TRUE(outer->IsLeftSideExternal());
    EXPECT_FALSE(outer->IsRightSideExternal());  // cleared to undecided
    EXPECT_TRUE(outer->IsLeftSideSet());
    EXPECT_FALSE(outer->IsRightSideSet());
    EXPECT_NO_THROW(outer->SetLeftSideExternal(true));  // the same again
    inner->SetLeftSideExternal(false);
    EXPECT_THROW(inner->SetLeftSideExternal(true), ESetWallExternalException);
    EXPECT_FALSE(inner->IsLeftSideExternal());  // keeps its state
    try {
        inner->SetLeftSideExternal(true);
    } catch (const ESetWallExternalException& e) {
        EXPECT_EQ(e.GetRecord()->GetID(), 2);
        EXPECT_NE(std::string(e.what()).find("[2]"), std::string::npos);
    }
}

TEST_F(TWallTest, ParallelWallsShareSidesOnlyWhenTheyOverlapByMoreThanTenSquareMillimetres)
{
    struct Case {
        const char* name;
        double overlap;  // along x, of two 200 thick collinear walls: area = 200 x overlap
        bool passes;
    };
    for (const Case& c : {Case{"10 mm2", 0.05, false}, Case{"11 mm2", 0.055, true}}) {
        SCOPED_TRACE(c.name);
        Load(Walls({{1, 0, 0, 5000, 0, 200}, {2, 5000 - c.overlap, 0, 9000, 0, 200}}));
        Wall(1)->SetLeftSideExternal(true);
        EXPECT_EQ(Wall(2)->IsLeftSideSet(), c.passes);
        EXPECT_EQ(Wall(2)->IsLeftSideExternal(), c.passes);
    }
}

// Four parallel 200 walls that overlap each other round a cycle (the second
// and fourth drawn the other way): one setting reaches every wall once, on
// the side that faces the same way.
TEST_F(TWallTest, ARingOfOverlappingWallsGetsConsistentSidesFromOneCall)
{
    Load(Walls({{1, 0, 0, 5000, 0, 200},
                {2, 9000, 0, 4000, 0, 200},
                {3, 4000, 150, 9000, 150, 200},
                {4, 5000, 150, 0, 150, 200}}));
    Wall(1)->SetLeftSideExternal(true);
    for (int id : {1, 3}) {
        EXPECT_TRUE(Wall(id)->IsLeftSideExternal()) << id;
        EXPECT_FALSE(Wall(id)->IsRightSideSet()) << id;
    }
    for (int id : {2, 4}) {
        EXPECT_TRUE(Wall(id)->IsRightSideExternal()) << id;
        EXPECT_FALSE(Wall(id)->IsLeftSideSet()) << id;
    }
}

// ---------------------------------------------------------------------------
// Openings of a parallel wall

TEST_F(TWallTest, AWindowInAParallelWallRelatesOnlyWithinTheBandLimit)
{
    struct Case {
        const char* name;
        double thickness;  // of both walls, centred on their axes 100 apart
        bool related;
    };
    // Same direction, the host wall 100 to the right: limit (W - A) + A2 = W.
    for (const Case& c : {Case{"limit 200", 200, true}, Case{"limit 100", 100, false}}) {
        SCOPED_TRACE(c.name);
        std::string walls = Walls({{1, 0, 0, 6000, 0, c.thickness}, {2, 0, -100, 6000, -100, c.thickness}});
        walls.pop_back();
        walls += R"(, {"id": 3, "type": 5, "floor": 1, "parent": 2, "props": {"OpeningWidth": 1500,
                   "OpeningHeight": 1500, "AboveFloorHeight": 900}, "shape": {"kind": "opening", "at": 3000}}])";
        Load(walls);
        EXPECT_EQ(GetCalcEDO(building_->Record(1), true)->IsIntersectWith(building_->Record(3)), c.related);
        EXPECT_TRUE(GetCalcEDO(building_->Record(2), true)->IsIntersectWith(building_->Record(3)));
    }
}

// ---------------------------------------------------------------------------
// Scaffold bottom elevation

int GElevCalls = 0;
double CountingElev(IQTKCustomWallCalcEDO*, int kind, const TableSourceRef&)
{
    ++GElevCalls;
    return 100.0 * (kind + 1);
}

TEST_F(TWallTest, ScaffoldBottomElevationIsComputedOncePerKind)
{
    Load(Walls({{1, 0, 0, 5000, 0}}));
    const auto saved = SetWallScaffoldBottomElevFunc(CountingElev);
    GElevCalls = 0;
    const Ref<IQTKWallCalcEDO> wall = Wall(1);
    struct Step {
        const char* name;
        int kind;
        bool clearFirst;
        double elev;
        int calls;  // after the step
    };
    const Step steps[] = {
        {"kind 0 first: computed", 0, false, 100, 1},
        {"kind 0 again: kept", 0, false, 100, 1},
        {"kind 1", 1, false, 200, 2},
        {"kind 1 again", 1, false, 200, 2},
        {"after ClearQtyItems", 1, true, 200, 3},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        if (s.clearFirst)
            wall->ClearQtyItems();
        EXPECT_EQ(wall->GetOverHighBottomElev(s.kind, nullptr), s.elev);
        EXPECT_EQ(GElevCalls, s.calls);
    }
    SetWallScaffoldBottomElevFunc(saved);
}

// ---------------------------------------------------------------------------
// Scaffold deduction details

// Wall 1: (0,0)-(5000,0), bottom 0. A scaffold calculator over its axis with
// 0-1000 marked: the unmarked 4000 go into the details. Its original
// quantity is set to 4000 (a length, "4") or 8e6 (an area, "8").
TEST_F(TWallTest, ScaffoldDeductDetailsByQuantity)
{
    struct Case {
        const char* name;
        int qtyId;
        double height;
        double extra;  // length of a further scaffold segment; 0: none
        double originalQty;
        const char* kind;  // "line", "shell" or "" (none)
        double measure;    // the detail's length or area
        const char* text;
    };
    const Case cases[] = {
        {"8, no height: the unmarked lengths", 8, 0, 0, 4000, "line", 4000, "4"},
        {"9, no height", 9, 0, 0, 4000, "line", 4000, "4"},
        {"8, height 2000: faces on the lengths", 8, 2000, 0, 8e6, "shell", 4000 * 2000.0, "8"},
        {"10, no height: nothing", 10, 0, 0, 4000, "", 0, nullptr},
        {"10, height 2000", 10, 2000, 0, 8e6, "shell", 4000 * 2000.0, "8"},
        {"101, height 2000", 101, 2000, 0, 8e6, "shell", 4000 * 2000.0, "8"},
        {"612, height 2000, a further segment of 1000", 612, 2000, 1000, 1e7, "shell", 5000 * 2000.0, "10"},
        {"13: nothing", 13, 2000, 0, 8e6, "", 0, nullptr},
        {"622: nothing of the scaffold", 622, 2000, 0, 8e6, "", 0, nullptr},
    };
    TQtyTable qty;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        building_ = TTestBuilding::FromElements(Walls({{1, 0, 0, 5000, 0}}));
        TQTKCalculationScope& scope = building_->Activate(true);
        const Ref<IQTKWallCalcEDO> wall = Wall(1);
        const TVRMCustomLine2d axis({0, 0}, {5000, 0});
        auto calc = std::make_unique<TQTKLinearCalc2d>(axis, false);
        calc->AppendRange(0, 1000, 1);
        wall->SetScaffoldLinearCalc(std::move(calc));
        wall->SetScaffoldHeight(c.height);
        if (c.extra > 0)
            wall->GetScaffoldSegList()->Add(TVRMCustomLine2d({0, 500}, {c.extra, 500}));
        wall->SetOriginalQty(c.originalQty);
        scope.Details().Clear();
        wall->FillDeductDetail(qty.Qty(c.qtyId));
        const TQTKDeductDetail* detail = nullptr;
        for (int i = 0; i < scope.Details().GetCount(); ++i)
            if (dynamic_cast<const TQTKLine2dDeductDetail*>(scope.Details().GetItems(i)) ||
                (dynamic_cast<const TQTKShellDeductDetail*>(scope.Details().GetItems(i)) &&
                 scope.Details().GetItems(i)->GetIsOriginalQty()))
                detail = scope.Details().GetItems(i);
        if (std::string(c.kind).empty()) {
            EXPECT_EQ(detail, nullptr);
            continue;
        }
        ASSERT_NE(detail, nullptr);
        EXPECT_TRUE(detail->GetIsOriginalQty());
        EXPECT_EQ(detail->GetDedcutExpr(), c.text);
        if (std::string(c.kind) == "line") {
            const auto* line = dynamic_cast<const TQTKLine2dDeductDetail*>(detail);
            ASSERT_NE(line, nullptr);
            EXPECT_NEAR(line->GetSegments().GetTotalLength(), c.measure, 1e-6);
        } else {
            const auto* shell = dynamic_cast<const TQTKShellDeductDetail*>(detail);
            ASSERT_NE(shell, nullptr);
            EXPECT_NEAR(shell->GetShell()->GetArea(), c.measure, 1e-3);
        }
    }
}

// Replacing the stored scaffold calculator writes the details of the one it
// replaces, in detail mode only.
TEST_F(TWallTest, ReplacingTheScaffoldCalculatorWritesTheOldOnesDetails)
{
    for (const bool detailMode : {true, false}) {
        SCOPED_TRACE(detailMode);
        building_ = TTestBuilding::FromElements(Walls({{1, 0, 0, 5000, 0}}));
        TQTKCalculationScope& scope = building_->Activate(detailMode);
        const Ref<IQTKWallCalcEDO> wall = Wall(1);
        wall->SetOriginalQty(5000);
        const TVRMCustomLine2d axis({0, 0}, {5000, 0});
        wall->SetScaffoldLinearCalc(std::make_unique<TQTKLinearCalc2d>(axis, false));
        scope.Details().Clear();
        EXPECT_EQ(scope.Details().GetCount(), 0);  // nothing to replace yet
        wall->SetScaffoldLinearCalc(std::make_unique<TQTKLinearCalc2d>(axis, false));
        ASSERT_EQ(scope.Details().GetCount(), detailMode ? 1 : 0);
        if (detailMode) {
            const auto* line = dynamic_cast<const TQTKLine2dDeductDetail*>(scope.Details().GetItems(0));
            ASSERT_NE(line, nullptr);
            EXPECT_EQ(line->GetDedcutExpr(), "5");
            EXPECT_NEAR(line->GetSegments().GetTotalLength(), 5000, 1e-6);
        }
    }
}

// ---------------------------------------------------------------------------
// Shells

TEST_F(TWallTest, ExternalSidesAndConnectedEndFaces)
{
    // An inner wall alone: no external side.
    Load(Walls({{1, 0, 0, 5000, 0}}));
    EXPECT_EQ(Wall(1)->GetExternalSideShellCalc()->GetArea(), 0.0);
    // An outer wall: both sides, 5000 x 3000 each.
    Load(Walls({{1, 0, 0, 5000, 0, 240, 1}}));
    EXPECT_NEAR(Wall(1)->GetExternalSideShellCalc()->GetArea(), 2 * 5000.0 * 3000, 1e-3);

    // Collinear brick walls meeting end to end at x = 5000: wall 1's end face
    // (240 x 3000) is connected; no concrete wall takes any of it.
    Load(Walls({{1, 0, 0, 5000, 0}, {2, 5000, 0, 9000, 0}}));
    const Ref<IQTKWallCalcEDO> wall = Wall(1);
    EXPECT_NEAR(wall->GetConnectedEndFaceArea(), 240.0 * 3000, 1e-3);
    // The shell holds both side faces (5000 x 3000 each) from the start.
    const double shell = wall->GetSideFaceShell()->GetArea();
    EXPECT_NEAR(shell, 2 * 5000.0 * 3000 + 240.0 * 3000, 1e-3);
    EXPECT_NEAR(wall->GetConnectedEndFaceArea(), 240.0 * 3000, 1e-3);
    EXPECT_NEAR(wall->GetSideFaceShell()->GetArea(), shell, 1e-9);  // not appended again
    // The side faces are in once each.
    wall->AddLeftSideFace();
    wall->AddLeftSideFace();
    EXPECT_NEAR(wall->GetSideFaceShell()->GetArea(), shell, 1e-3);
    // The next quantity (ClearQtyItems first) finds the same faces: none go
    // in a second time, neither into the shell nor into its calculator.
    EXPECT_NEAR(wall->GetSideFaceShellCalc()->GetArea(), shell, 1e-3);
    wall->ClearQtyItems();
    wall->AddRightSideFace();
    EXPECT_NEAR(wall->GetSideFaceShell()->GetArea(), shell, 1e-3);
    EXPECT_NEAR(wall->GetSideFaceShellCalc()->GetArea(), shell, 1e-3);
}

// ---------------------------------------------------------------------------
// Short-limb shear walls

std::string ShearWall(int id, double x0, double y0, double x1, double y1, int kind = 0)
{
    TWall w{id, x0, y0, x1, y1, 200, 0, ", \"Type\": 0, \"ShortArmShearWall\": " + std::to_string(kind)};
    std::string text = Walls({w});
    return text.substr(1, text.size() - 2);
}

TEST_F(TWallTest, ShortLimbKinds)
{
    struct Case {
        const char* name;
        std::string elements;
        bool flag;
        int kind;  // of wall 1
    };
    const Case cases[] = {
        {"no project flag", "[" + ShearWall(1, 0, 0, 1000, 0) + "]", false, 5},
        {"lone 1000 x 200: ratio 5.0", "[" + ShearWall(1, 0, 0, 1000, 0) + "]", true, 2},
        {"lone 900 x 200: ratio 4.5", "[" + ShearWall(1, 0, 0, 900, 0) + "]", true, 4},
        {"given 7", "[" + ShearWall(1, 0, 0, 900, 0, 7) + "]", true, 4},
        {"given 3", "[" + ShearWall(1, 0, 0, 900, 0, 3) + "]", true, 3},
        // An L of two 1000 walls: each limb 1000 + 100 beyond its end: 5.5.
        {"L of two 1000 walls", "[" + ShearWall(1, 0, 0, 1000, 0) + "," + ShearWall(2, 1000, 0, 1000, 1000) + "]", true,
         2},
        {"no shear wall", Walls({{1, 0, 0, 900, 0, 200}}), true, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.elements, c.flag);
        EXPECT_EQ(Wall(1)->GetShortArmShearWallType(), c.kind);
    }
}

TEST_F(TWallTest, ALimbCountsWhatLiesBeyondItsAxisEnd)
{
    // Wall 1 (1000) ends on the axis of wall 2, 200 thick, running through:
    // 1000 + 100 beyond its end; wall 2 keeps its own 2000.
    Load("[" + ShearWall(1, 0, 0, 1000, 0) + "," + ShearWall(2, 1000, -1000, 1000, 1000) + "]", true);
    TQTKShortArmShearWallBuilder builder(nullptr);
    TRecordList group;
    builder.CollectGroup(building_->Record(1), &group);
    ASSERT_EQ(group.size(), 2u);
    EXPECT_NEAR(builder.GetLimbLength(building_->Record(1), group), 1100, 1e-6);
    EXPECT_NEAR(builder.GetLimbLength(building_->Record(2), group), 2000, 1e-6);
    // The group's largest ratio is 2000 / 200 = 10: kind 3 for both.
    EXPECT_EQ(Wall(1)->GetShortArmShearWallType(), 3);
    EXPECT_EQ(Wall(2)->GetShortArmShearWallFlag(), 3);
    EXPECT_THROW(builder.CollectGroup(building_->Record(1), nullptr), EQTKAssertionFailed);
}

// ---------------------------------------------------------------------------
// The sample building

// Wall 1015: axis (4500,0)-(9000,0), 240 centred, 0 to 2800, outer. At its
// start it meets 1014 end to end (collinear, outer) and 1019 (inner, from
// (4500,0) up): the outer walls take precedence over the inner one, which
// stops at their face y = 120, and the collinear pair runs through with a
// square cut at x = 4500. At its end it meets 1020 (outer, equal): a mitre,
// inner corner (8880,120), outer corner (9120,-120). So the left (inner)
// line runs 4500-8880 (4380), the right one 4500-9120 (4620), the middle
// line 4500-9000 (4500); the plan area is 240 x (4380 + 4620) / 2 = 1 080 000.
TEST(TSampleBuildingWallTest, Wall1015)
{
    auto building = TTestBuilding::FromFile(TTestBuilding::FixturesDir() / "../../examples/building.json");
    building->Activate();
    const auto wall = RefCast<IQTKWallCalcEDO>(GetCalcEDO(building->Record(1015), true));
    ASSERT_NE(wall, nullptr);
    EXPECT_NEAR(wall->GetMidLine()->Length(), 4500, 1e-6);
    EXPECT_NEAR(wall->GetLeftLine()->Length(), 4380, 1e-6);
    EXPECT_NEAR(wall->GetRightLine()->Length(), 4620, 1e-6);
    // Volume: the calculator's quantity is the gross volume 1 080 000 x 2800.
    EXPECT_NEAR(wall->GetVolumeCalc()->GetFactor(), 1.0, 1e-12);
    EXPECT_NEAR(wall->GetVolumeCalc()->GetVolume(), 1080000.0 * 2800, 1.0);
    // Its window 1022 (1500 x 1500 through the 240 wall) left the remaining
    // solid unbooked: the window's own subtraction books it, once.
    const auto calc = wall->GetVolumeCalc();
    const auto window = GetCalcEDO(building->Record(1022), true)->GetOriginalPolyhedronIntf();
    EXPECT_NEAR(calc->GetSolid()->GetVolume(), 1080000.0 * 2800 - 1500.0 * 1500 * 240, 1.0);
    EXPECT_NEAR(calc->Subtract(*window->GetPolyhedron(), building->Record(1022), nullptr, false, false),
                1500.0 * 1500 * 240, 1.0);
    EXPECT_NEAR(calc->Subtract(*window->GetPolyhedron(), building->Record(1022), nullptr, false, false), 0.0, 1.0);
    EXPECT_NEAR(calc->GetVolume(), 1080000.0 * 2800 - 1500.0 * 1500 * 240, 1.0);
    // Middle face: the middle line x 2800.
    EXPECT_NEAR(wall->GetMidFaceShellCalc()->GetArea(), 4500.0 * 2800, 1e-3);
    // Side faces: both side lines x 2800.
    wall->AddLeftSideFace();
    wall->AddRightSideFace();
    EXPECT_NEAR(wall->GetSideFaceShellCalc()->GetArea(), (4380.0 + 4620.0) * 2800, 1e-3);
}

}  // namespace

namespace {

// ---------------------------------------------------------------------------
// Fill-wall overlay and material-only calculation

// Counts the queries of the active box service it stands in for.
class TCountingBoxService final : public TInterfacedObject, public IQTKBoxService {
public:
    explicit TCountingBoxService(IQTKBoxService* inner) : inner_(inner) {}
    std::vector<int> Query(const TVRMBox3d& box, int flag) const override
    {
        ++queries;
        return inner_->Query(box, flag);
    }
    int GetCount() const override { return inner_->GetCount(); }
    mutable int queries = 0;

private:
    Ref<IQTKBoxService> inner_;
};

const char* const CConcrete = R"(, "Material": "混凝土")";
const char* const CFill = R"(, "Material": "砖", "IsFillWall": true)";

TEST_F(TWallTest, OverlayStateOfFillWalls)
{
    struct Case {
        const char* name;
        std::string elements;
        int state;    // of wall 2
        int queries;  // box queries the decision made (-1: any)
    };
    const Case cases[] = {
        {"not a fill wall: no box query",
         Walls({{1, 0, 0, 6000, 0, 240, 0, CConcrete}, {2, 1000, 60, 4000, 60, 120, 0, R"(, "Material": "砖")"}}), 1,
         0},
        {"a fill wall in a wall that is not parallel",
         Walls({{1, 0, 0, 6000, 0, 240, 0, CConcrete}, {2, 2000, -60, 2000, 60, 120, 0, CFill}}), 1, -1},
        {"a fill wall lying in a parallel wall",
         Walls({{1, 0, 0, 6000, 0, 240, 0, CConcrete}, {2, 1000, 60, 4000, 60, 120, 0, CFill}}), 2, -1},
        {"a parallel fill wall beside it, touching its face",
         Walls({{1, 0, 0, 6000, 0, 240, 0, CConcrete}, {2, 1000, 180, 4000, 180, 120, 0, CFill}}), 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.elements);
        const Ref<IQTKWallCalcEDO> fill = Wall(2);
        fill->GetPlanOutline();  // its lines are built first: only the decision is counted
        const auto counting = MakeRef<TCountingBoxService>(GetQTKModelRuntimeOptions().GetBoxService());
        GetQTKModelRuntimeOptions().SetBoxService(counting.get());
        EXPECT_EQ(fill->GetFillWallOverlayState(), c.state);
        if (c.queries >= 0) {
            EXPECT_EQ(counting->queries, c.queries);
        }
        const int after = counting->queries;
        EXPECT_EQ(fill->GetFillWallOverlayState(), c.state);  // decided once
        EXPECT_EQ(counting->queries, after);
    }
}

// Concrete wall 1 (240 x 6000, 0-3000) with fill wall 2 (120 thick, x 1000 to
// 4000, y 0 to 120) laid in it: 3000 x 120 x 3000 of it goes.
TEST_F(TWallTest, SolidWithoutOverlayingFillWalls)
{
    struct Case {
        const char* name;
        const char* material;  // of wall 1
        double volume;
        int count;
    };
    const double original = 6000.0 * 240 * 3000;
    const Case cases[] = {
        {"concrete wall", CConcrete, original - 3000.0 * 120 * 3000, 1},
        {"brick wall: no overlay", R"(, "Material": "砖")", original, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Walls({{1, 0, 0, 6000, 0, 240, 0, c.material}, {2, 1000, 60, 4000, 60, 120, 0, CFill}}));
        const Ref<IQTKWallCalcEDO> wall = Wall(1);
        EXPECT_NEAR(wall->GetOriginalPolyhedron()->GetVolume(), original, 1.0);
        EXPECT_NEAR(wall->GetSolidWithoutOverlayFillWalls()->GetVolume(), c.volume, 1.0);
        ASSERT_EQ(wall->GetOverlayFillWallCount(), c.count);
        if (c.count) {
            EXPECT_EQ(wall->GetOverlayFillWallID(0), 2);
        }
        EXPECT_EQ(wall->GetOverlayFillWallID(c.count), -1);
        EXPECT_THROW(wall->GetOverlayFillWallID(-1), EQTKAssertionFailed);
        EXPECT_EQ(IsConcreteWallLinked(building_->Record(1), building_->Record(2)), c.count == 1);
    }
}

// Eleven fill walls (1800 long each) in one concrete wall 24000 long: the id
// list holds every one, in ascending id, past the ten it reserves.
TEST_F(TWallTest, EveryOverlayingFillWallIsListed)
{
    std::string walls = Walls({{1, 0, 0, 24000, 0, 240, 0, CConcrete}});
    for (int i = 0; i < 11; ++i) {
        const std::string fill = Walls({{10 + i, 2000.0 * i + 100, 60, 2000.0 * i + 1900, 60, 120, 0, CFill}});
        walls.insert(walls.size() - 1, "," + fill.substr(1, fill.size() - 2));
    }
    Load(walls);
    const Ref<IQTKWallCalcEDO> wall = Wall(1);
    ASSERT_EQ(wall->GetOverlayFillWallCount(), 11);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(wall->GetOverlayFillWallID(i), 10 + i);
    EXPECT_NEAR(wall->GetSolidWithoutOverlayFillWalls()->GetVolume(), (24000.0 * 240 - 11 * 1800.0 * 120) * 3000, 1.0);
}

// Fill wall 2 (x 1000 to 5000) lies in two collinear concrete walls, 1 (x 0
// to 3000) and 3 (x 3000 to 6000): its outline on each is its stretch along
// that wall's middle line, ends clamped to the line, 0 to 3000 high.
TEST_F(TWallTest, OverlayPolygonPerWall)
{
    Load(Walls({{1, 0, 0, 3000, 0, 240, 0, CConcrete},
                {3, 3000, 0, 6000, 0, 240, 0, CConcrete},
                {2, 1000, 60, 5000, 60, 120, 0, CFill}}));
    const Ref<IQTKWallCalcEDO> fill = Wall(2);
    ASSERT_EQ(fill->GetFillWallOverlayState(), 2);
    struct Case {
        const char* name;
        int wall;
        double x0, x1;
    };
    const Case cases[] = {{"on wall 1", 1, 1000, 3000}, {"on wall 3", 3, 0, 2000}};
    std::vector<const TVRMMultiPolygon2d*> seen;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TVRMMultiPolygon2d* polygon = fill->GetOverlayPolygon(building_->Record(c.wall));
        ASSERT_NE(polygon, nullptr);
        const TVRMBox2d box = polygon->Box();
        EXPECT_NEAR(box.min.x, c.x0, 1e-6);
        EXPECT_NEAR(box.max.x, c.x1, 1e-6);
        EXPECT_NEAR(box.min.y, 0, 1e-6);
        EXPECT_NEAR(box.max.y, 3000, 1e-6);
        EXPECT_NEAR(polygon->Area(), (c.x1 - c.x0) * 3000, 1e-3);
        EXPECT_EQ(fill->GetOverlayPolygon(building_->Record(c.wall)), polygon);  // kept per wall
        seen.push_back(polygon);
    }
    EXPECT_NE(seen[0], seen[1]);
    // A wall that does not list it, and a wall that is not an overlaying fill wall, give none.
    EXPECT_EQ(Wall(1)->GetOverlayPolygon(building_->Record(3)), nullptr);
    EXPECT_EQ(fill->GetOverlayPolygon(building_->Record(2)), nullptr);
}

// Walls of a qualifying material measured by material only join as equals;
// the calculators built in material-only mode use the material-only solid and
// middle line; ClearQtyItems turns the mode off.
TEST_F(TWallTest, MaterialOnlyCalculation)
{
    // A straight 240 wall alone: its material-only lines are its side lines.
    Load(Walls({{1, 0, 0, 5000, 0, 240, 0, CConcrete}}));
    const Ref<IQTKWallCalcEDO> wall = Wall(1);
    wall->SetCalcByOnlyMaterial(1);
    EXPECT_EQ(wall->GetCalcByOnlyMaterial(), 1);
    EXPECT_NEAR(wall->GetOnlyMaterialMidLine()->Length(), 5000, 1e-6);
    EXPECT_NEAR(wall->GetOnlyMaterialLeftLine()->Length(), 5000, 1e-6);
    EXPECT_NEAR(wall->GetOnlyMaterialPolygon()->Area(), 5000.0 * 240, 1e-3);
    EXPECT_NEAR(wall->BuildOnlyMaterialSolid()->GetVolume(), 5000.0 * 240 * 3000, 1.0);
    EXPECT_NEAR(wall->GetOnlyMaterialSolid()->GetVolume(), 5000.0 * 240 * 3000, 1.0);
    EXPECT_NEAR(wall->GetVolumeCalc()->GetVolume(), 5000.0 * 240 * 3000, 1.0);
    EXPECT_NEAR(wall->GetMidFaceShellCalc()->GetArea(), 5000.0 * 3000, 1e-3);
    // A solid set by a rule replaces it; calculators built afterwards use it.
    wall->SetOnlyMaterialSolid(TVRMPolyhedron3d::CreateBox(TVRMBox3d({0, -120, 0}, {2500, 120, 3000})));
    wall->FreeCalcCache();
    EXPECT_NEAR(wall->GetAreaCalc()->GetVolume(), 2500.0 * 3000, 1e-3);  // volume / 240
    wall->ClearQtyItems();
    EXPECT_EQ(wall->GetCalcByOnlyMaterial(), 0);
    wall->FreeCalcCache();
    EXPECT_NEAR(wall->GetAreaCalc()->GetVolume(), 5000.0 * 3000, 1e-3);
}

// The material-only solid of an L of two 240 concrete walls, by material
// only: each wall's solid lies between its material-only side lines; the
// straight one is the solid between the lines, the curved one the prism cut
// between its arcs: both measure their plan area x 3000.
TEST_F(TWallTest, MaterialOnlySolidsOfStraightAndCurvedWalls)
{
    Load(Walls({{1, 0, 0, 5000, 0, 240, 0, CConcrete}, {2, 5000, 0, 5000, 4000, 240, 0, CConcrete}}));
    for (int id : {1, 2}) {
        SCOPED_TRACE(id);
        const Ref<IQTKWallCalcEDO> wall = Wall(id);
        wall->SetCalcByOnlyMaterial(1);
        const double area = wall->GetOnlyMaterialPolygon()->Area();
        EXPECT_GT(area, 0);
        EXPECT_NEAR(wall->GetOnlyMaterialSolid()->GetVolume(), area * 3000, 1.0);
    }
    // A half-circle wall of radius 3000 about (3000, 0), 240 centred: an
    // annulus half 0.5 pi (3120^2 - 2880^2) x 3000 high.
    Load(R"([{"id": 1, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": 0, "TopElev": 3000,
              "Material": "混凝土"}, "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "mid": [3000, 3000]}}])");
    const Ref<IQTKWallCalcEDO> arc = Wall(1);
    arc->SetCalcByOnlyMaterial(1);
    const double annulus = 0.5 * M_PI * (3120.0 * 3120 - 2880.0 * 2880);
    EXPECT_NEAR(arc->GetOnlyMaterialSolid()->GetVolume(), annulus * 3000, annulus * 3000 * 2e-3);
}

}  // namespace

namespace {

// ---------------------------------------------------------------------------
// Piers

// Wall 1 (0,0)-(5000,0), 240 centred (y -120 to 120), 0 to 3000, outer when
// asked; pier 2 (490 x 250, 0 to 3000) in it, centred at (2500, y).
std::unique_ptr<TTestBuilding> PierBuilding(double y, int innerOuter = 0)
{
    std::string text = Walls({{1, 0, 0, 5000, 0, 240, innerOuter}});
    text.pop_back();
    text += R"(, {"id": 2, "type": 3, "floor": 1, "parent": 1, "props": {"BottomElev": 0, "TopElev": 3000},
                 "shape": {"kind": "point", "insertPt": [2500, )" +
            std::to_string(y) + R"(], "size": [490, 250], "bottom": 0, "top": 3000}}])";
    return TTestBuilding::FromElements(text);
}

Ref<IQTKPierCalcEDO> Pier(const TTestBuilding& building)
{
    return RefCast<IQTKPierCalcEDO>(GetCalcEDO(building.Record(2), true));
}

TEST(TPierTest, ExposedAndContactFaces)
{
    struct Case {
        const char* name;
        double y;
        double exposed, contact;  // outline lengths
    };
    const Case cases[] = {
        {"free of the wall", 1000, 1480, 0},
        {"against the wall's face (y 120 to 370)", 245, 990, 490},
        {"half in the wall (y -5 to 245): 490 + 2 x 125 inside", 120, 740, 740},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = PierBuilding(c.y);
        building->Activate();
        const Ref<IQTKPierCalcEDO> pier = Pier(*building);
        ASSERT_NE(pier, nullptr);
        EXPECT_TRUE(pier->IsIntersectWith(building->Record(1)));
        const auto perimeter = pier->GetPerimeterLinearCalc();
        EXPECT_EQ(perimeter->GetCount(), 4);
        EXPECT_NEAR(perimeter->GetAllLength(), 1480, 1e-6);
        EXPECT_NEAR(perimeter->GetNullLength(), c.exposed, 1e-6);
        EXPECT_NEAR(pier->GetOrnamentShellCalc()->GetArea(), c.exposed * 3000, 1e-3);
        EXPECT_NEAR(pier->GetContactWallOrnamentShellCalc()->GetArea(), c.contact * 3000, 1e-3);
        EXPECT_EQ(pier->GetOrnamentShellCalc(), pier->GetOrnamentShellCalc());  // built once
    }
}

// The volume survives FreeCalcCache: 0 before any, then the calculator's
// (less what was deducted from it), then, with no calculator, the solid's.
TEST(TPierTest, VolumeKeptByFreeCalcCache)
{
    const auto building = PierBuilding(1000);
    building->Activate();
    const Ref<IQTKPierCalcEDO> pier = Pier(*building);
    const double volume = 490.0 * 250 * 3000;
    EXPECT_EQ(pier->GetVolume(), 0.0);
    EXPECT_NEAR(pier->GetVolumeCalc()->GetVolume(), volume, 1.0);
    pier->GetVolumeCalc()->Subtract(*TVRMPolyhedron3d::CreateBox(TVRMBox3d({0, 0, 0}, {5000, 5000, 1000})),
                                    building->Record(1), nullptr, false, false);
    pier->FreeCalcCache();
    EXPECT_NEAR(pier->GetVolume(), volume * 2 / 3, 1.0);
    pier->FreeCalcCache();
    EXPECT_NEAR(pier->GetVolume(), volume, 1.0);
}

TEST(TPierTest, SideOfTheWallItStandsOn)
{
    struct Case {
        const char* name;
        double y;
        int innerOuter;
        bool setLeftExternal;
        bool external;
    };
    const Case cases[] = {
        {"inner wall", 245, 0, false, false},
        {"outer wall, sides undecided: both external", -245, 1, false, true},
        {"outer wall with its left side set external: pier on the left", 245, 1, true, true},
        {"outer wall with its left side set external: pier on the right", -245, 1, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = PierBuilding(c.y, c.innerOuter);
        building->Activate();
        if (c.setLeftExternal)
            RefCast<IQTKWallCalcEDO>(GetCalcEDO(building->Record(1), true))->SetLeftSideExternal(true);
        EXPECT_EQ(Pier(*building)->IsOnExternalSide(), c.external);
    }
}

TEST(TPierTest, ExtendedSolidCache)
{
    const auto building = PierBuilding(1000);
    building->Activate();
    const Ref<IQTKPierCalcEDO> pier = Pier(*building);
    auto* extendable = dynamic_cast<IQTKExtendableCalcEdo*>(pier.get());
    ASSERT_NE(extendable, nullptr);
    const int items = GExtendPolyhedronList.GetCount();
    // Distance 0: the original solid, no cache item.
    EXPECT_EQ(extendable->GetExtendedPolyhedron(nullptr, true, 0.0), pier->GetOriginalPolyhedronIntf());
    EXPECT_EQ(GExtendPolyhedronList.GetCount(), items);
    EXPECT_THROW(extendable->GetExtendedPolyhedron(nullptr, true, -1.0), EQTKAssertionFailed);
    // Grown all round by 100: at least the (490 + 200) x (250 + 200) box less its corners.
    const auto grown = extendable->GetExtendedPolyhedron(nullptr, true, 100.0);
    EXPECT_GT(grown->GetPolyhedron()->GetVolume(), (690.0 * 450 - 4 * 100 * 100) * 3000 - 1.0);
    EXPECT_LE(grown->GetPolyhedron()->GetVolume(), 690.0 * 450 * 3000 + 1.0);
    EXPECT_EQ(GExtendPolyhedronList.GetCount(), items + 1);
    EXPECT_EQ(extendable->GetExtendedPolyhedron(nullptr, true, 100.0), grown);  // kept
    struct Change {
        const char* name;
        int record;  // 0: none
        bool onLeft;
        double distance;
    };
    const Change changes[] = {
        {"another distance", 0, true, 120.0}, {"another side", 0, false, 120.0}, {"another record", 1, false, 120.0}};
    Ref<IQTKPolyhedron3dIntf> previous = grown;
    for (const Change& c : changes) {
        SCOPED_TRACE(c.name);
        IRDXRecord* record = c.record ? building->Record(c.record) : nullptr;
        const auto rebuilt = extendable->GetExtendedPolyhedron(record, c.onLeft, c.distance);
        EXPECT_NE(rebuilt, previous);
        EXPECT_EQ(extendable->GetExtendedPolyhedron(record, c.onLeft, c.distance), rebuilt);
        EXPECT_EQ(GExtendPolyhedronList.GetCount(), items + 1);  // one item per pier
        previous = rebuilt;
    }
}

TEST(TPierTest, OriginalDetails)
{
    const auto building = PierBuilding(1000);
    TQTKCalculationScope& scope = building->Activate(true);
    const Ref<IQTKPierCalcEDO> pier = Pier(*building);
    pier->SetOriginalQty(490.0 * 250 * 3000);
    TQtyTable qty;
    struct Case {
        const char* name;
        int qtyId;
        bool containerUsed;
        int added;
    };
    const Case cases[] = {{"25: the original solid", 25, false, 1},
                          {"25 with the container used", 25, true, 0},
                          {"26: nothing", 26, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        scope.Details().Clear();
        if (c.containerUsed)
            scope.Details().Add(std::make_unique<TQTKDeductDetail>(RecordRef(building->Record(2)), "", "", "1"));
        const int before = scope.Details().GetCount();
        pier->FillDeductDetail(qty.Qty(c.qtyId));
        ASSERT_EQ(scope.Details().GetCount(), before + c.added);
        if (c.added) {
            EXPECT_TRUE(scope.Details().GetLast()->GetIsOriginalQty());
        }
    }
}

}  // namespace

namespace {

// ---------------------------------------------------------------------------
// Parapets

std::string Parapet(int id, double x0, double y0, double x1, double y1, const std::string& elevations = "")
{
    return R"({"id": )" + std::to_string(id) +
           R"(, "type": 69, "floor": 1, "props": {"SectionWidth": 240, "SectionHeight": 600},
              "shape": {"kind": "line", "start": [)" +
           std::to_string(x0) + ", " + std::to_string(y0) + "], \"end\": [" + std::to_string(x1) + ", " +
           std::to_string(y1) + "]" + (elevations.empty() ? R"(, "bottom": 0, "top": 600)" : elevations) + "}}";
}

Ref<IQTKParapetCalcEDO> ParapetEdo(const TTestBuilding& building, int id)
{
    return RefCast<IQTKParapetCalcEDO>(GetCalcEDO(building.Record(id), true));
}

// Four parapets drawn counter-clockwise round a 4000 x 3000 roof opening: the
// left side of each faces the opening and is the shorter one.
TEST(TParapetTest, AroundAnOpeningTheShorterSideIsInternal)
{
    const auto building =
        TTestBuilding::FromElements("[" + Parapet(1, 0, 0, 4000, 0) + "," + Parapet(2, 4000, 0, 4000, 3000) + "," +
                                    Parapet(3, 4000, 3000, 0, 3000) + "," + Parapet(4, 0, 3000, 0, 0) + "]");
    building->Activate();
    for (int id = 1; id <= 4; ++id) {
        SCOPED_TRACE(id);
        const Ref<IQTKParapetCalcEDO> parapet = ParapetEdo(*building, id);
        ASSERT_NE(parapet, nullptr);
        parapet->ClearQtyItems();
        EXPECT_TRUE(parapet->GetInternalIsLeft());
        EXPECT_LT(parapet->GetLeftLine()->Length(), parapet->GetRightLine()->Length());
        EXPECT_NEAR(parapet->GetInternalLineDeductLines()->GetLength(), parapet->GetLeftLine()->Length(), 1e-6);
        EXPECT_NEAR(parapet->GetExternalLineDeductLines()->GetLength(), parapet->GetRightLine()->Length(), 1e-6);
    }
    // A mitred corner: the bottom parapet's inner side 4000 - 240, its outer 4000 + 240.
    EXPECT_NEAR(ParapetEdo(*building, 1)->GetLeftLine()->Length(), 3760, 1e-6);
    EXPECT_NEAR(ParapetEdo(*building, 1)->GetRightLine()->Length(), 4240, 1e-6);
}

// Parapet 4000 x 240, 0 to 600: what the middle line keeps after a
// deduction decides the volume and the area.
TEST(TParapetTest, VolumeAndAreaFollowTheRemainingMiddleLine)
{
    struct Case {
        const char* name;
        double x0, x1;  // a box deducted from the middle line; x0 == x1: none
        double length;  // of the middle line that the volume and area stand on
    };
    const Case cases[] = {
        {"nothing deducted", 0, 0, 4000},
        {"fully deducted: the whole solid and one face", -100, 4100, 4000},
        {"cut in two: two pieces united", 1500, 2500, 3000},
        {"cut at the start", -100, 1000, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = TTestBuilding::FromElements("[" + Parapet(1, 0, 0, 4000, 0) + "]");
        building->Activate();
        const Ref<IQTKParapetCalcEDO> parapet = ParapetEdo(*building, 1);
        if (c.x1 > c.x0)
            parapet->GetMidLineDeductLines()->Subtract(
                *TVRMPolyhedron3d::CreateBox(TVRMBox3d({c.x0, -500, -100}, {c.x1, 500, 1000})), false, nullptr);
        EXPECT_NEAR(parapet->GetVolumeCalc()->GetVolume(), c.length * 240 * 600, 1.0);
        EXPECT_NEAR(parapet->GetAreaShellCalc()->GetArea(), c.length * 600, 1e-3);
    }
}

TEST(TParapetTest, SlopeLengthRate)
{
    struct Case {
        const char* name;
        std::string elevations;
        double rate;
    };
    const Case cases[] = {
        {"level", "", 1.0},
        {"4000 long rising 3000", R"(, "startBottom": 0, "startTop": 600, "endBottom": 3000, "endTop": 3600)", 1.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto building = TTestBuilding::FromElements("[" + Parapet(1, 0, 0, 4000, 0, c.elevations) + "]");
        building->Activate();
        EXPECT_NEAR(ParapetEdo(*building, 1)->GetSlopeLengthRate(), c.rate, 1e-12);
        EXPECT_EQ(ParapetEdo(*building, 1)->GetSectionWidth(), 240);
    }
}

// A parapet of no length (a host can draw one; a model file cannot) keeps
// the rate 1 instead of dividing by its length.
TEST(TParapetTest, NoLengthKeepsTheSlopeLengthRateOne)
{
    TTestBuilding building;
    building.AddLine(1, 69, 500, 500, 500, 500, 240, 0, 600, {{"SectionWidth", TRDXValue(240.0)}});
    building.Activate();
    const Ref<IQTKParapetCalcEDO> parapet = ParapetEdo(building, 1);
    ASSERT_NE(parapet, nullptr);
    EXPECT_EQ(parapet->GetSlopeLengthRate(), 1.0);
}

// The id-49 detail: the walls under the parapet united as the deducted solid
// and the original quantity; without walls, no deducted solid and "0".
TEST(TParapetTest, WallDetail)
{
    struct Case {
        const char* name;
        bool wall;
        const char* text;
    };
    for (const Case& c : {Case{"on a wall", true, "0.576"}, Case{"without walls", false, "0"}}) {
        SCOPED_TRACE(c.name);
        std::string elements = "[" + Parapet(1, 0, 0, 4000, 0, R"(, "bottom": 3000, "top": 3600)");
        if (c.wall)
            elements += R"(, {"id": 2, "type": 0, "floor": 1, "props": {"Thickness": 240, "BottomElev": 0,
                           "TopElev": 3000}, "shape": {"kind": "line", "start": [0, 0], "end": [4000, 0]}})";
        const auto building = TTestBuilding::FromElements(elements + "]");
        TQTKCalculationScope& scope = building->Activate(true);
        const Ref<IQTKParapetCalcEDO> parapet = ParapetEdo(*building, 1);
        parapet->SetOriginalQty(4000.0 * 240 * 600);
        scope.Details().Clear();
        TQtyTable qty;
        parapet->FillDeductDetail(qty.Qty(49));
        ASSERT_EQ(scope.Details().GetCount(), 1);
        const auto* detail = dynamic_cast<const TQTKSolidDeductDetail*>(scope.Details().GetItems(0));
        ASSERT_NE(detail, nullptr);
        EXPECT_TRUE(detail->GetIsOriginalQty());
        EXPECT_EQ(detail->GetDedcutExpr(), c.text);
        EXPECT_EQ(detail->GetDeductSolid() != nullptr, c.wall);
    }
}

}  // namespace
