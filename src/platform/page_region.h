// A region of a page in page units: what a window shows of the page, or what a picture takes from it.
#pragma once

namespace notavera {

// y0 is the region's bottom and y1 its top (page units grow upwards).
struct PageRegion {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    bool containsX(int x) const { return x >= x0 && x <= x1; }
};

}  // namespace notavera
