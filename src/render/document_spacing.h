// What the respacing commands take from the open document: the lines (blocks of staves) of a page, their left
// edge and length, and the spacing settings of a staff with the widths measured on the music font.
#pragma once

#include <memory>
#include <vector>

#include "render/spacing_settings.h"

namespace notavera {

struct DrawingContext;
class ScoreDocument;
struct PageRecord;
struct StaffRecord;

// Staves first..last (indices on their page) that form one line of music.
struct LineRange {
    int first = 0;
    int last = 0;
    int size() const { return last - first + 1; }
    friend bool operator==(const LineRange&, const LineRange&) = default;
};

// The block that holds staff `staff`: from the staff whose group position is 1 to the one whose position equals
// the group size. Damaged or missing group fields make the staff a block of its own.
LineRange BlockOfStaff(const PageRecord& page, int staff);
// Every block of the page, top to bottom.
std::vector<LineRange> LinesOfPage(const PageRecord& page);
std::vector<StaffRecord*> StavesOf(PageRecord& page, LineRange line);

// The staff's left edge: the page's indentation for an indented staff, else 0.
int LeftEdgeOf(const PageRecord& page, const StaffRecord& staff);
int LineLengthOf(const PageRecord& page);
// The x where the music of the staff's line starts.
int StartColumnOf(const PageRecord& page, const StaffRecord& staff, int stepUnit);

// Spacing settings for the staves of one command: the document's step and corrections, the environment's
// distances after signs. The time-signature widths are measured by the drawer on the music font, so one source is
// built per command and reused for all its lines.
class DocumentSpacing {
public:
    DocumentSpacing(const ScoreDocument& doc, const SignDistances& distances);
    ~DocumentSpacing();
    DocumentSpacing(const DocumentSpacing&) = delete;
    DocumentSpacing& operator=(const DocumentSpacing&) = delete;

    // The settings in force at the start of `staff` on `page`, with the document's current step.
    SpacingSettings forStaff(const PageRecord& page, const StaffRecord& staff);

private:
    const ScoreDocument& doc_;
    SignDistances distances_;
    std::shared_ptr<DrawingContext> dc_;
    int placedPage_ = -1;
};

}  // namespace notavera
