// The host's formwork shell of a column base that is cast against a brick
// mould (or a raft-like foot): the faces standing round it.
#pragma once

#include <memory>

class IQTKElementDrawObj;
class TVRMPolyhedronShell3d;

// The faces with a horizontal normal component of the element's solid united
// with its part solids (its brick moulds), in face order. Mode 1 is the only
// mode. Nil when the element gives no solid.
std::unique_ptr<TVRMPolyhedronShell3d> BuildRaftSideShell3d(const IQTKElementDrawObj* drawObj, int mode);
