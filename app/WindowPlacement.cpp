// The main window's place, checked against the screens there are now.
#include "app/WindowPlacement.h"

namespace velkor {

bool WindowPlacement::fitsOn(const QList<QRect>& screens) const {
    if (normal_.width() <= 0 || normal_.height() <= 0) {
        return false;
    }
    for (const QRect& screen : screens) {
        const QRect seen = normal_.intersected(screen);
        if (seen.width() >= kMinVisibleWidth && seen.height() >= kMinVisibleHeight) {
            return true;
        }
    }
    return false;
}

}  // namespace velkor
