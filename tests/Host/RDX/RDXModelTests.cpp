// Reading the two-floor model: databases, tables, records, master records,
// detail lists, locate and the thread-safe field reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "Host/RDX/RDXDataUtils.h"
#include "Host/RDX/RDXSync.h"
#include "RDXTestModel.h"

TEST(RDXModel, DatabasesAndTablesByName)
{
    TRDXModel& model = TwoFloorModel();
    ASSERT_EQ(model.GetDatabaseCount(), 2);
    EXPECT_EQ(model.GetDatabase()->GetName(), "Business");  // the model as a table source
    IRDXDatabase* rules = model.GetDatabaseByName("normcalcrule");
    ASSERT_TRUE(rules);
    EXPECT_EQ(rules->GetModel(), &model);
    EXPECT_TRUE(rules->GetTable("InternalQtyCalcRule"));
    EXPECT_TRUE(rules->GetTable("QTKWallCalcSettings")) << "a settings table read from a file of its own";
    EXPECT_EQ(rules->GetTable("QTKBeamCalcSettings"), nullptr);
    EXPECT_EQ(model.GetDatabaseByName("BQCalcRule"), nullptr);
}

TEST(RDXModel, RowsIdsAndOwners)
{
    IRDXTable* edo = BusinessTable("ElementDrawObj");
    ASSERT_EQ(edo->GetRowCount(), 7);
    EXPECT_EQ(edo->GetRow(0)->GetID(), 105);
    EXPECT_EQ(edo->GetRow(7), nullptr);
    EXPECT_EQ(edo->GetRow(-1), nullptr);
    IRDXRecord* wall = edo->GetRecordByID(101);
    ASSERT_TRUE(wall);
    EXPECT_EQ(wall->GetRecordIndex(), 1);
    EXPECT_EQ(edo->GetRecordByID(999), nullptr);
    // record -> table -> owner -> database -> "ProjInfo", as the ground elevation is read
    IRDXTable* proj = wall->GetTable()->GetOwner()->GetDatabase()->GetTable("ProjInfo");
    ASSERT_TRUE(proj);
    EXPECT_DOUBLE_EQ(proj->GetRow(0)->GetAsFloat("GroundElev") * 1000, -450.0);
    EXPECT_EQ(proj->GetRow(0)->GetID(), 1) << "a table without an ID field numbers its rows";
}

TEST(RDXModel, FieldReadsAndNulls)
{
    IRDXRecord* beam = BusinessTable("ElementDrawObj")->GetRecordByID(104);
    EXPECT_EQ(beam->GetAsString("Material"), "砖");
    EXPECT_EQ(beam->GetAsInteger("Type"), 2);
    EXPECT_FALSE(beam->GetAsBoolean("UnitFlag"));
    EXPECT_TRUE(beam->IsNull("Thickness"));
    EXPECT_EQ(beam->GetAsFloat("Thickness"), 0.0);
    EXPECT_EQ(beam->GetAsString("Thickness"), "");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(beam->GetAsVariant("Thickness")));
    EXPECT_EQ(beam->GetAsVariant("EDOPID"), TRDXValue(std::int64_t{101}));
    // field names are not case-sensitive
    EXPECT_EQ(beam->GetAsInteger("type"), 2);
    // a float read as integer rounds to the nearest integer
    EXPECT_EQ(BusinessTable("ElementDrawObj")->GetRecordByID(103)->GetAsInteger("Thickness"), 201);
    EXPECT_EQ(BusinessTable("Floor")->GetRecordByID(2)->GetAsString("Height"), "3");
    EXPECT_THROW(beam->GetAsFloat("NoSuchField"), ERDXError);
}

