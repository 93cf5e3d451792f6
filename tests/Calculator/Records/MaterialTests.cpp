// Concrete tests, material levels and ranks, formwork priority and the
// concrete-grade order, on the model's material table and settings.
#include <array>

#include "CalcModelFixture.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/Runtime/Assert.h"
#include "tests/Calculator/CalcFrame/FakeCalcEDOs.h"

namespace {

TEST(MaterialText, Concreteness)
{
    struct Case {
        const char* text;
        bool concrete;
    };
    const std::array<Case, 9> cases{{{"混凝土", true},
                                     {"C30混凝土", true},
                                     {"砼", true},
                                     {"加气混凝土", false},
                                     {"加气砼块", false},
                                     {"混凝土砌块", false},
                                     {"砌块", false},
                                     {"砖", false},
                                     {"", false}}};
    for (const Case& c : cases)
        EXPECT_EQ(IsConcreteMaterialText(c.text), c.concrete) << c.text;
    EXPECT_TRUE(ContainsSolidBrick("MU10实心砖"));
    EXPECT_FALSE(ContainsSolidBrick("多孔砖"));
}

class MaterialTest : public TCalcModelTest {
protected:
    void SetUp() override
    {
        TQTKCalcSessionOptions options;
        options.materialTable = TableRef(RuleSet(model_)->GetDatabase()->GetTable("Material"));
        StartSession(model_, options);
    }
    IRDXRecord* R(int id) { return Record(model_, id); }
    const IQTKElementDrawObj* D(int id) { return model_.FindElement(id); }
    TQTKElementModel& model_ = Model("records.json");
};

TEST_F(MaterialTest, LevelsAndTableTypes)
{
    EXPECT_EQ(GetMaterialLevel(D(11)), 1);            // wall of 混凝土
    EXPECT_EQ(GetMaterialLevel(D(13)), 5);            // wall of 砖
    EXPECT_EQ(GetMaterialLevel(D(30)), CQTKNoLevel);  // 预制混凝土: no row
    EXPECT_EQ(GetMaterialLevel(D(18)), CQTKNoLevel);  // no "Material"
    EXPECT_EQ(GetMaterialTableType(D(13)), 1);
    EXPECT_EQ(GetMaterialTableType(D(26)), -1);  // the row has no "Type"
    EXPECT_EQ(GetMaterialRank(GMaterialHelper(), D(13)), 5);
    EXPECT_EQ(CompareMaterialRank(D(13), D(11)), -1);  // the concrete wall ranks lower: it wins
    EXPECT_EQ(CompareMaterialRank(D(11), D(13)), 1);
    EXPECT_EQ(CompareMaterialRank(D(11), D(16)), 0);
    EXPECT_EQ(CompareEdoMaterialRank(GetCalcEDO(R(13), true).get(), GetCalcEDO(R(11), true).get()), -1);
    EXPECT_EQ(GetUnitMaterialRank(GetCalcEDO(R(18), true).get()), 20);
}

TEST_F(MaterialTest, CastInPlaceAndConcrete)
{
    struct Case {
        int id;
        bool cast, concrete;
    };
    // 11 concrete wall (table type 0), 12 aerated concrete (type 2), 13 brick, 14 beam of C30,
    // 30 precast concrete (not in the table), 18 slab without "Material", 29 slab hole,
    // 34 a slab of type 20 without "Material": concrete, but not cast in place.
    const std::array<Case, 8> cases{{{11, true, true},
                                     {12, false, false},
                                     {13, false, false},
                                     {14, true, true},
                                     {30, false, true},
                                     {18, true, true},
                                     {29, false, false},
                                     {34, false, true}}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsCastConcreteElement(D(c.id)), c.cast) << c.id;
        EXPECT_EQ(IsConcreteElement(D(c.id)), c.concrete) << c.id;
    }
}

TEST_F(MaterialTest, WithoutMaterialTableTheTextDecides)
{
    StartSession(model_);
    EXPECT_EQ(GetMaterialLevel(D(11)), CQTKNoLevel);
    EXPECT_TRUE(IsCastConcreteElement(D(11)));
    EXPECT_TRUE(IsCastConcreteElement(D(12)));  // 加气混凝土 names concrete and no block
    EXPECT_FALSE(IsConcreteElement(D(12)));
    EXPECT_FALSE(IsCastConcreteElement(D(30)));  // precast
}

TEST_F(MaterialTest, FormworkPriority)
{
    // The list ranks column (25), beam (15), slab (19).
    struct Case {
        int subject, object, expected;
    };
    const std::array<Case, 8> cases{{
        {14, 16, -1},  // beam against a column: the column's formwork wins
        {16, 14, 1},   // column against a beam
        {14, 15, 0},   // two beams
        {11, 16, -1},  // a wall is not in the list
        {16, 11, 1},   // a concrete wall object is not in the list
        {16, 13, 1},   // brick
        {16, 30, -1},  // concrete by its text only
        {18, 29, -1},  // slab hole
    }};
    for (const Case& c : cases)
        EXPECT_EQ(CompareFormboardPriority(R(c.subject), R(c.object), RuleSet(model_)), c.expected)
            << c.subject << " against " << c.object;
    // Without a rule context the host settings answer; without any list A's type is missing.
    EXPECT_EQ(CompareFormboardPriority(R(16), R(14), nullptr), 1);
    EXPECT_EQ(CompareFormboardPriority(R(16), R(14), TableSourceRef(model_.GetBusiness())), -1);
}

