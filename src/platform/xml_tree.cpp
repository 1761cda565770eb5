// Looking things up in an XML element tree.
#include "platform/xml_tree.h"

namespace notavera {

const XmlElement* XmlElement::child(std::string_view childName) const {
    for (const XmlElement& c : children)
        if (c.name == childName) return &c;
    return nullptr;
}

std::string XmlElement::childText(std::string_view childName) const {
    const XmlElement* c = child(childName);
    return c ? c->text : std::string();
}

std::string XmlElement::attribute(std::string_view attributeName) const {
    for (const auto& [key, value] : attributes)
        if (key == attributeName) return value;
    return {};
}

}  // namespace notavera