TEST(RDXModel, MasterRecords)
{
    IRDXTable* edo = BusinessTable("ElementDrawObj");
    IRDXRecord* beam = edo->GetRecordByID(102);
    IRDXRecord* floor = GetMasterRecord(beam, "FloorID");
    ASSERT_TRUE(floor);
    EXPECT_EQ(floor->GetID(), 2);
    EXPECT_EQ(floor->GetAsString("Name"), "第2层");
    EXPECT_DOUBLE_EQ(floor->GetAsFloat("StructuralElevation") * 1000, 3550.0);
    EXPECT_EQ(beam->GetMasterRecord("EDOPID"), edo->GetRecordByID(101));
    EXPECT_EQ(beam->GetMasterRecord("ElementID")->GetAsInteger("ElementTypeID"), 15);
    EXPECT_EQ(edo->GetRecordByID(101)->GetMasterRecord("EDOPID"), nullptr) << "null foreign key";
    EXPECT_EQ(beam->GetMasterRecord("Material"), nullptr) << "not a foreign key";
    EXPECT_EQ(GetMasterRecord(nullptr, "FloorID"), nullptr);
    // a rule table refers to a dictionary of the business database
    IRDXRecord* rule = RuleTable("InternalQtyCalcRule")->GetRecordByID(31);
    ASSERT_TRUE(rule->GetMasterRecord("InternalQtyID"));
    EXPECT_EQ(rule->GetMasterRecord("InternalQtyID")->GetAsInteger("SubjectElementTypeID"), 0);
}

TEST(RDXModel, DetailLists)
{
    IRDXRecord* other = RuleTable("QTKOtherCalcSetting")->GetRow(0);
    IRDXTable* priority = other->GetDetail("FormboardPriority");
    ASSERT_TRUE(priority);
    ASSERT_EQ(priority->GetRowCount(), 3);
    // the position of the first row holding a type is its priority
    const TRDXValue beamType[] = {std::int64_t{15}};
    IRDXRecord* row = priority->Locate("ElementFormboardPriority", beamType);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->GetRecordIndex(), 1);
    EXPECT_EQ(priority->GetDatabase(), RuleTable("QTKOtherCalcSetting")->GetDatabase());
    EXPECT_FALSE(other->IsNull("FormboardPriority"));

    IRDXTable* modulus = RuleTable("QTKWallCalcSettings")->GetRow(0)->GetDetail("ThicknessModulus");
    ASSERT_TRUE(modulus);
    const TRDXValue t240[] = {std::int64_t{240}};
    EXPECT_EQ(modulus->Locate("DefinedThickness", t240)->GetAsInteger("ActualThickness"), 200);
}

TEST(RDXModel, LocateOnSeveralFields)
{
    IRDXTable* typeDict = RuleTable("TypeDict");
    const std::array<TRDXValue, 3> key = {0, 1, 1};
    IRDXRecord* row = typeDict->Locate("ElementTypeID;Index;TypeIndex", key);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->GetAsInteger("Level"), 6);
    const std::array<TRDXValue, 3> asFloat = {0, 1, 1.0};  // numbers compare by value
    EXPECT_EQ(typeDict->Locate("ElementTypeID;Index;TypeIndex", asFloat), row);
    const std::array<TRDXValue, 3> none = {15, 1, 1};
    EXPECT_EQ(typeDict->Locate("ElementTypeID;Index;TypeIndex", none), nullptr);
    const std::array<TRDXValue, 1> nullKey = {std::monostate{}};
    EXPECT_EQ(BusinessTable("ElementDrawObj")->Locate("EDOPID", nullKey), nullptr) << "null matches nothing";
    EXPECT_THROW(typeDict->Locate("ElementTypeID;Nope", key), ERDXError);
    EXPECT_THROW(typeDict->Locate("ElementTypeID;Index", key), ERDXError);
}

