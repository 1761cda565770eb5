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

    // The isotropic mapping of the page onto the widget: page units (y up) to widget pixels and back.
    QPointF toWidget(double x, double y) const;
    double toPageY(double widgetY) const;

    QSize sizeHint() const override { return {210, 297}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    double scale() const;
    double sheetTop() const;  // the widget y of the sheet's top edge
    void acted(RulerResult r);
    // Moves the pointer onto the selected staff, as the keys do.
    void pointAtSelection();

    StaffRuler& ruler_;
    bool pressed_ = false;
};

}  // namespace notavera
