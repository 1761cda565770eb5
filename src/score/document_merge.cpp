// Merging: the other file is read whole and checked (version, page table, every page) before the working file
// is touched, so that a refusal leaves the document exactly as it was.
#include "score/document_merge.h"

#include <array>
#include <cerrno>
#include <system_error>
#include <vector>

#include "platform/messages.h"
#include "score/binary_file.h"
#include "score/mus_file.h"
#include "score/mus_file_blocks.h"
#include "score/mus_page_codec.h"

namespace notavera {

namespace {

constexpr int msgCannotWrite = 2;  // "Impossible d'écrire le fichier %s"
constexpr int msgReadOnly = 5;     // "Fichier en lecture seulement"
constexpr int msgCannotRead = 4;   // "Impossible de lire le fichier %s !"
constexpr int msgVersion = 7;      // "Version de fichiers incompatibles."
constexpr int msgDiskError = 1;    // "Erreur Disque: Fichier non écrit"

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
    if (!file) return error == EIO ? refuse(ui, msgReadOnly) : refuse(ui, msgCannotWrite, &name);
    FileHeader header;
    if (!readAt(*file, 0, std::span(header.bytes).first(FileHeader::partASize)))
        return refuse(ui, msgCannotRead, &name);
    // The page reader also accepts 2.1; records of another minor version are not copied byte for byte.
    if (header.majorVersion() != 2 || header.minorVersion() != 2) return refuse(ui, msgVersion);
    std::array<std::uint8_t, pageTableBytes> tableBytes{};
    const int count = header.pageCount();
    if (!readAt(*file, pageTableOffset, tableBytes) || count < 1 || count > maxPages ||
        le::u32(tableBytes, 8 * static_cast<std::size_t>(count - 1)) == 0 ||
        !readAt(*file, fontBlockOffset, other.fonts.bytes))
        return refuse(ui, msgCannotRead, &name);
    const std::uint64_t size = file->size();
    for (int n = 1; n <= count; ++n) {
        const std::uint32_t length = le::u32(tableBytes, 8 * static_cast<std::size_t>(n - 1));
        const std::uint32_t offset = le::u32(tableBytes, 8 * static_cast<std::size_t>(n - 1) + 4);
        std::vector<std::uint8_t> bytes(length);
        if (std::uint64_t{offset} + length > size || !readAt(*file, offset, bytes))
            return refuse(ui, msgCannotRead, &name);
        auto decoded = DecodePage(bytes, static_cast<std::uint32_t>(n));
        if (!decoded || decoded->cutStaff != 0) return refuse(ui, msgCannotRead, &name);
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
    ShowError(ui, msgSaveFirst, &title);
    return false;
}

int MergeDocument(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& other) {
    if (!MergeAllowed(doc, ui)) return msgSaveFirst;
    if (samePath(other, doc.storage.path)) return refuse(ui, msgMergeWithItself);
    OtherFile read;
    if (const int refused = readOther(ui, other, read)) return refused;
    if (doc.pageCount + static_cast<int>(read.pages.size()) > maxPages) return refuse(ui, msgTooManyPages);
    BinaryFile* working = doc.storage.working.get();
    if (!working) return refuse(ui, msgDiskError);

    doc.markModified();
    const auto fontMap = mergeFonts(doc.fonts, read.fonts);
    std::uint32_t endOfData = std::max(doc.header.endOfData(), firstPageOffset);
    for (PageRecord& page : read.pages) {
        const int number = doc.pageCount + 1;
        page.number = static_cast<std::uint32_t>(number);
        renameFonts(page, fontMap);
        const std::vector<std::uint8_t> bytes = EncodePage(page);
        if (!working->seek(endOfData) || !working->write(bytes)) return refuse(ui, msgDiskError);
        doc.storage.pageTable[static_cast<std::size_t>(number - 1)] = {static_cast<std::uint32_t>(bytes.size()),
                                                                        endOfData};
        endOfData += static_cast<std::uint32_t>(bytes.size());
        doc.pageCount = number;
        doc.header.setEndOfData(endOfData);
    }
    if (!working->write(pageSeparator) || !WriteHeader(doc, ui) || !WriteFontBlock(doc, ui))
        return refuse(ui, msgDiskError);
    return 0;
}

}  // namespace notavera