TEST(RDXModel, LocateInLargeTablesAndViews)
{
    Ref<TRDXTable> table(new TRDXTable("T", {{"ID", TRDXFieldType::Integer, ""},
                                             {"Kind", TRDXFieldType::Integer, ""},
                                             {"Size", TRDXFieldType::Float, ""},
                                             {"Name", TRDXFieldType::Text, ""},
                                             {"On", TRDXFieldType::Boolean, ""}}));
    for (int i = 1; i <= 200; ++i)
        table->AddRow({std::int64_t{i}, std::int64_t{i % 10}, i % 10 == 3 ? TRDXValue{} : TRDXValue{i % 20 * 0.5},
                       std::string(i % 2 ? "a" : "A"), i % 3 == 0});
    const std::string fields = "kind;SIZE;Name;On";
    auto locate = [&](const IRDXTable* t, std::int64_t kind, double size, const char* name, bool on) {
        const std::array<TRDXValue, 4> key = {kind, size, std::string(name), on};
        const IRDXRecord* row = t->Locate(fields, key);
        return row ? row->GetID() : 0;
    };
    // Several threads at once, the first of them building the index.
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int round = 0; round < 50; ++round)
                if (locate(table.get(), 7, 3.5, "a", false) != 7 || locate(table.get(), 9, 9.5, "a", true) != 39)
                    ++wrong;
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(locate(table.get(), 2, 1, "A", false), 2);   // 1.0 and 1 are the same number
    EXPECT_EQ(locate(table.get(), 0, 0, "A", false), 20);  // -0 equals 0 below
    EXPECT_EQ(locate(table.get(), 2, 1, "a", false), 0);   // texts compare exactly
    EXPECT_EQ(locate(table.get(), 3, 0, "a", false), 0);   // null equals nothing
    const std::array<TRDXValue, 4> negativeZero = {std::int64_t{0}, -0.0, std::string("A"), false};
    EXPECT_EQ(table->Locate(fields, negativeZero)->GetID(), 20);
    const std::array<TRDXValue, 4> nullKey = {std::int64_t{2}, TRDXValue{}, std::string("A"), false};
    EXPECT_EQ(table->Locate(fields, nullKey), nullptr);
    // Every row's own values find the first row holding them.
    for (const TRDXRecord* row : table->Rows()) {
        if (row->IsNull("Size"))
            continue;
        auto same = [&](const TRDXRecord* r) {
            return r->GetAsInteger("Kind") == row->GetAsInteger("Kind") && !r->IsNull("Size") &&
                   r->GetAsFloat("Size") == row->GetAsFloat("Size") &&
                   r->GetAsString("Name") == row->GetAsString("Name") &&
                   r->GetAsBoolean("On") == row->GetAsBoolean("On");
        };
        const auto first = *std::find_if(table->Rows().begin(), table->Rows().end(), same);
        EXPECT_EQ(locate(table.get(), row->GetAsInteger("Kind"), row->GetAsFloat("Size"),
                         row->GetAsString("Name").c_str(), row->GetAsBoolean("On")),
                  first->GetID());
    }
    // A view finds its own first row.
    std::vector<TRDXRecord*> rows(table->Rows().begin() + 100, table->Rows().end());
    Ref<TRDXView> view(new TRDXView(table.get(), rows));
    EXPECT_EQ(locate(view.get(), 7, 3.5, "a", false), 107);
    EXPECT_EQ(locate(view.get(), 2, 1, "A", false), 122);
    // A row added later is found.
    table->AddRow({std::int64_t{201}, std::int64_t{11}, 1.0, std::string("b"), true});
    EXPECT_EQ(locate(table.get(), 11, 1, "b", true), 201);
}

TEST(RDXModel, ThreadSafeFieldReads)
{
    IRDXRecord* settings = RuleTable("QTKWallCalcSettings")->GetRow(0);
    struct Case {
        const char* field;
        bool exists;
        double value;  // FieldValueFloat with default -1
    };
    const Case cases[] = {
        {"WallFormboardAngle", true, 30.0},
        {"OverHighStartCalcHeight", true, -1.0},  // null: the default
        {"OverHighCriticalHeight", false, -1.0},  // missing: the default
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(FieldExist(settings, c.field), c.exists);
        EXPECT_EQ(FieldExist(settings->GetTable(), c.field), c.exists);
        EXPECT_DOUBLE_EQ(FieldValueFloat(settings, c.field, -1.0), c.value);
        EXPECT_EQ(FieldValueInteger(settings, c.field, -1), static_cast<int>(c.value));
    }
    EXPECT_FALSE(FieldExist(static_cast<IRDXRecord*>(nullptr), "X"));
    EXPECT_EQ(FieldValueInteger(nullptr, "X", 7), 7);
    EXPECT_EQ(FieldValueInteger(BusinessTable("ElementDrawObj")->GetRecordByID(105), "Material", 3), 3)
        << "a text that is no number gives the default";
}

