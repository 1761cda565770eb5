// The clipboard of batch runs and tests: it keeps what was set, in the forms it can make. The metafile it draws
// itself; SVG and PNG come from a renderer handed in by a client that links a painting library.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/clipboard.h"

namespace notavera {

class HeadlessClipboard final : public Clipboard {
public:
    // The bytes of a picture in the form `mime` names; nothing when the renderer cannot make that form.
    using Renderer = std::function<std::optional<std::vector<std::uint8_t>>(const std::string& mime,
                                                                             const ClipboardPicture& picture)>;

    void setRenderer(Renderer renderer) { renderer_ = std::move(renderer); }
    void setPicture(const ClipboardPicture& picture) override;
    const ClipboardContents& contents() const { return contents_; }
    std::optional<std::string> text() const override;
    void setText(const std::string& utf8) override;

private:
    Renderer renderer_;
    ClipboardContents contents_;
};

}  // namespace notavera
