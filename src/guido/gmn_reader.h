// Reading a GUIDO Music Notation text: the scanner and parser turn it into `na_` callbacks, filtered by mode,
// and report what they cannot read through an error sink.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "guido/gmn_callbacks.h"
#include "guido/gmn_vocabulary.h"

namespace notavera {

class UiServices;

// A reading error and where the scanner stood: line from 1, column of the offending character from 1.
// Unknown characters and note names are passed over; the other errors end the reading.
struct GmnError {
    std::string message;
    long line = 1;
    long column = 0;
    bool endsReading = false;
};

using GmnErrorSink = std::function<void(const GmnError&)>;

// Results of a reading: 0 success, −1 the file could not be opened, otherwise the parser's failure code
// (1 a parse error or a scanner failure, 2 parser stack overflow). The callbacks made before a failure stay.
inline constexpr int gmnReadOk = 0;
inline constexpr int gmnCannotOpen = -1;

int ReadGmnText(std::string_view text, GmnMode mode, GmnCallbacks& callbacks, const GmnErrorSink& onError);
int ReadGmnFile(const std::filesystem::path& path, GmnMode mode, GmnCallbacks& callbacks,
                const GmnErrorSink& onError);

// The text of the "Erreur" box for an error.
std::string FormatGmnError(const GmnError& error);
// Shows the error in the "Erreur" box.
void ShowGmnError(UiServices& ui, const GmnError& error);
// A sink that shows the errors of one reading in "Erreur" boxes: every error that ends the reading, and the
// first few of the others (a file that is not GUIDO at all would otherwise bring a box per character).
GmnErrorSink GmnErrorBoxes(UiServices& ui);
inline constexpr int maxGmnErrorBoxes = 10;

}  // namespace notavera
