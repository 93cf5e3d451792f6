#include "tests/Support/TestBuilding.h"

#include <cstdlib>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/QTKBoxService.h"
#include "Host/ElementModel/QTKShapes.h"
#include "Host/Runtime/Assert.h"

namespace {

TVRMMultiPolygon2d Rectangle(double x0, double y0, double x1, double y1)
{
    TVRMMultiPolygon2d set;
    set.Add(TVRMRectangle2d({(x0 + x1) / 2, (y0 + y1) / 2}, (x1 - x0) / 2, (y1 - y0) / 2));
    return set;
}

}  // namespace

TTestBuilding::TTestBuilding() : business_(MakeRef<TRDXDatabase>("Business"))
{
    auto elements = MakeRef<TRDXTable>("ElementDrawObj", std::vector<TRDXFieldDef>{{"ID", TRDXFieldType::Integer, ""}});
    auto floors = MakeRef<TRDXTable>("Floor", std::vector<TRDXFieldDef>{{"ID", TRDXFieldType::Integer, ""}});
    elements_ = elements.get();
    floors_ = floors.get();
    business_->AddTable(elements);
    business_->AddTable(floors);
}

TTestBuilding::TTestBuilding(Ref<TQTKElementModel> model) : model_(std::move(model)) {}

std::filesystem::path TTestBuilding::FixturesDir()
{
    const char* dir = std::getenv("QTK_TEST_FIXTURES");
    return dir ? std::filesystem::path(dir) : std::filesystem::path("tests/fixtures");
}

std::unique_ptr<TTestBuilding> TTestBuilding::FromFile(const std::filesystem::path& file)
{
    const std::filesystem::path path = file.is_absolute() ? file : FixturesDir() / file;
    return std::unique_ptr<TTestBuilding>(new TTestBuilding(TQTKElementModel::LoadFromFile(path)));
}

std::unique_ptr<TTestBuilding> TTestBuilding::FromText(std::string_view text, const std::filesystem::path& baseDir)
{
    return std::unique_ptr<TTestBuilding>(
        new TTestBuilding(TQTKElementModel::LoadFromText(text, baseDir.empty() ? FixturesDir() : baseDir)));
}

std::unique_ptr<TTestBuilding> TTestBuilding::FromElements(std::string_view elementsJson)
{
    const std::string text = std::string(R"({"floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0,
        "Height": 3.0}], "elements": )") +
                             std::string(elementsJson) + "}";
    return FromText(text);
}

TTestBuilding::~TTestBuilding()
{
    Deactivate();
}

TQTKElementDrawObj* TTestBuilding::Add(int id, int typeId, TTestProps props, Ref<IQTKShape> shape)
{
    QTK_ASSERT_MSG(!model_, "elements are added to a building made in code");
    TQTKElementDrawObjData data;
    data.typeID = typeId;
    data.props = MakeRef<TQTKPropValues>(std::move(props));
    data.shape = std::move(shape);
    Ref<TQTKElementDrawObj> drawObj =
        nextMaker_ ? std::exchange(nextMaker_, {})(std::move(data)) : MakeRef<TQTKElementDrawObj>(std::move(data));
    TRDXRecord* record = elements_->AddRow({std::int64_t{id}});
    drawObj->SetRecord(record);
    record->SetObject(drawObj.get());
    drawObj->UpdateBox();
    drawObjs_.push_back(drawObj);
    return drawObj.get();
}

TQTKElementDrawObj* TTestBuilding::AddLine(int id, int typeId, double x0, double y0, double x1, double y1, double width,
                                           double bottom, double top, TTestProps props)
{
    TQTKLineShapeData shape;
    shape.line = TVRMCustomLine2d({x0, y0}, {x1, y1});
    shape.width = width;
    shape.axisOffset = width / 2;
    shape.startBottom = shape.endBottom = bottom;
    shape.startTop = shape.endTop = top;
    return Add(id, typeId, std::move(props), MakeRef<TQTKLineShape>(std::move(shape)));
}

