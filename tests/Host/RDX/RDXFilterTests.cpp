// Filtered record lists and static views over the two-floor model: the
// filters the rules build, rows in table order.
#include <gtest/gtest.h>

#include <vector>

#include "Host/RDX/PXEIntf.h"
#include "Host/RDX/RDXDataUtils.h"
#include "Host/RDX/RDXRecordExpr.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/SysUtils.h"
#include "RDXTestModel.h"

namespace {

std::vector<int> Ids(const ViewRef& view)
{
    std::vector<int> ids;
    for (int i = 0; i < view->GetRowCount(); ++i)
        ids.push_back(view->GetRow(i)->GetID());
    return ids;
}

}  // namespace

TEST(RDXFilter, FiltersOfTheRules)
{
    struct Case {
        const char* table;
        std::string filter;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {"InternalQtyCalcRule", Format("InternalQtyID = %d", {3}), {31, 32}},
        {"InternalQtyCalcRule", Format("%s=%d", {"InternalQtyID", 5}), {30}},
        {"InternalQtyDict", Format("(SubjectElementTypeID = %d) and (ObjectElementTypeID = %d)", {0, 15}), {7, 3}},
        {"InternalQtyDict", "ObjectElementTypeID <> 15", {5}},  // null compares with nothing
        {"ParamPolyParam",
         Format("(%s=%d)and(SameText(%s, %s))", {"ParamPolyID", 255, "ParamCode", QuotedStr("b'1")}),
         {2}},
        {"ElementDrawObj", "~ElementID.ElementTypeID = 58", {105, 103}},
        {"ElementDrawObj", Format("~ElementID.ElementTypeID in [%d]", {58}), {105, 103}},
        {"ElementDrawObj", "~ElementID.ElementTypeID in [60, 58]", {105, 108, 103, 106}},
        {"ElementDrawObj", Format("(ElementPID = %d) and (UnitFlag = True)", {101}), {102}},
        {"ElementDrawObj", "~FloorID.FirstFloorFlag and (Thickness > 250)", {105}},
        {"ElementDrawObj", "Material = '混凝土'", {101, 102}},
        {"ElementDrawObj", "", {105, 101, 108, 103, 102, 104, 106}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        IRDXTable* table = BusinessTable(c.table) ? BusinessTable(c.table) : RuleTable(c.table);
        ASSERT_TRUE(table);
        ViewRef view = SyncCreateRdxStaticView(table, c.filter);
        ASSERT_TRUE(view);
        EXPECT_EQ(Ids(view), c.ids);
        EXPECT_EQ(Ids(SyncCreateRdxRecordList(table, c.filter)), c.ids);
    }
}

TEST(RDXFilter, PathThroughTwoForeignKeys)
{
    // EDOPID -> the parent element, then its ElementID -> the element kind.
    IRDXTable* edo = BusinessTable("ElementDrawObj");
    EXPECT_EQ(Ids(SyncCreateRdxStaticView(edo, "~EDOPID.ElementID.ElementTypeID = 0")), (std::vector<int>{102, 104}));
}

TEST(RDXFilter, ViewAsTable)
{
    IRDXTable* edo = BusinessTable("ElementDrawObj");
    ViewRef view = SyncCreateRdxStaticView(edo, "Type = 2");
    ASSERT_EQ(view->GetRowCount(), 2);
    EXPECT_EQ(view->GetName(), "ElementDrawObj");
    EXPECT_EQ(view->IndexOf(edo->GetRecordByID(104)), 1);
    EXPECT_EQ(view->IndexOf(edo->GetRecordByID(101)), -1);
    EXPECT_EQ(view->IndexOf(nullptr), -1);
    EXPECT_EQ(view->GetRecordByID(102), edo->GetRecordByID(102));
    EXPECT_EQ(view->GetRecordByID(101), nullptr);
    EXPECT_EQ(view->GetRow(2), nullptr);
    // a view of a view filters the view's rows
    EXPECT_EQ(Ids(SyncCreateRdxStaticView(view.get(), "UnitFlag")), (std::vector<int>{102}));
    const TRDXValue brick[] = {std::string("砖")};
    EXPECT_EQ(view->Locate("Material", brick), edo->GetRecordByID(104));
}

TEST(RDXFilter, BadFilters)
{
    IRDXTable* edo = BusinessTable("ElementDrawObj");
    EXPECT_THROW(SyncCreateRdxStaticView(edo, "Type = "), EPXESyntaxError);
    EXPECT_THROW(SyncCreateRdxStaticView(edo, "NoSuchField = 1"), ERDXError);
    EXPECT_THROW(SyncCreateRdxStaticView(edo, "~Material.ID = 1"), ERDXError) << "not a foreign key";
    EXPECT_THROW(SyncCreateRdxStaticView(edo, "~ElementID.Nope = 1"), ERDXError);
    EXPECT_EQ(SyncCreateRdxStaticView(nullptr, "Type = 1"), nullptr);
}

TEST(RDXFilter, RecordExpressionRejectsRowsOfAnotherTable)
{
    TRDXRecordExpression expr(BusinessTable("ElementDrawObj"), "Type = 2");
    EXPECT_TRUE(expr.Matches(BusinessTable("ElementDrawObj")->GetRecordByID(102)));
    EXPECT_THROW(expr.Matches(BusinessTable("Floor")->GetRow(0)), ERDXError);
    EXPECT_FALSE(expr.Matches(nullptr));
}

TEST(RDXFilter, RecordExpressionTypesIdentifiersByField)
{
    TRDXRecordExpression expr(BusinessTable("ElementDrawObj"),
                              "~FloorID.Height > 3 and Material = 'x' and UnitFlag and ~ElementID.ElementTypeID = 0");
    const int types[] = {pdtFloat, pdtString, pdtBoolean, pdtInteger};
    ASSERT_EQ(expr.Parser().GetIdentifierCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(expr.Parser().GetIdentifier(i)->GetDataType(), types[i]) << i;
}

TEST(RDXFilter, MatchExpressionOverRecordsWithAnUnknownName)
{
    // A rule's match expression: names typed by the element table's fields, a name the
    // table lacks typed 10 (it compiles and reads as null), values read from each row.
    IRDXTable* edo = BusinessTable("ElementDrawObj");
    Ref<IPXEParser> parser = RDXEngine("")->CreateParser();
    parser->Compile("(Material = '混凝土') and (ShortArmShearWall = 0) or (Type = 2) and not ShortArmShearWall",
                    [edo](std::string_view name) {
                        const TRDXFieldDef* field = edo->FindField(name);
                        return field ? RDXDataTypeToPXEDataType(field->type) : 0;
                    });
    ASSERT_EQ(parser->GetIdentifierCount(), 4);  // one per occurrence
    EXPECT_EQ(parser->GetIdentifier(0)->GetDataType(), pdtString);
    EXPECT_EQ(parser->GetIdentifier(1)->GetName(), "ShortArmShearWall");
    EXPECT_EQ(parser->GetIdentifier(1)->GetDataType(), pdtInteger);
    const IRDXRecord* row = nullptr;
    parser->SetValueCallback([&row](IPXEIdentifierNode& node) {
        const TRDXFieldDef* field = row->GetTable()->FindField(node.GetName());
        if (!field || row->IsNull(node.GetName()))
            node.Value().SetNull();
        else if (field->type == TRDXFieldType::Text)
            node.Value().SetAsString(row->GetAsString(node.GetName()));
        else
            node.Value().SetAsFloat(row->GetAsFloat(node.GetName()));
    });
    std::vector<int> matched;
    for (int i = 0; i < edo->GetRowCount(); ++i) {
        row = edo->GetRow(i);
        if (parser->EvaluateBoolean())
            matched.push_back(row->GetID());
    }
    // The concrete rows fail on the null name; the rows of type 2 pass through "not null".
    EXPECT_EQ(matched, (std::vector<int>{102, 104}));
}
