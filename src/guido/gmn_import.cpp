// The GUIDO reader driving the score builder, and the layout of the piece it wrote.
#include "guido/gmn_import.h"

#include "guido/gmn_piece_layout.h"
#include "guido/gmn_score_builder.h"
#include "guido/gmn_text_placement.h"

namespace notavera {

int ImportGuidoText(ScoreDocument& doc, std::string_view text, const GmnErrorSink& onError) {
    GmnScoreBuilder builder(doc);
    const int status = ReadGmnText(text, GmnMode::All, builder, onError);
    builder.finish();
    PlaceImportedTexts(doc, builder.headings());
    return status;
}

int ImportGuidoFile(ScoreDocument& doc, const std::filesystem::path& path, const GmnErrorSink& onError) {
    GmnScoreBuilder builder(doc);
    const int status = ReadGmnFile(path, GmnMode::All, builder, onError);
    builder.finish();
    PlaceImportedTexts(doc, builder.headings());
    return status;
}

namespace {

// A piece is laid out on staves of its own: every sequence gets one. `read` runs the reader into the builder.
template <typename Read>
int ImportLaidOut(ScoreDocument& doc, UiServices& ui, const SignDistances& distances, Read read) {
    GmnScoreBuilder builder(doc, true);
    const int status = read(builder, GmnErrorBoxes(ui));
    builder.finish();
    if (status == gmnCannotOpen) return status;
    LayOutGuidoPiece(doc, ui, builder.sequenceTimes(), distances);
    PlaceImportedTexts(doc, builder.headings());
    return status;
}

}  // namespace

int ImportGuidoPiece(ScoreDocument& doc, const std::filesystem::path& path, UiServices& ui,
                     const SignDistances& distances) {
    return ImportLaidOut(doc, ui, distances, [&](GmnCallbacks& builder, const GmnErrorSink& onError) {
        return ReadGmnFile(path, GmnMode::All, builder, onError);
    });
}

int ImportGuidoPieceText(ScoreDocument& doc, std::string_view text, UiServices& ui, const SignDistances& distances) {
    return ImportLaidOut(doc, ui, distances, [&](GmnCallbacks& builder, const GmnErrorSink& onError) {
        return ReadGmnText(text, GmnMode::All, builder, onError);
    });
}

}  // namespace notavera
