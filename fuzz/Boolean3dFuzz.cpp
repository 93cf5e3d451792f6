// Fuzz target: the solid booleans on two solids built from the input bytes
// (boxes, prisms over a plan ring, bands along a line or an arc, and solids
// given as faces of a box with moved corners: flat, folded or inside out).
// Every input gives true or false; a crash or a sanitizer report is a
// finding.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

// Reads the input front to back; past its end every value is 0.
class TBytes {
public:
    TBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    // A coordinate: mostly small whole millimetres, sometimes extreme.
    double Coord()
    {
        const std::uint8_t kind = Byte();
        const auto raw = static_cast<std::int16_t>(Byte() | (Byte() << 8));
        switch (kind % 16) {
            case 0:
                return raw * 1e-7;  // below the tolerances
            case 1:
                return raw * 1e9;  // far out
            case 2: {
                double d = 0.0;  // any double, NaN and infinities included
                std::uint8_t bytes[sizeof d];
                for (auto& b : bytes)
                    b = Byte();
                std::memcpy(&d, bytes, sizeof d);
                return d;
            }
            default:
                return raw * 10.0;
        }
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

std::unique_ptr<TVRMPolyhedron3d> MakeSolid(TBytes& in)
{
    switch (in.Byte() % 4) {
        case 0: {
            const TVRMPoint3d a{in.Coord(), in.Coord(), in.Coord()}, b{in.Coord(), in.Coord(), in.Coord()};
            return TVRMPolyhedron3d::CreateBox(TVRMBox3d(a, b));
        }
        case 1: {
            std::vector<TVRMVertex2d> ring(3 + in.Byte() % 6);
            for (auto& v : ring) {
                v.pt = {in.Coord(), in.Coord()};
                if (in.Byte() % 4 == 0)
                    v.radius = in.Coord(), v.kind = 1 + in.Byte() % 4;
            }
            TVRMMultiPolygon2d plan;
            plan.Add(TVRMPolygon2d(std::move(ring)));
            return TVRMPolyhedron3d::CreatePrism(plan, in.Coord(), in.Coord());
        }
        case 2: {
            const TVRMPoint2d s{in.Coord(), in.Coord()}, e{in.Coord(), in.Coord()};
            const TVRMCustomLine2d line =
                in.Byte() % 2 ? TVRMCustomLine2d(s, e, in.Coord(), 1 + in.Byte() % 4) : TVRMCustomLine2d(s, e);
            return TVRMPolyhedron3d::CreateBand(line, in.Coord(), in.Coord(), in.Coord(), in.Coord(), in.Coord(),
                                                in.Coord());
        }
        default: {
            // The six faces of a unit box scaled, each corner moved.
            std::vector<TVRMPoint3d> p;
            const double size = in.Coord();
            for (int k = 0; k < 8; ++k)
                p.push_back({(k & 1) * size + (in.Byte() % 3 ? 0.0 : in.Coord()),
                             ((k >> 1) & 1) * size + (in.Byte() % 3 ? 0.0 : in.Coord()),
                             ((k >> 2) & 1) * size + (in.Byte() % 3 ? 0.0 : in.Coord())});
            const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                     {1, 3, 7, 5}, {3, 2, 6, 7}, {2, 0, 4, 6}};
            std::vector<TVRMFace3d> list;
            for (const auto& f : faces)
                list.push_back(TVRMFace3d::FromLoop({p[f[0]], p[f[1]], p[f[2]], p[f[3]]}));
            return std::make_unique<TVRMPolyhedron3d>(std::move(list));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TBytes in(data, size);
    const std::uint8_t op = in.Byte();
    auto a = MakeSolid(in);
    auto b = MakeSolid(in);
    if (!a || !b)
        return 0;
    const TVRMBooleanPath path = op / 3 % 3 == 0   ? TVRMBooleanPath::Auto
                                 : op / 3 % 3 == 1 ? TVRMBooleanPath::Prism
                                                   : TVRMBooleanPath::General;
    TVRMNewPolyBooleanOperator::BooleanOperate(*a, *b, op % 3, path);
    return 0;
}
