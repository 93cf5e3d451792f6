// Fingerprints of every boolean result of the generated frame (square and round columns): a
// hash of each result's faces bit for bit (planes, loops, tags, circles, arc measures), its
// volume and area. A change meant to speed the booleans up must print the same lines.
//
//   geometry3d_boolean_check              prints the booleans, failures and hashes per frame
//   geometry3d_boolean_check round N      deducts the round frame N times (for a profiler)
//   geometry3d_boolean_check square N     the same with square columns
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/Geometry3d/BuildingFrame.h"

namespace {

using namespace geometry3d_bench;

class THash {
public:
    void Add(const void* data, size_t size)
    {
        const auto* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i)
            h_ = (h_ ^ p[i]) * 0x100000001B3ull;
    }
    void Add(double v) { Add(&v, sizeof v); }
    void Add(int64_t v) { Add(&v, sizeof v); }
    void Add(const TVRMPoint3d& p)
    {
        Add(p.x);
        Add(p.y);
        Add(p.z);
    }
    uint64_t Value() const { return h_; }

private:
    uint64_t h_ = 0xCBF29CE484222325ull;
};

void AddSolid(THash& h, const TVRMPolyhedron3d& s, bool done)
{
    h.Add(int64_t{done});
    h.Add(int64_t{s.GetFaceCount()});
    for (const auto& f : s.GetFaces()) {
        h.Add(f.GetPlane().GetNormal());
        h.Add(f.GetPlane().GetBasePoint());
        h.Add(int64_t{f.GetTag()});
        h.Add(f.GetArcArea());
        h.Add(f.GetArcVolume());
        if (const auto& arc = f.GetArc()) {
            h.Add(arc->centre);
            h.Add(arc->axis);
            h.Add(arc->radius);
            h.Add(arc->sweep);
            h.Add(arc->chord);
        } else {
            h.Add(int64_t{-1});
        }
        h.Add(int64_t{f.GetLoopCount()});
        for (const auto& l : f.GetLoops()) {
            h.Add(int64_t(l.size()));
            for (const auto& p : l)
                h.Add(p);
        }
    }
    for (int32_t d : s.GetData())
        h.Add(int64_t{d});
    h.Add(s.GetVolume());
    h.Add(s.GetSurfaceArea());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3) {
        const Building b = MakeBuilding(std::strcmp(argv[1], "round") == 0);
        const int rounds = std::atoi(argv[2]);
        const auto start = std::chrono::steady_clock::now();
        double volume = 0;
        for (int i = 0; i < rounds; ++i)
            volume += DeductFrame(b, [](const TVRMPolyhedron3d&, bool) {});
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("%s: %.1f ms per round, volume %.6e\n", argv[1], ms / rounds, volume / rounds);
        return 0;
    }
    for (bool round : {false, true}) {
        const Building b = MakeBuilding(round);
        THash all;
        int64_t booleans = 0, failed = 0;
        const double volume = DeductFrame(b, [&](const TVRMPolyhedron3d& s, bool done) {
            THash one;
            AddSolid(one, s, done);
            all.Add(int64_t(one.Value()));
            ++booleans;
            failed += done ? 0 : 1;
        });
        std::printf("%s columns: %" PRId64 " booleans, %" PRId64 " failed, volume %.17g, hash %016" PRIx64 "\n",
                    round ? "round" : "square", booleans, failed, volume, all.Value());
    }
    return 0;
}