TQTKElementDrawObj* TTestBuilding::AddFace(int id, int typeId, double x0, double y0, double x1, double y1, double elev,
                                           double thickness, TTestProps props)
{
    TQTKFaceShapeData shape;
    shape.outline = Rectangle(x0, y0, x1, y1);
    shape.levelElev = elev;
    shape.thickness = thickness;
    return Add(id, typeId, std::move(props), MakeRef<TQTKFaceShape>(std::move(shape)));
}

TQTKElementDrawObj* TTestBuilding::AddPoint(int id, int typeId, double x0, double y0, double x1, double y1,
                                            double bottom, double top, TTestProps props)
{
    TQTKPointShapeData shape;
    shape.insertPt = {(x0 + x1) / 2, (y0 + y1) / 2};
    shape.local = Rectangle(-(x1 - x0) / 2, -(y1 - y0) / 2, (x1 - x0) / 2, (y1 - y0) / 2);
    shape.bottom = bottom;
    shape.top = top;
    return Add(id, typeId, std::move(props), MakeRef<TQTKPointShape>(std::move(shape)));
}

void TTestBuilding::SetParent(TQTKElementDrawObj* child, TQTKElementDrawObj* parent)
{
    child->SetParent(parent);
}

void TTestBuilding::AddFloor(int id)
{
    QTK_ASSERT(!model_);
    floors_->AddRow({std::int64_t{id}});
}

IRDXRecord* TTestBuilding::AddForeignRecord(int id)
{
    QTK_ASSERT(!model_);
    TRDXRecord* record = elements_->AddRow({std::int64_t{id}});
    record->SetObject(MakeRef<TQTKPropValues>().get());
    return record;
}

IRDXRecord* TTestBuilding::Record(int id) const
{
    return model_ ? model_->GetElementTable()->GetRecordByID(id) : elements_->GetRecordByID(id);
}

IQTKElementDrawObj* TTestBuilding::DrawObj(int id) const
{
    if (model_)
        return model_->FindElement(id);
    IRDXRecord* record = Record(id);
    return record ? dynamic_cast<IQTKElementDrawObj*>(record->GetObject()) : nullptr;
}

TableSourceRef TTestBuilding::Business() const
{
    return TableSourceRef(model_ ? model_->GetBusiness() : business_.get());
}

TableSourceRef TTestBuilding::RuleSet() const
{
    if (!model_)
        return nullptr;
    const IRDXModel* rdx = model_->GetRDXModel();
    for (int i = 0; i < rdx->GetDatabaseCount(); ++i) {
        IRDXDatabase* database = rdx->GetDatabaseByIndex(i);
        if (database != model_->GetBusiness())
            return TableSourceRef(dynamic_cast<IRDXTableSource*>(database));
    }
    return nullptr;
}

TQTKCalculationScope& TTestBuilding::Activate(TQTKCalculationScopeOptions options)
{
    // Element objects a test attached before activating stay.
    scope_.reset();
    if (model_) {
        model_->Activate();
    } else {
        std::vector<std::pair<int, TVRMBox3d>> boxes;
        for (const auto& drawObj : drawObjs_)
            boxes.emplace_back(drawObj->GetRecord()->GetID(), drawObj->GetBox());
        GetQTKModelRuntimeOptions().SetBoxService(MakeRef<TQTKBoxService>(boxes).get());
    }
    if (!options.session.business)
        options.session.business = Business();
    if (!options.session.calculatorSetting)
        options.session.calculatorSetting = RuleSet();
    options.release = [this, release = std::move(options.release)] {
        if (release)
            release();
        FreeElementObjects();
    };
    scope_ = std::make_unique<TQTKCalculationScope>(std::move(options));
    return *scope_;
}

TQTKCalculationScope& TTestBuilding::Activate(bool detailMode)
{
    TQTKCalculationScopeOptions options;
    options.session.detailMode = detailMode;
    return Activate(std::move(options));
}

void TTestBuilding::Deactivate()
{
    if (scope_)
        scope_.reset();
    else
        FreeElementObjects();
}

void TTestBuilding::FreeElementObjects()
{
    FreeCalcEDOs();
    // Objects a test attached itself are not registered.
    if (model_)
        model_->ClearCalcEDOs();
    for (const auto& drawObj : drawObjs_)
        drawObj->SetCalcEDO(nullptr);
    GetQTKModelRuntimeOptions().SetBoxService(nullptr);
}
