// Devices that take whole pages one after the other: a printer job, a PDF file, one SVG file a page. The core's
// page-range pass draws onto them; printing adds the print dialog's choice and a job the user can cancel.
#pragma once

#include <optional>
#include <string>

#include "platform/canvas.h"

namespace notavera {

// Where one page lands, in page units: its sheet (the paper it is printed on) and what a picture of it shows (the
// sheet, with the crop marks around it when they are on).
struct PageSheet {
    int number = 0;
    Box sheet;
    Box area;
};

class PageCanvasFactory {
public:
    virtual ~PageCanvasFactory() = default;
    // A canvas for the page, its window origin already set; null when the device refuses the page.
    virtual Canvas* beginPage(const PageSheet& frame) = 0;
    // The page is complete; false when the device cannot take it.
    virtual bool endPage() = 0;
};

// What the print dialog opens with: the range preset to the current page, the sheet for the paper.
struct PrintDialogRequest {
    int currentPage = 1;
    int pageCount = 1;
    Box sheet;  // page units; the paper is preset to its size and orientation
};

enum class PrintRange { All, Selection, Pages };

struct PrintChoice {
    PrintRange range = PrintRange::Selection;
    int from = 1;
    int to = 1;
    int copies = 1;
};

// What the dialog ended with: a choice, or nothing when it was cancelled; `failed` when no printer could be
// offered or the dialog could not run.
struct PrintDialogResult {
    std::optional<PrintChoice> choice;
    bool failed = false;
};

// A started print job: its pages, and the progress box whose "Annuler" the user may press between pages.
class PrintJob : public PageCanvasFactory {
public:
    // Lets the window and the progress box handle what is pending, then tells whether "Annuler" was pressed.
    virtual bool cancelled() = 0;
    // The job ends: kept and sent to the printer, or thrown away when `abort` is set. False when sending failed.
    virtual bool finish(bool abort) = 0;
};

}  // namespace notavera
