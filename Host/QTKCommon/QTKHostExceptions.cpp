#include "Host/QTKCommon/QTKHostExceptions.h"

#include "Host/Runtime/SysUtils.h"

const char* const _SSetWallExternalErrorMsg = "墙[%d]的内外侧设置与此前的设置相反";

ESetWallExternalException::ESetWallExternalException(RecordRef wall)
    : std::runtime_error(Format(_SSetWallExternalErrorMsg, {wall ? wall->GetID() : 0})), wall_(std::move(wall))
{
}
