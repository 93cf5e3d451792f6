// Expression items of over-height calculators: which pieces, in which order,
// as part items or plain values, the gradient beam's box, and dropped errors.
#include <memory>
#include <stdexcept>
#include <vector>

#include "Calculator/Common/QTKOverhighExprHandler.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXTable.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "tests/Calculator/Expr/ExprTestModel.h"

namespace {

std::vector<std::string> GDropped;

void RecordDropped(const char* message)
{
    GDropped.emplace_back(message);
}

// Rule settings with the partition method of one settings table.
Ref<TRDXDatabase> Settings(const std::string& table, int method)
{
    auto database = MakeRef<TRDXDatabase>("Settings");
    auto settings =
        MakeRef<TRDXTable>(table, std::vector<TRDXFieldDef>{{"ID", TRDXFieldType::Integer, ""},
                                                            {"OverHighPartitionMethod", TRDXFieldType::Integer, ""}});
    settings->AddRow({std::int64_t{1}, std::int64_t{method}});
    database->AddTable(settings);
    return database;
}

// Vertical rectangles (length x height, mm) side by side.
std::unique_ptr<TVRMPolyhedronShell3d> Faces(std::vector<std::pair<double, double>> sizes)
{
    auto shell = std::make_unique<TVRMPolyhedronShell3d>();
    double y = 0.0;
    for (auto [length, height] : sizes) {
        shell->AddFace(TVRMCustomLine2d({0, y}, {length, y}), true, 0, height, 0, height);
        y += 1000.0;
    }
    return shell;
}

// A beam whose middle line is lost after its first request.
class TFailingBeamEDO final : public TFakeBeamEDO {
public:
    using TFakeBeamEDO::TFakeBeamEDO;
    const TVRMCustomLine2d* GetMidLine() override
    {
        if (++calls > 1)
            throw std::runtime_error("middle line lost");
        return TFakeSectionLineEDO::GetMidLine();
    }
    int calls = 0;
};

class TOverhighExprTest : public TExprModelTest {
protected:
    void SetUp() override
    {
        Load(R"([
          {"id": 1, "type": 0, "props": {"Thickness": 300},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "bottom": 0, "top": 6000}},
          {"id": 2, "type": 20, "props": {"Thickness": 120},
           "shape": {"kind": "face", "outline": [[0, 0], [6000, 0], [6000, 4000], [0, 4000]]}},
          {"id": 3, "type": 15, "props": {"SectionTypeID": 0, "SectionWidth": 250, "SectionHeight": 600,
                                          "EndPtGradChangeHeight": 400},
           "shape": {"kind": "line", "start": [0, 0], "end": [6000, 0], "width": 250,
                     "startBottom": 0, "startTop": 600, "endBottom": 0, "endTop": 400}}])");
        for (int id : {1, 2, 3})
            StartQty(Record(id));
        GDropped.clear();
        TQTKOverhighExprHandler::SetExceptionObserver(RecordDropped);
    }
    void TearDown() override
    {
        TQTKOverhighExprHandler::SetExceptionObserver(nullptr);
        TExprModelTest::TearDown();
    }
    // Pieces of one rectangle each, of the given lengths (height 300), with weights.
    TVRMOverhighShellCalc3d WallPieces(std::vector<double> lengths, double weight = 1.0)
    {
        TVRMOverhighShellCalc3d calc;
        for (double length : lengths)
            calc.Add(std::make_unique<TVRMOverhighShellCalcItem3d>(Faces({{length, 300}}), RecordRef(Record(1)),
                                                                   nullptr, weight));
        return calc;
    }
    static std::vector<std::string> Texts(const IRDXRecord* record)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < Items(record).GetCount(); ++i)
            texts.push_back(Items(record).GetItems(i)->GetExprText());
        return texts;
    }
};

