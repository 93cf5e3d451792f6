// Fuzz target: the model reader on arbitrary text. Every input either loads
// or raises the model error; anything else (another exception, a crash, a
// sanitizer report) is a finding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Host/ElementModel/QTKElementModel.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const auto model = TQTKElementModel::LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size),
                                                          "/nonexistent-fuzz-dir");
        for (int i = 0; i < model->GetElementCount(); ++i)
            model->GetElement(i)->BuildPolyhedron();
    } catch (const EQTKModelError&) {
    }
    return 0;
}
