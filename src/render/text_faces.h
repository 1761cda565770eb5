// Which installed face draws a text font named in a document: the metric-compatible free faces stand in for the
// Windows ones, so that texts keep their widths and line breaks.
#pragma once

#include <string>
#include <string_view>

namespace notavera {

struct InstalledTextFace {
    std::string family;  // the family to ask the font system for
    std::string file;    // a file with the face's metrics, for measuring without a font engine
};

// "Times New Roman" → Liberation Serif, "Arial" → Liberation Sans, "Courier New" → Liberation Mono (names compared
// without regard to case, as Windows does). Other faces keep their name; Liberation Sans gives their metrics.
InstalledTextFace ResolveTextFace(std::string_view face, int weight, bool italic);

}  // namespace notavera
