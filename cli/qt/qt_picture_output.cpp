// PNG, SVG and PDF pictures drawn by the Qt canvas, with an application object that needs no display.
#include "qt_picture_output.h"

#include <QGuiApplication>
#include <memory>

#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_page_devices.h"
#include "platform/qt/qt_picture_files.h"

namespace notavera::cli {
namespace {

// Fonts and painting need an application object; a batch tool has no screen, so the offscreen platform serves
// unless the user chose another.
class GuiSession {
public:
    GuiSession() {
        if (QGuiApplication::instance() != nullptr) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }

private:
    int argc_ = 1;
    char name_[13] = "notavera-cli";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

}  // namespace

bool WriteQtPicture(QtPictureFormat format, const std::filesystem::path& path, Box area, double dpi,
                    const std::function<void(Canvas&)>& draw) {
    const GuiSession session;
    switch (format) {
    case QtPictureFormat::Png: return WritePngFile(path, RenderImage(area, dpi, draw));
    case QtPictureFormat::Svg: return WriteSvgFile(path, area, draw);
    case QtPictureFormat::Pdf: return WritePdfFile(path, area, draw);
    }
    return false;
}

bool WritePdfPages(const std::filesystem::path& path, const std::string& title, const DrawPages& drawPages) {
    const GuiSession session;
    PdfPages pages(path, title);
    if (!pages.opened()) return false;
    const bool drawn = drawPages(pages) == PageRangeResult::Done;
    return pages.finish(!drawn) && drawn;
}

bool WriteSvgPages(const std::filesystem::path& folder, std::string& failed, const DrawPages& drawPages) {
    const GuiSession session;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    SvgPages pages(folder);
    if (error || drawPages(pages) != PageRangeResult::Done) {
        failed = (error || pages.lastFile().empty() ? folder : pages.lastFile()).string();
        return false;
    }
    return true;
}

std::unique_ptr<PrintJob> OpenPdfJob(const std::string& path, const std::string& title) {
    static const GuiSession session;  // the job outlives this call
    auto file = std::make_unique<PdfPages>(path, title);
    if (!file->opened()) return nullptr;
    return file;
}

std::optional<std::vector<std::uint8_t>> QtClipboardForm(const std::string& mime, const ClipboardPicture& picture) {
    const GuiSession session;
    return QtPictureForm(mime, picture);
}

std::optional<std::vector<std::uint8_t>> QtPictureMetafile(const std::string& mime, std::span<const std::uint8_t> bytes,
                                                           std::size_t maxBytes) {
    const GuiSession session;
    return PictureMetafile(mime, bytes, maxBytes);
}

}  // namespace notavera::cli
