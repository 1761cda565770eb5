// The staff ruler widget: the miniature painted from the ruler's staves and grouping lines, mouse and keys passed
// on to the ruler in page units.
#include "platform/qt/regle_affiche.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <optional>

namespace notavera {

namespace {

// A key as the ruler knows it; the numeric pad's keys only with the keypad modifier.
std::optional<RulerKey> RulerKeyOf(const QKeyEvent& e) {
    const bool pad = (e.modifiers() & Qt::KeypadModifier) != 0;
    switch (e.key()) {
    case Qt::Key_Up: return RulerKey::Up;
    case Qt::Key_Down: return RulerKey::Down;
    case Qt::Key_V: return RulerKey::V;
    case Qt::Key_C: return RulerKey::C;
    case Qt::Key_M: return RulerKey::M;
    case Qt::Key_N: return RulerKey::N;
    case Qt::Key_Space: return RulerKey::Space;
    case Qt::Key_Plus: return pad ? std::optional(RulerKey::NumPlus) : std::nullopt;
    case Qt::Key_Minus: return pad ? std::optional(RulerKey::NumMinus) : std::nullopt;
    case Qt::Key_Period:
    case Qt::Key_Comma:
    case Qt::Key_Delete: return pad ? std::optional(RulerKey::NumDecimal) : std::nullopt;
    case Qt::Key_1:
    case Qt::Key_End: return pad ? std::optional(RulerKey::Num1) : std::nullopt;
    case Qt::Key_3:
    case Qt::Key_PageDown: return pad ? std::optional(RulerKey::Num3) : std::nullopt;
    case Qt::Key_7:
    case Qt::Key_Home: return pad ? std::optional(RulerKey::Num7) : std::nullopt;
    case Qt::Key_9:
    case Qt::Key_PageUp: return pad ? std::optional(RulerKey::Num9) : std::nullopt;
    default: return std::nullopt;
    }
}

}  // namespace

RegleAffiche::RegleAffiche(StaffRuler& ruler, QWidget* parent) : QWidget(parent), ruler_(ruler) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(120, 160);
}

QSize RegleAffiche::sizeHint() const {
    // About the height of the dialog's column of modes and fields, so that the sheet fills the room it is given.
    constexpr int shownHeight = 680;
    const Span x = span();
    const int height = std::max(ruler_.sheet().height, 1);
    return {static_cast<int>(shownHeight * (x.right - x.left) / height), shownHeight};
}

RegleAffiche::Span RegleAffiche::span() const {
    const RulerSheet& s = ruler_.sheet();
    Span x{0, static_cast<double>(s.width)};
    for (const RulerStaff& staff : ruler_.staves()) {
        x.left = std::min<double>(x.left, staff.left);
        x.right = std::max<double>(x.right, staff.right);
    }
    // A brace needs room of its own left of its line.
    constexpr int braceRoom = 20;
    for (const RulerGroupLine& g : ruler_.groupLines())
        x.left = std::min<double>(x.left, g.x - (g.brace ? braceRoom : 0));
    return x;
}

double RegleAffiche::scale() const {
    const RulerSheet& s = ruler_.sheet();
    const Span x = span();
    if (x.right - x.left <= 0 || s.height <= 0) return 1.0;
    return std::min(width() / (x.right - x.left), height() / static_cast<double>(s.height));
}

double RegleAffiche::sheetLeft() const {
    const Span x = span();
    const double shown = (x.right - x.left) * scale();
    return (width() - shown) / 2 - x.left * scale();
}

// The sheet hangs from the widget's top edge: in a widget taller than the page's proportions the spare room is
// left below the sheet, not above it where the first staves are.
double RegleAffiche::sheetTop() const { return ruler_.sheet().height * scale(); }

QPointF RegleAffiche::toWidget(double x, double y) const {
    return {sheetLeft() + x * scale(), sheetTop() - y * scale()};
}

double RegleAffiche::toPageY(double widgetY) const { return (sheetTop() - widgetY) / scale(); }

namespace {

// A brace beside the staves it joins: two curves meeting in a point that looks away from them.
QPainterPath BracePath(QPointF top, QPointF bottom) {
    const double depth = std::clamp((bottom.y() - top.y()) / 8, 3.0, 8.0);
    const QPointF tip(top.x() - depth, (top.y() + bottom.y()) / 2);
    QPainterPath path(top);
    path.cubicTo(top + QPointF(-depth, 0), QPointF(top.x(), tip.y()), tip);
    path.cubicTo(QPointF(top.x(), tip.y()), bottom + QPointF(-depth, 0), bottom);
    return path;
}

}  // namespace

void RegleAffiche::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const RulerSheet& sheet = ruler_.sheet();
    p.fillRect(QRectF(toWidget(0, sheet.height), toWidget(sheet.width, 0)), QColor(200, 200, 200));

    const std::vector<RulerStaff> staves = ruler_.staves();
    for (std::size_t i = 0; i < staves.size(); ++i) {
        const RulerStaff& s = staves[i];
        const QRectF box(toWidget(s.left, s.top), toWidget(s.right, s.bottom));
        const std::uint32_t w = ruler_.staffWord(static_cast<int>(i));
        if (ruler_.selected() == static_cast<int>(i)) {
            p.fillRect(box, QColor(128, 128, 128));
        } else if (staff_model::Small::get(w)) {
            p.setPen(Qt::black);
            p.setBrush(Qt::NoBrush);
            p.drawRect(box);
        } else {
            p.fillRect(box, staff_model::Grey::get(w) ? QColor(80, 80, 80) : QColor(Qt::black));
        }
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::NoBrush);
    for (const RulerGroupLine& g : ruler_.groupLines()) {
        const QPointF top = toWidget(g.x, g.top), bottom = toWidget(g.x, g.bottom);
        if (g.brace)
            p.drawPath(BracePath(top, bottom));
        else
            p.drawLine(top, bottom);
    }
}

void RegleAffiche::acted(RulerResult r) {
    if (r == RulerResult::Refused && refused) refused();
    if (r != RulerResult::Unchanged) update();
}

void RegleAffiche::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    acted(ruler_.press(static_cast<int>(toPageY(event->position().y()))));
}

void RegleAffiche::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_) return;
    acted(ruler_.drag(static_cast<int>(toPageY(event->position().y()))));
}

void RegleAffiche::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = false;
    if (notified) notified();
}

void RegleAffiche::keyPressEvent(QKeyEvent* event) {
    const std::optional<RulerKey> k = RulerKeyOf(*event);
    if (!k) {
        QWidget::keyPressEvent(event);
        return;
    }
    acted(ruler_.key(*k));
    pointAtSelection();
}

void RegleAffiche::keyReleaseEvent(QKeyEvent* event) {
    const std::optional<RulerKey> k = RulerKeyOf(*event);
    if (!k) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    if ((*k == RulerKey::Space || *k == RulerKey::NumPlus) && !event->isAutoRepeat() && notified) notified();
}

void RegleAffiche::pointAtSelection() {
    const std::optional<int> i = ruler_.selected();
    if (!i) return;
    const RulerStaff s = ruler_.staves()[static_cast<std::size_t>(*i)];
    const QPointF at = toWidget((s.left + s.right) / 2.0, (s.top + s.bottom) / 2.0);
    QCursor::setPos(mapToGlobal(at.toPoint()));
}

}  // namespace notavera
