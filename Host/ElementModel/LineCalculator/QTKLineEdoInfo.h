// What the middle-line calculators know of a line element, and which neighbours meet it.
//
// The line element objects of the rule library implement IQTKLineEdoInfo and
// IQTKLineEdoInfoProvider; the host's calculators call back into both while joining an
// element to its neighbours, and report which neighbours joined it at each end through
// an IQTKConnectedEdoIDInfo.
#pragma once

#include <map>
#include <vector>

#include "Host/Runtime/Interface.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"

class IRDXRecord;
class IQTKLineShape;
class IQTKLineEdoInfo;
class IQTKConnectedEdoIDInfo;

using TQTKLineEdoInfoArray = std::vector<Ref<IQTKLineEdoInfo>>;

// A line element as a calculator sees it. Widths and offsets are mm; the axis offset is the
// distance from the left side line to the drawn axis, measured to the right, so the left side
// line lies at -AxisOffset, the right one at Width - AxisOffset and the centre line at
// Width / 2 - AxisOffset from the axis (positive offsets to the right of the direction).
class IQTKLineEdoInfo : public virtual IInterface {
public:
    // The element record's id.
    virtual int GetID() = 0;
    // The drawn axis line (straight or arc).
    virtual TVRMCustomLine2d GetLine() = 0;
    virtual double GetWidth() = 0;
    virtual double GetAxisOffset() = 0;
    // Whether the element takes part in junctions at all.
    virtual bool IsMidlineConnectable() = 0;
    // Width and axis offset with the attached insulating layers counted.
    virtual double GetActualWidth() = 0;
    virtual double GetActualAxisOffset() = 0;
    // The draw object's shape and record (borrowed; they belong to the host).
    virtual IQTKLineShape* GetShape() = 0;
    virtual IRDXRecord* GetRecord() = 0;
    // Not offered by the line element objects (they assert); the calculators never call it.
    virtual TQTKLineEdoInfoArray GetLineEdoInfos() = 0;
};

// A wall's info also tells whether a fill wall lies over it.
class IQTKWallLineEdoInfo : public virtual IQTKLineEdoInfo {
public:
    virtual int GetFillWallOverlayState() = 0;
};

// The neighbours of a line element: every connectable element meeting it at each end (in
// elevation too), once through its connect types and once through its same-kind set.
class IQTKLineEdoInfoProvider : public virtual IInterface {
public:
    virtual TQTKLineEdoInfoArray GetStartLineEdoInfos() = 0;
    virtual TQTKLineEdoInfoArray GetEndLineEdoInfos() = 0;
    virtual TQTKLineEdoInfoArray GetStartSameKindLineEdoInfos() = 0;
    virtual TQTKLineEdoInfoArray GetEndSameKindLineEdoInfos() = 0;
    virtual Ref<IQTKConnectedEdoIDInfo> GetConnectedEdoIDInfo() = 0;
};

// Which neighbours joined an element at its ends, keyed by the element's draw-object index
// key. "Connected" at an end means at least one neighbour took part in that end's junction;
// the connected id is the one whose face or line made the cut (0 when none). An unknown key
// is free at both ends.
class IQTKConnectedEdoIDInfo : public virtual IInterface {
public:
    virtual bool IsStartConnected(int key) const = 0;
    virtual bool IsEndConnected(int key) const = 0;
    bool IsStartFree(int key) const { return !IsStartConnected(key); }
    bool IsEndFree(int key) const { return !IsEndConnected(key); }
    virtual int GetStartConnectedID(int key) const = 0;
    virtual int GetEndConnectedID(int key) const = 0;
    // Whether the element with that id took part at the start / at the end.
    virtual bool IsConnectedAtStart(int key, int id) const = 0;
    virtual bool IsConnectedAtEnd(int key, int id) const = 0;
};

// The neighbours that took part in one end's junction: their ids ascending and the primary id.
struct TQTKConnectedEnd {
    std::vector<int> ids;
    int primaryID = 0;

    bool IsConnected() const noexcept { return !ids.empty(); }
    friend bool operator==(const TQTKConnectedEnd&, const TQTKConnectedEnd&) = default;
};

// The host's connected-id information. An empty one (as the line element objects create it
// before any calculation) reports every end free. Entries are set before the object is
// shared; reading it afterwards is safe from several threads.
class TQTKConnectedEdoIDInfo : public TInterfacedObject, public IQTKConnectedEdoIDInfo {
public:
    void SetEntry(int key, TQTKConnectedEnd start, TQTKConnectedEnd end);
    // The entry of a key; both ends free when unknown.
    const TQTKConnectedEnd& GetStart(int key) const;
    const TQTKConnectedEnd& GetEnd(int key) const;
    bool IsEmpty() const noexcept { return entries_.empty(); }

    bool IsStartConnected(int key) const override { return GetStart(key).IsConnected(); }
    bool IsEndConnected(int key) const override { return GetEnd(key).IsConnected(); }
    int GetStartConnectedID(int key) const override { return GetStart(key).primaryID; }
    int GetEndConnectedID(int key) const override { return GetEnd(key).primaryID; }
    bool IsConnectedAtStart(int key, int id) const override;
    bool IsConnectedAtEnd(int key, int id) const override;

private:
    std::map<int, std::pair<TQTKConnectedEnd, TQTKConnectedEnd>> entries_;
};
