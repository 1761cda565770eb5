// Puts an XML element tree into a file through Qt's stream writer (QtCore only,
// so batch tools can use it).
#pragma once

#include <string>

#include "platform/xml_building.h"

namespace notavera {

// Writes the declaration, the document type and the tree, indented, in UTF-8.
// The file appears only once it is complete (a temporary file renamed over
// `path`). False when it cannot be written.
bool WriteXmlFile(const std::string& path, const XmlDocumentType& type, const XmlElement& root);

}  // namespace notavera
