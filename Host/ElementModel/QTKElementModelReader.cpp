// Reading a building model file (docs/model-format.md): the element part
// into draw objects, the project, floors and element records into tables.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "Host/ElementModel/QTKElementDrawObj.h"
#include "Host/ElementModel/QTKElementModel.h"
#include "Host/ElementModel/QTKShapes.h"
#include "Host/RDX/RDXJsonModel.h"
#include "Host/Runtime/Assert.h"
#include "Host/Runtime/NameList.h"
#include "Host/Runtime/SysUtils.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"

using nlohmann::json;

namespace {

constexpr size_t CBriefLength = 40;

// Appends the start of a value's JSON text to `out`, stopping once `out`
// holds more than CBriefLength characters (a huge value is not written out).
void AppendBrief(const json& v, std::string& out)
{
    if (out.size() > CBriefLength)
        return;
    if (v.is_array() || v.is_object()) {
        out += v.is_array() ? '[' : '{';
        bool first = true;
        for (auto it = v.begin(); it != v.end() && out.size() <= CBriefLength; ++it) {
            out += first ? "" : ", ";
            first = false;
            if (v.is_object())
                out += json(it.key()).dump() + ": ";
            AppendBrief(it.value(), out);
        }
        out += v.is_array() ? ']' : '}';
    } else if (v.is_string() && v.get_ref<const std::string&>().size() > CBriefLength) {
        out += json(v.get_ref<const std::string&>().substr(0, CBriefLength)).dump();
    } else {
        out += v.dump();
    }
}

// A value for a message: its first characters.
std::string Brief(const json& v)
{
    std::string text;
    AppendBrief(v, text);
    return text.size() > CBriefLength ? text.substr(0, CBriefLength - 3) + "..." : text;
}

// Values nest at most this deep in a model file (an element's fields are
// three levels below the file's top).
constexpr size_t CMaxNesting = 64;

// Parses a model file's text. Keeps track of where the parser is, so that a
// fault (a syntax error, a number beyond the range of a double, nesting
// deeper than CMaxNesting) names the element and the field.
class TModelParser {
public:
    json Parse(std::string_view text)
    {
        if (const size_t nul = text.find('\0'); nul != std::string_view::npos)
            throw EQTKModelError("the model file holds a NUL byte at offset " + std::to_string(nul) +
                                 " (a model file is text)");
        try {
            return json::parse(text,
                               [this](int, json::parse_event_t event, json& parsed) { return OnEvent(event, parsed); });
        } catch (const EQTKModelError&) {
            throw;
        } catch (const json::out_of_range& error) {
            Raise(std::string("a number is out of range (") + error.what() + ")");
        } catch (const json::exception& error) {
            Raise(std::string("the model file is not valid JSON: ") + error.what());
        }
    }

private:
    struct TFrame {
        bool array = false;
        size_t index = 0;  // arrays: the item being read
        std::string key;   // objects: the member being read
    };

    bool OnEvent(json::parse_event_t event, const json& parsed)
    {
        switch (event) {
            case json::parse_event_t::object_start:
            case json::parse_event_t::array_start:
                if (stack_.size() >= CMaxNesting)
                    Raise("values nest deeper than " + std::to_string(CMaxNesting) + " levels");
                stack_.push_back({event == json::parse_event_t::array_start, 0, {}});
                break;
            case json::parse_event_t::key:
                stack_.back().key = parsed.get<std::string>();
                break;
            case json::parse_event_t::object_end:
            case json::parse_event_t::array_end:
                stack_.pop_back();
                Next();
                break;
            case json::parse_event_t::value:
                // An element's id, once read, names the element in later faults.
                if (InElement() && stack_.size() == 3 && stack_[2].key == "id" && parsed.is_number_integer() &&
                    parsed.get<std::int64_t>() > 0 && parsed.get<std::int64_t>() < CVRMMaxInt)
                    elementId_ = {stack_[1].index, parsed.get<int>()};
                Next();
                break;
        }
        return true;
    }
    void Next()
    {
        if (!stack_.empty() && stack_.back().array)
            ++stack_.back().index;
    }
    // Inside "elements"[i] of the top object.
    bool InElement() const
    {
        return stack_.size() >= 3 && !stack_[0].array && stack_[0].key == "elements" && stack_[1].array;
    }
    std::string Path(size_t from) const
    {
        std::string path;
        for (size_t i = from; i < stack_.size(); ++i) {
            if (stack_[i].array)
                path += "[" + std::to_string(stack_[i].index) + "]";
            else if (!stack_[i].key.empty())
                path += (path.empty() ? "" : ".") + stack_[i].key;
        }
        return path;
    }
    [[noreturn]] void Raise(const std::string& reason) const
    {
        if (InElement() && elementId_.first == stack_[1].index && elementId_.second > 0)
            throw EQTKModelError(elementId_.second, Path(2), reason);
        if (stack_.empty())
            throw EQTKModelError(reason);
        throw EQTKModelError(0, Path(0), reason);
    }

    std::vector<TFrame> stack_;
    std::pair<size_t, int> elementId_{0, 0};  // (index in "elements", id)
};

// A solid given as faces is closed when every edge is shared by exactly two
// faces running along it in opposite directions; the first edge that is not
// makes the fault.
std::string SolidClosureFault(const TQTKSolidData& data)
{
    // Directed edge (from, to) -> the face that runs along it.
    std::map<std::pair<int, int>, size_t> edges;
    auto edgeName = [](int a, int b) {
        return "the edge from vertex " + std::to_string(a) + " to vertex " + std::to_string(b);
    };
    for (size_t f = 0; f < data.faces.size(); ++f) {
        const auto& loop = data.faces[f];
        for (size_t i = 0; i < loop.size(); ++i) {
            const int a = loop[i], b = loop[(i + 1) % loop.size()];
            if (a == b)
                return "face " + std::to_string(f) + " repeats vertex " + std::to_string(a);
            if (auto [it, added] = edges.emplace(std::pair{a, b}, f); !added)
                return "the solid's faces are not oriented consistently: faces " + std::to_string(it->second) +
                       " and " + std::to_string(f) + " both run along " + edgeName(a, b);
        }
    }
    for (const auto& [edge, f] : edges)
        if (!edges.count({edge.second, edge.first}))
            return "the solid does not close: " + edgeName(edge.first, edge.second) + " belongs to face " +
                   std::to_string(f) + " only";
    return {};
}

}  // namespace

// ---------------------------------------------------------------------------
// Reader.

class TQTKElementModelReader {
public:
    TQTKElementModelReader(const json& root, std::filesystem::path baseDir) : root_(root), baseDir_(std::move(baseDir))
    {
    }
    Ref<TQTKElementModel> Read();

private:
    // One element of the file while it is read.
    struct TElement {
        const json* source = nullptr;
        int id = 0;
        int type = 0;
        int floor = 0;
        int parent = 0;  // 0: none
        int owner = 0;
        Ref<TQTKElementDrawObj> drawObj;
    };

