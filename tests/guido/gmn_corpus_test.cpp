// Every GUIDO file of the shared corpus goes through the reader and the conversion without a crash: the
// files in the notation parse without error, those outside it stop with a located parse error.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "guido/gmn_import.h"
#include "guido/gmn_reader.h"
#include "guido/gmn_trace.h"
#include "score/new_document.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;

const fs::path corpus = fs::path(NOTAVERA_CORPUS_DIR) / "gmn";

// Files that use later extensions of the notation: variable sections and tablature note syntax.
const std::set<std::string> outsideTheNotation = {
    "guidolib_newtags_variables.gmn", "guidolib_newtags_bach_with_force.gmn", "guidolib_newtags_tablature.gmn"};

std::vector<fs::path> GmnFiles(const fs::path& dir) {
    std::vector<fs::path> files;
    if (!fs::is_directory(dir)) return files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.is_regular_file() && entry.path().extension() == ".gmn") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

struct Outcome {
    int status = 0;
    int notes = 0;
    int sequencesOpened = 0;
    int sequencesClosed = 0;
    std::vector<GmnError> errors;
};

Outcome Trace(const fs::path& file) {
    Outcome o;
    GmnTrace trace([&o](const std::string& line) {
        if (line.rfind("na_seqAppendNote", 0) == 0) ++o.notes;
        if (line == "na_seqInit()\n") ++o.sequencesOpened;
        if (line == "na_seqExit()\n") ++o.sequencesClosed;
    });
    o.status = ReadGmnFile(file, GmnMode::All, trace, [&o](const GmnError& e) { o.errors.push_back(e); });
    return o;
}

bool EndsReading(const GmnError& e) { return e.endsReading; }

// Each file is read, then converted into a score whose staves keep their elements in x order, the order every
// later pass relies on.
TEST(GmnCorpus, FilesInTheNotationParseWithoutErrorAndEveryFileConvertsIntoAScore) {
    const auto files = GmnFiles(corpus);
    if (files.empty()) GTEST_SKIP() << "no corpus at " << corpus;
    int read = 0;
    for (const fs::path& file : files) {
        const std::string name = file.filename().string();
        const Outcome o = Trace(file);
        if (outsideTheNotation.count(name)) {
            EXPECT_NE(o.status, gmnReadOk) << name;
            ASSERT_FALSE(o.errors.empty()) << name;
            EXPECT_EQ(o.errors.back().message, "parse error") << name;
            EXPECT_GE(o.errors.back().line, 1) << name;
        } else {
            EXPECT_EQ(o.status, gmnReadOk) << name;
            EXPECT_TRUE(std::none_of(o.errors.begin(), o.errors.end(), EndsReading)) << name;
            EXPECT_EQ(o.sequencesOpened, o.sequencesClosed) << name;
            ++read;
        }
        ScoreDocument doc;
        SetUpNewDocument(doc, 1);
        ImportGuidoFile(doc, file, {});
        std::size_t elements = 0;
        for (const StaffRecord& staff : doc.findPage(1)->staves) {
            elements += staff.elements.size();
            EXPECT_TRUE(std::is_sorted(staff.elements.begin(), staff.elements.end(),
                                       [](const ElementRecord& a, const ElementRecord& b) { return a.x < b.x; }))
                << name;
        }
        EXPECT_TRUE(o.notes == 0 || elements > 0) << name;
    }
    EXPECT_GT(read, 100);
}

TEST(GmnCorpus, MalformedFilesStopWithALocatedParseError) {
    const auto files = GmnFiles(corpus / "malformed");
    if (files.empty()) GTEST_SKIP() << "no malformed corpus";
    for (const fs::path& file : files) {
        const Outcome o = Trace(file);
        EXPECT_NE(o.status, gmnReadOk) << file;
        ASSERT_FALSE(o.errors.empty()) << file;
        EXPECT_TRUE(EndsReading(o.errors.back())) << file;
        EXPECT_GE(o.errors.back().line, 2) << file;
    }
}

}  // namespace
}  // namespace notavera
