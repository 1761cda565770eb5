// Runs the generated scanner and parser over a GUIDO text, and turns reading failures into the "Erreur" box.
#include "guido/gmn_reader.h"

#include <climits>
#include <fstream>
#include <iterator>

#include "gmn_parser.hpp"
#include "gmn_scanner.hpp"
#include "guido/gmn_parse_state.h"
#include "platform/ui_services.h"

namespace notavera {

namespace {

// Owns the scanner for the length of one reading, whatever way the reading ends.
class Scanner {
public:
    explicit Scanner(GmnParseState& state) { ok_ = gmn_lex_init_extra(&state, &scanner_) == 0; }
    ~Scanner() {
        if (ok_) gmn_lex_destroy(scanner_);
    }
    Scanner(const Scanner&) = delete;
    Scanner& operator=(const Scanner&) = delete;

    bool ok() const { return ok_; }
    yyscan_t get() const { return scanner_; }

private:
    yyscan_t scanner_ = nullptr;
    bool ok_ = false;
};

constexpr std::string_view utf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

int ReadGmnText(std::string_view text, GmnMode mode, GmnCallbacks& callbacks, const GmnErrorSink& onError) {
    // Editors on some systems start UTF-8 files with a byte-order mark; it is not part of the notation.
    if (text.substr(0, utf8ByteOrderMark.size()) == utf8ByteOrderMark) text.remove_prefix(utf8ByteOrderMark.size());
    GmnParseState state(mode, callbacks, onError);
    if (text.size() > static_cast<std::size_t>(INT_MAX)) {
        state.reportFailure("fatal error - scanner input buffer overflow", state.here());
        return 1;
    }
    try {
        Scanner scanner(state);
        if (!scanner.ok()) {
            state.reportFailure("out of dynamic memory in yy_create_buffer()", state.here());
            return 1;
        }
        gmn__scan_bytes(text.data(), static_cast<int>(text.size()), scanner.get());
        return gmn_parse(scanner.get(), state);
    } catch (const GmnScannerFailure& failure) {
        state.reportFailure(failure.what(), state.here());
        return 1;
    }
}

int ReadGmnFile(const std::filesystem::path& path, GmnMode mode, GmnCallbacks& callbacks,
                const GmnErrorSink& onError) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (onError) onError(GmnError{"Could not open file", 1, 0, true});
        return gmnCannotOpen;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return ReadGmnText(text, mode, callbacks, onError);
}

std::string FormatGmnError(const GmnError& error) {
    return "Erreur lors de l'analyse du fichier Guido\nErreur: '" + error.message + "' (ligne " +
           std::to_string(error.line) + ", caractère " + std::to_string(error.column) + ")\n";
}

void ShowGmnError(UiServices& ui, const GmnError& error) {
    ui.showMessage(MessageBoxRequest{"Erreur", 0, FormatGmnError(error), MessageIcon::Exclamation, MessageButtons::Ok});
}

GmnErrorSink GmnErrorBoxes(UiServices& ui) {
    return [&ui, passedOver = 0](const GmnError& error) mutable {
        if (!error.endsReading && ++passedOver > maxGmnErrorBoxes) return;
        ShowGmnError(ui, error);
    };
}

}  // namespace notavera
