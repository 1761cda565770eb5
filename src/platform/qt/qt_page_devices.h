// Whole pages onto Qt devices: a PDF file of every page, one SVG file a page, and the printer job with its
// progress box.
#pragma once

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>
#include <QPdfWriter>
#include <QPointer>
#include <QProgressDialog>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/page_device.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/svg_canvas.h"

namespace notavera {

// The paper of a sheet (page units): its size in millimetres, turned when wider than tall, without margins.
QPageLayout SheetLayout(Box sheet);

// One PDF file, a page of the sheet's own size for every page, fonts embedded. The file appears only once
// finished: it is written beside its place and renamed over it.
class PdfPages final : public PrintJob {
public:
    PdfPages(const std::filesystem::path& path, const std::string& title);
    ~PdfPages() override;
    // False when the file cannot be made where it is asked.
    bool opened() const { return opened_; }
    Canvas* beginPage(const PageSheet& frame) override;
    bool endPage() override { return true; }
    bool cancelled() override { return false; }
    // Publishes the file (false when that fails), or throws it away.
    bool finish(bool abort) override;

private:
    QSaveFile file_;
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
    std::optional<QtCanvas> canvas_;
    bool opened_ = false;
    bool pages_ = false;
};

// One SVG file a page in a folder, named page-001.svg, page-002.svg… after the page number.
class SvgPages final : public PageCanvasFactory {
public:
    explicit SvgPages(std::filesystem::path folder) : folder_(std::move(folder)) {}
    Canvas* beginPage(const PageSheet& frame) override;
    bool endPage() override;
    // The file the last page went to, for the message when it could not be written.
    const std::filesystem::path& lastFile() const { return file_; }

    static std::filesystem::path FileOf(const std::filesystem::path& folder, int page);

private:
    std::filesystem::path folder_;
    std::filesystem::path file_;
    std::optional<SvgCanvas> canvas_;
};

// A job on a printer: the paper keeps the printer's size, the sheet lies at its top, centred across it.
// While it runs the progress box "Impression en cours..." offers "Annuler" and the parent window is disabled.
class QtPrintJob final : public PrintJob {
public:
    // `printer` must outlive the job; `parent` may be null (no window to disable, no box shown).
    QtPrintJob(QPrinter& printer, QWidget* parent, const std::string& title);
    ~QtPrintJob() override;
    bool started() const { return started_; }
    Canvas* beginPage(const PageSheet& frame) override;
    bool endPage() override;
    bool cancelled() override;
    bool finish(bool abort) override;
    // What "Annuler" does: no further page starts.
    void cancel() { cancelled_ = true; }
    // Called after each page is out, for those who watch the job (the progress box's count, tests).
    std::function<void(int page)> pageDone;

private:
    QPrinter& printer_;
    QPointer<QWidget> parent_;
    QPointer<QProgressDialog> box_;
    QPainter painter_;
    std::optional<QtCanvas> canvas_;
    bool started_ = false;
    bool pages_ = false;
    bool cancelled_ = false;
    bool finished_ = false;
    int page_ = 0;
};

}  // namespace notavera
