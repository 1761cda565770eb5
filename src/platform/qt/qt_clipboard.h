// The system clipboard on Qt: a picture goes on it as SVG, PNG and Windows metafile, each under its MIME type.
#pragma once

#include <optional>
#include <string>

#include "platform/clipboard.h"

namespace notavera {

// The picture in the form `mime` names, drawn by Qt (SVG or PNG); nothing for another form or an empty picture.
std::optional<std::vector<std::uint8_t>> QtPictureForm(const std::string& mime, const ClipboardPicture& picture);

class QtClipboard final : public Clipboard {
public:
    void setPicture(const ClipboardPicture& picture) override;
    std::optional<std::string> text() const override;
    void setText(const std::string& utf8) override;
};

}  // namespace notavera
