// The host's sump builder, as far as the sump's rules and texts use it: the
// plan outline of the sump body's bottom. It answers from the element's own
// solid.
#pragma once

#include <memory>

class IQTKElementDrawObj;
class TVRMPolygon2d;

class TSumpPolyhedronBuilder {
public:
    explicit TSumpPolyhedronBuilder(const IQTKElementDrawObj* drawObj) : drawObj_(drawObj) {}

    // The outer ring of the body's lowest downward face in plan, counter-
    // clockwise; nil without an element, a solid or such a face.
    std::unique_ptr<TVRMPolygon2d> GetBottomPoly() const;

private:
    const IQTKElementDrawObj* drawObj_;
};
