// The Caps, Num and Scroll Lock states as the X11 keyboard extension reports them.
#pragma once

#include <array>
#include <optional>

namespace velkor {

// Nothing where the program does not run on X11.
std::optional<std::array<bool, 3>> readKeyboardLocks();

}  // namespace velkor
