// Test support: documents and elements for the drawing tests, an element drawer that notes what the page pass
// hands it, and the calls a recording canvas kept, picked by their op.
#pragma once

#include <filesystem>
#include <vector>

#include <nlohmann/json.hpp>

#include "render/page_pass.h"
#include "score/score_document.h"

namespace notavera::test {

// A document of `pages` pages laid out by the default model (ten five-line staves), on page 1.
ScoreDocument NewDocument(int pages = 1);

// Saves at `path` a new document of `pages` pages with its page number centred at the foot of each page after
// the first; no work files are left beside it.
void SaveNumberedDocument(const std::filesystem::path& path, int pages);

ElementRecord NoteAt(int x);
ElementRecord SignAt(SignType type, int x, int code = 0);

// One element the pass handed to the drawer, with the state it was handed in.
struct HandedElement {
    int staff = 0;  // the staff's index on its page
    int index = 0;
    int x = 0;
    double referenceY = 0;  // of the staff, in the pass's placement
    bool small = false;
    bool alternate = false;
    Colour colour = 0;
    OutputMode mode = OutputMode::Normal;
};

class ElementSpy {
public:
    ElementDrawer drawer();
    const std::vector<HandedElement>& handed() const { return handed_; }
    void clear() { handed_.clear(); }

private:
    std::vector<HandedElement> handed_;
};

// The recorded calls whose "op" is `op`, in order.
std::vector<nlohmann::json> CallsOf(const nlohmann::json& calls, const std::string& op);

}  // namespace notavera::test