    [[noreturn]] void Fail(const TElement& e, const std::string& field, const std::string& reason) const
    {
        throw EQTKModelError(e.id, field, reason);
    }
    const json* Find(const json& object, const char* key) const
    {
        auto it = object.find(key);
        return it == object.end() || it->is_null() ? nullptr : &*it;
    }
    double Number(const TElement& e, const json& v, const std::string& field) const;
    std::optional<double> OptNumber(const TElement& e, const json& object, const char* key,
                                    const std::string& path) const;
    int Integer(const TElement& e, const json& v, const std::string& field) const;
    // The first of the named properties that holds a value (not absent, not
    // null), as a number; `fallback` when none does. A text or a Boolean
    // there is a type error naming the property.
    double Prop(const TElement& e, const TQTKPropValues& props, std::initializer_list<std::string_view> names,
                double fallback = 0.0) const;
    TVRMPoint2d Point(const TElement& e, const json& v, const std::string& field) const;
    // Where the edges and vertices of an outline as written in the file
    // (counted over all rings) went in the outline as read: -1 for an edge
    // that was merged away.
    struct TIndexMap {
        std::vector<int> edges, vertices;
        int Edge(int index) const { return Map(edges, index); }
        int Vertex(int index) const { return Map(vertices, index); }
        // The map of an outline read as it stands (a rectangle from a size).
        static TIndexMap Identity(const TVRMMultiPolygon2d& outline)
        {
            TIndexMap map;
            for (int i = 0; i < outline.GetEdgeCount(); ++i)
                map.edges.push_back(i), map.vertices.push_back(i);
            return map;
        }
        // Indexes out of range stay as they are (the reader of the index reports them).
        static int Map(const std::vector<int>& map, int index)
        {
            return index >= 0 && index < static_cast<int>(map.size()) ? map[static_cast<size_t>(index)] : index;
        }
    };
    TVRMPolygon2d Ring(const TElement& e, const json& v, const std::string& field, bool hole,
                       TIndexMap* map = nullptr) const;
    TVRMMultiPolygon2d Rings(const TElement& e, const json& v, const std::string& field,
                             TIndexMap* map = nullptr) const;
    TQTKSolidData Solid(const TElement& e, const json& v, const std::string& field) const;
    std::vector<TQTKBeamHaunchData> Haunches(const TElement& e, const json& list) const;
    TQTKEdgeInfoList EdgeInfos(const TElement& e, const json& shape, const std::string& path,
                               const TIndexMap& map) const;
    TQTKEdgeInfoList ReadEdgeInfos(const TElement& e, const json& shape, const std::string& path, int edgeCount) const;

    void ReadElementHeaders();
    void CheckLinks();
    json BuildTables() const;
    void ReadElement(TElement& e);
    Ref<IQTKShape> ReadShape(const TElement& e, const TQTKPropValues& props);
    Ref<IQTKShape> ReadLineShape(const TElement& e, const json& shape, const TQTKPropValues& props);
    Ref<IQTKShape> ReadFaceShape(const TElement& e, const json& shape, const TQTKPropValues& props, bool roof);
    Ref<IQTKShape> ReadPointShape(const TElement& e, const json& shape, const TQTKPropValues& props);
    Ref<IQTKShape> ReadOpeningShape(const TElement& e, const json& shape, const TQTKPropValues& props);
    Ref<IQTKFaceElevInfo> ReadFaceElev(const TElement& e, const json& elev, const TVRMMultiPolygon2d& outline,
                                       const TIndexMap& map, int& kind) const;
    // Bottom and top of an element: the shape's "bottom"/"top", else the
    // properties, else the storey.
    void Elevations(const TElement& e, const json& shape, const TQTKPropValues& props, bool useSectionHeight,
                    double& bottom, double& top) const;
    // A storey's value in mm ("StructuralElevation", "Height": metres in the
    // table); 0 when the storey or the field is absent.
    double FloorValue(int floor, std::string_view field) const;

    const json& root_;
    std::filesystem::path baseDir_;
    Ref<TQTKElementModel> model_;
    std::vector<TElement> elements_;
    std::map<int, size_t> byId_;
};

double TQTKElementModelReader::Number(const TElement& e, const json& v, const std::string& field) const
{
    if (!v.is_number())
        Fail(e, field, "expected a number, got " + Brief(v));
    const double d = v.get<double>();
    if (!std::isfinite(d) || std::abs(d) > 1e12)
        Fail(e, field, "the number " + Brief(v) + " is out of range");
    return d;
}

std::optional<double> TQTKElementModelReader::OptNumber(const TElement& e, const json& object, const char* key,
                                                        const std::string& path) const
{
    const json* v = Find(object, key);
    if (!v)
        return std::nullopt;
    return Number(e, *v, path + "." + key);
}

int TQTKElementModelReader::Integer(const TElement& e, const json& v, const std::string& field) const
{
    if (!v.is_number_integer() || v.get<std::int64_t>() < -CVRMMaxInt || v.get<std::int64_t>() > CVRMMaxInt)
        Fail(e, field, "expected an integer, got " + Brief(v));
    return static_cast<int>(v.get<std::int64_t>());
}

double TQTKElementModelReader::Prop(const TElement& e, const TQTKPropValues& props,
                                    std::initializer_list<std::string_view> names, double fallback) const
{
    for (std::string_view name : names) {
        const TRDXValue* value = props.Find(name);
        if (!value || std::holds_alternative<std::monostate>(*value))
            continue;
        double number = 0.0;
        if (const auto* i = std::get_if<std::int64_t>(value))
            number = static_cast<double>(*i);
        else if (const auto* d = std::get_if<double>(value))
            number = *d;
        else
            Fail(e, "props." + std::string(name),
                 "expected a number, got " + (std::holds_alternative<bool>(*value)
                                                  ? std::string("a Boolean")
                                                  : Brief(json(std::get<std::string>(*value)))));
        if (!std::isfinite(number) || std::abs(number) > 1e12)
            Fail(e, "props." + std::string(name), "the number is out of range");
        return number;
    }
    return fallback;
}

TVRMPoint2d TQTKElementModelReader::Point(const TElement& e, const json& v, const std::string& field) const
{
    if (!v.is_array() || v.size() != 2)
        Fail(e, field, "expected a point [x, y], got " + Brief(v));
    return {Number(e, v[0], field), Number(e, v[1], field)};
}

// A ring: vertices [x, y] or [x, y, radius, arc kind] (the edge from that
// vertex to the next is an arc). A vertex closer to the next than the length
// tolerance is merged into it (a last vertex repeating the first closes the
// ring); a ring that runs the wrong way (an outer ring clockwise, a hole
// counter-clockwise) is reversed. `map`, when given, gets where each edge and
// vertex of the file went (appended, counted from the ring's first).
TVRMPolygon2d TQTKElementModelReader::Ring(const TElement& e, const json& v, const std::string& field, bool hole,
                                           TIndexMap* map) const
{
    if (!v.is_array())
        Fail(e, field, "expected a list of vertices, got " + Brief(v));
    std::vector<TVRMVertex2d> vertices;
    for (size_t i = 0; i < v.size(); ++i) {
        const json& p = v[i];
        const std::string at = field + "[" + std::to_string(i) + "]";
        if (!p.is_array() || (p.size() != 2 && p.size() != 4))
            Fail(e, at, "expected a vertex [x, y] or [x, y, radius, arc kind], got " + Brief(p));
        TVRMVertex2d vertex{{Number(e, p[0], at), Number(e, p[1], at)}};
        if (p.size() == 4) {
            vertex.radius = Number(e, p[2], at);
            vertex.kind = Integer(e, p[3], at);
            if (vertex.radius <= 0.0 || vertex.kind < CVRMArcKindCCW || vertex.kind > CVRMArcKindCWMajor)
                Fail(e, at, "an arc vertex needs a radius above 0 and an arc kind 1 to 4");
        }
        vertices.push_back(vertex);
    }
    if (vertices.size() > 1 && vertices.front().pt.IsEqualTo(vertices.back().pt) && !vertices.back().IsArc())
        vertices.pop_back();
    // Merge each vertex into the one before it when they lie closer than the
    // tolerance: the edge between them goes, the merged vertex's own edge
    // now starts at the kept one.
    const size_t count = vertices.size();
    std::vector<int> keptAs(count, -1);  // file vertex -> kept vertex
    std::vector<TVRMVertex2d> kept;
    for (size_t i = 0; i < count; ++i) {
        if (!kept.empty() && vertices[i].pt.DistanceTo(kept.back().pt) <= CVRMEpsilon) {
            const TVRMPoint2d at = kept.back().pt;
            kept.back() = vertices[i];
            kept.back().pt = at;
        } else {
            kept.push_back(vertices[i]);
        }
        keptAs[i] = static_cast<int>(kept.size()) - 1;
    }
    // The last vertex against the first: merge it into the first.
    if (kept.size() > 1 && kept.back().pt.DistanceTo(kept.front().pt) <= CVRMEpsilon) {
        kept.pop_back();
        for (int& k : keptAs)
            if (k == static_cast<int>(kept.size()))
                k = 0;
    }
    // Edge i of the file runs from vertex i to the next; it survives (as the
    // edge of its start's kept vertex) when the two were not merged.
    std::vector<int> edgeAs(count, -1);
    for (size_t i = 0; i < count; ++i)
        if (keptAs[(i + 1) % count] != keptAs[i])
            edgeAs[i] = keptAs[i];
    TVRMPolygon2d ring(std::move(kept));
    if (const std::string fault = FaceRingFault(ring); !fault.empty())
        Fail(e, field, fault);
    if (ring.IsClockwise() != hole) {
        // Reversed, edge j runs back along old edge n-1-j, and vertex j is old
        // vertex n-j (vertex 0 stays).
        ring.Reverse();
        const int n = ring.GetCount();
        for (int& k : edgeAs)
            k = k < 0 ? k : n - 1 - k;
        for (int& k : keptAs)
            k = (n - k) % n;
    }
    if (map) {
        map->edges = std::move(edgeAs);
        map->vertices = std::move(keptAs);
    }
    return ring;
}

