// Bad model tables: a clear error naming the table, the row and the field.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "RDXTestModel.h"

namespace {

// A model of one "Business" database with the given tables (JSON text).
nlohmann::json ModelOf(const std::string& tables)
{
    return nlohmann::json::parse(R"({"databases": [{"name": "Business", "tables": [)" + tables + "]}]}");
}

const char* kFloor =
    R"({"name": "Floor", "fields": [{"name": "ID", "type": "integer"}, {"name": "Height", "type": "float"}],
  "rows": [{"ID": 1, "Height": 3.0}, {"ID": 2, "Height": 3.3}]})";

}  // namespace

TEST(RDXModelError, BadTablesNameTableRowAndField)
{
    struct Case {
        std::string tables;
        std::string table;
        int row;
        std::string field;
        std::string reason;  // a part of the message
    };
    const std::string edoFields =
        R"("fields": [{"name": "ID", "type": "integer"}, {"name": "FloorID", "type": "integer", "master": "Floor"}])";
    const Case cases[] = {
        {R"({"name": "Floor", "fields": [{"name": "ID", "type": "integer"}, {"name": "Height", "type": "float"}],
             "rows": [{"ID": 1, "Height": 3.0}, {"ID": 2, "Height": "high"}]})",
         "Floor", 2, "Height", "expected float, got \"high\""},
        {R"({"name": "Floor", "fields": [{"name": "ID", "type": "integer"}], "rows": [{"ID": 1.5}]})", "Floor", 1, "ID",
         "expected integer"},
        {R"({"name": "Floor", "fields": [{"name": "ID", "type": "integer"}, {"name": "F", "type": "boolean"}],
             "rows": [{"ID": 1, "F": 1}]})",
         "Floor", 1, "F", "expected boolean"},
        {R"({"name": "Floor", "fields": [{"name": "ID", "type": "integer"}], "rows": [{"ID": 1}, {"ID": 1}]})", "Floor",
         2, "ID", "duplicate record id 1"},
        {R"({"name": "Floor", "fields": [{"name": "ID", "type": "integer"}], "rows": [{"ID": null}]})", "Floor", 1,
         "ID", "the record id is null"},
        {R"({"name": "Floor", "fields": [{"name": "ID", "type": "integer"}], "rows": [{"ID": 1, "Height": 2}]})",
         "Floor", 1, "Height", "no such field"},
        {R"({"name": "Floor", "fields": [{"name": "ID", "type": "integer"}, {"name": "id", "type": "float"}]})",
         "Floor", 0, "id", "defined twice"},
        {R"({"name": "Floor", "fields": [{"name": "ID", "type": "date"}]})", "Floor", 0, "ID", "unknown field type"},
        {std::string(kFloor) + R"(, {"name": "ElementDrawObj", )" + edoFields +
             R"(, "rows": [{"ID": 10, "FloorID": 1}, {"ID": 11, "FloorID": 3}]})",
         "ElementDrawObj", 2, "FloorID", "no row 3 in the master table \"Floor\""},
        {R"({"name": "ElementDrawObj", )" + edoFields + R"(, "rows": []})", "ElementDrawObj", 0, "FloorID",
         "the master table \"Floor\" does not exist"},
        {R"({"name": "QTKOtherCalcSetting", "fields": [{"name": "FormboardPriority", "type": "detail",
             "fields": [{"name": "ElementFormboardPriority", "type": "integer"}]}],
             "rows": [{"FormboardPriority": [{"ElementFormboardPriority": 25}, {"ElementFormboardPriority": "x"}]}]})",
         "QTKOtherCalcSetting[1].FormboardPriority", 2, "ElementFormboardPriority", "expected integer"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tables);
        try {
            LoadRDXModel(ModelOf(c.tables), ".");
            ADD_FAILURE() << "loaded";
        } catch (const ERDXModelError& e) {
            EXPECT_EQ(e.Table(), c.table);
            EXPECT_EQ(e.Row(), c.row);
            EXPECT_EQ(e.Field(), c.field);
            const std::string what = e.what();
            EXPECT_NE(what.find(c.reason), std::string::npos) << what;
            EXPECT_NE(what.find("table \"" + c.table + "\""), std::string::npos) << what;
        }
    }
}

TEST(RDXModelError, BadFilesAndShapes)
{
    const std::string cases[] = {
        R"([1, 2])",
        R"({"databases": {"name": "Business"}})",
        R"({"databases": [{"tables": []}]})",
        R"({"databases": [{"name": "B", "tables": [{"fields": []}]}]})",
        R"({"databases": [{"name": "B", "tables": [{"name": "T"}]}]})",
        R"({"databases": [{"name": "B", "tables": [{"name": "T", "fields": [], "rows": [[1]]}]}]})",
        R"({"databases": [{"name": "B", "tables": []}, {"name": "b", "tables": []}]})",
        R"({"databases": [{"name": "B", "tables": [{"file": "no-such-file.json"}]}]})",
        R"({"databases": [{"name": "B", "file": "no-such-file.json"}]})",
    };
    for (const auto& text : cases) {
        SCOPED_TRACE(text);
        EXPECT_THROW(LoadRDXModel(nlohmann::json::parse(text), RdxFixture("")), ERDXError);
    }
    EXPECT_THROW(LoadRDXModelFile(RdxFixture("missing.json")), ERDXError);
    // a table file that includes itself stops at the nesting limit
    EXPECT_THROW(LoadRDXDatabaseFile(RdxFixture("self-include.json"), "B"), ERDXError);
}

TEST(RDXModelError, ModelWithoutTables)
{
    Ref<TRDXModel> model = LoadRDXModel(nlohmann::json::parse(R"({"elements": []})"), ".");
    EXPECT_EQ(model->GetDatabaseCount(), 0);
    EXPECT_EQ(model->GetDatabase(), nullptr);
}

TEST(RDXModelError, SettingsFileOfItsOwn)
{
    Ref<TRDXDatabase> db = LoadRDXDatabaseFile(RdxFixture("rules/norm-rules.json"), "NormCalcRule");
    EXPECT_EQ(db->GetName(), "NormCalcRule");
    EXPECT_TRUE(db->GetTable("QTKWallCalcSettings"));
    EXPECT_EQ(db->GetDatabase(), db.get()) << "a database is a table source";
    // its rule rows refer to a business dictionary, which a database alone lacks
    EXPECT_EQ(db->GetTable("InternalQtyCalcRule")->GetRow(0)->GetMasterRecord("InternalQtyID"), nullptr);
    Ref<TRDXModel> model(new TRDXModel);
    model->AddDatabase(db);
    try {
        model->Validate();
        ADD_FAILURE() << "validated";
    } catch (const ERDXModelError& e) {
        EXPECT_EQ(e.Table(), "InternalQtyCalcRule");
        EXPECT_EQ(e.Field(), "InternalQtyID");
    }
}
