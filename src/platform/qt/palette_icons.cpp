// Palette pictures: note values, slurs, beams and the other signs drawn with the music font's outlines and with
// plain strokes; letters for the buttons that stand for a key of the same name.
#include "platform/qt/palette_icons.h"

#include <QFont>
#include <QPainterPath>
#include <QRawFont>
#include <algorithm>

#include "platform/qt/qt_fonts.h"
#include "render/music_font.h"

namespace notavera {
namespace {

const QColor kFace(212, 208, 200);
const QColor kLight(255, 255, 255);
const QColor kShadow(128, 128, 128);
const QColor kInk(0, 0, 0);
const QColor kDim(150, 150, 150);
const QColor kHighlight(255, 130, 68);  // the editor's highlight fill

constexpr double kOutlineEm = 100.0;  // outlines are read at this size and scaled, never hinted

constexpr int kBlackHead = 204;
constexpr int kHalfHead = 203;
constexpr int kWholeHead = 201;
constexpr int kFlagUp = 205;

const MusicFont* Font() { return MusicFont::Installed(SmuflFamily::Bravura); }

const QRawFont& OutlineFont() {
    static const QRawFont raw = [] {
        const MusicFont* font = Font();
        if (font == nullptr) return QRawFont();
        return LoadMusicFont(GlyphFont{font->family(), font->file(), kOutlineEm, 0}, kOutlineEm);
    }();
    return raw;
}

// The advance of a system code in staff spaces; a notehead's usual width when the font is missing.
double Advance(int code) {
    const MusicFont* font = Font();
    const MusicGlyph* glyph = font ? font->glyph(code) : nullptr;
    return glyph ? glyph->advance : 1.2;
}

// Fills the outline of `code` written at `at` (Qt coordinates) with staff space `s`. Without a readable font a
// notehead-sized ellipse stands in, so the button still says what it does.
void PutGlyph(QPainter& p, int code, QPointF at, double s, const QColor& colour) {
    const MusicFont* font = Font();
    const MusicGlyph* glyph = font ? font->glyph(code) : nullptr;
    const QRawFont& raw = OutlineFont();
    if (glyph == nullptr || !raw.isValid()) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(QRectF(at.x(), at.y() - 0.4 * s, 1.2 * s, 0.8 * s));
        return;
    }
    const char32_t cp = glyph->codePoint;
    const QList<quint32> indexes = raw.glyphIndexesForString(QString::fromUcs4(&cp, 1));
    if (indexes.isEmpty()) return;
    const double scale = MusicFont::StaffSpacesPerEm * s / kOutlineEm;
    QTransform place;
    place.translate(at.x() + glyph->offset.x * s, at.y() - glyph->offset.y * s);
    place.scale(scale, scale);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(place.map(raw.pathForGlyph(indexes.first())));
}

void Stroke(QPainter& p, QPointF from, QPointF to, double width, const QColor& colour) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(from, to);
}

// Longa and breve: two bands closed by side strokes; the longa's right stroke goes on as its tail.
void PutSquareNote(QPainter& p, QPointF centre, bool longa, double s, const QColor& colour) {
    const double half = 0.9 * s;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(centre.x() - half, centre.y() - 0.5 * s, 2 * half, 0.25 * s));
    p.drawRect(QRectF(centre.x() - half, centre.y() + 0.25 * s, 2 * half, 0.25 * s));
    const double stroke = 0.16 * s;
    Stroke(p, {centre.x() - half, centre.y() - 0.8 * s}, {centre.x() - half, centre.y() + 0.8 * s}, stroke, colour);
    const double tail = longa ? 2.8 * s : 0.8 * s;
    Stroke(p, {centre.x() + half, centre.y() - 0.8 * s}, {centre.x() + half, centre.y() + tail}, stroke, colour);
}

