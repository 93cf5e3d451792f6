#include "Calculator/Common/QTKFloatList.h"

#include "Host/Runtime/Assert.h"

void TFloatList::Add(double value)
{
    if (Capacity() == count_)
        items_.resize(items_.size() + 5);
    items_[static_cast<size_t>(count_)] = value;
    ++count_;
}

double TFloatList::Get(int index) const
{
    QTK_ASSERT(index >= 0 && index < count_);
    return items_[static_cast<size_t>(index)];
}
