// Reading an XML file into the core's element tree with QtCore's stream reader; a compressed MusicXML file (.mxl,
// a zip container) is opened through libzip and its root file, which META-INF/container.xml names, read instead.
#pragma once

#include <filesystem>
#include <string_view>

#include "platform/xml_tree.h"

namespace notavera {

// The bytes of an XML document as a tree. Deeper nesting than any MusicXML has is refused as an error.
XmlReading ReadXmlText(std::string_view bytes);

// The file at `path`: plain XML, or a zip container whose root file is read. The error of a container that is
// damaged or names no file has line 0.
XmlReading ReadXmlOrContainerFile(const std::filesystem::path& path);
XmlReading ReadXmlOrContainerBytes(std::string_view bytes);

}  // namespace notavera
