// The note-drawing fixture: a page of the default layout model, staff definition 20, zoom 1/1, default corrections.
#include "support/note_drawing_fixture.h"

#include "render/draw_notes.h"
#include "render/geometry.h"
#include "score/element_creation.h"
#include "score/new_document.h"
#include "support/page_fixtures.h"

namespace notavera::test {

using nlohmann::json;

void NoteDrawingTest::SetUp() {
    ASSERT_NE(dc.musicFont, nullptr);
    SetUpNewDocument(doc, 1);
    dc.canvas = &canvas;
    SetStaffDefinition(dc, 20);
    dc.staves = PlaceStaves(doc.layoutModel, dc.metrics, PageFrame{2970, 100, 100, 2000});
    for (std::size_t i = 0; i < dc.staves.size(); ++i) dc.staves[i].clefs.add(0, TrebleClef);
    BeginDrawingPass(dc);
    canvas.clear();
}

StaffRecord& NoteDrawingTest::Staff(int staff) { return doc.page()->staves[static_cast<std::size_t>(staff)]; }

ElementRecord& NoteDrawingTest::AddNote(int staff, int x, unsigned name, unsigned octave, unsigned duration,
                                        std::uint32_t flags, Accidental accidental) {
    doc.currentStaff = staff;
    doc.currentElement = static_cast<int>(Staff(staff).elements.size()) - 1;
    doc.insertion.octave = octave;
    doc.insertion.durationCode = duration;
    doc.insertion.noteWordFlags = flags;
    doc.insertion.accidental = accidental;
    doc.insertion.accidentalForced = true;
    ElementRecord* e = CreateNoteOrRest(doc, x, false, name);
    EXPECT_NE(e, nullptr);
    return *e;
}

ElementRecord& NoteDrawingTest::AddRest(int staff, int x, unsigned octave, unsigned duration) {
    doc.currentStaff = staff;
    doc.currentElement = static_cast<int>(Staff(staff).elements.size()) - 1;
    doc.insertion.octave = octave;
    doc.insertion.durationCode = duration;
    doc.insertion.noteWordFlags = 0;
    ElementRecord* e = CreateNoteOrRest(doc, x, true, 0);
    EXPECT_NE(e, nullptr);
    // Placed by hand at E of `octave`, since creation puts every rest in the middle of the staff.
    e->noteWord().setStep(3);
    e->w0().setOctave(octave);
    return *e;
}

int NoteDrawingTest::IndexOf(int staff, const ElementRecord& e) const {
    const auto& els = doc.findPage(1)->staves[static_cast<std::size_t>(staff)].elements;
    return static_cast<int>(&e - els.data());
}

void NoteDrawingTest::SetClef(int staff, int clefValue) {
    dc.staves[static_cast<std::size_t>(staff)].clefs.clear();
    dc.staves[static_cast<std::size_t>(staff)].clefs.add(0, clefValue);
}

void NoteDrawingTest::DrawStaff(int staff) {
    canvas.clear();
    const StaffRecord& s = Staff(staff);
    for (int i = 0; i < static_cast<int>(s.elements.size()); ++i) DrawNoteOrRest(dc, s, i);
}

void NoteDrawingTest::DrawOne(int staff, const ElementRecord& e) {
    canvas.clear();
    DrawNoteOrRest(dc, Staff(staff), IndexOf(staff, e));
}

std::vector<json> NoteDrawingTest::Calls(const std::string& op) const { return CallsOf(canvas.calls(), op); }

std::vector<json> NoteDrawingTest::Glyphs(int code) const {
    std::vector<json> out;
    for (const json& c : Calls("glyph"))
        if (c["code"] == code) out.push_back(c);
    return out;
}

}  // namespace notavera::test
