// Recording drawing surface.
#include "support/RecordingSurface.h"

#include <algorithm>

namespace velkor {

bool RecordingSurface::hasSegment(const Segment& s) const {
    return std::find(segments.begin(), segments.end(), s) != segments.end();
}

const RecordingSurface::Text* RecordingSurface::findText(const std::string& t) const {
    for (const Text& x : texts) {
        if (x.text == t) {
            return &x;
        }
    }
    return nullptr;
}

std::vector<std::string> RecordingSurface::textsOnly() const {
    std::vector<std::string> out;
    for (const Text& t : texts) {
        out.push_back(t.text);
    }
    return out;
}

}  // namespace velkor