// Rings of a polygon set: the first is an outer ring, the others its holes.
TVRMMultiPolygon2d TQTKElementModelReader::Rings(const TElement& e, const json& v, const std::string& field,
                                                 TIndexMap* map) const
{
    if (!v.is_array() || v.empty())
        Fail(e, field, "expected a list of rings, got " + Brief(v));
    TVRMMultiPolygon2d set;
    TIndexMap local;
    int base = 0;
    auto add = [&](TVRMPolygon2d ring) {
        for (size_t i = 0; i < local.edges.size(); ++i) {
            if (map) {
                map->edges.push_back(local.edges[i] < 0 ? -1 : local.edges[i] + base);
                map->vertices.push_back(local.vertices[i] + base);
            }
        }
        local = {};
        base += ring.GetCount();
        set.Add(std::move(ring));
    };
    // A single ring may be given without the outer list.
    if (v[0].is_array() && !v[0].empty() && v[0][0].is_number()) {
        add(Ring(e, v, field, false, &local));
        return set;
    }
    for (size_t i = 0; i < v.size(); ++i)
        add(Ring(e, v[i], field + "[" + std::to_string(i) + "]", i > 0, &local));
    return set;
}

TQTKSolidData TQTKElementModelReader::Solid(const TElement& e, const json& v, const std::string& field) const
{
    const json* vertices = v.is_object() ? Find(v, "vertices") : nullptr;
    const json* faces = v.is_object() ? Find(v, "faces") : nullptr;
    if (!vertices || !faces || !vertices->is_array() || !faces->is_array())
        Fail(e, field, "a solid needs \"vertices\" and \"faces\" lists");
    TQTKSolidData data;
    for (size_t i = 0; i < vertices->size(); ++i) {
        const json& p = (*vertices)[i];
        const std::string at = field + ".vertices[" + std::to_string(i) + "]";
        if (!p.is_array() || p.size() != 3)
            Fail(e, at, "expected a point [x, y, z], got " + Brief(p));
        data.vertices.push_back({Number(e, p[0], at), Number(e, p[1], at), Number(e, p[2], at)});
    }
    if (faces->size() < 4)
        Fail(e, field + ".faces", "a closed solid needs at least four faces");
    for (size_t i = 0; i < faces->size(); ++i) {
        const json& f = (*faces)[i];
        const std::string at = field + ".faces[" + std::to_string(i) + "]";
        if (!f.is_array() || f.size() < 3)
            Fail(e, at, "a face needs at least three vertex indices");
        std::vector<int> loop;
        for (const json& index : f) {
            const int k = Integer(e, index, at);
            if (k < 0 || k >= static_cast<int>(data.vertices.size()))
                Fail(e, at, "vertex index " + std::to_string(k) + " is out of range");
            loop.push_back(k);
        }
        data.faces.push_back(std::move(loop));
    }
    if (const std::string fault = SolidClosureFault(data); !fault.empty())
        Fail(e, field, fault);
    return data;
}

// Haunch records: {"startA", "startB", "endA", "endB", "length", "height",
// "width", "startTop", "endTop"}, each 0 when left out.
std::vector<TQTKBeamHaunchData> TQTKElementModelReader::Haunches(const TElement& e, const json& list) const
{
    if (!list.is_array())
        Fail(e, "haunches", "expected a list of haunch records (or null)");
    std::vector<TQTKBeamHaunchData> items;
    for (size_t i = 0; i < list.size(); ++i) {
        const json& h = list[i];
        const std::string at = "haunches[" + std::to_string(i) + "]";
        if (!h.is_object())
            Fail(e, at, "expected an object");
        auto num = [&](const char* key) { return OptNumber(e, h, key, at).value_or(0.0); };
        items.push_back({num("startA"), num("startB"), num("endA"), num("endB"), num("length"), num("height"),
                         num("width"), num("startTop"), num("endTop")});
    }
    return items;
}

// Per-edge entries as written (edge i of the file) put on the edges of the
// outline as read (`map`).
TQTKEdgeInfoList TQTKElementModelReader::EdgeInfos(const TElement& e, const json& shape, const std::string& path,
                                                   const TIndexMap& map) const
{
    TQTKEdgeInfoList infos = ReadEdgeInfos(e, shape, path, static_cast<int>(map.edges.size()));
    TQTKEdgeInfoList placed;
    for (size_t i = 0; i < infos.size(); ++i) {
        const int to = map.Edge(static_cast<int>(i));
        if (to < 0 || !infos[i])
            continue;
        if (placed.size() <= static_cast<size_t>(to))
            placed.resize(static_cast<size_t>(to) + 1);
        placed[static_cast<size_t>(to)] = infos[i];
    }
    return placed;
}

TQTKEdgeInfoList TQTKElementModelReader::ReadEdgeInfos(const TElement& e, const json& shape, const std::string& path,
                                                       int edgeCount) const
{
    TQTKEdgeInfoList infos;
    const json* edges = Find(shape, "edges");
    if (!edges)
        return infos;
    if (!edges->is_array() || static_cast<int>(edges->size()) > edgeCount)
        Fail(e, path + ".edges", "expected a list of at most " + std::to_string(edgeCount) + " edge entries");
    for (size_t i = 0; i < edges->size(); ++i) {
        const json& info = (*edges)[i];
        const std::string at = path + ".edges[" + std::to_string(i) + "]";
        if (info.is_null()) {
            infos.emplace_back();
            continue;
        }
        const json* kind = info.is_object() ? Find(info, "kind") : nullptr;
        if (!kind || !kind->is_string())
            Fail(e, at, "an edge entry needs a \"kind\"");
        const std::string k = kind->get<std::string>();
        auto num = [&](const char* key) { return OptNumber(e, info, key, at).value_or(0.0); };
        if (k == "slope") {
            infos.emplace_back(new TQTKSlopeFactorEdgeInfo(num("slopeFactor"), num("workingFaceWidth")));
        } else if (k == "waterproof") {
            infos.emplace_back(new TQTKWaterProofEdgeInfo(num("value")));
        } else if (k == "rolled") {
            infos.emplace_back(new TQTKRolledEdgeInfo(num("height")));
        } else if (k == "ridge") {
            const json* ridge = Find(info, "ridge");
            infos.emplace_back(new TQTKRidgeEdgeInfo(!ridge || (ridge->is_boolean() && ridge->get<bool>())));
        } else if (k == "flight") {
            const json* flag = Find(info, "flag");
            infos.emplace_back(new TQTKFlightEdgeInfo(flag ? Integer(e, *flag, at + ".flag") : 0));
        } else if (k == "footStep") {
            infos.emplace_back(new TQTKFootStepEdgeInfo(num("value")));
        } else if (k == "raft") {
            const json* raftKind = Find(info, "raftKind");
            const int rk = raftKind ? Integer(e, *raftKind, at + ".raftKind") : 0;
            if (rk < 0 || rk > 3)
                Fail(e, at + ".raftKind", "a raft edge kind is 0 to 3");
            std::vector<double> values;
            if (const json* list = Find(info, "values")) {
                if (!list->is_array())
                    Fail(e, at + ".values", "expected a list of numbers");
                for (const json& x : *list)
                    values.push_back(Number(e, x, at + ".values"));
            }
            infos.emplace_back(new TQTKRaftEdgeInfo(rk, std::move(values)));
        } else {
            Fail(e, at + ".kind",
                 "unknown edge kind \"" + k + "\" (slope, waterproof, rolled, ridge, flight, footStep or raft)");
        }
    }
    return infos;
}

