// Whole pages onto Qt devices: a PDF file of every page, one SVG file a page, and the printer job with its
// progress box.
#include "platform/qt/qt_page_devices.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QWidget>
#include <cstdio>

namespace notavera {
namespace {

constexpr double kLogicalPerInch = 254.0;

int Width(Box b) { return std::abs(b.right - b.left); }
int Height(Box b) { return std::abs(b.top - b.bottom); }

QString FileName(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

// Turned when wider than tall, so that viewers and printers show it upright.
QPageLayout SheetLayout(Box area) {
    const double w = Width(area) / 10.0, h = Height(area) / 10.0;
    const QPageSize size(QSizeF(std::min(w, h), std::max(w, h)), QPageSize::Millimeter);
    return QPageLayout(size, w > h ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

PdfPages::PdfPages(const std::filesystem::path& path, const std::string& title) : file_(FileName(path)) {
    if (!file_.open(QIODevice::WriteOnly)) return;
    writer_ = std::make_unique<QPdfWriter>(&file_);
    writer_->setTitle(QString::fromStdString(title));
    writer_->setCreator(QStringLiteral("Notavera"));
    writer_->setResolution(1200);
    opened_ = true;
}

PdfPages::~PdfPages() {
    if (opened_) finish(true);
}

Canvas* PdfPages::beginPage(const PageSheet& frame) {
    if (!opened_ || Width(frame.area) < 1 || Height(frame.area) < 1) return nullptr;
    canvas_.reset();
    if (!writer_->setPageLayout(SheetLayout(frame.area))) return nullptr;
    if (!pages_) {
        if (!painter_.begin(writer_.get())) return nullptr;
        pages_ = true;
    } else if (!writer_->newPage()) {
        return nullptr;
    }
    canvas_.emplace(painter_, CanvasKind::Pdf);
    canvas_->setWindowOrigin(
        {std::min(frame.area.left, frame.area.right), std::min(frame.area.bottom, frame.area.top)});
    return &*canvas_;
}

bool PdfPages::finish(bool abort) {
    if (!opened_) return false;
    opened_ = false;
    canvas_.reset();
    const bool painted = !pages_ || painter_.end();
    writer_.reset();
    if (abort || !pages_ || !painted) {
        file_.cancelWriting();
        file_.commit();
        return false;
    }
    return file_.commit();
}

std::filesystem::path SvgPages::FileOf(const std::filesystem::path& folder, int page) {
    char name[32];
    std::snprintf(name, sizeof name, "page-%03d.svg", page);
    return folder / name;
}

Canvas* SvgPages::beginPage(const PageSheet& frame) {
    file_ = FileOf(folder_, frame.number);
    if (Width(frame.area) < 1 || Height(frame.area) < 1) return nullptr;
    canvas_.emplace(frame.area);
    return &*canvas_;
}

bool SvgPages::endPage() {
    if (!canvas_) return false;
    const std::string text = canvas_->svg();
    canvas_.reset();
    QSaveFile file(FileName(file_));
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QtPrintJob::QtPrintJob(QPrinter& printer, QWidget* parent, const std::string& title)
    : printer_(printer), parent_(parent) {
    printer_.setDocName(QString::fromStdString(title));
    printer_.setFullPage(true);  // the paper's own corner is the origin: the sheet is placed on it, not on margins
    if (!painter_.begin(&printer_)) return;
    started_ = true;
    if (parent_ == nullptr) return;
    parent_->setEnabled(false);
    box_ = new QProgressDialog(QStringLiteral("Annuler l'impression"), QStringLiteral("Annuler"), 0, 0, nullptr);
    box_->setWindowTitle(QStringLiteral("Impression en cours..."));
    box_->setWindowFlag(Qt::WindowCloseButtonHint, false);
    box_->setAttribute(Qt::WA_DeleteOnClose);
    box_->setMinimumDuration(0);
    QObject::connect(box_, &QProgressDialog::canceled, box_, [this] {
        cancel();
        if (parent_) parent_->setEnabled(true);
    });
    box_->show();
}

QtPrintJob::~QtPrintJob() {
    if (started_ && !finished_) finish(true);
}

// The sheet's top edge on the paper's, and the sheet centred across the paper, whatever their sizes.
Canvas* QtPrintJob::beginPage(const PageSheet& frame) {
    if (!started_ || finished_) return nullptr;
    canvas_.reset();
    if (pages_ && !printer_.newPage()) return nullptr;
    pages_ = true;
    page_ = frame.number;
    canvas_.emplace(painter_, CanvasKind::Printer);
    const double paperWidth = printer_.width() * kLogicalPerInch / printer_.logicalDpiX();
    const double paperHeight = printer_.height() * kLogicalPerInch / printer_.logicalDpiY();
    const int offset = static_cast<int>(std::lround((paperWidth - Width(frame.sheet)) / 2.0));
    const int top = std::max(frame.sheet.top, frame.sheet.bottom);
    canvas_->setWindowOrigin(
        {std::min(frame.sheet.left, frame.sheet.right) - offset, top - static_cast<int>(std::lround(paperHeight))});
    return &*canvas_;
}

bool QtPrintJob::endPage() {
    canvas_.reset();
    if (box_) box_->setLabelText(QStringLiteral("Annuler l'impression (page %1)").arg(page_));
    if (pageDone) pageDone(page_);
    return true;
}

bool QtPrintJob::cancelled() {
    QCoreApplication::processEvents();
    return cancelled_;
}

bool QtPrintJob::finish(bool abort) {
    if (!started_ || finished_) return false;
    finished_ = true;
    canvas_.reset();
    if (abort) printer_.abort();
    const bool ended = painter_.end();
    if (box_) box_->close();
    if (parent_) parent_->setEnabled(true);
    return !abort && ended;
}

}  // namespace notavera
