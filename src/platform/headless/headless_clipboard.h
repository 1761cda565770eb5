// The clipboard of batch runs and tests: it keeps what was set, in the forms it can make. The metafile it draws
// itself; SVG and PNG come from a renderer handed in by a client that links a painting library, and so does the
// converter that reads them back as a metafile.
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
    void setConverter(PictureConverter converter) { converter_ = std::move(converter); }
    void setPicture(const ClipboardPicture& picture) override;
    // Replaces what the clipboard holds by a picture another program put there, in the one form `mime` names.
    void setPictureForm(const std::string& mime, std::vector<std::uint8_t> bytes);
    bool holdsPicture() const override { return HoldsPicture(contents_); }
    std::optional<std::vector<std::uint8_t>> metafile(std::size_t maxBytes) const override {
        return MetafileOf(contents_, maxBytes, converter_);
    }
    const ClipboardContents& contents() const { return contents_; }
    std::optional<std::string> text() const override;
    void setText(const std::string& utf8) override;

private:
    Renderer renderer_;
    PictureConverter converter_;
    ClipboardContents contents_;
};

}  // namespace notavera
