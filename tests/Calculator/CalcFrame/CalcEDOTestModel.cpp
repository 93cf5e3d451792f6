#include "tests/Calculator/CalcFrame/CalcEDOTestModel.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/QTKBoxService.h"
#include "Host/ElementModel/QTKShapes.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"

namespace {

TVRMMultiPolygon2d Rectangle(double x0, double y0, double x1, double y1)
{
    TVRMMultiPolygon2d set;
    set.Add(TVRMRectangle2d({(x0 + x1) / 2, (y0 + y1) / 2}, (x1 - x0) / 2, (y1 - y0) / 2));
    return set;
}

}  // namespace

TTestModel::TTestModel() : business_(MakeRef<TRDXDatabase>("Business"))
{
    auto elements = MakeRef<TRDXTable>("ElementDrawObj", std::vector<TRDXFieldDef>{{"ID", TRDXFieldType::Integer, ""}});
    auto floors = MakeRef<TRDXTable>("Floor", std::vector<TRDXFieldDef>{{"ID", TRDXFieldType::Integer, ""}});
    elements_ = elements.get();
    floors_ = floors.get();
    business_->AddTable(elements);
    business_->AddTable(floors);
}

TTestModel::~TTestModel()
{
    FreeCalcEDOs();
    // Objects a test attached itself are not registered.
    for (const auto& drawObj : drawObjs_)
        drawObj->SetCalcEDO(nullptr);
    GetQTKModelRuntimeOptions().SetBoxService(nullptr);
    StartCalculationSession({});
}

TQTKElementDrawObj* TTestModel::Add(int id, int typeId, TTestProps props, Ref<IQTKShape> shape)
{
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

TQTKElementDrawObj* TTestModel::AddLine(int id, int typeId, double x0, double y0, double x1, double y1, double width,
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

TQTKElementDrawObj* TTestModel::AddFace(int id, int typeId, double x0, double y0, double x1, double y1, double elev,
                                        double thickness, TTestProps props)
{
    TQTKFaceShapeData shape;
    shape.outline = Rectangle(x0, y0, x1, y1);
    shape.levelElev = elev;
    shape.thickness = thickness;
    return Add(id, typeId, std::move(props), MakeRef<TQTKFaceShape>(std::move(shape)));
}

TQTKElementDrawObj* TTestModel::AddPoint(int id, int typeId, double x0, double y0, double x1, double y1, double bottom,
                                         double top, TTestProps props)
{
    TQTKPointShapeData shape;
    shape.insertPt = {(x0 + x1) / 2, (y0 + y1) / 2};
    shape.local = Rectangle(-(x1 - x0) / 2, -(y1 - y0) / 2, (x1 - x0) / 2, (y1 - y0) / 2);
    shape.bottom = bottom;
    shape.top = top;
    return Add(id, typeId, std::move(props), MakeRef<TQTKPointShape>(std::move(shape)));
}

void TTestModel::SetParent(TQTKElementDrawObj* child, TQTKElementDrawObj* parent)
{
    child->SetParent(parent);
}

void TTestModel::AddFloor(int id)
{
    floors_->AddRow({std::int64_t{id}});
}

IRDXRecord* TTestModel::AddForeignRecord(int id)
{
    TRDXRecord* record = elements_->AddRow({std::int64_t{id}});
    record->SetObject(MakeRef<TQTKPropValues>().get());
    return record;
}

IRDXRecord* TTestModel::Record(int id) const
{
    return elements_->GetRecordByID(id);
}

void TTestModel::Activate(bool detailMode)
{
    std::vector<std::pair<int, TVRMBox3d>> boxes;
    for (const auto& drawObj : drawObjs_)
        boxes.emplace_back(drawObj->GetRecord()->GetID(), drawObj->GetBox());
    GetQTKModelRuntimeOptions().SetBoxService(MakeRef<TQTKBoxService>(boxes).get());
    TQTKCalcSessionOptions options;
    options.business = TableSourceRef(business_.get());
    options.detailMode = detailMode;
    StartCalculationSession(options);
}
