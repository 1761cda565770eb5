// The MIDI devices' error boxes, modeless beside the main window.
#include "platform/qt/device_message_ui.h"

#include <QMessageBox>
#include <algorithm>

namespace notavera {

MessageAnswer DeviceMessageUi::showMessage(const MessageBoxRequest& request) {
    if (request.buttons != MessageButtons::Ok || request.icon != MessageIcon::Information)
        return window_.showMessage(request);
    std::erase_if(open_, [](const QPointer<QMessageBox>& box) { return box.isNull(); });
    const QString text = QString::fromStdString(request.text);
    const auto same = std::find_if(open_.begin(), open_.end(), [&](const auto& box) { return box->text() == text; });
    if (same != open_.end()) {
        (*same)->raise();
        return MessageAnswer::Ok;
    }
    auto* box = new QMessageBox(QMessageBox::Information, QString::fromStdString(request.caption), text,
                                QMessageBox::NoButton, owner_.data());
    box->setDefaultButton(box->addButton("OK", QMessageBox::AcceptRole));
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    open_.emplace_back(box);
    return MessageAnswer::Ok;
}

}  // namespace notavera
