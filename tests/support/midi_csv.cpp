// Runs midicsv on a file and reads its records back.
#include "support/midi_csv.h"

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "support/test_files.h"

namespace notavera::test {

bool HaveMidiCsv() { return std::system("command -v midicsv > /dev/null 2>&1") == 0; }

MidiCsv ReadMidiCsv(const std::filesystem::path& midi) {
    const TempDir dir;
    const std::string command =
        "midicsv '" + midi.string() + "' '" + (dir / "csv").string() + "' 2> '" + (dir / "err").string() + "'";
    MidiCsv out;
    if (std::system(command.c_str()) != 0) out.errors = "midicsv failed (is it installed?) ";
    out.errors += ReadText(dir / "err");
    std::istringstream records(ReadText(dir / "csv"));
    for (std::string line; std::getline(records, line);) {
        const std::size_t track = std::stoul(line), values = line.find(", ") + 2;
        if (track == 0 || line.find("_track") != std::string::npos) continue;  // the header and the framing
        out.tracks.resize(std::max(out.tracks.size(), track));
        out.tracks[track - 1].push_back(line.substr(values));
    }
    return out;
}

std::vector<HeardNote> HeardNotes(const std::vector<std::string>& track) {
    std::vector<HeardNote> heard;
    std::vector<std::size_t> sounding;
    for (const std::string& record : track) {
        HeardNote n;
        char type[16] = {};
        const char* format = "%u, %15[A-Za-z_], %u, %d, %d";
        if (std::sscanf(record.c_str(), format, &n.on, type, &n.channel, &n.key, &n.velocity) != 5) continue;
        if (std::string(type) == "Note_on_c") {
            n.off = n.on;
            sounding.push_back(heard.size());
            heard.push_back(n);
        } else if (std::string(type) == "Note_off_c") {  // ends the earliest sounding note of its key
            for (auto it = sounding.begin(); it != sounding.end(); ++it) {
                if (heard[*it].key != n.key || heard[*it].channel != n.channel) continue;
                heard[*it].off = n.on;
                sounding.erase(it);
                break;
            }
        }
    }
    return heard;
}

}  // namespace notavera::test