// A note of duration code 0..10 (longa … 1/256) with an up stem, fitted into `box`.
void PutNote(QPainter& p, const QRectF& box, unsigned code, const QColor& colour) {
    const int flags = code >= 5 ? static_cast<int>(code) - 4 : 0;
    const double stemSpaces = 3.25 + 0.75 * std::max(0, flags - 2);
    const double s = std::min(box.width() / 2.6, std::min(5.0, box.height() / (stemSpaces + 1.0)));
    if (code <= 1) {
        const double y = code == 0 ? box.top() + 1.0 * s : box.center().y();
        PutSquareNote(p, {box.center().x(), y}, code == 0, s, colour);
        return;
    }
    const int head = code == 2 ? kWholeHead : code == 3 ? kHalfHead : kBlackHead;
    const double width = Advance(head) * s;
    const double left = box.center().x() - width / 2 - (flags > 0 ? 0.4 * s : 0.0);
    const double baseline = code == 2 ? box.center().y() : box.bottom() - 0.6 * s;
    PutGlyph(p, head, {left, baseline}, s, colour);
    if (code == 2) return;
    const double stemWidth = 0.12 * s;
    const double stemX = left + width - stemWidth / 2;
    const double top = baseline - stemSpaces * s;
    Stroke(p, {stemX, baseline - 0.17 * s}, {stemX, top}, stemWidth, colour);
    for (int flag = 0; flag < flags; ++flag) {
        PutGlyph(p, kFlagUp, {stemX - stemWidth / 2, top + flag * 0.75 * s}, s, colour);
    }
}

void PutLetter(QPainter& p, const QRectF& box, const QString& text, const QColor& colour) {
    QFont font(SubstituteTextFace("Arial"));
    font.setPixelSize(static_cast<int>(box.height() * 0.6));
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

void PutBevel(QPainter& p, const QRectF& r, bool pressed, bool lit) {
    p.fillRect(r, lit ? kHighlight.lighter(150) : kFace);
    const QRectF edge = r.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(pressed ? kShadow : kLight, 1.0));
    p.drawLine(edge.topLeft(), edge.topRight());
    p.drawLine(edge.topLeft(), edge.bottomLeft());
    p.setPen(QPen(pressed ? kLight : kShadow, 1.0));
    p.drawLine(edge.bottomLeft(), edge.bottomRight());
    p.drawLine(edge.topRight(), edge.bottomRight());
}

// A curved arrow turning back to the left (undo) or on to the right.
void PutTurnArrow(QPainter& p, const QRectF& box, bool back, const QColor& colour) {
    const double w = box.width();
    const QRectF arc(box.left() + 0.2 * w, box.top() + 0.25 * box.height(), 0.6 * w, 0.55 * box.height());
    QPainterPath path;
    path.arcMoveTo(arc, back ? -60 : 240);
    path.arcTo(arc, back ? -60 : 240, back ? 210 : -210);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(path);
    const QPointF tip = path.currentPosition();
    const double a = 0.16 * w;
    QPolygonF head;
    const double side = (back ? a : -a) * 0.4;
    head << QPointF(tip.x() + (back ? -a : a), tip.y() + 0.2 * a) << QPointF(tip.x() + side, tip.y() - a)
         << QPointF(tip.x() + side, tip.y() + a);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

// The previous page points up, the next page down, as PgUp and PgDn move through the score.
void PutTriangle(QPainter& p, const QRectF& box, bool up, bool lit) {
    const double h = std::min(box.width() * 0.35, box.height() * 0.3);
    const QPointF c = box.center();
    const double tip = up ? -h : h;
    QPolygonF triangle;
    triangle << QPointF(c.x(), c.y() + tip) << QPointF(c.x() - h, c.y() - tip * 0.8)
             << QPointF(c.x() + h, c.y() - tip * 0.8);
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(lit ? kInk : kFace);
    p.drawPolygon(triangle);
}

// A black head with a stem up, a stem down, or both (the free choice of stem direction).
void PutStemmedHead(QPainter& p, const QRectF& box, bool up, bool down) {
    const double s = std::min(box.width() / 1.8, 4.0);
    const double width = Advance(kBlackHead) * s;
    const double left = box.center().x() - width / 2;
    const double y = box.center().y();
    PutGlyph(p, kBlackHead, {left, y}, s, kInk);
    const double stem = 0.15 * s;
    if (up) Stroke(p, {left + width - stem / 2, y - 0.2 * s}, {left + width - stem / 2, y - 2.6 * s}, stem, kInk);
    if (down) Stroke(p, {left + stem / 2, y + 0.2 * s}, {left + stem / 2, y + 2.6 * s}, stem, kInk);
}

void PutSlurOrTie(QPainter& p, const QRectF& box, bool above) {
    const double l = box.left() + 0.15 * box.width();
    const double r = box.right() - 0.15 * box.width();
    const double y = box.center().y() + (above ? 0.15 : -0.1) * box.height();
    const double bulge = (above ? -1.0 : 1.0) * 0.35 * box.height();
    QPainterPath crescent;
    crescent.moveTo(l, y);
    crescent.cubicTo(l + 0.2 * (r - l), y + bulge, r - 0.2 * (r - l), y + bulge, r, y);
    crescent.cubicTo(r - 0.2 * (r - l), y + 0.75 * bulge, l + 0.2 * (r - l), y + 0.75 * bulge, l, y);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPath(crescent);
}

void PutSlur(QPainter& p, const QRectF& box) {
    const double s = 3.5;
    const double y = box.bottom() - 0.3 * box.height();
    PutGlyph(p, kBlackHead, {box.left() + 0.12 * box.width(), y}, s, kInk);
    PutGlyph(p, kBlackHead, {box.right() - 0.12 * box.width() - Advance(kBlackHead) * s, y}, s, kInk);
    PutSlurOrTie(p, box.adjusted(0, 0, 0, -0.25 * box.height()), true);
}

void PutBeam(QPainter& p, const QRectF& box) {
    const double s = 3.5;
    const double width = Advance(kBlackHead) * s;
    const double y = box.bottom() - 0.2 * box.height();
    const double top = box.top() + 0.2 * box.height();
    const double x1 = box.left() + 0.15 * box.width();
    const double x2 = box.right() - 0.15 * box.width() - width;
    for (const double x : {x1, x2}) {
        PutGlyph(p, kBlackHead, {x, y}, s, kInk);
        Stroke(p, {x + width - 0.25, y - 0.5}, {x + width - 0.25, top}, 0.5 * s * 0.25, kInk);
    }
    Stroke(p, {x1 + width - 0.5, top + 1.0}, {x2 + width, top + 1.0}, 0.5 * s, kInk);
}

void PutGroup(QPainter& p, const QRectF& box) {
    const double l = box.left() + 0.2 * box.width();
    const double r = box.right() - 0.2 * box.width();
    const double y = box.center().y() + 0.1 * box.height();
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{QPointF(l, y + 5), QPointF(l, y), QPointF(r, y), QPointF(r, y + 5)});
    PutLetter(p, QRectF(box.left(), box.top(), box.width(), y - box.top()), QStringLiteral("3"), kInk);
}

