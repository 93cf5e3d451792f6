// Small models written inline for the element-model tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Host/ElementModel/QTKElementModel.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

// A model of the given elements (a JSON list body) on one floor at 0, 3 m high.
inline Ref<TQTKElementModel> LoadElements(const std::string& elements)
{
    return TQTKElementModel::LoadFromText(
        R"({"floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0, "Height": 3.0}], "elements": [)" + elements +
            "]}",
        ".");
}

template <class TShape>
const TShape* ShapeOf(const TQTKElementModel& model, int id)
{
    const IQTKElementDrawObj* e = model.FindElement(id);
    EXPECT_NE(e, nullptr) << "element " << id;
    const auto* shape = e ? dynamic_cast<const TShape*>(e->GetShape()) : nullptr;
    EXPECT_NE(shape, nullptr) << "element " << id << " has another shape kind";
    return shape;
}

inline void ExpectNormal(const TVRMFace3d& face, const TVRMVector3d& expected)
{
    EXPECT_TRUE(face.GetNormal().IsEqualTo(expected, 1e-9))
        << "normal (" << face.GetNormal().x << ", " << face.GetNormal().y << ", " << face.GetNormal().z << ")";
}
