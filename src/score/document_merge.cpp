// Merging: the other file is read whole and checked (version, page table, every page) before the working file
// is touched, so that a refusal leaves the document exactly as it was.
#include "score/document_merge.h"

#include <array>
#include <cerrno>
#include <system_error>
#include <vector>

#include "platform/message_ids.h"
#include "platform/messages.h"
#include "score/binary_file.h"
#include "score/mus_file.h"
#include "score/mus_file_blocks.h"
#include "score/mus_page_codec.h"

namespace notavera {

namespace {

struct OtherFile {
    FontBlock fonts;
    std::vector<PageRecord> pages;
};

int refuse(UiServices& ui, int id, const std::string* text = nullptr) {
    ShowError(ui, id, text);
    return id;
}

bool readAt(BinaryFile& file, std::uint64_t offset, std::span<std::uint8_t> out) {
    return file.seek(offset) && file.read(out);
}

// Reads the other document's fonts and pages, each page checked as the page reader would; 0 or the message.
int readOther(UiServices& ui, const std::filesystem::path& path, OtherFile& other) {
    const std::string name = path.string();
    int error = 0;
    auto file = BinaryFile::open(path, "rb", &error);
    if (!file) return error == EIO ? refuse(ui, msg::readOnly) : refuse(ui, msg::cannotWrite, &name);
    FileHeader header;
    if (!readAt(*file, 0, std::span(header.bytes).first(FileHeader::partASize)))
        return refuse(ui, msg::cannotRead, &name);
    // The page reader also accepts 2.1; records of another minor version are not copied byte for byte.
    if (header.majorVersion() != 2 || header.minorVersion() != 2) return refuse(ui, msg::version);
    std::array<std::uint8_t, pageTableBytes> tableBytes{};
    const int count = header.pageCount();
    if (!readAt(*file, pageTableOffset, tableBytes) || count < 1 || count > maxPages ||
        le::u32(tableBytes, 8 * static_cast<std::size_t>(count - 1)) == 0 ||
        !readAt(*file, fontBlockOffset, other.fonts.bytes))
        return refuse(ui, msg::cannotRead, &name);
    const std::uint64_t size = file->size();
    for (int n = 1; n <= count; ++n) {
        const std::uint32_t length = le::u32(tableBytes, 8 * static_cast<std::size_t>(n - 1));
        const std::uint32_t offset = le::u32(tableBytes, 8 * static_cast<std::size_t>(n - 1) + 4);
        std::vector<std::uint8_t> bytes(length);
        if (std::uint64_t{offset} + length > size || !readAt(*file, offset, bytes))
            return refuse(ui, msg::cannotRead, &name);
        auto decoded = DecodePage(bytes, static_cast<std::uint32_t>(n));
        if (!decoded || decoded->cutStaff != 0) return refuse(ui, msg::cannotRead, &name);
        other.pages.push_back(std::move(decoded->page));
    }
    return 0;
}

// Where each of the other file's fonts lands in the document's table: found by name, else added in the first free
// entry; when the table is full a font keeps its own index.
std::array<unsigned, FontBlock::entryCount> mergeFonts(FontBlock& fonts, const FontBlock& other) {
    std::array<unsigned, FontBlock::entryCount> map{};
    for (int i = 0; i < static_cast<int>(FontBlock::entryCount); ++i) {
        map[static_cast<std::size_t>(i)] = static_cast<unsigned>(i);
        if (other.isFree(i)) continue;
        if (const auto index = fonts.addFont(other.faceName(i), other.charSet(i)))
            map[static_cast<std::size_t>(i)] = static_cast<unsigned>(*index);
    }
    return map;
}

void renameFonts(PageRecord& page, const std::array<unsigned, FontBlock::entryCount>& map) {
    for (StaffRecord& staff : page.staves)
        for (ElementRecord& e : staff.elements)
            if (e.isSignOfType(SignType::Text) && e.signWord().textFontIndex() < map.size())
                e.signWord().setHigh7(map[e.signWord().textFontIndex()]);
}

bool samePath(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec)) return true;
    return std::filesystem::weakly_canonical(a, ec) == std::filesystem::weakly_canonical(b, ec);
}

}  // namespace

bool MergeAllowed(const ScoreDocument& doc, UiServices& ui) {
    if (!doc.storage.path.empty() && !doc.modified) return true;
    const std::string title = doc.title();
    ShowError(ui, msg::saveFirst, &title);
    return false;
}

int MergeDocument(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& other) {
    if (!MergeAllowed(doc, ui)) return msg::saveFirst;
    if (samePath(other, doc.storage.path)) return refuse(ui, msg::mergeWithItself);
    OtherFile read;
    if (const int refused = readOther(ui, other, read)) return refused;
    if (doc.pageCount + static_cast<int>(read.pages.size()) > maxPages) return refuse(ui, msg::tooManyPages);
    BinaryFile* working = doc.storage.working.get();
    if (!working) return refuse(ui, msg::diskError);

    doc.markModified();
    const auto fontMap = mergeFonts(doc.fonts, read.fonts);
    std::uint32_t endOfData = std::max(doc.header.endOfData(), firstPageOffset);
    for (PageRecord& page : read.pages) {
        const int number = doc.pageCount + 1;
        page.number = static_cast<std::uint32_t>(number);
        renameFonts(page, fontMap);
        const std::vector<std::uint8_t> bytes = EncodePage(page);
        if (!working->seek(endOfData) || !working->write(bytes)) return refuse(ui, msg::diskError);
        doc.storage.pageTable[static_cast<std::size_t>(number - 1)] = {static_cast<std::uint32_t>(bytes.size()),
                                                                        endOfData};
        endOfData += static_cast<std::uint32_t>(bytes.size());
        doc.pageCount = number;
        doc.header.setEndOfData(endOfData);
    }
    if (!working->write(pageSeparator) || !WriteHeader(doc, ui) || !WriteFontBlock(doc, ui))
        return refuse(ui, msg::diskError);
    return 0;
}

}  // namespace notavera
