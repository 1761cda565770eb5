// Every GUIDO file of the shared corpus goes through the reader and the conversion without a crash: the
// files in the notation parse without error, those outside it and the malformed ones stop with a parse error.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "guido/gmn_import.h"
#include "guido/gmn_reader.h"
#include "guido/gmn_trace.h"
#include "score/new_document.h"
#include "support/test_paths.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;

// Files that use later extensions of the notation: variable sections and tablature note syntax.
const std::set<std::string> outsideTheNotation = {
    "guidolib_newtags_variables.gmn", "guidolib_newtags_bach_with_force.gmn", "guidolib_newtags_tablature.gmn"};

// Each file is read, then converted into a score whose staves keep their elements in x order, the order every
// later pass relies on.
TEST(GmnCorpus, FilesInTheNotationParseWithoutErrorAndEveryFileConvertsIntoAScore) {
    int read = 0, refused = 0;
    const fs::path corpus = test::CorpusDir() / "gmn";
    for (const fs::path& folder : {corpus, corpus / "malformed"}) {
        if (!fs::is_directory(folder)) GTEST_SKIP() << "no corpus at " << folder;
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().extension() != ".gmn") continue;
            const std::string name = entry.path().filename().string();
            int notes = 0, sequences = 0;
            GmnTrace trace([&](const std::string& line) {
                notes += line.rfind("na_seqAppendNote", 0) == 0;
                sequences += (line == "na_seqInit()\n") - (line == "na_seqExit()\n");
            });
            std::vector<GmnError> errors;
            const int status =
                ReadGmnFile(entry.path(), GmnMode::All, trace, [&](const GmnError& e) { errors.push_back(e); });
            if (folder.filename() == "malformed" || outsideTheNotation.count(name)) {
                EXPECT_NE(status, gmnReadOk) << name;
                ASSERT_FALSE(errors.empty()) << name;
                EXPECT_TRUE(errors.back().endsReading && errors.back().line >= 1) << name;
                ++refused;
            } else {
                EXPECT_EQ(status, gmnReadOk) << name;
                EXPECT_TRUE(std::none_of(errors.begin(), errors.end(), [](const auto& e) { return e.endsReading; }));
                EXPECT_EQ(sequences, 0) << name;  // every sequence opened is closed
                ++read;
            }
            ScoreDocument doc;
            SetUpNewDocument(doc, 1);
            ImportGuidoFile(doc, entry.path(), {});
            std::size_t elements = 0;
            for (const StaffRecord& staff : doc.findPage(1)->staves) {
                elements += staff.elements.size();
                EXPECT_TRUE(std::is_sorted(staff.elements.begin(), staff.elements.end(),
                                           [](const ElementRecord& a, const ElementRecord& b) { return a.x < b.x; }))
                    << name;
            }
            EXPECT_TRUE(notes == 0 || elements > 0) << name;
        }
    }
    EXPECT_GT(read, 100);
    EXPECT_GT(refused, 3);
}

}  // namespace
}  // namespace notavera