void PutMouse(QPainter& p, const QRectF& box, bool rightHeld) {
    const QRectF body(box.center().x() - 7, box.top() + 4, 14, box.height() - 8);
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kLight);
    p.drawRoundedRect(body, 6, 6);
    const QRectF right(body.center().x(), body.top(), body.width() / 2, body.height() * 0.4);
    if (rightHeld) {
        QPainterPath button;
        button.addRoundedRect(body, 6, 6);
        QPainterPath corner;
        corner.addRect(right);
        p.setBrush(kInk);
        p.drawPath(button.intersected(corner));
    }
    p.drawLine(QPointF(body.left(), right.bottom()), QPointF(body.right(), right.bottom()));
    p.drawLine(QPointF(body.center().x(), body.top()), QPointF(body.center().x(), right.bottom()));
}

void PutInsertionBox(QPainter& p, const QRectF& box) {
    const double dx = 0.2 * box.width();
    const double dy = 0.28 * box.height();
    const QRectF frame = box.adjusted(dx, dy, -dx, -dy);
    p.setPen(QPen(kInk, 1.0, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);
    Stroke(p, {frame.center().x(), frame.top() + 2}, {frame.center().x(), frame.bottom() - 2}, 1.5, kInk);
}

void PutKeyboard(QPainter& p, const QRectF& box) {
    const double dx = 0.18 * box.width();
    const double dy = 0.3 * box.height();
    const QRectF keys = box.adjusted(dx, dy, -dx, -dy);
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(kLight);
    p.drawRect(keys);
    const double key = keys.width() / 4;
    for (int i = 1; i < 4; ++i) {
        const double x = keys.left() + i * key;
        p.drawLine(QPointF(x, keys.top()), QPointF(x, keys.bottom()));
    }
    p.setBrush(kInk);
    for (int i : {1, 2}) {
        p.drawRect(QRectF(keys.left() + i * key - key * 0.3, keys.top(), key * 0.6, keys.height() * 0.6));
    }
}

void PutCueSize(QPainter& p, const QRectF& box) {
    const double y = box.center().y() + 2;
    PutGlyph(p, kBlackHead, {box.left() + 0.12 * box.width(), y}, 5.0, kInk);
    PutGlyph(p, kBlackHead, {box.center().x() + 0.1 * box.width(), y}, 3.0, kInk);
}

// A quarter note with its staccato dot under the head, away from the stem.
void PutStaccato(QPainter& p, const QRectF& box) {
    const double s = 4.0;
    const QRectF note(box.left(), box.top(), box.width(), box.height() - 1.2 * s);
    PutNote(p, note, 4, kInk);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(box.center().x(), box.bottom() - 0.7 * s), 0.3 * s, 0.3 * s);
}