TEST_F(TOverhighExprTest, PiecesByPartitionMethod)
{
    IRDXRecord* wall = Record(1);
    const TVRMOverhighShellCalc3d calc = WallPieces({1000, 2000, 3000});
    const auto area = [](const std::string& text) { return text.find("<宽度>") != std::string::npos; };
    // Method 3: every piece, the last first.
    TQTKOverhighExprHandler::BuildOverhighExpr(wall, TableSourceRef(Settings("QTKWallCalcSettings", 3).get()), &calc);
    ASSERT_EQ(Items(wall).GetCount(), 3);
    const double expected[] = {3000, 2000, 1000};
    for (int i = 0; i < 3; ++i) {
        const auto* item = dynamic_cast<const TQTKCalcInternalShellExprItem*>(Items(wall).GetItems(i));
        ASSERT_NE(item, nullptr);
        EXPECT_NEAR(item->GetPart().quantity, expected[i] * 300, 1e-6);
        EXPECT_TRUE(area(item->GetExprText()));
    }
    // Methods 0 to 2: piece 0 only; the container is emptied first.
    TQTKOverhighExprHandler::BuildOverhighExpr(wall, TableSourceRef(Settings("QTKWallCalcSettings", 1).get()), &calc);
    ASSERT_EQ(Items(wall).GetCount(), 1);
    EXPECT_NEAR(dynamic_cast<const TQTKCalcInternalShellExprItem*>(Items(wall).GetItems(0))->GetPart().quantity, 300000,
                1e-6);
    // No rule context, another method, a slab of type 20: nothing.
    TQTKOverhighExprHandler::BuildOverhighExpr(wall, nullptr, &calc);
    EXPECT_EQ(Items(wall).GetCount(), 0);
    TQTKOverhighExprHandler::BuildOverhighExpr(wall, TableSourceRef(Settings("QTKWallCalcSettings", 4).get()), &calc);
    EXPECT_EQ(Items(wall).GetCount(), 0);
    const TQTKOverhighExprHandler slab(Record(2), TableSourceRef(Settings("QTKSlabCalcSettings", 3).get()), &calc);
    EXPECT_EQ(slab.GetPartitionMethod(), -1);
    TQTKOverhighExprHandler::BuildOverhighExpr(Record(2), TableSourceRef(Settings("QTKSlabCalcSettings", 3).get()),
                                               &calc);
    EXPECT_EQ(Items(Record(2)).GetCount(), 0);
    // Outside expression mode nothing is touched.
    Items(wall).AddValueItem(RecordRef(wall), "MJ", 1.0, 1.0);
    StartQty(wall, false);
    TQTKOverhighExprHandler::BuildOverhighExpr(wall, TableSourceRef(Settings("QTKWallCalcSettings", 3).get()), &calc);
    EXPECT_EQ(Items(wall).GetCount(), 1);
    EXPECT_TRUE(GDropped.empty());
}

