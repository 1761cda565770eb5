// The system clipboard on Qt: a picture goes on it as SVG, PNG and Windows metafile, each under its MIME type, and
// comes off it as a Windows metafile, other programs' SVG and PNG pictures converted.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "platform/clipboard.h"

namespace notavera {

// The picture in the form `mime` names, drawn by Qt (SVG or PNG); nothing for another form or an empty picture.
std::optional<std::vector<std::uint8_t>> QtPictureForm(const std::string& mime, const ClipboardPicture& picture);

// An SVG or PNG picture as a metafile of at most `maxBytes` holding one bitmap of the picture's own size: as many
// pixels as fit, in at most 256 colours (the bitmap of a metafile has no transparency: it lies over white).
// Nothing when the bytes are no such picture.
std::optional<std::vector<std::uint8_t>> PictureMetafile(const std::string& mime, std::span<const std::uint8_t> bytes,
                                                         std::size_t maxBytes);

class QtClipboard final : public Clipboard {
public:
    void setPicture(const ClipboardPicture& picture) override;
    bool holdsPicture() const override;
    std::optional<std::vector<std::uint8_t>> metafile(std::size_t maxBytes) const override;
    std::optional<std::string> text() const override;
    void setText(const std::string& utf8) override;
};

}  // namespace notavera
