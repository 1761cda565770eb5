// Each event of the file as one line of text, with the formats the "Information" dialog has always shown.
#include "midi/midi_dump.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "midi/smf_reader.h"

namespace notavera {

namespace {

const std::string separator = std::string(64, '_') + "\n";

class DumpSink : public SmfEventSink {
public:
    explicit DumpSink(MidiDump& dump) : dump_(dump) {}

    void add(const std::string& line) {
        // The block the list reads is small: once it is nearly full, later lines are left out.
        if (dump_.text.size() + line.size() + 129 < midiDumpLimit) dump_.text += line;
    }
    void addf(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        char line[512];
        va_list args;
        va_start(args, format);
        std::vsnprintf(line, sizeof line, format, args);
        va_end(args);
        add(line);
    }

    void header(const SmfHeader& h) override {
        addf("FORMAT:\t\t\t %u\n", h.format);
        addf("TRACKS:\t\t\t %u\n", h.tracks);
        addf("DIVISION:\t\t %u\n", h.division);
        add(separator);
    }
    void trackEnd(int) override { add(separator); }

    bool channelEvent(unsigned status, unsigned d1, unsigned d2, std::uint32_t delta, std::uint64_t) override {
        const unsigned chan = status & 0x0F;
        const long d = static_cast<long>(delta);
        switch (status & 0xF0) {
        case 0x80: addf("NOTE OFF:\t\t note %u - vel %u - chan %u - %ld\n", d1, d2, chan, d); break;
        case 0x90: addf("NOTE ON:\t\t note %u - vel %u - chan %u - %ld\n", d1, d2, chan, d); break;
        case 0xA0: addf("KEY PRESSURE:\t\t ctrl %u - val %u - chan %u\n", d1, d2, chan); break;
        case 0xB0: addf("PARAMETER:\t\t p1 %u - p2 %u - chan %u\n", d1, d2, chan); break;
        case 0xC0: addf("PROGRAM CHANGE:\t program %u - chan %u\n", d1, chan); break;
        case 0xD0: addf("AFTERTOUCH:\t val %u - chan %u\n", d1, chan); break;
        default: addf("PITCH BEND:\t\t ctrl %u - val %u - chan %u\n", d1, d2, chan); break;
        }
        return true;
    }

    bool metaEvent(unsigned type, std::span<const std::uint8_t> data, std::uint32_t, std::uint64_t) override {
        // The data are kept zero-terminated: a text ends at its first zero byte.
        std::vector<std::uint8_t> z(data.begin(), data.end());
        z.resize(std::max<std::size_t>(z.size(), 4) + 1, 0);
        const std::string text(reinterpret_cast<const char*>(z.data()));
        const char* s = text.c_str();
        switch (type) {
        case 0: addf("SEQUENCE NUMBER:\t %u\n", (unsigned{z[0]} << 8) | z[1]); break;
        case 1: addf("TEXTE:\t\t\t %s\n", s); break;
        case 2: addf("COPYRIGHT:\t %s\n", s); break;
        case 3: addf("SEQUENCE:\t\t %s\n", s); break;
        case 4: addf("INSTRUMENT:\t\t %s\n", s); break;
        case 5: addf("LYRIC:\t %s\n", s); break;
        case 6: addf("MARKER:\t %s\n", s); break;
        case 7: addf("CUE POINT:\t %s\n", s); break;
        case 32: addf("CHANNEL PREFIX:\t %u\n", unsigned{z[0]}); break;
        case 47: add("FIN DE PISTE\n"); break;
        case 81: addf("TEMPO:\t\t\t %lu\n", (static_cast<unsigned long>(z[0]) << 16) | (z[1] << 8) | z[2]); break;
        case 88:
            addf("MESURE:\t\t %u/%u\n", unsigned{z[0]}, unsigned{z[1]});
            dump_.meter = std::pair{unsigned{z[0]}, unsigned{z[1]}};
            break;
        case 89:
            addf("ARMURE:\t\t %d - %s\n", static_cast<int>(static_cast<std::int8_t>(z[0])), (z[1] & 1) ? "MIN" : "MAJ");
            break;
        default: break;
        }
        return true;
    }

private:
    MidiDump& dump_;
};

}  // namespace

std::optional<MidiDump> DumpMidiBytes(const std::string& name, std::span<const std::uint8_t> bytes,
                                      bool firstTrackOnly) {
    MidiDump dump;
    DumpSink sink(dump);
    sink.addf("FICHIER MIDI:\t\t %s\n", name.c_str());
    const SmfReading reading = ReadSmf(bytes, sink, firstTrackOnly);
    if (!reading.isMidi) return std::nullopt;
    if (reading.stop == SmfStop::UnexpectedRunningStatus) sink.add("Bad file - unexpected running status\n");
    if (reading.stop == SmfStop::UnexpectedMessage) sink.add("Bad file - unexpected message");
    return dump;
}

std::optional<MidiDump> DumpMidiFile(const std::filesystem::path& path, bool firstTrackOnly) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(path, bytes)) return std::nullopt;
    return DumpMidiBytes(path.string(), bytes, firstTrackOnly);
}

}  // namespace notavera