TEST(RDXModel, DataTypesOfFields)
{
    EXPECT_EQ(RDXDataTypeToPXEDataType(TRDXFieldType::Integer), 10);
    EXPECT_EQ(RDXDataTypeToPXEDataType(TRDXFieldType::Float), 11);
    EXPECT_EQ(RDXDataTypeToPXEDataType(TRDXFieldType::Text), 12);
    EXPECT_EQ(RDXDataTypeToPXEDataType(TRDXFieldType::Boolean), 13);
}

TEST(RDXModel, IntegerReadOutOfRange)
{
    Ref<TRDXTable> table(new TRDXTable("T", {{"ID", TRDXFieldType::Integer, ""}, {"Big", TRDXFieldType::Integer, ""}}));
    IRDXRecord* row = table->AddRow({std::int64_t{1}, std::int64_t{3000000000}});
    EXPECT_THROW(row->GetAsInteger("Big"), ERDXError);
    EXPECT_DOUBLE_EQ(row->GetAsFloat("Big"), 3e9);
    EXPECT_EQ(FieldValueInteger(row, "Big", -1), -1);
}

TEST(RDXModel, FieldNamesOfManyLengthsAndCases)
{
    // Names of 1 to 40 bytes, some sharing long prefixes, some with bytes
    // outside ASCII (compared exactly: only ASCII letters fold).
    std::vector<TRDXFieldDef> fields;
    for (int i = 0; i < 40; ++i)
        fields.push_back({"Top_Elevation_Of_Layer_" + std::to_string(i) + std::string(static_cast<size_t>(i % 7), 'x'),
                          TRDXFieldType::Integer, ""});
    fields.push_back({"T", TRDXFieldType::Integer, ""});
    fields.push_back({"材料Ä", TRDXFieldType::Text, ""});
    Ref<TRDXTable> table(new TRDXTable("T", fields));
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
        std::string upper = fields[static_cast<size_t>(i)].name, lower = upper;
        for (char& c : upper)
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        for (char& c : lower)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        EXPECT_EQ(table->FieldIndex(upper), i) << upper;
        EXPECT_EQ(table->FieldIndex(lower), i) << lower;
        EXPECT_EQ(table->FieldIndex(lower + "x"), -1) << lower;
        EXPECT_EQ(table->FieldIndex(lower.substr(0, lower.size() - 1)), -1) << lower;
    }
    EXPECT_EQ(table->FieldIndex("材料ä"), -1);
    EXPECT_EQ(table->FieldIndex(""), -1);
    EXPECT_EQ(table->FieldIndex("Top_Elevation_Of_Layer_"), -1);
    // The first fault in field order is the one reported.
    auto fault = [](std::vector<std::string> names) {
        std::vector<TRDXFieldDef> defs;
        for (auto& name : names)
            defs.push_back({std::move(name), TRDXFieldType::Integer, ""});
        try {
            TRDXTable bad("B", std::move(defs));
        } catch (const ERDXModelError& e) {
            return e.Reason();
        }
        return std::string("no error");
    };
    EXPECT_EQ(fault({"A", "a", ""}), "the field is defined twice");
    EXPECT_EQ(fault({"A", "", "a"}), "field 2 has no name");
}

TEST(RDXModel, ObjectBehindRow)
{
    Ref<TRDXTable> table(new TRDXTable("ElementDrawObj", {{"ID", TRDXFieldType::Integer, ""}}));
    IRDXRecord* row = table->AddRow({std::int64_t{1}});
    EXPECT_EQ(row->GetObject(), nullptr);
    struct TObj : TInterfacedObject {};
    Ref<TObj> obj(new TObj);
    row->SetObject(obj.get());
    EXPECT_EQ(row->GetObject(), obj.get());
    EXPECT_EQ(obj->RefCount(), 2);
    row->SetObject(nullptr);
    EXPECT_EQ(obj->RefCount(), 1);
}

TEST(RDXModel, RecordOutlivingItsTable)
{
    RecordRef kept;
    {
        Ref<TRDXTable> table(new TRDXTable("T", {{"ID", TRDXFieldType::Integer, ""}}));
        kept = table->AddRow({std::int64_t{4}});
    }
    EXPECT_EQ(kept->GetTable(), nullptr);
    EXPECT_EQ(kept->GetID(), 4);
    EXPECT_THROW(kept->GetAsInteger("ID"), ERDXError);
}
