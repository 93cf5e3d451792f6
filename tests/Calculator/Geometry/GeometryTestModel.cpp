#include "tests/Calculator/Geometry/GeometryTestModel.h"

#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

void TGeometryModelTest::Load(std::string_view elementsJson, TQTKCalcSessionOptions options)
{
    building_ = TTestBuilding::FromElements(elementsJson);
    TQTKCalculationScopeOptions scope;
    scope.session = std::move(options);
    building_->Activate(std::move(scope));
}

void TGeometryModelTest::TearDown()
{
    building_.reset();
}

IRDXRecord* TGeometryModelTest::Record(int id) const
{
    return building_->Record(id);
}

IQTKElementDrawObj* TGeometryModelTest::DrawObj(int id) const
{
    return building_->DrawObj(id);
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
