// The help window: the user guide "notavera.hlp" (HTML), opened at its contents.
#include "platform/qt/help_window.h"

#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

namespace notavera {

bool ShowHelp(const QString& path, QWidget* parent) {
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) return false;
    static QPointer<QTextBrowser> browser;
    if (browser == nullptr) {
        browser = new QTextBrowser(parent);
        browser->setWindowFlag(Qt::Window);
        browser->setAttribute(Qt::WA_DeleteOnClose);
        browser->setOpenExternalLinks(true);
        browser->setWindowTitle("Aide de Notavera");
        browser->resize(720, 640);
    }
    // The ".hlp" name says nothing of its format: the guide is HTML.
    QUrl url = QUrl::fromLocalFile(file.absoluteFilePath());
    url.setFragment("contents");
    browser->setSource(url, QTextDocument::HtmlResource);
    browser->show();
    browser->raise();
    browser->activateWindow();
    return true;
}

}  // namespace notavera