double TQTKElementModelReader::FloorValue(int floor, std::string_view field) const
{
    const TRDXTable* table = model_->GetRDXModel()->FindTable("Floor");
    const IRDXRecord* record = table ? table->GetRecordByID(floor) : nullptr;
    return record && table->FindField(field) ? record->GetAsFloat(field) * 1000.0 : 0.0;
}

void TQTKElementModelReader::Elevations(const TElement& e, const json& shape, const TQTKPropValues& props,
                                        bool useSectionHeight, double& bottom, double& top) const
{
    const std::string path = "shape";
    std::optional<double> b = OptNumber(e, shape, "bottom", path), t = OptNumber(e, shape, "top", path);
    if (!b && props.HasProp("BottomElev") && !props.IsPropNull("BottomElev"))
        b = Prop(e, props, {"BottomElev"});
    if (!t && props.HasProp("TopElev") && !props.IsPropNull("TopElev"))
        t = Prop(e, props, {"TopElev"});
    const double sectionHeight = useSectionHeight ? Prop(e, props, {"SectionHeight"}) : 0.0;
    if (!b)
        b = t && sectionHeight > 0.0 ? *t - sectionHeight : FloorValue(e.floor, "StructuralElevation");
    if (!t) {
        const double height =
            Prop(e, props, {"Height"}, sectionHeight > 0.0 ? sectionHeight : FloorValue(e.floor, "Height"));
        t = *b + height;
    }
    if (*t < *b - CVRMEpsilon)
        Fail(e, "shape.top", "the top lies below the bottom");
    bottom = *b, top = std::max(*t, *b);  // a top within the tolerance below is the bottom
}

Ref<IQTKShape> TQTKElementModelReader::ReadLineShape(const TElement& e, const json& shape, const TQTKPropValues& props)
{
    TQTKLineShapeData d;
    const json* start = Find(shape, "start");
    const json* end = Find(shape, "end");
    if (!start || !end)
        Fail(e, start ? "shape.end" : "shape.start", "a line shape needs its axis \"start\" and \"end\"");
    const TVRMPoint2d p0 = Point(e, *start, "shape.start"), p1 = Point(e, *end, "shape.end");
    if (p0.IsEqualTo(p1))
        Fail(e, "shape.end", "the axis has no length");
    if (const json* mid = Find(shape, "mid")) {
        d.line = TVRMArc2d::ArcBy3Points(p0, Point(e, *mid, "shape.mid"), p1);
    } else if (const json* radius = Find(shape, "radius")) {
        const json* kind = Find(shape, "arcKind");
        const int k = kind ? Integer(e, *kind, "shape.arcKind") : CVRMArcKindCCW;
        if (k < CVRMArcKindCCW || k > CVRMArcKindCWMajor)
            Fail(e, "shape.arcKind", "an arc kind is 1 to 4");
        d.line = TVRMCustomLine2d(p0, p1, Number(e, *radius, "shape.radius"), k);
        if (!d.line.IsValidaty())
            Fail(e, "shape.radius", "the arc's radius is shorter than half its chord");
    } else {
        d.line = TVRMCustomLine2d(p0, p1);
    }
    d.width = OptNumber(e, shape, "width", "shape").value_or(Prop(e, props, {"Thickness", "SectionWidth", "Width"}));
    if (d.width <= CVRMEpsilon)
        Fail(e, "shape.width", "a line element needs a width (\"width\", or the property Thickness or SectionWidth)");
    d.axisOffset = OptNumber(e, shape, "axisOffset", "shape").value_or(Prop(e, props, {"AxisOffset"}, d.width / 2));
    double bottom = 0.0, top = 0.0;
    Elevations(e, shape, props, true, bottom, top);
    auto end4 = [&](const char* key, const char* prop, double fallback) {
        return OptNumber(e, shape, key, "shape").value_or(Prop(e, props, {prop}, fallback));
    };
    d.startBottom = end4("startBottom", "StartPtBottomElev", bottom);
    d.endBottom = end4("endBottom", "EndPtBottomElev", bottom);
    d.startTop = end4("startTop", "StartPtTopElev", top);
    d.endTop = end4("endTop", "EndPtTopElev", top);
    if (d.startTop < d.startBottom - CVRMEpsilon || d.endTop < d.endBottom - CVRMEpsilon)
        Fail(e, "shape.top", "the top lies below the bottom at an end");
    // A top within the tolerance below its bottom is the bottom, so that the
    // solid builder (top at or above bottom) sees what was accepted here.
    d.startTop = std::max(d.startTop, d.startBottom);
    d.endTop = std::max(d.endTop, d.endBottom);
    if (const json* section = Find(shape, "section"))
        d.section = Rings(e, *section, "shape.section");
    if (const json* info = Find(shape, "sectionInfo")) {
        if (!info->is_object())
            Fail(e, "shape.sectionInfo", "expected an object");
        d.sectionInfo.archHeight = OptNumber(e, *info, "archHeight", "shape.sectionInfo").value_or(0.0);
        d.sectionInfo.haunch = OptNumber(e, *info, "haunch", "shape.sectionInfo").value_or(0.0);
        if (const json* i = Find(*info, "startIndex"))
            d.sectionInfo.startIndex = Integer(e, *i, "shape.sectionInfo.startIndex");
        if (const json* i = Find(*info, "endIndex"))
            d.sectionInfo.endIndex = Integer(e, *i, "shape.sectionInfo.endIndex");
        for (auto [key, arch] :
             {std::pair{"firstArch", &d.sectionInfo.firstArch}, std::pair{"secondArch", &d.sectionInfo.secondArch}}) {
            const json* list = Find(*info, key);
            if (!list)
                continue;
            const std::string at = std::string("shape.sectionInfo.") + key;
            if (!list->is_array() || list->size() != 5)
                Fail(e, at, "expected five integers");
            for (size_t k = 0; k < 5; ++k)
                (*arch)[k] = Integer(e, (*list)[k], at);
        }
    }
    return Ref<IQTKShape>(new TQTKLineShape(std::move(d)));
}

