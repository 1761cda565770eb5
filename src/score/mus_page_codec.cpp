// Encoding and bounded decoding of stored page records.
#include "score/mus_page_codec.h"

#include <algorithm>

#include "score/byte_cursor.h"
#include "score/mus_file.h"

namespace notavera {

namespace {

constexpr std::size_t staffHeadSize = 16;
constexpr std::size_t elementHeadSize = 17;
constexpr std::size_t blobHeadSize = 4;

bool readElement(ByteCursor& in, ElementRecord& e) {
    std::span<const std::uint8_t> b;
    if (!in.take(elementHeadSize, b)) return false;
    e.word0 = le::u32(b, 0);
    e.word1 = le::u32(b, 4);
    e.shift = static_cast<std::int8_t>(b[8]);
    e.x = static_cast<std::int32_t>(le::u32(b, 9));
    e.typeWord = le::u32(b, 13);
    if (e.isSign()) {
        std::uint32_t param = 0;
        if (!in.u32(param)) return false;
        e.param = static_cast<std::int32_t>(param);
    }
    if (e.hasBlob()) {
        // The blob's first u16 is its whole length, head included: less than the head is not a blob.
        std::uint16_t length = 0;
        if (!in.peekU16(length) || length < blobHeadSize || !in.take(length, b)) return false;
        e.blob = ElementBlob::fromStored(std::vector<std::uint8_t>(b.begin(), b.end()));
    }
    return true;
}

// Reads the staff's elements; false when the list ends before its count (the staff is then left empty).
bool readElements(ByteCursor& in, std::uint32_t count, std::vector<ElementRecord>& elements) {
    // The count comes from the file: reserve only what the remaining bytes could hold.
    elements.reserve(std::min<std::size_t>(count, in.remaining() / elementHeadSize));
    for (std::uint32_t i = 0; i < count; ++i) {
        ElementRecord e;
        if (!readElement(in, e)) {
            elements.clear();
            return false;
        }
        elements.push_back(std::move(e));
    }
    return true;
}

StaffRecord emptyStaff(int index) {
    StaffRecord s;
    s.key().setIndex(static_cast<unsigned>(index));
    return s;
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void appendElement(const ElementRecord& e, std::vector<std::uint8_t>& out) {
    // A blob flag without a blob would make the reader take the next element for a blob.
    std::uint32_t word0 = e.word0;
    const bool withBlob = e.hasBlob() && !e.blob.empty();
    if (!withBlob) ElementWord0View<std::uint32_t>(word0).setHasBlob(false);
    putU32(out, word0);
    putU32(out, e.word1);
    out.push_back(static_cast<std::uint8_t>(e.shift));
    putU32(out, static_cast<std::uint32_t>(e.x));
    putU32(out, e.typeWord);
    if (e.isSign()) putU32(out, static_cast<std::uint32_t>(e.param));
    if (withBlob) out.insert(out.end(), e.blob.stored().begin(), e.blob.stored().end());
}

}  // namespace

std::optional<DecodedPage> DecodePage(std::span<const std::uint8_t> bytes, std::uint32_t number) {
    ByteCursor in(bytes);
    std::span<const std::uint8_t> head;
    if (!in.take(pageRecordHeadSize, head)) return std::nullopt;
    DecodedPage d;
    PageRecord& p = d.page;
    p.number = le::u32(head, 7);
    p.layout = le::u32(head, 11);
    p.indent = le::u32(head, 15);
    p.extra = le::u32(head, 19);
    p.lineLength = le::u32(head, 23);
    const unsigned staffCount = p.layoutWord().staffCount();
    if (p.number != number || staffCount > static_cast<unsigned>(maxStavesPerPage)) return std::nullopt;

    p.staves.reserve(staffCount);
    for (unsigned i = 0; i < staffCount; ++i) {
        const int index = static_cast<int>(i);
        std::span<const std::uint8_t> b;
        if (d.cutStaff != 0 || !in.take(staffHeadSize, b)) {
            if (d.cutStaff == 0) d.cutStaff = index + 1;
            p.staves.push_back(emptyStaff(index));
            continue;
        }
        StaffRecord s;
        const std::uint32_t elementCount = le::u32(b, 0);
        s.voiceWord = le::u32(b, 4);
        s.keyWord = le::u32(b, 8);
        s.lineWord = le::u32(b, 12);
        s.key().setIndex(i);
        if (!readElements(in, elementCount, s.elements)) d.cutStaff = index + 1;
        p.staves.push_back(std::move(s));
    }
    d.used = in.position();
    return d;
}

void AppendEncodedPage(const PageRecord& page, std::vector<std::uint8_t>& out) {
    out.reserve(out.size() + page.storedLength());
    out.insert(out.end(), std::begin(pageSeparator), std::end(pageSeparator));
    std::uint32_t layout = page.layout;
    PageLayoutView<std::uint32_t>(layout).setStaffCount(static_cast<unsigned>(page.staves.size()));
    putU32(out, page.number);
    putU32(out, layout);
    putU32(out, page.indent);
    putU32(out, page.extra);
    putU32(out, page.lineLength);
    for (const StaffRecord& s : page.staves) {
        putU32(out, s.elementCount());
        putU32(out, s.voiceWord);
        putU32(out, s.keyWord);
        putU32(out, s.lineWord);
        for (const ElementRecord& e : s.elements) appendElement(e, out);
    }
}

std::vector<std::uint8_t> EncodePage(const PageRecord& page) {
    std::vector<std::uint8_t> out;
    AppendEncodedPage(page, out);
    return out;
}

}  // namespace notavera
