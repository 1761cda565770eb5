// A MusicXML score turned into the GUIDO text the GUIDO import lays out: each voice of each staff of each part
// becomes one sequence on the staff of its part and number, so that the import's builders and layout serve both
// formats. What the score cannot hold is counted by element name, not dropped in silence.
#pragma once

#include <map>
#include <string>

#include "platform/xml_tree.h"

namespace notavera {

struct MusicXmlConversion {
    // False when the root is neither score-partwise nor score-timewise: the file is not MusicXML.
    bool isMusicXml = false;
    std::string gmn;
    // What was left out: how many times each element (or value) the score has no place for was met.
    std::map<std::string, int> leftOut;
};

MusicXmlConversion ConvertMusicXml(const XmlElement& root);

// The list of what was left out as the user reads it, one "name (count)" after another; empty when nothing was.
std::string DescribeLeftOut(const std::map<std::string, int>& leftOut);

}  // namespace notavera
