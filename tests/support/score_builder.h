// Test scores built with the element-creation API: a new document with systems of a chosen size, and short
// calls that put notes, rests, meters and bars on a staff.
#pragma once

#include <filesystem>

#include "platform/headless/headless_ui.h"
#include "score/element_creation.h"
#include "shell/editor_context.h"

namespace notavera::test {

class ScoreBuilder {
public:
    // `pages` pages of `staves` staves, grouped in systems of `systemSize` staves whose voices are numbered
    // 1, 2, … within each system (the usual numbering of parts).
    explicit ScoreBuilder(int pages = 1, int staves = 1, int systemSize = 1);

    EditorContext& ctx() { return ctx_; }
    ScoreDocument& doc() { return ctx_.doc; }
    HeadlessUi& ui() { return ui_; }

    // Elements go at the end of this staff from now on.
    ScoreBuilder& on(int page, int staff);
    // A note (name 1 C … 7 B) of duration code `code` in octave 4 unless given.
    ElementRecord& note(int x, unsigned name, unsigned code = 4, unsigned dots = 0, unsigned octave = 4);
    ElementRecord& rest(int x, unsigned code = 4, unsigned dots = 0);
    ElementRecord& meter(int x, unsigned numerator, unsigned denominator);
    ElementRecord& bar(int x);
    // Notes of `code` from x on, one every `step` page units.
    void notes(int x, int step, unsigned count, unsigned name, unsigned code = 4);

    void setVoice(int page, int staff, unsigned voice);
    void setChannel(unsigned voice, unsigned channel) { doc().header.midi().channelOfVoice(static_cast<int>(voice)) = static_cast<std::uint8_t>(channel); }
    // Writes the document as a ".mus" file (its working file removed afterwards).
    bool saveAs(const std::filesystem::path& path);
    // The current page, staff and element the exports start from.
    void setCurrent(int page, int staff, int element = -1);

private:
    HeadlessUi ui_{nullptr};
    EditorContext ctx_{ui_};
};

}  // namespace notavera::test
