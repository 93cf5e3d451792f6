// qtkcalc calc on the sample building: column KZ1 (1001, 400 x 400) less
// beam KL1 (1007, 240 x 500, top 3300), which starts at the column's centre:
// the beam takes the column's half 200 x 240 x 500 under 3300, written as its
// section 0.2 x 0.24 = 0.048 m2 times 0.5 m.
//
// The column frame east of the building at (12000, 3000), under the sample
// rule tables (column over-height: C = 3.6 m from the storey's floor, layers
// of 1 m, the calculation top): base ZD1 (3070, 1000 x 1000, -1500 to -1000)
// under column KZ2 (1064, 400 x 400, -1000 to 2900), cap ZM1 (1065, 1000 x
// 1000, 2900 to 3300), column KZ2 (2043, 400 x 400, 3300 to 7200) on storey 2
// with beam KL2 (2044, 300 x 600, 6600 to 7200, x 11000 to 13000) through it.
// The column's part above 3300 + 3600 = 6900 is one piece of weight 1,
// 300 high.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>

#include "Host/ElementModel/QTKElementModel.h"
#include "Tools/qtkcalc/CalcCommand.h"
#include "Tools/qtkcalc/QTKTakeoff.h"

namespace {

TEST(ColumnSample, CalcColumnVolumeLessBeamByFact)
{
    TCalcCommandOptions options;
    options.modelPath = QTK_SAMPLE_BUILDING;
    options.rule = "TQTKColumnVolDeductByFact";
    options.subject = 1001;
    options.object = 1007;
    options.expr = true;
    std::ostringstream out, err;
    ASSERT_EQ(RunCalcCommand(options, out, err), 0) << err.str();
    const std::string text = out.str();
    EXPECT_NE(text.find("quantity 24000000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("= 0.024 m3"), std::string::npos) << text;
    EXPECT_NE(text.find("expression 0.048<面积>*0.5<高度>\n"), std::string::npos) << text;
    EXPECT_TRUE(err.str().empty()) << err.str();
}

TEST(ColumnSample, OverHeightColumnCapAndBaseByCalc)
{
    struct Case {
        const char* name;
        const char* rule;
        int subject;
        std::optional<int> object;
        const char* quantity;
        const char* text;  // the expression, else the neighbour's detail
    };
    const Case cases[] = {
        {"column over-height volume: 400 x 400 x 300", "TQTKColumnOverHeihtOriginalVol", 2043, std::nullopt,
         "quantity 48000000\n", "expression 0.4<长度>*0.4<宽度>*0.3<高度>\n"},
        {"the beam through it: 400 x 300 x 300", "TQTKColumnOverHeightDeductByFact", 2043, 2044, "quantity 36000000\n",
         "element 2044 [TQTKColumnOverHeightDeductByFact] 0.4<长度>*0.3<宽度>*0.3<高度>\n"},
        {"column over-height formwork: 4 sides 400 x 300", "TQTKColumnOverHeightOrginalFormBoardArea", 2043,
         std::nullopt, "quantity 480000\n",
         "expression 0.3<长度>*0.4<宽度> + 0.3<长度>*0.4<宽度> + 0.3<长度>*0.4<宽度> + 0.3<长度>*0.4<宽度>\n"},
        {"the beam on two sides: 2 x 300 x 300", "TQTKColumnOverHeightFormBoardAreaDeductByFact", 2043, 2044,
         "quantity 180000\n", "0.3<长度>*0.3<宽度> + 0.3<长度>*0.3<宽度>\n"},
        {"cap volume: 1000 x 1000 x 400", "TQTKColumnCapOriginalVolume", 1065, std::nullopt, "quantity 400000000\n",
         "expression 1<长度>*1<宽度>*0.4<高度>\n"},
        {"cap formwork: sides (1000 + 1000) x 2 x 400 and the soffit 1000 x 1000", "TQTKColumnCapOriginalFormBoardArea",
         1065, std::nullopt, "quantity 2600000\n", "expression (1<长度>+1<宽度>)*2*0.4<高度>+1<长度>*1<宽度>\n"},
        {"the column's top against the soffit: 400 x 400", "TQTKColumnCapFormBoardAreaDeductByFact", 1065, 1064,
         "quantity 160000\n", "element 1064 [TQTKColumnCapFormBoardAreaDeductByFact] 0.4<长度>*0.4<宽度>\n"},
        {"base volume: 1000 x 1000 x 500", "TQTKColumnBaseVol", 3070, std::nullopt, "quantity 500000000\n",
         "expression 1<长度>*1<宽度>*0.5<高度>\n"},
        {"base formwork: its sides (1000 + 1000) x 2 x 500", "TQTKColumnBaseOriginalFormBoardArea", 3070, std::nullopt,
         "quantity 2000000\n", "expression (1<长度>+1<宽度>)*2*0.5<高度>\n"},
        {"base top: 1000 x 1000", "TQTKColumnBaseOriginalTopFaceArea", 3070, std::nullopt, "quantity 1000000\n",
         "expression 1<长度>*1<宽度>\n"},
        {"the column standing on the top: 400 x 400", "TQTKColumnBaseTopFaceAreaDeductByFact", 3070, 1064,
         "quantity 160000\n", "element 1064 [TQTKColumnBaseTopFaceAreaDeductByFact] 0.4<长度>*0.4<宽度>\n"},
        {"base bottom: 1000 x 1000", "TQTKColumnBaseOriginalBottomFaceArea", 3070, std::nullopt, "quantity 1000000\n",
         "expression 1<长度>*1<宽度>\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TCalcCommandOptions options;
        options.modelPath = QTK_SAMPLE_BUILDING;
        options.rulesPath = QTK_SAMPLE_RULES;
        options.rule = c.rule;
        options.subject = c.subject;
        options.object = c.object;
        options.expr = true;
        options.details = true;
        std::ostringstream out, err;
        ASSERT_EQ(RunCalcCommand(options, out, err), 0) << err.str();
        const std::string text = out.str();
        EXPECT_NE(text.find(c.quantity), std::string::npos) << text;
        EXPECT_NE(text.find(c.text), std::string::npos) << text;
    }
}

// The bill nets them: the column's over-height volume and formwork less the
// beam, the cap's formwork less the column under it, the base's top less the
// column on it.
TEST(ColumnSample, TheSampleBillNetsOverHeightColumnCapAndBase)
{
    const Ref<TQTKElementModel> model = TQTKElementModel::LoadFromFile(QTK_SAMPLE_BUILDING);
    AttachRuleSet(*model, QTK_SAMPLE_RULES);
    const TQTKTakeoffResult result = RunTakeoff(*model, TQTKTakeoffOptions());
    ASSERT_TRUE(result.failures.empty()) << result.failures.front();
    struct Case {
        int element;
        const char* code;
        double quantity;
        const char* expression;
    };
    const Case cases[] = {
        {2043, "CGTJ", 0.048 - 0.036, "0.4<长度>*0.4<宽度>*0.3<高度>-0.036<扣梁>"},
        {2043, "CGMBMJ", 0.48 - 0.18,
         "0.3<长度>*0.4<宽度> + 0.3<长度>*0.4<宽度> + 0.3<长度>*0.4<宽度> + 0.3<长度>*0.4<宽度>-0.18<扣梁>"},
        {1064, "CGTJ", 0.0, "0"},  // storey 1 up to 2900: below 3600
        {1065, "TJ", 0.4, "1<长度>*1<宽度>*0.4<高度>"},
        {1065, "MBMJ", 2.6 - 0.16, "(1<长度>+1<宽度>)*2*0.4<高度>+1<长度>*1<宽度>-0.16<扣柱>"},
        {3070, "TJ", 0.5, "1<长度>*1<宽度>*0.5<高度>"},
        {3070, "MBMJ", 2.0, "(1<长度>+1<宽度>)*2*0.5<高度>"},
        {3070, "DMMJ", 1.0 - 0.16, "1<长度>*1<宽度>-0.16<扣柱>"},
        {3070, "DIMJ", 1.0, "1<长度>*1<宽度>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.element) + " " + c.code);
        const TQTKTakeoffItem* found = nullptr;
        for (const TQTKTakeoffElement& element : result.elements)
            if (element.id == c.element)
                for (const TQTKTakeoffItem& item : element.items)
                    if (item.code == c.code)
                        found = &item;
        ASSERT_NE(found, nullptr);
        EXPECT_NEAR(found->quantity, c.quantity, 1e-9);
        EXPECT_EQ(found->expression, c.expression);
    }
}

}  // namespace
