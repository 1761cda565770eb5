// Adding to and searching an element tree.
#include "platform/xml_building.h"

#include <algorithm>
#include <utility>

namespace notavera {

XmlElement& AddChild(XmlElement& parent, std::string name, std::string text) {
    XmlElement& c = parent.children.emplace_back();
    c.name = std::move(name);
    c.text = std::move(text);
    return c;
}

XmlElement& SetAttribute(XmlElement& element, std::string name, std::string value) {
    auto& attributes = element.attributes;
    const auto it = std::find_if(attributes.begin(), attributes.end(), [&](const auto& a) { return a.first == name; });
    if (it != attributes.end())
        it->second = std::move(value);
    else
        attributes.emplace_back(std::move(name), std::move(value));
    return element;
}

std::vector<const XmlElement*> Descendants(const XmlElement& element, std::string_view name) {
    std::vector<const XmlElement*> found;
    for (const XmlElement& c : element.children) {
        if (c.name == name) found.push_back(&c);
        const auto below = Descendants(c, name);
        found.insert(found.end(), below.begin(), below.end());
    }
    return found;
}

}  // namespace notavera
