// An XML document as the core reads it: a tree of elements with their attributes and text, and where the parser
// stopped when the file is not well-formed. The XML parser itself is a service of the platform (QtCore's reader).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace notavera {

struct XmlElement {
    std::string name;  // the local name, without a namespace prefix
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string text;  // the element's own character data, trimmed
    std::vector<XmlElement> children;
    long line = 0;  // where the start tag stands, from 1
    long column = 0;

    // The first child of that name, or null.
    const XmlElement* child(std::string_view childName) const;
    // The trimmed text of the first child of that name, empty without one.
    std::string childText(std::string_view childName) const;
    // An attribute's value, empty without it.
    std::string attribute(std::string_view attributeName) const;
    bool hasChild(std::string_view childName) const { return child(childName) != nullptr; }
};

// A reading: the root element, or why there is none (the parser's text and the line and column it stopped at;
// line 0 when the file could not be opened at all).
struct XmlReading {
    bool ok = false;
    XmlElement root;
    std::string error;
    long line = 0;
    long column = 0;
};

// Reads an XML file, or the root file of a compressed MusicXML container, into an element tree.
using XmlFileReader = std::function<XmlReading(const std::string& path)>;

}  // namespace notavera
