// Fonts for the Qt canvas: the SMuFL font files read once per process, and the free faces that stand in for the
// text faces documents name.
#pragma once

#include <QRawFont>
#include <QString>
#include <string_view>

#include "platform/canvas.h"

namespace notavera {

// The installed family drawn for a face a document names: "Times New Roman" → "Liberation Serif", "Arial" →
// "Liberation Sans", "Courier New" → "Liberation Mono"; another installed face as named; anything else
// "Liberation Sans", whose widths match the faces documents were written with.
QString SubstituteTextFace(std::string_view face);

// The glyph font's SMuFL font at `pixelSize` pixels, unhinted so that widths scale exactly: from the font's file
// when it names one that can be read, otherwise from the installed family. Invalid when neither exists, so that
// no other font's shapes stand in for music symbols.
QRawFont LoadMusicFont(const GlyphFont& font, double pixelSize);
// The same font as the font database knows it, which PDF files and printers embed (a font read from data alone is
// drawn there as outlines, slowly and at great size); LoadMusicFont's when it cannot be registered.
QRawFont EmbeddableMusicFont(const GlyphFont& font, double pixelSize);

}  // namespace notavera
