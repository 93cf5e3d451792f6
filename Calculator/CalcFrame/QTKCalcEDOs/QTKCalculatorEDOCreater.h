// The element factory: the one place that maps a host element type id to the
// class of its calculation element object. The common routines reach it
// through IQTKCalcEDOFactory (GetCalcEDOFactory), never through this header.
#pragma once

#include <cstdint>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"

class TQTKCalcEDOCreater {
public:
    TQTKCalcEDOCreater() = delete;
    // A new element object for the type id, made with (Mode, DrawObj); a room
    // is always made with mode 2. Never fails for an id: kinds without an
    // object of their own get the base class. An eave whose "Shape" is
    // neither 0 nor 1 is an assertion failure.
    static Ref<IQTKCalculatorEDO> CreateCalcEDO(int elementTypeId, std::uint8_t mode, IQTKElementDrawObj* drawObj);
};
