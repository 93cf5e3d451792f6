#include "Host/RDX/RDXNameIndex.h"

void TRDXNameIndex::Reset(int count)
{
    slots_.clear();
    mask_ = 0;
    if (count <= 0)
        return;
    std::uint32_t size = 4;
    while (size < 2u * static_cast<std::uint32_t>(count))
        size *= 2;
    slots_.assign(size, TSlot{});
    mask_ = size - 1;
}
