// Field-by-field encoding and bounded decoding of the ".wnv" interchange form.
#include "score/wnv_codec.h"

#include <algorithm>
#include <cstring>

#include "score/byte_cursor.h"
#include "score/mus_file.h"
#include "score/optional_blocks_codec.h"

namespace notavera {

namespace {

constexpr std::uint8_t signature[9] = {'N', 'o', 't', 'a', 'v', 'e', 'r', 'a', 0};
constexpr std::size_t textBlockKept = 100;  // a header or footer text travels cut to its first 100 bytes

// One bit field of a stored word and the bytes it takes in the interchange file.
struct Field {
    std::uint8_t low;
    std::uint8_t width;
    std::uint8_t bytes;
};

constexpr Field layoutFields[] = {{0, 10, 2}, {10, 1, 1}, {11, 1, 1}, {12, 4, 1}, {16, 8, 1}};
constexpr Field voiceFields[] = {{0, 8, 2}, {8, 8, 2}, {16, 8, 2}, {24, 8, 2}};
constexpr Field keyFields[] = {{0, 8, 2},  {8, 2, 1},  {10, 3, 1}, {13, 1, 1}, {14, 1, 1}, {15, 1, 1},
                               {16, 10, 2}, {26, 2, 1}, {28, 2, 1}, {30, 1, 1}, {31, 1, 1}};
constexpr Field lineFields[] = {{0, 1, 1}, {1, 4, 1}, {5, 1, 1}, {6, 1, 1}, {7, 9, 2}};
constexpr Field word0Fields[] = {{0, 1, 1},  {1, 1, 1},  {2, 1, 1},  {3, 1, 1},  {4, 1, 1},  {5, 1, 1},  {6, 1, 1},
                                 {7, 1, 1},  {8, 3, 1},  {11, 1, 1}, {12, 2, 1}, {14, 2, 1}, {16, 1, 1}, {17, 1, 1},
                                 {18, 1, 1}, {19, 1, 1}, {20, 1, 1}, {21, 2, 1}, {23, 1, 1}, {24, 2, 1}, {26, 6, 1}};
constexpr Field word1Fields[] = {{0, 5, 1}, {5, 3, 1}, {8, 8, 2}, {16, 8, 2}};
constexpr Field signFields[] = {{0, 4, 1},  {4, 3, 1},  {7, 2, 1},  {9, 2, 1}, {11, 3, 1},
                                {14, 2, 1}, {16, 1, 1}, {17, 8, 2}, {25, 7, 2}};
constexpr Field noteFields[] = {{0, 1, 1},  {1, 4, 1},  {5, 1, 1},  {6, 2, 1},  {8, 1, 1},  {9, 3, 1},  {12, 1, 1},
                                {13, 1, 1}, {14, 1, 1}, {15, 1, 1}, {16, 1, 1}, {17, 1, 1}, {18, 1, 1}, {19, 1, 1},
                                {20, 1, 1}, {21, 1, 1}, {22, 4, 1}, {26, 3, 1}, {29, 3, 1}};

constexpr std::uint32_t mask(unsigned width) { return width >= 32 ? ~0u : (1u << width) - 1; }
constexpr std::uint32_t low24 = mask(24);

void putInt(std::vector<std::uint8_t>& out, std::uint32_t v, unsigned bytes) {
    for (unsigned i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void putFields(std::vector<std::uint8_t>& out, std::uint32_t word, std::span<const Field> fields) {
    for (const Field& f : fields) putInt(out, (word >> f.low) & mask(f.width), f.bytes);
}

void putBytes(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// Reads little-endian integers of any width up to 4 from a bounded cursor; once a read has failed every later
// read fails too, so a decoder can read a whole record and check once.
class FieldReader {
public:
    explicit FieldReader(ByteCursor& in) : in_(in) {}
    bool ok() const { return ok_; }

    std::uint32_t integer(unsigned bytes) {
        std::span<const std::uint8_t> b;
        if (!ok_ || !in_.take(bytes, b)) {
            ok_ = false;
            return 0;
        }
        std::uint32_t v = 0;
        for (unsigned i = 0; i < bytes; ++i) v |= static_cast<std::uint32_t>(b[i]) << (8 * i);
        return v;
    }
    // A value wider than its field is cut to the field, so that it can never spill into the next one.
    std::uint32_t fields(std::span<const Field> fields) {
        std::uint32_t word = 0;
        for (const Field& f : fields) word |= (integer(f.bytes) & mask(f.width)) << f.low;
        return word;
    }
    void copy(std::span<std::uint8_t> to) {
        std::span<const std::uint8_t> b;
        if (!ok_ || !in_.take(to.size(), b)) {
            ok_ = false;
            return;
        }
        std::copy(b.begin(), b.end(), to.begin());
    }
    void skip(std::size_t n) {
        std::span<const std::uint8_t> b;
        if (!ok_ || !in_.take(n, b)) ok_ = false;
    }
    ByteCursor& cursor() { return in_; }

private:
    ByteCursor& in_;
    bool ok_ = true;
};

void appendElement(const ElementRecord& e, std::vector<std::uint8_t>& out) {
    // A blob flag without a blob would make the reader take the next element for a blob.
    std::uint32_t word0 = e.word0;
    const bool withBlob = e.hasBlob() && !e.blob.empty();
    if (!withBlob) ElementWord0View<std::uint32_t>(word0).setHasBlob(false);
    putFields(out, word0, word0Fields);
    putFields(out, e.word1, word1Fields);
    putInt(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(e.shift)), 2);
    putInt(out, static_cast<std::uint32_t>(e.x), 4);
    if (e.isSign()) {
        putFields(out, e.typeWord, signFields);
        putInt(out, static_cast<std::uint32_t>(e.param), 4);
    } else {
        putFields(out, e.typeWord, noteFields);
    }
    if (withBlob) putBytes(out, e.blob.stored());
}

bool readElement(FieldReader& in, ElementRecord& e) {
    e.word0 = in.fields(word0Fields);
    e.word1 = in.fields(word1Fields);
    e.shift = static_cast<std::int8_t>(static_cast<std::int16_t>(in.integer(2)));
    e.x = static_cast<std::int32_t>(in.integer(4));
    if (e.isSign()) {
        e.typeWord = in.fields(signFields);
        e.param = static_cast<std::int32_t>(in.integer(4));
    } else {
        e.typeWord = in.fields(noteFields);
    }
    if (!in.ok()) return false;
    if (!e.hasBlob()) return true;
    // The blob's first u16 is its whole length, head included: less than the head is not a blob.
    std::uint16_t length = 0;
    std::span<const std::uint8_t> b;
    if (!in.cursor().peekU16(length) || length < 4 || !in.cursor().take(length, b)) return false;
    e.blob = ElementBlob::fromStored(std::vector<std::uint8_t>(b.begin(), b.end()));
    return true;
}

bool readStaff(FieldReader& in, StaffRecord& s) {
    const std::uint32_t count = in.integer(4);
    s.voiceWord = in.fields(voiceFields);
    s.keyWord = in.fields(keyFields);
    s.lineWord = in.fields(lineFields);
    if (!in.ok()) return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        ElementRecord e;
        if (!readElement(in, e)) return false;
        s.elements.push_back(std::move(e));
    }
    return true;
}

bool expectSeparator(FieldReader& in) {
    std::array<std::uint8_t, sizeof pageSeparator> b{};
    in.copy(b);
    return in.ok() && std::equal(b.begin(), b.end(), std::begin(pageSeparator));
}

// A page as item 4 of the file carries it; a page of more than 127 staves cannot be read.
bool readPage(FieldReader& in, PageRecord& p) {
    if (!expectSeparator(in)) return false;
    p.number = in.integer(4);
    p.layout = in.fields(layoutFields);
    p.indent = in.integer(4) & low24;
    p.extra = in.integer(4) & low24;
    p.lineLength = in.integer(4) & low24;
    const unsigned staffCount = p.layoutWord().staffCount();
    if (!in.ok() || staffCount > static_cast<unsigned>(maxStavesPerPage)) return false;
    p.staves.resize(staffCount);
    for (unsigned i = 0; i < staffCount; ++i) {
        if (!readStaff(in, p.staves[i])) return false;
        p.staves[i].key().setIndex(i);
    }
    return true;
}

void appendTextBlock(const std::optional<std::array<std::uint8_t, 206>>& block, std::vector<std::uint8_t>& out) {
    putBytes(out, std::span(*block).first(textBlockKept));
    putBytes(out, std::span(*block).subspan(200, 6));
}

void readTextBlock(FieldReader& in, std::optional<std::array<std::uint8_t, 206>>& block) {
    block.emplace();
    block->fill(0);
    in.copy(std::span(*block).first(textBlockKept));
    in.copy(std::span(*block).subspan(200, 6));
}

bool readMask(FieldReader& in, std::unique_ptr<PageRecord>& mask) {
    auto page = std::make_unique<PageRecord>();
    if (!readPage(in, *page)) return false;
    page->number = 0;
    mask = std::move(page);
    return true;
}

bool readNotes(FieldReader& in, std::optional<std::string>& notes) {
    const std::uint32_t length = in.integer(2);
    if (!in.ok() || length == 0 || length > maxNotesLength) return false;
    std::string text(length, '\0');
    in.copy(std::span(reinterpret_cast<std::uint8_t*>(text.data()), text.size()));
    text.resize(std::strlen(text.c_str()));
    notes = std::move(text);
    return in.ok();
}

bool readBlocks(FieldReader& in, std::uint8_t flags, OptionalBlocks& o) {
    if (flags & block_flag::pagination) {
        o.pagination.emplace();
        const auto first = static_cast<std::int16_t>(in.integer(2));
        le::putU32(*o.pagination, 0, static_cast<std::uint32_t>(static_cast<std::int32_t>(first)));
        in.copy(std::span(*o.pagination).subspan(4, 6));
    }
    if (flags & block_flag::pageHeader) readTextBlock(in, o.pageHeader);
    if (flags & block_flag::pageFooter) readTextBlock(in, o.pageFooter);
    if ((flags & block_flag::fixedMask) && !readMask(in, o.fixedMask)) return false;
    if ((flags & block_flag::variableMask) && !readMask(in, o.variableMask)) return false;
    if ((flags & block_flag::notes) && !readNotes(in, o.notes)) return false;
    return in.ok();
}

// Header offsets of the ".mus" form that the interchange writes field by field.
constexpr std::size_t titleAt = 4, endOfDataAt = 516, pageCountAt = 520, placeAt = 522, xAt = 524;
constexpr std::size_t formatAt = 528, partARestAt = 553, partCFlagsAt = FileHeader::partC + 11;

bool readHead(FieldReader& in, FileHeader& h) {
    std::array<std::uint8_t, sizeof signature> sig{};
    in.copy(sig);  // not compared: older exporters wrote other names
    const std::uint32_t major = in.integer(2);
    const std::uint32_t minor = in.integer(2);
    if (!in.ok() || major != 2) return false;
    h.setVersion(static_cast<std::uint16_t>(major), static_cast<std::uint16_t>(minor));
    in.copy(std::span(h.bytes).subspan(titleAt, FileHeader::titleCapacity));
    h.bytes[titleAt + FileHeader::titleCapacity - 1] = 0;
    h.setEndOfData(in.integer(4));
    h.setPageCount(static_cast<std::uint16_t>(in.integer(2)));
    h.currentPage() = static_cast<std::uint8_t>(std::min<std::uint32_t>(in.integer(2), 255));
    h.currentStaff() = static_cast<std::uint8_t>(std::min<std::uint32_t>(in.integer(2), 255));
    h.setCurrentX(static_cast<std::int32_t>(in.integer(4)));
    in.copy(std::span(h.bytes).subspan(formatAt, PageFormatBlock::size + 2));
    in.copy(std::span(h.bytes).subspan(FileHeader::partB, FileHeader::partBSize));
    in.copy(std::span(h.bytes).subspan(FileHeader::partC, 11));
    h.blockFlags() = static_cast<std::uint8_t>(in.integer(4));
    in.copy(std::span(h.bytes).subspan(FileHeader::partC + 12, FileHeader::partCSize - 12));
    return in.ok() && h.pageCount() <= maxPages;
}

}  // namespace

void AppendInterchangeHead(const FileHeader& header, const FontBlock& fonts, std::vector<std::uint8_t>& out) {
    const std::span<const std::uint8_t> h = header.bytes;
    putBytes(out, signature);
    putBytes(out, h.first(titleAt));  // the version words
    putBytes(out, h.subspan(titleAt, FileHeader::titleCapacity));
    putInt(out, le::u32(h, endOfDataAt), 4);
    putInt(out, le::u16(h, pageCountAt), 2);
    putInt(out, h[placeAt], 2);
    putInt(out, h[placeAt + 1], 2);
    putInt(out, le::u32(h, xAt), 4);
    // The page format, part B and part C are little-endian in the header already: copied as they are, but
    // for the block flags, which the interchange widens.
    putBytes(out, h.subspan(formatAt, PageFormatBlock::size));
    putBytes(out, h.subspan(partARestAt, 2));
    putBytes(out, h.subspan(FileHeader::partB, FileHeader::partBSize));
    putBytes(out, h.subspan(FileHeader::partC, 11));
    putInt(out, h[partCFlagsAt], 4);
    putBytes(out, h.subspan(FileHeader::partC + 12, FileHeader::partCSize - 12));
    putBytes(out, fonts.bytes);
}

void AppendInterchangePage(const PageRecord& page, std::vector<std::uint8_t>& out) {
    putBytes(out, pageSeparator);
    std::uint32_t layout = page.layout;
    PageLayoutView<std::uint32_t>(layout).setStaffCount(static_cast<unsigned>(page.staves.size()));
    putInt(out, page.number, 4);
    putFields(out, layout, layoutFields);
    putInt(out, page.indent & low24, 4);
    putInt(out, page.extra & low24, 4);
    putInt(out, page.lineLength & low24, 4);
    for (const StaffRecord& s : page.staves) {
        putInt(out, s.elementCount(), 4);
        putFields(out, s.voiceWord, voiceFields);
        putFields(out, s.keyWord, keyFields);
        putFields(out, s.lineWord, lineFields);
        for (const ElementRecord& e : s.elements) appendElement(e, out);
    }
}

void AppendInterchangeTail(const OptionalBlocks& blocks, std::uint8_t flags, std::vector<std::uint8_t>& out) {
    putBytes(out, pageSeparator);
    if ((flags & block_flag::pagination) && blocks.pagination) {
        putInt(out, le::u32(*blocks.pagination, 0), 2);
        putBytes(out, std::span(*blocks.pagination).subspan(4, 6));
    }
    if ((flags & block_flag::pageHeader) && blocks.pageHeader) appendTextBlock(blocks.pageHeader, out);
    if ((flags & block_flag::pageFooter) && blocks.pageFooter) appendTextBlock(blocks.pageFooter, out);
    for (const auto& [bit, mask] : {std::pair{block_flag::fixedMask, blocks.fixedMask.get()},
                                    std::pair{block_flag::variableMask, blocks.variableMask.get()}}) {
        if (!(flags & bit) || !mask) continue;
        const std::size_t start = out.size();
        AppendInterchangePage(*mask, out);
        le::putU32(out, start + sizeof pageSeparator, 0);  // a mask page always travels as page 0
    }
    if ((flags & block_flag::notes) && blocks.notes) {
        const std::size_t n = std::min(blocks.notes->size(), maxNotesLength - 1);
        putInt(out, static_cast<std::uint32_t>(n + 1), 2);
        out.insert(out.end(), blocks.notes->begin(), blocks.notes->begin() + static_cast<std::ptrdiff_t>(n));
        out.push_back(0);
    }
}

DecodedInterchange DecodeInterchange(std::span<const std::uint8_t> bytes) {
    DecodedInterchange d;
    InterchangeScore& s = d.score;
    ByteCursor cursor(bytes);
    FieldReader in(cursor);
    s.header.bytes.fill(0);
    if (!readHead(in, s.header)) {
        d.fault = InterchangeFault::Head;
        return d;
    }
    in.copy(s.fonts.bytes);
    if (!in.ok()) {
        d.fault = InterchangeFault::Head;
        return d;
    }
    s.pages.resize(s.header.pageCount());
    for (PageRecord& p : s.pages) {
        if (!readPage(in, p)) {
            d.fault = InterchangeFault::Page;
            return d;
        }
    }
    if (!expectSeparator(in) || !readBlocks(in, s.header.blockFlags(), s.blocks)) d.fault = InterchangeFault::Page;
    return d;
}

}  // namespace notavera