Ref<IQTKFaceElevInfo> TQTKElementModelReader::ReadFaceElev(const TElement& e, const json& elev,
                                                           const TVRMMultiPolygon2d& outline, const TIndexMap& map,
                                                           int& kind) const
{
    const std::string path = "shape.elevation";
    if (!elev.is_object())
        Fail(e, path, "expected an object");
    const json* k = Find(elev, "kind");
    if (!k || !k->is_string())
        Fail(e, path + ".kind", "expected one of level, ratio, points, edge, cylinder, sphere, cone");
    const std::string name = k->get<std::string>();
    auto num = [&](const char* key) {
        const json* v = Find(elev, key);
        if (!v)
            Fail(e, path + "." + key, "missing");
        return Number(e, *v, path + "." + key);
    };
    auto integer = [&](const char* key) {
        const json* v = Find(elev, key);
        if (!v)
            Fail(e, path + "." + key, "missing");
        return Integer(e, *v, path + "." + key);
    };
    auto slopePoint = [&](const json& p, const std::string& at) {
        if (!p.is_array() || p.size() != 2)
            Fail(e, at, "expected [vertex index, elevation]");
        return TQTKSlopePoint{map.Vertex(Integer(e, p[0], at)), Number(e, p[1], at)};
    };
    // An edge index of the file on the outline as read.
    auto edge = [&]() {
        const int index = map.Edge(integer("edge"));
        if (index < 0)
            Fail(e, path + ".edge", "the edge has no length (its vertices were merged)");
        return index;
    };
    std::string reason;
    Ref<IQTKFaceElevInfo> info;
    if (name == "level") {
        kind = CQTKFaceElevLevel;
        return Ref<IQTKFaceElevInfo>(new TQTKLevelElevInfo(num("elev")));
    }
    if (name == "ratio") {
        kind = CQTKFaceElevByRatio;
        info = TQTKSlopeRatioElevInfo::Create(outline, edge(), num("elev"), num("ratio"), reason);
    } else if (name == "points") {
        kind = CQTKFaceElevByPoints;
        const json* points = Find(elev, "points");
        if (!points || !points->is_array() || points->size() != 3)
            Fail(e, path + ".points", "expected three [vertex index, elevation] pairs");
        std::array<TQTKSlopePoint, 3> p;
        for (size_t i = 0; i < 3; ++i)
            p[i] = slopePoint((*points)[i], path + ".points[" + std::to_string(i) + "]");
        info = TQTKSlopeByPointsElevInfo::Create(outline, p, reason);
    } else if (name == "edge") {
        kind = CQTKFaceElevByEdge;
        const json* point = Find(elev, "point");
        if (!point)
            Fail(e, path + ".point", "missing");
        info =
            TQTKSlopeByEdgeElevInfo::Create(outline, edge(), num("elev"), slopePoint(*point, path + ".point"), reason);
    } else if (name == "cylinder" || name == "sphere" || name == "cone") {
        TQTKCurvedSurfaceData data;
        data.firstValue = num("first");
        data.secondValue = num("second");
        data.baseElev = num("base");
        if (const json* r = Find(elev, "isRadius"))
            data.isRadius = r->is_boolean() && r->get<bool>();
        if (data.firstValue <= 0.0 || (!data.isRadius && data.secondValue <= 0.0 && name != "cone"))
            Fail(e, path, "a curved surface needs positive values");
        if (name == "cylinder") {
            kind = CQTKFaceElevCylinder;
            const json* axis = Find(elev, "axis");
            if (!axis || !axis->is_array() || axis->size() != 2)
                Fail(e, path + ".axis", "expected the axis line [[x, y], [x, y]]");
            const TVRMCustomLine2d line(Point(e, (*axis)[0], path + ".axis"), Point(e, (*axis)[1], path + ".axis"));
            if (line.Length() <= CVRMEpsilon)
                Fail(e, path + ".axis", "the axis has no length");
            return Ref<IQTKFaceElevInfo>(new TQTKFaceElevKind4Info(data, line));
        }
        const json* center = Find(elev, "center");
        if (!center)
            Fail(e, path + ".center", "missing");
        const TVRMPoint2d c = Point(e, *center, path + ".center");
        kind = name == "sphere" ? CQTKFaceElevSphere : CQTKFaceElevCone;
        if (name == "sphere")
            return Ref<IQTKFaceElevInfo>(new TQTKFaceElevKind5Info(data, c));
        return Ref<IQTKFaceElevInfo>(new TQTKFaceElevKind6Info(data, c));
    } else {
        Fail(e, path + ".kind", "unknown elevation kind \"" + name + "\"");
    }
    if (!info)
        Fail(e, path, reason);
    return info;
}

Ref<IQTKShape> TQTKElementModelReader::ReadFaceShape(const TElement& e, const json& shape, const TQTKPropValues& props,
                                                     bool roof)
{
    TQTKFaceShapeData d;
    const json* outline = Find(shape, "outline");
    if (!outline)
        Fail(e, "shape.outline", "a face shape needs an outline");
    TIndexMap map;
    d.outline = Rings(e, *outline, "shape.outline", &map);
    if (const json* elev = Find(shape, "elevation")) {
        d.elevInfo = ReadFaceElev(e, *elev, d.outline, map, d.elevKind);
    } else {
        d.levelElev = OptNumber(e, shape, "elev", "shape")
                          .value_or(Prop(e, props, {"TopElev"}, FloorValue(e.floor, "StructuralElevation")));
    }
    d.thickness = OptNumber(e, shape, "thickness", "shape").value_or(Prop(e, props, {"Thickness"}));
    if (d.thickness < 0.0)
        Fail(e, "shape.thickness", "a thickness cannot be negative");
    // The elevation value: a depth given, else the thickness (vertical), else
    // the property Depth (earthwork).
    if (auto depth = OptNumber(e, shape, "depth", "shape")) {
        if (*depth < 0.0)
            Fail(e, "shape.depth", "a depth cannot be negative");
        d.depth = *depth;
    } else if (d.thickness <= 0.0) {
        d.depth = std::max(0.0, Prop(e, props, {"Depth"}));
    }
    if (const json* flag = Find(shape, "flag"))
        d.flag = Integer(e, *flag, "shape.flag");
    d.edgeInfos = EdgeInfos(e, shape, "shape", map);
    if (roof) {
        if (const json* polygon = Find(shape, "roofPolygon"))
            d.roofPolygon = Rings(e, *polygon, "shape.roofPolygon");
        return Ref<IQTKShape>(new TQTKRoofFaceShape(std::move(d)));
    }
    return Ref<IQTKShape>(new TQTKFaceShape(std::move(d)));
}

Ref<IQTKShape> TQTKElementModelReader::ReadPointShape(const TElement& e, const json& shape, const TQTKPropValues& props)
{
    TQTKPointShapeData d;
    TIndexMap map;
    const json* insert = Find(shape, "insertPt");
    if (!insert)
        Fail(e, "shape.insertPt", "a point shape needs its insertion point");
    d.insertPt = Point(e, *insert, "shape.insertPt");
    if (const json* outline = Find(shape, "outline")) {
        d.local = Rings(e, *outline, "shape.outline", &map);
        if (const json* base = Find(shape, "basePt"))
            d.basePt = Point(e, *base, "shape.basePt");
    } else {
        // A rectangle centred on the insertion point: "size" [x, y], else the
        // section properties.
        double a = Prop(e, props, {"SectionWidth", "Width"});
        double b = Prop(e, props, {"SectionHeight", "Len"}, a);
        if (const json* size = Find(shape, "size")) {
            const TVRMPoint2d s = Point(e, *size, "shape.size");
            a = s.x, b = s.y;
        }
        if (a <= CVRMEpsilon || b <= CVRMEpsilon)
            Fail(e, "shape.size", "a point shape needs an outline or a size");
        d.local.Add(TVRMRectangle2d({0, 0}, a / 2, b / 2));
    }
    d.rotation = OptNumber(e, shape, "rotation", "shape").value_or(0.0) * CVRMPi / 180.0;
    if (const json* mirror = Find(shape, "mirror"))
        d.mirrored = mirror->is_boolean() && mirror->get<bool>();
    Elevations(e, shape, props, false, d.bottom, d.top);
    d.edgeInfos = EdgeInfos(e, shape, "shape", map.edges.empty() ? TIndexMap::Identity(d.local) : map);
    return Ref<IQTKShape>(new TQTKPointShape(std::move(d)));
}

