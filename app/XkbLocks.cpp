// XKB lock states; X11's headers stay in this file, away from Qt's names.
#include "app/XkbLocks.h"

#include <QGuiApplication>

#if defined(VELKOR_HAVE_X11)
#include <QtGui/qguiapplication_platform.h>
#include <X11/XKBlib.h>
#endif

namespace velkor {

std::optional<std::array<bool, 3>> readKeyboardLocks() {
#if defined(VELKOR_HAVE_X11)
    if (QGuiApplication::platformName() != "xcb") {
        return std::nullopt;
    }
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr) {
        return std::nullopt;
    }
    std::array<bool, 3> on{};
    const char* names[3] = {"Caps Lock", "Num Lock", "Scroll Lock"};
    for (std::size_t i = 0; i < on.size(); ++i) {
        Bool state = False;
        const Atom atom = XInternAtom(display, names[i], False);
        on[i] = XkbGetNamedIndicator(display, atom, nullptr, &state, nullptr, nullptr) && state;
    }
    return on;
#else
    return std::nullopt;
#endif
}

}  // namespace velkor
