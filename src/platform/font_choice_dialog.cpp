// The "Police" dialog model: face, style and size of a text font.
#include "platform/font_choice_dialog.h"

#include <algorithm>

namespace notavera {

namespace {

// The list order is the stored style code: bit 0 italic, bit 1 bold.
constexpr int italicBit = 1;
constexpr int boldBit = 2;
constexpr std::size_t faceCapacity = 31;  // what an entry of the document's font table holds

}  // namespace

DialogModel MakeFontChoiceDialog(const FontChoice& current) {
    DialogModel m("Police", "Police");
    m.addText(0, font_choice_field::face, current.face, static_cast<int>(faceCapacity));
    const int style = (current.italic ? italicBit : 0) | (current.bold ? boldBit : 0);
    m.addChoice(0, font_choice_field::style, {"Normal", "Italique", "Gras", "Gras italique"}, style);
    m.addInteger(0, font_choice_field::size, 1, maxFontHeight, current.height, 3);
    return m;
}

std::optional<FontChoice> FontChoiceOf(const DialogModel& dialog) {
    FontChoice f;
    f.face = dialog.text(font_choice_field::face);
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!f.face.empty() && blank(f.face.back())) f.face.pop_back();
    f.face.erase(f.face.begin(), std::find_if_not(f.face.begin(), f.face.end(), blank));
    if (f.face.empty()) return std::nullopt;
    const int style = dialog.value(font_choice_field::style);
    f.italic = (style & italicBit) != 0;
    f.bold = (style & boldBit) != 0;
    f.height = dialog.value(font_choice_field::size);
    return f;
}

}  // namespace notavera
