// The Régleur's picture for --screenshot-dialog: the dialog found when it is first shown, set up, grabbed, closed.
#include "regleur_screenshot.h"

#include <QEvent>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "platform/qt/staff_layout_dialog.h"

namespace notavera {

RegleurScreenshot::RegleurScreenshot(QString path, std::vector<std::pair<std::string, std::string>> fields)
    : path_(std::move(path)), fields_(std::move(fields)) {}

bool RegleurScreenshot::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && !taken_) {
        if (auto* dialog = dynamic_cast<StaffLayoutDialog*>(watched)) {
            taken_ = true;
            // Once the dialog runs its own loop: by then its layout has given the ruler its size.
            QTimer::singleShot(0, dialog, [this, dialog] { shoot(*dialog); });
        }
    }
    return QObject::eventFilter(watched, event);
}

void RegleurScreenshot::shoot(StaffLayoutDialog& dialog) {
    succeeded_ = true;
    for (const auto& [key, value] : fields_) {
        if (dialog.type(key, value)) continue;
        std::fprintf(stderr, "Champ refusé par le Régleur : %s=%s\n", key.c_str(), value.c_str());
        succeeded_ = false;
    }
    if (!dialog.grab().save(path_, "PNG")) {
        std::fprintf(stderr, "Impossible d'écrire le fichier %s\n", qPrintable(path_));
        succeeded_ = false;
    }
    dialog.reject();
}

}  // namespace notavera
