// Building an XML element tree to be written: children and attributes added in the order they are written, and the
// document type a writer puts before the root.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/xml_tree.h"

namespace notavera {

// Appends a child element (with its character data) and returns it.
XmlElement& AddChild(XmlElement& parent, std::string name, std::string text = {});
// Sets an attribute, replacing an earlier value of the same name; returns the element.
XmlElement& SetAttribute(XmlElement& element, std::string name, std::string value);
// Every element of that name below `element`, depth first, in document order.
std::vector<const XmlElement*> Descendants(const XmlElement& element, std::string_view name);

// The document type declaration written before the root element.
struct XmlDocumentType {
    std::string root;
    std::string publicId;
    std::string systemId;
};

}  // namespace notavera
