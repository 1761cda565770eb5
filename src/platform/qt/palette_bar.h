// The tool palette as Qt widgets: a row of 23 owner-drawn buttons along the top right of the main window, each
// painted as vector shapes and music-font outlines so that it stays sharp at any screen scale.
#pragma once

#include <QAbstractButton>
#include <QWidget>
#include <array>
#include <functional>

#include "shell/palette.h"

namespace notavera {

class PaletteButton : public QAbstractButton {
    Q_OBJECT

public:
    PaletteButton(int index, std::function<PaletteInputs()> inputs, QWidget* parent);
    int index() const { return index_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int index_;
    std::function<PaletteInputs()> inputs_;
};

class PaletteBar : public QWidget {
    Q_OBJECT

public:
    // `inputs` gives the state the pictures show; `onCommand` receives the button's command
    // (cmd::FirstPaletteButton .. cmd::LastPaletteButton).
    PaletteBar(std::function<PaletteInputs()> inputs, std::function<void(int)> onCommand, QWidget* parent = nullptr);

    // Lays the buttons right to left from the right edge of a client area `clientWidth` wide; a hidden palette
    // takes no room.
    void placeInClient(int clientWidth, bool visible = true);
    // Repaints the buttons after the state they show changed.
    void refresh();

    PaletteButton* button(int index) const;

private:
    std::array<PaletteButton*, PaletteButtonCount> buttons_{};
};

}  // namespace notavera
