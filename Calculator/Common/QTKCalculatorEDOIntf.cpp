#include "Calculator/Common/QTKCalculatorEDOIntf.h"

#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

TQTKElementTypeSet MakeElementTypeSet(std::initializer_list<int> typeIds)
{
    TQTKElementTypeSet set;
    for (int id : typeIds)
        if (id >= 0 && id < static_cast<int>(set.size()))
            set.set(static_cast<size_t>(id));
    return set;
}

TQTKSectionPoly::TQTKSectionPoly(std::unique_ptr<TVRMMultiPolygon2d> polygon) : polygon_(std::move(polygon)) {}

TQTKSectionPoly::~TQTKSectionPoly() = default;

TQTKPolyhedron3dIntf::TQTKPolyhedron3dIntf(std::unique_ptr<TVRMPolyhedron3d> polyhedron)
    : polyhedron_(std::move(polyhedron))
{
    QTK_ASSERT(polyhedron_ != nullptr);
}

TQTKPolyhedron3dIntf::~TQTKPolyhedron3dIntf() = default;

Ref<IQTKPolyhedron3dIntf> MakePolyhedronHolder(std::unique_ptr<TVRMPolyhedron3d> polyhedron)
{
    return Ref<IQTKPolyhedron3dIntf>(new TQTKPolyhedron3dIntf(std::move(polyhedron)));
}
