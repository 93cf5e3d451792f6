#include "Calculator/Common/QTKFinishColumnOutLines.h"

#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"

TQTKOutFinishLine::TQTKOutFinishLine(std::unique_ptr<TVRMCustomLine2d> line, bool onRefLine)
    : OnRefLine(onRefLine), Line(std::move(line))
{
}

TQTKOutFinishLine::~TQTKOutFinishLine() = default;

int TQTKOutFinishLines::Add(std::unique_ptr<TQTKOutFinishLine> piece)
{
    Lines.push_back(std::move(piece));
    return GetCount() - 1;
}

void TQTKOutFinishLines::AddLine(std::unique_ptr<TVRMCustomLine2d> line, bool onRefLine)
{
    Add(std::make_unique<TQTKOutFinishLine>(std::move(line), onRefLine));
}

TQTKOutFinishLine& TQTKOutFinishLines::GetItem(int index) const
{
    QTK_ASSERT(index >= 0 && index < GetCount());
    return *Lines[static_cast<size_t>(index)];
}

int TQTKOutLinesIterator::Add(TQTKOutFinishLines* group)
{
    groups_.push_back(group);
    return static_cast<int>(groups_.size()) - 1;
}

TQTKOutFinishLines* TQTKOutLinesIterator::Next()
{
    QTK_ASSERT(!IsDone());
    return groups_[static_cast<size_t>(Cursor++)];
}

int TQTKOutFinishLinesContainer::Add(std::unique_ptr<TQTKOutFinishLines> group)
{
    groups_.push_back(std::move(group));
    return GetCount() - 1;
}

TQTKOutFinishLines& TQTKOutFinishLinesContainer::GetItem(int index) const
{
    QTK_ASSERT(index >= 0 && index < GetCount());
    return *groups_[static_cast<size_t>(index)];
}

bool TQTKOutFinishLinesContainer::HasKey(std::int32_t key) const noexcept
{
    for (const auto& group : groups_)
        if (group->Key == key)
            return true;
    return false;
}

std::unique_ptr<TQTKOutLinesIterator> TQTKOutFinishLinesContainer::GetByKey(std::int32_t key) const
{
    auto iterator = std::make_unique<TQTKOutLinesIterator>();
    for (const auto& group : groups_)
        if (group->Key == key)
            iterator->Add(group.get());
    return iterator;
}
