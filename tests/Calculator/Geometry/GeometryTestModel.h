// A small building (TTestBuilding from model-file elements) active for a
// test's length, and a few solids made in code.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string_view>
#include <vector>

#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Support/TestBuilding.h"

class TVRMPolyhedronShell3d;

class TGeometryModelTest : public ::testing::Test {
protected:
    // Loads the model text (its "elements" member) and starts a session on it.
    void Load(std::string_view elementsJson, TQTKCalcSessionOptions options = {});
    void TearDown() override;
    IRDXRecord* Record(int id) const;
    IQTKElementDrawObj* DrawObj(int id) const;

    std::unique_ptr<TTestBuilding> building_;
};

std::unique_ptr<TVRMPolyhedron3d> Box(double x0, double y0, double z0, double x1, double y1, double z1);
// The source face index of each face of a shell, in shell order.
std::vector<int> FaceTags(const TVRMPolyhedronShell3d& shell);
