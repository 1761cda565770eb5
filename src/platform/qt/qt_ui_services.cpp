// The user interface the core speaks to, on Qt: message boxes with French buttons, the file dialogs with the
// system's filters, the title of the main window, the wait cursor, the beep, the font chooser and the generic dialog
// form.
#include "platform/qt/qt_ui_services.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/qt/dialog_form.h"
#include "platform/qt/help_window.h"
#include "platform/qt/menu_bar.h"
#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_page_devices.h"
#include "platform/qt/staff_layout_dialog.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/wmf/libwmf_player.h"
#include "platform/xml/qt_xml_file.h"
#include "platform/xml/xml_file_reader.h"

namespace notavera {
namespace {

QString Qs(const std::string& text) { return QString::fromStdString(text); }

QMessageBox::Icon IconOf(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::Warning;
}

// The buttons of a box, in the order Windows shows them, with their French captions.
std::vector<std::pair<MessageAnswer, QString>> ButtonsOf(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok: return {{MessageAnswer::Ok, "OK"}};
    case MessageButtons::YesNo: return {{MessageAnswer::Yes, "Oui"}, {MessageAnswer::No, "Non"}};
    case MessageButtons::YesNoCancel:
        return {{MessageAnswer::Yes, "Oui"}, {MessageAnswer::No, "Non"}, {MessageAnswer::Cancel, "Annuler"}};
    case MessageButtons::RetryCancel: return {{MessageAnswer::Retry, "Réessayer"}, {MessageAnswer::Cancel, "Annuler"}};
    }
    return {{MessageAnswer::Ok, "OK"}};
}

QMessageBox::ButtonRole RoleOf(MessageAnswer answer) {
    switch (answer) {
    case MessageAnswer::Ok: return QMessageBox::AcceptRole;
    case MessageAnswer::Yes: return QMessageBox::YesRole;
    case MessageAnswer::No: return QMessageBox::NoRole;
    case MessageAnswer::Cancel: return QMessageBox::RejectRole;
    case MessageAnswer::Retry: return QMessageBox::AcceptRole;
    }
    return QMessageBox::AcceptRole;
}

// Escape and the close box give what the system gives: Cancel where there is one, No for Yes/No, else OK.
MessageAnswer EscapeAnswer(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::YesNo: return MessageAnswer::No;
    case MessageButtons::YesNoCancel:
    case MessageButtons::RetryCancel: return MessageAnswer::Cancel;
    }
    return MessageAnswer::Cancel;
}

QString LowerCaseToo(const std::string& patterns) {
    QStringList all;
    for (const QString& p : Qs(patterns).split(QRegularExpression("[;\\s]+"), Qt::SkipEmptyParts)) {
        if (!all.contains(p)) all << p;
        if (!all.contains(p.toLower())) all << p.toLower();
    }
    return all.join(' ');
}

std::optional<std::string> Chosen(const QString& name) {
    if (name.isEmpty()) return std::nullopt;
    return name.toStdString();
}

}  // namespace

QWidget* QtUiServices::parent() const {
    if (QWidget* active = QApplication::activeModalWidget()) return active;
    return window_.data();
}

QtUiServices::QtUiServices(QWidget* window) : window_(window) {
    provideMetafilePlayer(&LibwmfPlayer());
    provideXmlReader(ReadXmlOrContainerFile);
}

MessageAnswer QtUiServices::showMessage(const MessageBoxRequest& request) {
    QMessageBox box(IconOf(request.icon), Qs(request.caption), Qs(request.text), QMessageBox::NoButton, parent());
    std::vector<std::pair<QAbstractButton*, MessageAnswer>> answers;
    for (const auto& [answer, caption] : ButtonsOf(request.buttons)) {
        QPushButton* button = box.addButton(caption, RoleOf(answer));
        answers.emplace_back(button, answer);
        if (answer == EscapeAnswer(request.buttons)) box.setEscapeButton(button);
    }
    box.setDefaultButton(static_cast<QPushButton*>(answers.front().first));
    box.exec();
    for (const auto& [button, answer] : answers)
        if (box.clickedButton() == button) return answer;
    return EscapeAnswer(request.buttons);
}

bool QtUiServices::yesNoBox(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, "Message", Qs(text), QMessageBox::NoButton, parent());
    box.setObjectName("YesNoBox");
    box.setStyleSheet("QMessageBox, QLabel { background-color: rgb(192, 192, 192); color: black; }");
    QPushButton* yes = box.addButton("Oui", QMessageBox::YesRole);
    QPushButton* no = box.addButton("Non", QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void QtUiServices::beep() { QApplication::beep(); }

QString QtUiServices::FilterText(const std::vector<FileFilter>& filters) {
    QStringList parts;
    for (const FileFilter& f : filters) {
        // A label that already names its patterns ("Fichiers (*.MUS)") keeps them visible once only.
        QString label = Qs(f.label);
        const qsizetype open = label.lastIndexOf('(');
        if (open > 0 && label.endsWith(')')) label = label.left(open).trimmed();
        parts << label + " (" + LowerCaseToo(f.patterns) + ")";
    }
    return parts.join(";;");
}

std::optional<std::string> QtUiServices::openFileName(const FileDialogRequest& request) {
    return Chosen(QFileDialog::getOpenFileName(parent(), Qs(request.title), Qs(request.proposedPath),
                                               FilterText(request.filters)));
}

std::optional<std::string> QtUiServices::saveFileName(const FileDialogRequest& request) {
    return Chosen(QFileDialog::getSaveFileName(parent(), Qs(request.title), Qs(request.proposedPath),
                                               FilterText(request.filters)));
}

void QtUiServices::setTitle(const std::string& title) {
    if (window_) window_->setWindowTitle(Qs(title));
}

// Wait cursors nest: the arrow comes back when the outermost wait ends.
void QtUiServices::setWaitCursor(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++waitDepth_;
    } else if (waitDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --waitDepth_;
    }
}

