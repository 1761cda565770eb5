// The document's current place (page, staff, element) as a value, and keeping it across work that moves it.
#pragma once

#include "score/score_document.h"

namespace notavera {

class UiServices;

// Where the document's cursor stands: the current page, staff and element (−1: none).
struct CursorPlace {
    int page = 0;
    int staff = 0;
    int element = -1;
    friend bool operator==(const CursorPlace&, const CursorPlace&) = default;
};

CursorPlace CurrentPlace(const ScoreDocument& doc);
void SetCurrentPlace(ScoreDocument& doc, const CursorPlace& place);

// Saves the document's current place and puts it back when it goes out of scope. Built with the UI services, it
// also brings the memory window back to the saved page when that page left memory meanwhile (a failed read shows
// its message there).
class KeepCursor {
public:
    explicit KeepCursor(ScoreDocument& doc) : doc_(doc), saved_(CurrentPlace(doc)) {}
    KeepCursor(ScoreDocument& doc, UiServices& ui) : doc_(doc), ui_(&ui), saved_(CurrentPlace(doc)) {}
    ~KeepCursor();
    KeepCursor(const KeepCursor&) = delete;
    KeepCursor& operator=(const KeepCursor&) = delete;

    const CursorPlace& saved() const { return saved_; }

private:
    ScoreDocument& doc_;
    UiServices* ui_ = nullptr;
    CursorPlace saved_;
};

}  // namespace notavera
