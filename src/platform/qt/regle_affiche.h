// The staff ruler widget ("RegleAffiche"): paints the miniature page of a staff ruler and hands it the mouse and
// the keys. The staff-layout dialog hosts it, and so can any dialog that lets the user pick a staff.
#pragma once

#include <QPointF>
#include <QWidget>
#include <functional>

#include "print/staff_ruler.h"

namespace notavera {

class RegleAffiche final : public QWidget {
public:
    explicit RegleAffiche(StaffRuler& ruler, QWidget* parent = nullptr);

    // Called on every button release, and on the release of space and numeric plus (control id 110).
    std::function<void()> notified;
    // Called when the ruler refuses an action.
    std::function<void()> refused;

    // The isotropic mapping of the page onto the widget: page units (y up) to widget pixels and back. The whole
    // sheet fits the widget, hanging from its top edge and centred across it.
    QPointF toWidget(double x, double y) const;
    double toPageY(double widgetY) const;

    // Tall enough to tell the staves apart, as wide as the page's proportions make it.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // The page units shown across: the sheet, widened where staves or grouping marks reach beyond it.
    struct Span {
        double left = 0;
        double right = 0;
    };
    Span span() const;
    double scale() const;
    double sheetLeft() const;  // the widget x of page x 0
    double sheetTop() const;  // the widget y of the sheet's top edge
    void acted(RulerResult r);
    // Moves the pointer onto the selected staff, as the keys do.
    void pointAtSelection();

    StaffRuler& ruler_;
    bool pressed_ = false;
};

}  // namespace notavera
