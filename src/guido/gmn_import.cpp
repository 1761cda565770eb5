// The GUIDO reader driving the score builder.
#include "guido/gmn_import.h"

#include "guido/gmn_score_builder.h"

namespace notavera {

int ImportGuidoText(ScoreDocument& doc, std::string_view text, const GmnErrorSink& onError) {
    GmnScoreBuilder builder(doc);
    const int status = ReadGmnText(text, GmnMode::All, builder, onError);
    builder.finish();
    return status;
}

int ImportGuidoFile(ScoreDocument& doc, const std::filesystem::path& path, const GmnErrorSink& onError) {
    GmnScoreBuilder builder(doc);
    const int status = ReadGmnFile(path, GmnMode::All, builder, onError);
    builder.finish();
    return status;
}

}  // namespace notavera
