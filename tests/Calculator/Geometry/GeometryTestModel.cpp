#include "tests/Calculator/Geometry/GeometryTestModel.h"

#include <filesystem>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

void TGeometryModelTest::Load(std::string_view elementsJson, TQTKCalcSessionOptions options)
{
    const std::string text = std::string(R"({"floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0,
        "Height": 3.0}], "elements": )") +
                             std::string(elementsJson) + "}";
    model_ = TQTKElementModel::LoadFromText(text, std::filesystem::current_path());
    model_->Activate();
    options.business = TableSourceRef(model_->GetBusiness());
    StartCalculationSession(options);
}

void TGeometryModelTest::TearDown()
{
    FreeCalcEDOs();
    if (model_)
        model_->ClearCalcEDOs();
    GetQTKModelRuntimeOptions().SetBoxService(nullptr);
    StartCalculationSession({});
}

IRDXRecord* TGeometryModelTest::Record(int id) const
{
    return model_->GetElementTable()->GetRecordByID(id);
}

IQTKElementDrawObj* TGeometryModelTest::DrawObj(int id) const
{
    return model_->FindElement(id);
}

std::unique_ptr<TVRMPolyhedron3d> Box(double x0, double y0, double z0, double x1, double y1, double z1)
{
    return TVRMPolyhedron3d::CreateBox(TVRMBox3d({x0, y0, z0}, {x1, y1, z1}));
}

std::vector<int> FaceTags(const TVRMPolyhedronShell3d& shell)
{
    std::vector<int> tags;
    for (const TVRMFace3d& face : shell.GetFaces())
        tags.push_back(face.GetTag());
    return tags;
}
