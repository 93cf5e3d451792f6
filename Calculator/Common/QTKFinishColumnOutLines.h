// The pieces of a column's outline that a finish runs along, one group per
// column and elevation band, kept by the finish element object that built
// them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class TVRMCustomLine2d;

// One piece of a column outline.
class TQTKOutFinishLine {
public:
    // Takes ownership of Line.
    TQTKOutFinishLine(std::unique_ptr<TVRMCustomLine2d> line, bool onRefLine);
    ~TQTKOutFinishLine();
    TQTKOutFinishLine(const TQTKOutFinishLine&) = delete;
    TQTKOutFinishLine& operator=(const TQTKOutFinishLine&) = delete;

    // True for a piece along the reference line the outline was split against.
    bool OnRefLine;
    std::unique_ptr<TVRMCustomLine2d> Line;
};

// The pieces of one column in one elevation band.
class TQTKOutFinishLines {
public:
    // Appends; the group owns Piece. Returns its index.
    int Add(std::unique_ptr<TQTKOutFinishLine> piece);
    void AddLine(std::unique_ptr<TVRMCustomLine2d> line, bool onRefLine);
    int GetCount() const noexcept { return static_cast<int>(Lines.size()); }
    // An index outside 0..count-1 is an assertion failure.
    TQTKOutFinishLine& GetItem(int index) const;

    std::vector<std::unique_ptr<TQTKOutFinishLine>> Lines;
    double TopElev = 0.0;     // upper elevation of the band, mm
    double BottomElev = 0.0;  // lower elevation of the band, mm
    std::int32_t Key = 0;     // the column record's id
};

// A selection of groups handed to a reader; it never owns them and must not
// outlive the container that does.
class TQTKOutLinesIterator {
public:
    int Add(TQTKOutFinishLines* group);
    bool IsDone() const noexcept { return Cursor == static_cast<int>(groups_.size()); }
    // The group at the cursor, then the cursor moves on. Only while not done.
    TQTKOutFinishLines* Next();

    std::int32_t Cursor = 0;

private:
    std::vector<TQTKOutFinishLines*> groups_;
};

// Every group a finish element keeps for one side; groups of one column key
// come one per band, in the order added.
class TQTKOutFinishLinesContainer {
public:
    int Add(std::unique_ptr<TQTKOutFinishLines> group);
    void Clear() noexcept { groups_.clear(); }
    int GetCount() const noexcept { return static_cast<int>(groups_.size()); }
    TQTKOutFinishLines& GetItem(int index) const;
    bool HasKey(std::int32_t key) const noexcept;
    // Every group with the key, in container order.
    std::unique_ptr<TQTKOutLinesIterator> GetByKey(std::int32_t key) const;

private:
    std::vector<std::unique_ptr<TQTKOutFinishLines>> groups_;
};

// Finish thicknesses laid against a column, written and read by the column object.
struct TQTKFinishThick {
    std::int32_t Key = 0;
    std::int32_t Id = 0;
    float Low = 0.0f;
    float High = 0.0f;
    std::uint8_t Side = 0;
};
using TQTKFinishThickArr = std::vector<TQTKFinishThick>;