// An opening in its host wall (the parent, a line element). The outline lies
// in the wall plane: x along the wall's axis from the insertion point, y up
// from the opening's bottom.
Ref<IQTKShape> TQTKElementModelReader::ReadOpeningShape(const TElement& e, const json& shape,
                                                        const TQTKPropValues& props)
{
    const TElement* host = e.parent ? &elements_[byId_.at(e.parent)] : nullptr;
    const auto* wall = host ? dynamic_cast<const TQTKLineShape*>(host->drawObj->GetShape()) : nullptr;
    if (!wall)
        Fail(e, "parent", "an opening needs a parent with a line shape (its host wall)");
    TQTKPointShapeData d;
    TIndexMap map;
    d.inWall = true;
    const TVRMCustomLine2d& axis = wall->GetLine();
    const double length = axis.Length();
    double along = 0.0;  // where the insertion point lies along the axis
    double shift = 0.0;  // how far the position given lies beyond the axis's ends
    if (const json* at = Find(shape, "at")) {
        const double s = Number(e, *at, "shape.at");
        along = std::clamp(s, 0.0, length);
        shift = s - along;
        d.insertPt = axis.PointAtLength(along);
    } else if (const json* insert = Find(shape, "insertPt")) {
        d.insertPt = TVRMPositionFunc2d::ClosestPointTo(Point(e, *insert, "shape.insertPt"), axis, true);
        along = axis.LengthAtPoint(d.insertPt);
    } else {
        Fail(e, "shape.at", "an opening needs its position \"at\" (along the host axis) or \"insertPt\"");
    }
    d.wallDirection = axis.TangentAt(d.insertPt);
    d.wallWidth = wall->GetWidth();
    d.wallAxisOffset = wall->GetAxisOffset();
    if (const json* outline = Find(shape, "outline")) {
        d.local = Rings(e, *outline, "shape.outline", &map);
    } else {
        const double w = OptNumber(e, shape, "width", "shape").value_or(Prop(e, props, {"OpeningWidth", "Width"}));
        const double h = OptNumber(e, shape, "height", "shape").value_or(Prop(e, props, {"OpeningHeight", "Height"}));
        if (w <= CVRMEpsilon || h <= CVRMEpsilon)
            Fail(e, "shape.width", "an opening needs an outline or a width and height (OpeningWidth, OpeningHeight)");
        d.local.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{-w / 2, 0}, {w / 2, 0}, {w / 2, h}, {-w / 2, h}}));
    }
    // An opening overlapping its host wall is measured on the overlap; one
    // that does not reach the wall at all is refused.
    if (shift != 0.0)
        for (auto& ring : d.local.Items())
            ring.Move({shift, 0});
    const TVRMBox2d extent = d.local.Box();
    if (extent.max.x <= -along + CVRMEpsilon || extent.min.x >= length - along - CVRMEpsilon)
        Fail(e, Find(shape, "at") ? "shape.at" : "shape.outline",
             std::string("the opening does not touch its host wall: it lies beyond the wall's ") +
                 (extent.max.x <= -along + CVRMEpsilon ? "start" : "end") + " (the axis is " + FloatToStr(length) +
                 " long)");
    if (extent.min.x < -along - CVRMEpsilon || extent.max.x > length - along + CVRMEpsilon) {
        if (Find(shape, "edges"))
            Fail(e, "shape.edges", "an opening that sticks out of its host wall cannot carry per-edge entries");
        TVRMMultiPolygon2d within;
        within.Add(TVRMRectangle2d({(length - 2 * along) / 2, (extent.min.y + extent.max.y) / 2}, length / 2,
                                   (extent.max.y - extent.min.y) / 2 + 1.0));
        d.local = *TVRMIntersectFunc2d::IntPolygon(d.local, within);
    }
    // Above the storey's floor level; without a storey, above the host's bottom.
    const double above = Prop(e, props, {"AboveFloorHeight", "WinAboveFloorHeight"});
    const double floorLevel = e.floor ? FloorValue(e.floor, "StructuralElevation") : wall->GetBottomElevAt(d.insertPt);
    d.bottom = OptNumber(e, shape, "bottom", "shape").value_or(Prop(e, props, {"BottomElev"}, floorLevel + above));
    const TVRMBox2d box = d.local.Box();
    d.top = d.bottom + box.max.y;
    d.bottom += box.min.y;
    if (box.min.y != 0.0)
        for (auto& ring : d.local.Items())
            ring.Move({0, -box.min.y});
    d.edgeInfos = EdgeInfos(e, shape, "shape", map.edges.empty() ? TIndexMap::Identity(d.local) : map);
    return Ref<IQTKShape>(new TQTKPointShape(std::move(d)));
}

Ref<IQTKShape> TQTKElementModelReader::ReadShape(const TElement& e, const TQTKPropValues& props)
{
    const json& source = *e.source;
    const json* shape = Find(source, "shape");
    if (!shape)
        return nullptr;
    if (!shape->is_object())
        Fail(e, "shape", "expected an object");
    const json* kind = Find(*shape, "kind");
    const std::string k = kind && kind->is_string() ? kind->get<std::string>() : "";
    if (k == "line")
        return ReadLineShape(e, *shape, props);
    if (k == "face" || k == "roof")
        return ReadFaceShape(e, *shape, props, k == "roof");
    if (k == "point")
        return ReadPointShape(e, *shape, props);
    if (k == "opening")
        return ReadOpeningShape(e, *shape, props);
    Fail(e, "shape.kind", "expected one of line, face, roof, point, opening");
}