TEST_F(MaterialTest, ConcreteGradeOrder)
{
    // 26 and 27 are of grade 30, 28 of grade 25.
    EXPECT_EQ(CompareConcGrade(R(26), R(28)), 1);
    EXPECT_EQ(CompareConcGrade(R(26), R(27)), 0);
    EXPECT_TRUE(IsColumnBaseCutBy(R(27), R(26)));  // equal grade: the higher id gives way
    EXPECT_FALSE(IsColumnBaseCutBy(R(26), R(27)));
    EXPECT_TRUE(IsColumnBaseCutBy(R(28), R(26)));  // lower grade gives way
    EXPECT_FALSE(IsColumnBaseCutBy(R(26), R(28)));
    EXPECT_TRUE(IsColumnBaseCutBy(R(26), R(16)));  // the object is no column base
    EXPECT_TRUE(IsColumnCapCutBy(R(26), R(27)));   // no column cap
    EXPECT_TRUE(IsPileCutBy(R(26), R(27)));        // no pile
}

TEST_F(MaterialTest, PartitionWallsGiveWay)
{
    const auto edo = [this](int id) { return GetCalcEDO(R(id), true); };
    EXPECT_EQ(ComparePartitionWall(edo(12).get(), edo(13).get()), -1);
    EXPECT_EQ(ComparePartitionWall(edo(13).get(), edo(12).get()), 0);
    EXPECT_EQ(ComparePartitionWall(edo(12).get(), edo(14).get()), 0);  // a beam
}

TEST_F(MaterialTest, FinishMaterialText)
{
    EXPECT_EQ(GetFinishMaterial(R(22)), "");
    EXPECT_EQ(GetElementMaterialText(D(11), "砖"), "砖");
    EXPECT_EQ(GetElementMaterialText(D(22), ""), "");
}

// Material-only mode of the first wall decides which pairs join without
// priority; the second wall's mode does not count.
TEST_F(MaterialTest, WallPairsOfTheSameKind)
{
    TFakeEDOScope scope;
    TFakeWallEDO& a = scope.Attach<TFakeWallEDO>(model_.FindElement(11));
    TFakeWallEDO& b = scope.Attach<TFakeWallEDO>(model_.FindElement(13));
    b.onlyMaterialMode = 1;
    struct Case {
        std::uint8_t mode;
        const char* textA;
        const char* textB;
        bool sameKind;
    };
    const std::array<Case, 9> cases{{{1, "混凝土", "C30砼", true},
                                     {1, "混凝土", "MU10实心砖", false},
                                     {1, "加气混凝土", "混凝土", false},
                                     {2, "混凝土", "MU10实心砖", true},
                                     {2, "MU10实心砖", "实心砖", true},
                                     {2, "混凝土", "多孔砖", false},
                                     {2, "混凝土砌块", "混凝土", false},
                                     {0, "混凝土", "混凝土", false},
                                     {3, "混凝土", "混凝土", false}}};
    const auto familyPriority = [](IQTKCalculatorEDO*, IQTKCalculatorEDO*) { return -7; };
    for (const Case& c : cases) {
        a.onlyMaterialMode = c.mode;
        a.material = c.textA;
        b.material = c.textB;
        EXPECT_EQ(IsWallPairSameKind(R(11), R(13)), c.sameKind) << int(c.mode) << c.textA << c.textB;
        EXPECT_EQ(CompareWallMaterialPair(&a, &b, familyPriority), c.sameKind ? 2 : -7) << c.textA << c.textB;
    }
    // A beam is no wall: never of the same kind, the family priority decides.
    a.onlyMaterialMode = 1;
    a.material = "混凝土";
    EXPECT_FALSE(IsWallPairSameKind(R(11), R(14)));
    EXPECT_FALSE(IsWallPairSameKind(R(14), R(11)));
    EXPECT_EQ(CompareWallMaterialPair(&a, GetCalcEDO(R(14), true).get(), familyPriority), -7);
    EXPECT_THROW(CompareWallMaterialPair(&a, &b, nullptr), EQTKAssertionFailed);
}

// Concrete wall 11 may be overlaid by fill wall 13.
TEST_F(MaterialTest, ConcreteWallsLinkedToTheirFillWalls)
{
    TFakeEDOScope scope;
    TFakeWallEDO& wall = scope.Attach<TFakeWallEDO>(model_.FindElement(11));
    TFakeWallEDO& fill = scope.Attach<TFakeWallEDO>(model_.FindElement(13));
    struct Case {
        const char* wallText;
        int fillState;
        std::vector<int> overlayIds;
        bool linked;
    };
    const std::array<Case, 5> cases{{{"混凝土", 2, {30, 13}, true},
                                     {"砖", 2, {13}, false},
                                     {"混凝土", 1, {13}, false},
                                     {"混凝土", 2, {30}, false},
                                     {"混凝土", 2, {}, false}}};
    for (const Case& c : cases) {
        wall.material = c.wallText;
        fill.overlayState = c.fillState;
        wall.overlayIds = c.overlayIds;
        EXPECT_EQ(IsConcreteWallLinked(R(11), R(13)), c.linked) << c.wallText << c.fillState;
        EXPECT_EQ(WallLinksId(13, R(11)), !c.overlayIds.empty() && c.overlayIds.back() == 13);
    }
    // Only listed ids count: the answer past the end (-1) names no wall.
    wall.overlayIds = {13};
    EXPECT_FALSE(WallLinksId(-1, R(11)));
    EXPECT_FALSE(WallLinksId(13, R(14)));  // a beam lists nothing
    EXPECT_FALSE(IsConcreteWallLinked(R(11), R(14)));
}

}  // namespace