bool QtUiServices::runDialog(DialogModel& model) {
    DialogForm form(model, parent());
    return form.run();
}

// Sizes are kept in tenths of a millimetre, the chooser speaks in points (a point is 254/72 tenths).
std::optional<FontChoice> QtUiServices::chooseFont(const FontChoice& current) {
    constexpr double tenthsPerPoint = 254.0 / 72.0;
    const QString shownFace = SubstituteTextFace(current.face);
    QFont font(shownFace);
    font.setPointSizeF(std::max(current.height, 1) / tenthsPerPoint);
    font.setBold(current.bold);
    font.setItalic(current.italic);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, parent(), "Police");
    if (!ok) return std::nullopt;
    FontChoice choice;
    // The face the document names stays when the user kept the free face that stands in for it.
    choice.face = chosen.family() == shownFace ? current.face : chosen.family().toStdString();
    const double points = chosen.pointSizeF() > 0 ? chosen.pointSizeF() : font.pointSizeF();
    choice.height = std::clamp(static_cast<int>(points * tenthsPerPoint + 0.5), 1, 255);
    choice.bold = chosen.weight() > QFont::Normal;
    choice.italic = chosen.italic();
    return choice;
}

std::optional<int> QtUiServices::popupValueMenu() {
    QWidget* client = pageClient_ ? pageClient_.data() : parent();
    if (!client) return std::nullopt;
    return ChooseFromDurationMenu(client);
}

bool QtUiServices::runStaffLayoutDialog(DialogModel& model, StaffLayoutEditor& editor) {
    StaffLayoutDialog dialog(model, editor, parent());
    return dialog.run();
}

bool QtUiServices::runRulerDialog(DialogModel& model, StaffRuler& ruler) {
    DialogForm form(model, ruler, parent());
    return form.run();
}

void QtUiServices::repaint() {
    if (invalidated) invalidated();
}

void QtUiServices::closeWindow() {
    if (closeRequested) closeRequested();
}

void QtUiServices::showAbout() {
    QMessageBox::about(parent(), "A propos de Notavera",
                       "<p><b>Notavera v.6.5d</b></p><p>Éditeur de partitions : la musique écrite directement sur "
                       "les pages imprimées.</p>");
}

bool QtUiServices::showHelp(const std::string& path) { return ShowHelp(Qs(path), window_.data()); }

bool QtUiServices::setTimer(int id, int periodMs) {
    std::unique_ptr<QTimer>& timer = timers_[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, [this, id] {
            if (timerTicked) timerTicked(id);
        });
    }
    timer->start(periodMs);
    return timer->isActive();
}

void QtUiServices::killTimer(int id) {
    if (const auto it = timers_.find(id); it != timers_.end()) it->second->stop();
}

void QtUiServices::beginMouseCapture() {
    if (pageClient_) pageClient_->setCursor(Qt::SizeAllCursor);
}

void QtUiServices::endMouseMode() {
    if (pageClient_) pageClient_->unsetCursor();
}

PrintDialogResult QtUiServices::printDialog(const PrintDialogRequest& request) {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // The printer chosen in an earlier run, while it is still installed.
        if (const QString name = StoredPrinterName(); !name.isEmpty()) printer_->setPrinterName(name);
    }
    printer_->setPageLayout(SheetLayout(request.sheet));
    printer_->setCopyCount(1);
    QPrintDialog dialog(printer_.get(), parent());
    dialog.setOptions(QAbstractPrintDialog::PrintSelection | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintToFile);
    dialog.setMinMax(1, request.pageCount);
    dialog.setFromTo(request.currentPage, request.currentPage);
    dialog.setPrintRange(QAbstractPrintDialog::Selection);
    if (dialog.exec() != QDialog::Accepted) return {};
    if (printer_->outputFormat() == QPrinter::NativeFormat) StorePrinterName(printer_->printerName());
    PrintChoice choice;
    switch (dialog.printRange()) {
        case QAbstractPrintDialog::AllPages: choice.range = PrintRange::All; break;
        case QAbstractPrintDialog::PageRange:
            choice.range = PrintRange::Pages;
            choice.from = dialog.fromPage();
            choice.to = dialog.toPage();
            break;
        case QAbstractPrintDialog::Selection:
        case QAbstractPrintDialog::CurrentPage: choice.range = PrintRange::Selection; break;
    }
    // The pass draws each copy itself, so the printer is asked for one.
    choice.copies = std::max(1, printer_->copyCount());
    printer_->setCopyCount(1);
    return {choice, false};
}

std::unique_ptr<PrintJob> QtUiServices::startPrintJob(const std::string& title) {
    if (!printer_) return nullptr;
    auto job = std::make_unique<QtPrintJob>(*printer_, window_, title);
    if (!job->started()) return nullptr;
    return job;
}

void QtUiServices::storeRecentFiles(const std::vector<std::string>& recent) { StoreRecentFiles(recent); }

bool QtUiServices::writeXmlFile(const std::string& path, const XmlDocumentType& type, const XmlElement& root) {
    return WriteXmlFile(path, type, root);
}

std::unique_ptr<PrintJob> QtUiServices::startPdfFile(const std::string& path, const std::string& title) {
    auto file = std::make_unique<PdfPages>(path, title);
    if (!file->opened()) return nullptr;
    return file;
}

}  // namespace notavera