void PutReference(QPainter& p, const QRectF& box, unsigned code) {
    PutLetter(p, QRectF(box.left(), box.top(), box.width() * 0.35, box.height()), QStringLiteral("="), kInk);
    PutNote(p, QRectF(box.left() + box.width() * 0.3, box.top(), box.width() * 0.7, box.height()), code, kInk);
}

// The palette's own choice is underlined, the value taken over from the insertion state is not.
void PutDuration(QPainter& p, const QRectF& box, const PaletteFace& face) {
    if (!face.fromValMenu) {
        PutNote(p, box, face.durationCode, kInk);
        return;
    }
    PutNote(p, box.adjusted(0, 0, 0, -3), face.durationCode, kInk);
    Stroke(p, {box.left() + 3, box.bottom() - 1.5}, {box.right() - 3, box.bottom() - 1.5}, 1.0, kInk);
}

void PutIcon(QPainter& p, const QRectF& box, const PaletteFace& face) {
    switch (face.icon) {
    case PaletteIcon::Undo: PutTurnArrow(p, box, true, face.lit ? kInk : kDim); break;
    case PaletteIcon::CancelUndo: PutTurnArrow(p, box, false, face.lit ? kInk : kDim); break;
    case PaletteIcon::AlternateAction: PutMouse(p, box, face.lit); break;
    case PaletteIcon::InsertionBox: PutInsertionBox(p, box); break;
    case PaletteIcon::RhythmicGroup: PutGroup(p, box); break;
    case PaletteIcon::CueSize: PutCueSize(p, box); break;
    case PaletteIcon::TieForm: PutSlurOrTie(p, box, false); break;
    case PaletteIcon::AttributeC: PutLetter(p, box, QStringLiteral("C"), kInk); break;
    case PaletteIcon::AttributeL: PutLetter(p, box, QStringLiteral("L"), kInk); break;
    case PaletteIcon::Staccato: PutStaccato(p, box); break;
    case PaletteIcon::MidiInput: PutKeyboard(p, box); break;
    case PaletteIcon::Star: PutLetter(p, box, QStringLiteral("*"), kInk); break;
    case PaletteIcon::Slur: PutSlur(p, box); break;
    case PaletteIcon::Beam: PutBeam(p, box); break;
    case PaletteIcon::AttributeI: PutLetter(p, box, QStringLiteral("I"), kInk); break;
    case PaletteIcon::Plus: PutLetter(p, box, QStringLiteral("+"), kInk); break;
    case PaletteIcon::PagePrevious: PutTriangle(p, box, true, face.lit); break;
    case PaletteIcon::PageNext: PutTriangle(p, box, false, face.lit); break;
    case PaletteIcon::NoteFormA: PutStemmedHead(p, box, true, true); break;
    case PaletteIcon::NoteFormB: PutStemmedHead(p, box, true, false); break;
    case PaletteIcon::NoteFormClear: PutStemmedHead(p, box, false, true); break;
    case PaletteIcon::Duration: PutDuration(p, box, face); break;
    case PaletteIcon::ReferenceValue: PutReference(p, box, face.durationCode); break;
    }
}

bool LightsBackground(PaletteIcon icon) {
    return icon == PaletteIcon::NoteFormA || icon == PaletteIcon::NoteFormB || icon == PaletteIcon::NoteFormClear;
}

}  // namespace

void PaintPaletteFace(QPainter& painter, const QRectF& rect, const PaletteFace& face) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    PutBevel(painter, rect, face.pressed, face.lit && LightsBackground(face.icon));
    const QRectF inner = rect.adjusted(1, 1, -1, -1).translated(face.pressed ? QPointF(0.5, 0.5) : QPointF());
    painter.setClipRect(inner);
    PutIcon(painter, inner, face);
    painter.restore();
}

}  // namespace notavera
