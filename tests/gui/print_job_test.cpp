// "Imprimer" onto Qt printers: a three-page score printed through QPrinter into a PDF file that poppler reads
// back, the ranges and copies of the dialog, cancelling between pages, a printer that refuses, and the cups-pdf
// printer where it is installed.
#include <gtest/gtest.h>

#include <QPrinter>
#include <QPrinterInfo>

#include "platform/headless/headless_ui.h"
#include "platform/qt/qt_page_devices.h"
#include "print/print_command.h"
#include "score/mus_file.h"
#include "score/new_document.h"
#include "score/work_files.h"
#include "shell/editor_context.h"
#include "support/page_fixtures.h"
#include "support/test_files.h"

namespace notavera {
namespace {

std::string Output(const std::string& command) { return test::CommandOutput(command + " 2>/dev/null"); }

// A user who answers the print dialog as told and prints on `printer`, cancelling after a given page.
class PrintingUi : public HeadlessUi {
public:
    explicit PrintingUi(QPrinter& printer) : HeadlessUi(nullptr), printer_(printer) {}
    PrintDialogResult dialog;
    int cancelAfter = 0;    // the page after which "Annuler" is pressed; 0 never
    bool refuse = false;    // the printer does not start
    std::vector<int> printed;

    PrintDialogResult printDialog(const PrintDialogRequest& request) override {
        preset = request;
        printer_.setPageLayout(SheetLayout(request.sheet));  // as Qt's dialog is preset
        return dialog;
    }
    std::unique_ptr<PrintJob> startPrintJob(const std::string& title) override {
        if (refuse) return nullptr;
        auto job = std::make_unique<QtPrintJob>(printer_, nullptr, title);
        QtPrintJob* raw = job.get();
        job->pageDone = [this, raw](int page) {
            printed.push_back(page);
            if (page == cancelAfter) raw->cancel();
        };
        return job;
    }
    PrintDialogRequest preset;

private:
    QPrinter& printer_;
};

struct PrintCase {
    PrintDialogResult dialog;
    int cancelAfter;
    bool refuse;
    int message;
    std::vector<int> printed;
};

class PrintJobTest : public ::testing::TestWithParam<PrintCase> {
protected:
    void SetUp() override {
        test::SaveNumberedDocument(document, 3);
    }
    test::TempDir dir;
    std::filesystem::path document = dir / "score.mus";
};

PrintChoice Choice(PrintRange range, int from, int to, int copies) { return {range, from, to, copies}; }

TEST_P(PrintJobTest, PrintsTheChosenPagesAndComesBackToTheCurrentPage) {
    const PrintCase& c = GetParam();
    QPrinter printer(QPrinter::HighResolution);
    const auto pdf = dir / "printed.pdf";
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    PrintingUi ui(printer);
    ui.dialog = c.dialog;
    ui.cancelAfter = c.cancelAfter;
    ui.refuse = c.refuse;
    EditorContext ctx(ui);
    ASSERT_EQ(InspectDocument(ctx.doc, ctx.ui, document), FileOk);
    ASSERT_EQ(MoveWindowTo(ctx.doc, ctx.ui, 2), FileOk);
    ctx.doc.currentStaff = 1;

    EXPECT_EQ(RunPrint(ctx), c.message);
    EXPECT_EQ(ui.preset.currentPage, 2);
    EXPECT_EQ(ui.preset.pageCount, 3);
    EXPECT_EQ(ui.printed, c.printed);
    EXPECT_EQ(ctx.doc.currentPage, 2);
    EXPECT_EQ(ctx.doc.currentStaff, 1);
    DeleteWorkFiles(ctx.doc);
    if (c.message != 0) return;
    const std::string info = Output("pdfinfo '" + pdf.string() + "'");
    if (info.empty()) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    EXPECT_NE(info.find("Pages:           " + std::to_string(c.printed.size()) + "\n"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    for (std::size_t i = 0; i < c.printed.size(); ++i) {
        const std::string at = std::to_string(i + 1);
        const std::string text = Output("pdftotext -f " + at + " -l " + at + " '" + pdf.string() + "' -");
        if (c.printed[i] >= 2) {
            EXPECT_NE(text.find(std::to_string(c.printed[i])), std::string::npos) << text;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintJobTest,
    ::testing::Values(PrintCase{{Choice(PrintRange::All, 0, 0, 1), false}, 0, false, 0, {1, 2, 3}},
                      PrintCase{{Choice(PrintRange::Selection, 1, 3, 1), false}, 0, false, 0, {2}},
                      PrintCase{{Choice(PrintRange::Pages, 2, 9, 2), false}, 0, false, 0, {2, 3, 2, 3}},
                      PrintCase{{Choice(PrintRange::All, 0, 0, 1), false}, 1, false, 40, {1}},
                      PrintCase{{std::nullopt, false}, 0, false, 40, {}},
                      PrintCase{{std::nullopt, true}, 0, false, 32, {}},
                      PrintCase{{Choice(PrintRange::All, 0, 0, 1), false}, 0, true, 32, {}}));

// Through the system's spooler onto the cups-pdf printer, where the machine has one.
TEST(CupsPrinting, PrintsThroughTheCupsPdfPrinter) {
    QPrinterInfo found;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        if (info.printerName().contains("PDF", Qt::CaseInsensitive)) found = info;
    if (found.isNull()) GTEST_SKIP() << "CUPS with the cups-pdf printer is not installed";
    test::TempDir dir;
    HeadlessUi plain(nullptr);
    EditorContext made(plain);
    SetUpNewDocument(made.doc, 1);
    made.doc.storage.path = dir / "cups.mus";
    ASSERT_TRUE(SavePages(made.doc, made.ui));
    DeleteWorkFiles(made.doc);
    QPrinter printer(found, QPrinter::HighResolution);
    PrintingUi ui(printer);
    ui.dialog = {Choice(PrintRange::All, 0, 0, 1), false};
    EditorContext ctx(ui);
    ASSERT_EQ(InspectDocument(ctx.doc, ctx.ui, dir / "cups.mus"), FileOk);
    EXPECT_EQ(RunPrint(ctx), 0);
    EXPECT_EQ(ui.printed, std::vector<int>{1});
    DeleteWorkFiles(ctx.doc);
}

}  // namespace
}  // namespace notavera