TEST_F(TOverhighExprTest, PiecesThatCannotBeSplitArePlainValues)
{
    IRDXRecord* wall = Record(1);
    const auto context = TableSourceRef(Settings("QTKWallCalcSettings", 3).get());
    struct Case {
        const char* name;
        std::vector<std::pair<double, double>> faces;
        double weight;
        double value;
        double factor;
    };
    const std::vector<Case> cases{
        {"faces without a common size", {{2000, 300}, {1000, 400}}, 1.5, 1e6, 1.5},
        {"a piece without faces", {}, 1.5, 0, 0},  // nothing to write
        {"faces of one height: merged", {{2000, 300}, {1000, 300}}, 1.5, -1, 1.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TVRMOverhighShellCalc3d calc;
        calc.Add(std::make_unique<TVRMOverhighShellCalcItem3d>(Faces(c.faces), RecordRef(wall), nullptr, c.weight, 1.0,
                                                               true));
        TQTKOverhighExprHandler::BuildOverhighExpr(wall, context, &calc);
        if (c.value == 0) {
            EXPECT_EQ(Items(wall).GetCount(), 0);
            continue;
        }
        ASSERT_EQ(Items(wall).GetCount(), 1);
        const TQTKCalcInternalExprItem* item = Items(wall).GetItems(0);
        EXPECT_DOUBLE_EQ(item->GetFactor(), c.factor);
        if (c.value < 0) {
            EXPECT_EQ(item->GetExprText(), "0.3<长度>*3<宽度> * 1.5");  // the analyser's order
            continue;
        }
        const auto* value = dynamic_cast<const TQTKCalcInternalValueItem*>(item);
        ASSERT_NE(value, nullptr);
        EXPECT_NEAR(value->GetValue(), c.value, 1e-6);
        EXPECT_EQ(value->GetUnitMark(), CQTKUnitAsIs);
    }
    // Factor 0: the value is the quantity itself, never a division by 0.
    TVRMOverhighShellCalc3d zero;
    zero.Add(std::make_unique<TVRMOverhighShellCalcItem3d>(Faces({}), RecordRef(wall), nullptr, 0.0));
    const TQTKOverhighExprHandler handler(wall, context, &zero);
    TVRMExprInfo3dArray parts;
    double value = -1, factor = -1;
    handler.GetPieceParts(0, parts, value, factor);
    EXPECT_EQ(factor, 0.0);
    EXPECT_TRUE(parts.empty());
    EXPECT_EQ(value, 0.0);
    Items(wall).Clear();
    TQTKOverhighExprHandler::BuildIndentingOverhighExpr(wall, context, 1.0, &zero);
    EXPECT_EQ(Items(wall).GetCount(), 0);
    EXPECT_TRUE(GDropped.empty());
}

TEST_F(TOverhighExprTest, IndentingKeepsEarlierItemsAndWritesValues)
{
    IRDXRecord* wall = Record(1);
    Items(wall).AddValueItem(RecordRef(wall), "MJ", 7.0, 1.0);
    const TVRMOverhighShellCalc3d calc = WallPieces({1000, 2000}, 2.0);
    TQTKOverhighExprHandler::BuildIndentingOverhighExpr(wall, TableSourceRef(Settings("QTKWallCalcSettings", 3).get()),
                                                        0.5, &calc);
    ASSERT_EQ(Items(wall).GetCount(), 3);
    const double values[] = {7.0, 600000, 300000};  // piece quantity / weight
    for (int i = 0; i < 3; ++i) {
        const auto* value = dynamic_cast<const TQTKCalcInternalValueItem*>(Items(wall).GetItems(i));
        ASSERT_NE(value, nullptr);
        EXPECT_NEAR(value->GetValue(), values[i], 1e-6);
    }
    EXPECT_EQ(Texts(wall)[1], "600000 * 2");
    EXPECT_TRUE(GDropped.empty());
}

TEST_F(TOverhighExprTest, GradientBeamReadsAsABox)
{
    IRDXRecord* beam = Record(3);
    auto& edo = Attach<TFakeBeamEDO>(3);
    edo.midLine = TVRMCustomLine2d({0, 0}, {6000, 0});
    TVRMOverhighSolidCalc3d calc;
    calc.Add(
        std::make_unique<TVRMOverhighSolidCalcItem3d>(DrawObj(3)->BuildPolyhedron(), RecordRef(beam), nullptr, 1.0));
    TQTKOverhighExprHandler::BuildOverhighExpr(beam, TableSourceRef(Settings("QTKBeamCalcSettings", 0).get()), &calc);
    EXPECT_EQ(Texts(beam), std::vector<std::string>{"6<长度>*0.25<宽度>*0.5<高度>"});
    // A middle line of another length: the prism stays.
    edo.midLine = TVRMCustomLine2d({0, 0}, {5000, 0});
    TQTKOverhighExprHandler::BuildOverhighExpr(beam, TableSourceRef(Settings("QTKBeamCalcSettings", 0).get()), &calc);
    EXPECT_EQ(Texts(beam), std::vector<std::string>{"3<面积>*0.25<高度>"});
    EXPECT_TRUE(GDropped.empty());
}

TEST_F(TOverhighExprTest, AnErrorKeepsTheItemsAddedBeforeIt)
{
    IRDXRecord* beam = Record(3);
    auto& edo = Attach<TFailingBeamEDO>(3);
    edo.midLine = TVRMCustomLine2d({0, 0}, {6000, 0});
    TVRMOverhighSolidCalc3d calc;
    for (int i = 0; i < 2; ++i)
        calc.Add(std::make_unique<TVRMOverhighSolidCalcItem3d>(DrawObj(3)->BuildPolyhedron(), RecordRef(beam), nullptr,
                                                               1.0));
    EXPECT_NO_THROW(TQTKOverhighExprHandler::BuildOverhighExpr(
        beam, TableSourceRef(Settings("QTKBeamCalcSettings", 3).get()), &calc));
    EXPECT_EQ(Texts(beam), std::vector<std::string>{"6<长度>*0.25<宽度>*0.5<高度>"});
    EXPECT_EQ(GDropped, std::vector<std::string>{"middle line lost"});
}

}  // namespace
