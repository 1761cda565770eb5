// Reading a picture off the clipboard: the forms are tried from the one that loses least.
#include "platform/clipboard.h"

namespace notavera {

namespace {
// SVG stays sharp at any resolution the metafile can afford; PNG has only its own pixels.
constexpr const char* convertedForms[] = {svgMime, pngMime};
}  // namespace

bool HoldsPicture(const ClipboardContents& contents) {
    return contents.contains(wmfMime) || contents.contains(svgMime) || contents.contains(pngMime);
}

std::optional<std::vector<std::uint8_t>> MetafileOf(const ClipboardContents& contents, std::size_t maxBytes,
                                                    const PictureConverter& convert) {
    if (const auto wmf = contents.find(wmfMime); wmf != contents.end())
        return wmf->second.size() <= maxBytes ? std::optional(wmf->second) : std::nullopt;
    if (!convert) return std::nullopt;
    for (const char* mime : convertedForms)
        if (const auto form = contents.find(mime); form != contents.end())
            if (auto bytes = convert(mime, form->second, maxBytes); bytes && bytes->size() <= maxBytes) return bytes;
    return std::nullopt;
}

}  // namespace notavera
