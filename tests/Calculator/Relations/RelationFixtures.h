// Element texts of the small buildings the relation and opening measure tests
// stand on: walls, beams and ribbon windows as line elements, openings in
// their host walls, faces and columns.
#pragma once

#include <sstream>
#include <string>

namespace relations_test {

inline std::string Num(double v)
{
    std::ostringstream out;
    out.precision(17);
    out << v;
    return out.str();
}

inline std::string LineShape(double x0, double y0, double x1, double y1)
{
    return R"({"kind": "line", "start": [)" + Num(x0) + ", " + Num(y0) + "], \"end\": [" + Num(x1) + ", " + Num(y1) +
           "]}";
}

// A line element (wall, ribbon window, finish ...) of the type, Thickness
// wide, its axis AxisOffset from its left face, from Bottom to Top.
inline std::string Line(int id, int type, double x0, double y0, double x1, double y1, double thickness,
                        double axisOffset, double bottom = 0, double top = 3000, const std::string& props = "")
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) +
           R"(, "floor": 1, "props": {"Thickness": )" + Num(thickness) + R"(, "AxisOffset": )" + Num(axisOffset) +
           R"(, "BottomElev": )" + Num(bottom) + R"(, "TopElev": )" + Num(top) + (props.empty() ? "" : ", " + props) +
           R"(}, "shape": )" + LineShape(x0, y0, x1, y1) + "}";
}

// A beam (type 15) SectionWidth wide and SectionHeight deep, its axis
// AxisOffset from its left face, its top at Top.
inline std::string Beam(int id, double x0, double y0, double x1, double y1, double width, double axisOffset,
                        double height = 500, double top = 3000)
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": 15, "floor": 1, "props": {"SectionWidth": )" + Num(width) +
           R"(, "AxisOffset": )" + Num(axisOffset) + R"(, "SectionHeight": )" + Num(height) + R"(, "BottomElev": )" +
           Num(top - height) + R"(, "TopElev": )" + Num(top) + R"(}, "shape": )" + LineShape(x0, y0, x1, y1) + "}";
}

// An opening (id, type) in wall Parent at At along its axis, Width x Height from Bottom.
inline std::string Opening(int id, int type, int parent, double at, double width, double height, double bottom,
                           const std::string& props = "")
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) + R"(, "floor": 1, "parent": )" +
           std::to_string(parent) + R"(, "props": {"OpeningWidth": )" + Num(width) + R"(, "OpeningHeight": )" +
           Num(height) + R"(, "BottomElev": )" + Num(bottom) + (props.empty() ? "" : ", " + props) +
           R"(}, "shape": {"kind": "opening", "at": )" + Num(at) + "}}";
}

// A rectangular column (type 25) from (x0,y0) to (x1,y1), 0 to 3000 high.
inline std::string Column(int id, double x0, double y0, double x1, double y1)
{
    return R"({"id": )" + std::to_string(id) +
           R"(, "type": 25, "floor": 1, "props": {"BottomElev": 0, "TopElev": 3000}, "shape": {"kind": "point", "insertPt": [)" +
           Num((x0 + x1) / 2) + ", " + Num((y0 + y1) / 2) + R"(], "size": [)" + Num(x1 - x0) + ", " + Num(y1 - y0) +
           "]}}";
}

// A rectangular face element (slab, room horizon ...) from (x0,y0) to
// (x1,y1) with the given properties; Extra adds keys to its shape.
inline std::string Face(int id, int type, double x0, double y0, double x1, double y1, const std::string& props,
                        const std::string& extra = "")
{
    return R"({"id": )" + std::to_string(id) + R"(, "type": )" + std::to_string(type) + R"(, "floor": 1, "props": {)" +
           props + R"(}, "shape": {"kind": "face", "outline": [[)" + Num(x0) + ", " + Num(y0) + "], [" + Num(x1) +
           ", " + Num(y0) + "], [" + Num(x1) + ", " + Num(y1) + "], [" + Num(x0) + ", " + Num(y1) + "]]" + extra + "}}";
}

// The element text with Parent as its owning element.
inline std::string WithParent(const std::string& element, int parent)
{
    const std::string key = R"("floor": 1, )";
    std::string text = element;
    text.insert(text.find(key) + key.size(), R"("parent": )" + std::to_string(parent) + ", ");
    return text;
}

}  // namespace relations_test
