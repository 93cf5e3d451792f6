// Exceptions the host raises into rule code with a message of its own.
#pragma once

#include <stdexcept>

#include "Host/RDX/RDXIntf.h"

// "%d": the wall's record id.
extern const char* const _SSetWallExternalErrorMsg;

// A wall side set internal after it was set external, or the reverse.
class ESetWallExternalException : public std::runtime_error {
public:
    explicit ESetWallExternalException(RecordRef wall);
    const RecordRef& GetRecord() const noexcept { return wall_; }

private:
    RecordRef wall_;
};
