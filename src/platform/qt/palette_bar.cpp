// The palette row: its buttons, their places along the client area's right edge, and the commands they send.
#include "platform/qt/palette_bar.h"

#include <QPainter>

#include "platform/qt/palette_icons.h"

namespace notavera {

PaletteButton::PaletteButton(int index, std::function<PaletteInputs()> inputs, QWidget* parent)
    : QAbstractButton(parent), index_(index), inputs_(std::move(inputs)) {
    // The palette never takes the keyboard focus: the score keeps it, as every button hands it back anyway.
    setFocusPolicy(Qt::NoFocus);
}

QSize PaletteButton::sizeHint() const { return QSize(PaletteButtonWidth(index_), PaletteHeight); }

void PaletteButton::paintEvent(QPaintEvent*) {
    const std::optional<PaletteFace> face =
        PaletteButtonFace(index_, isDown(), inputs_ ? inputs_() : PaletteInputs{});
    if (!face) return;
    QPainter painter(this);
    PaintPaletteFace(painter, QRectF(rect()), *face);
}

PaletteBar::PaletteBar(std::function<PaletteInputs()> inputs, std::function<void(int)> onCommand, QWidget* parent)
    : QWidget(parent) {
    for (int index = 0; index < PaletteButtonCount; ++index) {
        auto* button = new PaletteButton(index, inputs, this);  // owned by the bar, as Qt children are
        const int command = PaletteCommand(index);
        connect(button, &QAbstractButton::clicked, this, [onCommand, command] {
            if (onCommand) onCommand(command);
        });
        buttons_[static_cast<std::size_t>(index)] = button;
    }
    placeInClient(-PaletteRowLeft(0));  // alone in a client area just as wide as the row
}

void PaletteBar::placeInClient(int clientWidth, bool visible) {
    const auto rects = PaletteLayout(clientWidth, visible);
    const int left = PaletteRowLeft(clientWidth, visible);
    setGeometry(left, 0, clientWidth - left, PaletteHeight);
    for (int index = 0; index < PaletteButtonCount; ++index) {
        const PaletteRect& r = rects[static_cast<std::size_t>(index)];
        PaletteButton* button = buttons_[static_cast<std::size_t>(index)];
        button->setGeometry(r.x - left, r.y, r.width, r.height);
    }
}

void PaletteBar::refresh() {
    for (PaletteButton* button : buttons_) button->update();
}

PaletteButton* PaletteBar::button(int index) const {
    if (index < 0 || index >= PaletteButtonCount) return nullptr;
    return buttons_[static_cast<std::size_t>(index)];
}

}  // namespace notavera