namespace {

// Kinds of a table column inferred from its values, in widening order.
enum class TColumnKind { None, Boolean, Integer, Float, Text };

std::optional<TColumnKind> ValueKind(const json& v)
{
    if (v.is_null())
        return TColumnKind::None;
    if (v.is_boolean())
        return TColumnKind::Boolean;
    if (v.is_number_integer())
        return TColumnKind::Integer;
    if (v.is_number())
        return TColumnKind::Float;
    if (v.is_string())
        return TColumnKind::Text;
    return std::nullopt;
}

const char* ColumnTypeName(TColumnKind kind)
{
    switch (kind) {
        case TColumnKind::Boolean:
            return "boolean";
        case TColumnKind::Integer:
            return "integer";
        case TColumnKind::Float:
            return "float";
        default:
            return "text";
    }
}

// A property value for the property values of a draw object.
TRDXValue ToValue(const json& v)
{
    if (v.is_boolean())
        return v.get<bool>();
    if (v.is_number_integer())
        return v.get<std::int64_t>();
    if (v.is_number())
        return v.get<double>();
    if (v.is_string())
        return v.get<std::string>();
    return std::monostate{};
}

// Fields of a table built from rows of plain values: each field's type is
// the widest kind of its values (integers widen to floats; a text mixed with
// numbers or Booleans is an error, reported through `fail` with the row).
using TFailFn = std::function<void(size_t row, const std::string& field, const std::string& reason)>;

json InferFields(const std::vector<json>& rows, const std::vector<std::pair<std::string, std::string>>& fixed,
                 const TFailFn& fail)
{
    std::vector<std::pair<std::string, TColumnKind>> columns;
    std::set<std::string, bool (*)(const std::string&, const std::string&)> fixedNames(
        [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    for (const auto& f : fixed)
        fixedNames.insert(f.first);
    for (size_t r = 0; r < rows.size(); ++r) {
        for (const auto& item : rows[r].items()) {
            const std::string& name = item.key();
            const json& value = item.value();
            if (fixedNames.count(name))
                continue;
            const auto kind = ValueKind(value);
            if (!kind)
                fail(r, name, "a value must be a number, a text, a Boolean or null, not " + Brief(value));
            auto it =
                std::find_if(columns.begin(), columns.end(), [&](const auto& c) { return SameText(c.first, name); });
            if (it == columns.end()) {
                columns.emplace_back(name, *kind);
                continue;
            }
            TColumnKind& have = it->second;
            if (*kind == TColumnKind::None || *kind == have)
                continue;
            if (have == TColumnKind::None)
                have = *kind;
            else if ((have == TColumnKind::Integer && *kind == TColumnKind::Float) ||
                     (have == TColumnKind::Float && *kind == TColumnKind::Integer))
                have = TColumnKind::Float;
            else
                fail(r, name,
                     std::string("a ") + ColumnTypeName(*kind) + " value where other rows hold " +
                         ColumnTypeName(have) + " values");
        }
    }
    json fields = json::array();
    for (const auto& [name, type] : fixed) {
        json f = {{"name", name}, {"type", "integer"}};
        if (!type.empty())
            f["master"] = type;
        fields.push_back(f);
    }
    for (const auto& [name, kind] : columns)
        fields.push_back({{"name", name}, {"type", ColumnTypeName(kind)}});
    return fields;
}

}  // namespace

void TQTKElementModelReader::ReadElementHeaders()
{
    const json* elements = Find(root_, "elements");
    if (!elements || !elements->is_array())
        throw EQTKModelError(0, "elements", "the model file needs an \"elements\" list");
    elements_.resize(elements->size());
    for (size_t i = 0; i < elements->size(); ++i) {
        TElement& e = elements_[i];
        e.source = &(*elements)[i];
        const std::string at = "elements[" + std::to_string(i) + "]";
        if (!e.source->is_object())
            throw EQTKModelError(0, at, "an element must be an object, not " + Brief(*e.source));
        const json* id = Find(*e.source, "id");
        if (!id)
            throw EQTKModelError(0, at + ".id", "the element has no \"id\"");
        if (!id->is_number_integer() || id->get<std::int64_t>() <= 0 || id->get<std::int64_t>() >= CVRMMaxInt)
            throw EQTKModelError(0, at + ".id", "an id must be a positive integer, not " + Brief(*id));
        e.id = id->get<int>();
        if (!byId_.emplace(e.id, i).second)
            Fail(e, "id", "a second element has this id");
        const json* type = Find(*e.source, "type");
        if (!type)
            Fail(e, "type", "the element has no element type id");
        e.type = Integer(e, *type, "type");
        if (!IsKnownElementTypeID(e.type))
            Fail(e, "type", "unknown element type id " + std::to_string(e.type));
        if (const json* floor = Find(*e.source, "floor"))
            e.floor = Integer(e, *floor, "floor");
        if (const json* parent = Find(*e.source, "parent"))
            e.parent = Integer(e, *parent, "parent");
        if (const json* owner = Find(*e.source, "owner"))
            e.owner = Integer(e, *owner, "owner");
        if (const json* props = Find(*e.source, "props"); props && !props->is_object())
            Fail(e, "props", "expected an object of property values");
        if (const json* name = Find(*e.source, "name")) {
            if (!name->is_string())
                Fail(e, "name", "expected a text");
            const json* props = Find(*e.source, "props");
            if (props && props->contains("Name"))
                Fail(e, "name", "the name is given twice (also as the property Name)");
        }
    }
}

void TQTKElementModelReader::CheckLinks()
{
    for (const TElement& e : elements_) {
        for (auto [field, id] : {std::pair{"parent", e.parent}, std::pair{"owner", e.owner}}) {
            if (id == 0)
                continue;
            if (!byId_.count(id))
                Fail(e, field, "element " + std::to_string(id) + " does not exist");
            if (id == e.id)
                Fail(e, field, "an element cannot be its own " + std::string(field));
        }
    }
    // Parent chains and owner chains must end: walk each chain once, marking
    // finished elements.
    for (auto [field, link] : {std::pair{"parent", &TElement::parent}, std::pair{"owner", &TElement::owner}}) {
        std::vector<int> state(elements_.size(), 0);  // 0 new, 1 on the current walk, 2 done
        for (size_t i = 0; i < elements_.size(); ++i) {
            std::vector<size_t> walk;
            for (size_t k = i; state[k] != 2;) {
                if (state[k] == 1) {
                    std::string chain;
                    for (auto it = std::find(walk.begin(), walk.end(), k); it != walk.end(); ++it)
                        chain += std::to_string(elements_[*it].id) + " -> ";
                    Fail(elements_[k], field,
                         std::string("the ") + field + "s form a cycle (" + chain + std::to_string(elements_[k].id) +
                             ")");
                }
                state[k] = 1;
                walk.push_back(k);
                if (elements_[k].*link == 0)
                    break;
                k = byId_.at(elements_[k].*link);
            }
            for (size_t w : walk)
                state[w] = 2;
        }
    }
}

json TQTKElementModelReader::BuildTables() const
{
    json tables = json::array();
    const json* project = Find(root_, "project");
    if (project) {
        if (!project->is_object())
            throw EQTKModelError(0, "project", "expected an object of project values");
        const std::vector<json> rows{*project};
        tables.push_back({{"name", "ProjInfo"},
                          {"fields", InferFields(rows, {},
                                                 [](size_t, const std::string& field, const std::string& reason) {
                                                     throw EQTKModelError(0, "project." + field, reason);
                                                 })},
                          {"rows", rows}});
    }
    const json* floors = Find(root_, "floors");
    if (floors) {
        if (!floors->is_array())
            throw EQTKModelError(0, "floors", "expected a list of floors");
        std::vector<json> rows;
        std::set<std::int64_t> ids;
        for (size_t i = 0; i < floors->size(); ++i) {
            const json& f = (*floors)[i];
            const std::string at = "floors[" + std::to_string(i) + "]";
            const json* id = f.is_object() ? Find(f, "ID") : nullptr;
            if (!id || !id->is_number_integer())
                throw EQTKModelError(0, at + ".ID", "a floor needs an integer \"ID\"");
            if (!ids.insert(id->get<std::int64_t>()).second)
                throw EQTKModelError(0, at + ".ID", "a second floor has this ID");
            rows.push_back(f);
        }
        for (const TElement& e : elements_)
            if (e.floor != 0 && !ids.count(e.floor))
                Fail(e, "floor", "floor " + std::to_string(e.floor) + " does not exist");
        tables.push_back({{"name", "Floor"},
                          {"fields", InferFields(rows, {{"ID", ""}},
                                                 [](size_t row, const std::string& field, const std::string& reason) {
                                                     throw EQTKModelError(
                                                         0, "floors[" + std::to_string(row) + "]." + field, reason);
                                                 })},
                          {"rows", rows}});
    }
    // The element records: fixed fields, then every property of any element.
    std::vector<json> rows;
    rows.reserve(elements_.size());
    static const char* const reserved[] = {"ID", "ElementTypeID", "FloorID", "ParentID", "OwnerID"};
    for (const TElement& e : elements_) {
        json row = json::object();
        if (const json* props = Find(*e.source, "props")) {
            for (const auto& [name, value] : props->items()) {
                for (const char* r : reserved)
                    if (SameText(name, r))
                        Fail(e, "props." + name, "the name is one of the record's own fields");
                row[name] = value;
            }
        }
        if (const json* name = Find(*e.source, "name"))
            row["Name"] = *name;
        row["ID"] = e.id;
        row["ElementTypeID"] = e.type;
        row["FloorID"] = e.floor ? json(e.floor) : json();
        row["ParentID"] = e.parent ? json(e.parent) : json();
        row["OwnerID"] = e.owner ? json(e.owner) : json();
        rows.push_back(std::move(row));
    }
    const std::vector<std::pair<std::string, std::string>> fixed = {
        {"ID", ""}, {"ElementTypeID", ""}, {"FloorID", floors ? "Floor" : ""}, {"ParentID", ""}, {"OwnerID", ""}};
    json fields = InferFields(rows, fixed, [&](size_t row, const std::string& field, const std::string& reason) {
        Fail(elements_[row], "props." + field, reason);
    });
    // "EDOPID" names the element an element belongs to, as the host's field does.
    for (json& field : fields)
        if (SameText(field["name"].get<std::string>(), "EDOPID") && field["type"] == "integer")
            field["master"] = "ElementDrawObj";
    tables.push_back({{"name", "ElementDrawObj"}, {"fields", std::move(fields)}, {"rows", std::move(rows)}});

    // The model's databases with these tables added to "Business" (made the
    // first database when the file has none of that name).
    json databases = json::array();
    if (const json* given = Find(root_, "databases")) {
        if (!given->is_array())
            throw EQTKModelError(0, "databases", "expected a list of databases");
        databases = *given;
    }
    auto business = std::find_if(databases.begin(), databases.end(), [](const json& d) {
        return d.is_object() && d.contains("name") && d["name"].is_string() &&
               SameText(d["name"].get<std::string>(), "Business");
    });
    if (business == databases.end()) {
        databases.insert(databases.begin(), json{{"name", "Business"}, {"tables", json::array()}});
        business = databases.begin();
    }
    json& list = (*business)["tables"];
    if (list.is_null())
        list = json::array();
    if (!list.is_array())
        throw EQTKModelError(0, "databases", "database \"Business\": \"tables\" must be a list");
    for (auto& t : tables)
        list.push_back(std::move(t));
    return json{{"databases", std::move(databases)}};
}

void TQTKElementModelReader::ReadElement(TElement& e)
{
    const json& source = *e.source;
    std::vector<std::pair<std::string, TRDXValue>> values;
    if (const json* props = Find(source, "props"))
        for (const auto& [name, value] : props->items())
            values.emplace_back(name, ToValue(value));
    if (const json* name = Find(source, "name"))
        values.emplace_back("Name", ToValue(*name));
    TQTKElementDrawObjData data;
    data.typeID = e.type;
    data.floorID = e.floor;
    data.props = MakeRef<TQTKPropValues>(std::move(values));
    data.shape = ReadShape(e, *data.props);
    if (const json* solid = Find(source, "solid"))
        data.solid = Solid(e, *solid, "solid");
    if (!data.shape && !data.solid)
        Fail(e, "shape", "the element has no shape (and no solid)");
    if (const json* subSolids = Find(source, "subSolids")) {
        if (!subSolids->is_array())
            Fail(e, "subSolids", "expected a list of solids");
        for (size_t i = 0; i < subSolids->size(); ++i)
            data.subSolids.push_back(Solid(e, (*subSolids)[i], "subSolids[" + std::to_string(i) + "]"));
    }
    if (const json* param = Find(source, "param")) {
        const json* polyID = param->is_object() ? Find(*param, "polyID") : nullptr;
        if (!polyID)
            Fail(e, "param.polyID", "a parametric element needs its \"polyID\"");
        std::vector<std::pair<std::string, double>> params;
        if (const json* values = Find(*param, "values")) {
            if (!values->is_object())
                Fail(e, "param.values", "expected an object of parameter values");
            for (const auto& [code, value] : values->items())
                params.emplace_back(code, Number(e, value, "param.values." + code));
        }
        data.polyInfo = TParamPolyInfo(Integer(e, *polyID, "param.polyID"), std::move(params));
    }
    if (const json* subID = Find(source, "subID"))
        data.subID = Integer(e, *subID, "subID");
    if (auto haunches = source.find("haunches"); haunches != source.end()) {
        data.offersHaunches = true;
        if (!haunches->is_null())
            data.haunches = MakeRef<TQTKBeamHaunchInfoList>(Haunches(e, *haunches));
    }
    if (const json* section = Find(source, "sectionPolygon")) {
        if (data.offersHaunches)
            Fail(e, "sectionPolygon", "an element offers haunches or a section polygon, not both");
        data.sectionPolygon = Rings(e, *section, "sectionPolygon");
    }
    e.drawObj = CreateElementDrawObj(std::move(data));
    e.drawObj->UpdateBox();
    IRDXRecord* record = model_->elementTable_->GetRecordByID(e.id);
    QTK_ASSERT(record != nullptr);
    e.drawObj->SetRecord(record);
    record->SetObject(e.drawObj.get());
}

Ref<TQTKElementModel> TQTKElementModelReader::Read()
{
    if (!root_.is_object())
        throw EQTKModelError("the model file must hold a JSON object");
    model_ = Ref<TQTKElementModel>(new TQTKElementModel);
    ReadElementHeaders();
    CheckLinks();
    try {
        model_->rdx_ = LoadRDXModel(BuildTables(), baseDir_);
    } catch (const ERDXError& error) {
        throw EQTKModelError(std::string("tables: ") + error.what());
    } catch (const json::exception& error) {
        throw EQTKModelError(std::string("tables: ") + error.what());
    }
    model_->business_ = model_->rdx_->FindDatabase("Business");
    model_->elementTable_ = model_->business_->FindTable("ElementDrawObj");
    const TRDXTable* floorTable = model_->rdx_->FindTable("Floor");
    for (const TElement& e : elements_)
        if (e.floor != 0 && (!floorTable || !floorTable->GetRecordByID(e.floor)))
            Fail(e, "floor", "floor " + std::to_string(e.floor) + " does not exist");
    // Parents before their children (an opening reads its host wall's shape):
    // by the depth of the parent chain, without recursion.
    std::vector<int> depth(elements_.size(), -1);
    for (size_t i = 0; i < elements_.size(); ++i) {
        std::vector<size_t> chain;
        size_t k = i;
        while (depth[k] < 0 && elements_[k].parent != 0) {
            chain.push_back(k);
            k = byId_.at(elements_[k].parent);
        }
        if (depth[k] < 0)
            depth[k] = 0;
        for (auto it = chain.rbegin(); it != chain.rend(); ++it)
            depth[*it] = depth[byId_.at(elements_[*it].parent)] + 1;
    }
    std::vector<size_t> order(elements_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return depth[a] < depth[b]; });
    // Shape faults of independent elements are gathered (an element whose
    // parent failed is left out), then reported in file order.
    constexpr size_t maxErrors = 10;
    std::vector<std::pair<size_t, EQTKModelError>> errors;
    for (size_t i : order) {
        TElement& e = elements_[i];
        if (e.parent && !elements_[byId_.at(e.parent)].drawObj)
            continue;
        try {
            ReadElement(e);
        } catch (const EQTKModelError& error) {
            errors.emplace_back(i, error);
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception& error) {
            errors.emplace_back(i, EQTKModelError(e.id, "", error.what()));
        }
        if (errors.size() == maxErrors)
            break;
    }
    if (!errors.empty()) {
        std::stable_sort(errors.begin(), errors.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        EQTKModelError first = errors.front().second;
        for (size_t k = 1; k < errors.size(); ++k)
            first.AddFollowing(errors[k].second.what());
        throw first;
    }
    std::vector<std::pair<int, TVRMBox3d>> boxes;
    boxes.reserve(elements_.size());
    for (TElement& e : elements_) {
        if (e.parent)
            e.drawObj->SetParent(elements_[byId_.at(e.parent)].drawObj.get());
        if (e.owner)
            e.drawObj->SetOwner(elements_[byId_.at(e.owner)].drawObj.get());
        boxes.emplace_back(e.id, e.drawObj->GetBox());
        model_->elements_.push_back(e.drawObj);
    }
    model_->boxService_ = MakeRef<TQTKBoxService>(boxes);
    return model_;
}

// ---------------------------------------------------------------------------
// Loading.

Ref<TQTKElementModel> TQTKElementModel::LoadFromText(std::string_view text, const std::filesystem::path& baseDir)
{
    const json root = TModelParser().Parse(text);
    try {
        return TQTKElementModelReader(root, baseDir).Read();
    } catch (const EQTKModelError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& error) {
        throw EQTKModelError(std::string("the model cannot be read: ") + error.what());
    }
}

Ref<TQTKElementModel> TQTKElementModel::LoadFromFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw EQTKModelError("cannot open the model file \"" + file.string() + "\"");
    std::ostringstream text;
    text << in.rdbuf();
    return LoadFromText(text.str(), file.parent_path());
}
