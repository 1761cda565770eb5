// The score records: pages of staves, staves of elements, elements with their optional blob.
// Stored words keep their exact layout; the views of record_fields.h name their bits.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "score/record_fields.h"

namespace notavera {

inline constexpr int maxStavesPerPage = 127;
inline constexpr int maxPages = 255;

// The variable payload of an element, kept with its 4-byte head exactly as stored:
// u16 total length (payload + 4), u16 sign type of the owner, then the payload.
class ElementBlob {
public:
    ElementBlob() = default;
    static ElementBlob make(SignType owner, std::span<const std::uint8_t> payload);
    // Takes stored bytes whose first u16 is their whole length (checked by the reader).
    static ElementBlob fromStored(std::vector<std::uint8_t> bytes) { return ElementBlob(std::move(bytes)); }

    bool empty() const { return bytes_.empty(); }
    std::size_t length() const { return bytes_.size(); }
    std::uint16_t ownerType() const;
    std::span<const std::uint8_t> payload() const;
    std::span<const std::uint8_t> stored() const { return bytes_; }

    friend bool operator==(const ElementBlob&, const ElementBlob&) = default;

private:
    explicit ElementBlob(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    std::vector<std::uint8_t> bytes_;
};

struct ElementRecord {
    std::uint32_t word0 = 0;
    std::uint32_t word1 = 0;
    std::int8_t shift = 0;
    std::int32_t x = 0;
    std::uint32_t typeWord = 0;  // the noteWord of a note or rest, the signWord of a sign
    std::int32_t param = 0;      // stored for signs only
    ElementBlob blob;            // present when word0 bit 19 is set

    ElementWord0View<std::uint32_t> w0() { return ElementWord0View<std::uint32_t>(word0); }
    ElementWord0View<const std::uint32_t> w0() const { return ElementWord0View<const std::uint32_t>(word0); }
    ElementWord1View<std::uint32_t> w1() { return ElementWord1View<std::uint32_t>(word1); }
    ElementWord1View<const std::uint32_t> w1() const { return ElementWord1View<const std::uint32_t>(word1); }
    NoteWordView<std::uint32_t> noteWord() { return NoteWordView<std::uint32_t>(typeWord); }
    NoteWordView<const std::uint32_t> noteWord() const { return NoteWordView<const std::uint32_t>(typeWord); }
    SignWordView<std::uint32_t> signWord() { return SignWordView<std::uint32_t>(typeWord); }
    SignWordView<const std::uint32_t> signWord() const { return SignWordView<const std::uint32_t>(typeWord); }

    bool isSign() const { return w0().isSign(); }
    bool isNote() const { return !isSign() && !noteWord().rest(); }
    bool isRest() const { return !isSign() && noteWord().rest(); }
    bool isSignOfType(SignType t) const { return isSign() && signWord().signType() == t; }
    bool hasBlob() const { return w0().hasBlob(); }

    // Attaches (or replaces) the blob and sets hasBlob.
    void attachBlob(std::span<const std::uint8_t> payload);
    void detachBlob();

    // Bytes this element takes in a page record of the file.
    std::size_t storedSize() const { return 17 + (isSign() ? 4 : 0) + (hasBlob() ? blob.length() : 0); }

    friend bool operator==(const ElementRecord&, const ElementRecord&) = default;
};

struct StaffRecord {
    std::uint32_t voiceWord = 0;
    std::uint32_t keyWord = 0;
    std::uint32_t lineWord = 0;
    double y = 0.0;  // vertical position on the page, computed by layout; not stored
    std::vector<ElementRecord> elements;

    // The stored element count is always the list's own size: it is recounted at every save.
    std::uint32_t elementCount() const { return static_cast<std::uint32_t>(elements.size()); }

    StaffVoiceWordView<std::uint32_t> voice() { return StaffVoiceWordView<std::uint32_t>(voiceWord); }
    StaffVoiceWordView<const std::uint32_t> voice() const { return StaffVoiceWordView<const std::uint32_t>(voiceWord); }
    StaffKeyWordView<std::uint32_t> key() { return StaffKeyWordView<std::uint32_t>(keyWord); }
    StaffKeyWordView<const std::uint32_t> key() const { return StaffKeyWordView<const std::uint32_t>(keyWord); }
    StaffLineWordView<std::uint32_t> lines() { return StaffLineWordView<std::uint32_t>(lineWord); }
    StaffLineWordView<const std::uint32_t> lines() const { return StaffLineWordView<const std::uint32_t>(lineWord); }

    std::size_t storedSize() const;
};

struct PageRecord {
    std::uint32_t number = 0;
    std::uint32_t layout = 0;
    std::uint32_t indent = 0;      // low 24 bits
    std::uint32_t extra = 0;       // low 24 bits
    std::uint32_t lineLength = 0;  // low 24 bits
    std::vector<StaffRecord> staves;

    PageLayoutView<std::uint32_t> layoutWord() { return PageLayoutView<std::uint32_t>(layout); }
    PageLayoutView<const std::uint32_t> layoutWord() const { return PageLayoutView<const std::uint32_t>(layout); }

    // Length of the page in the file, separator included: 27 + Σ staves (16 + Σ elements).
    std::size_t storedLength() const;
};

}  // namespace notavera
