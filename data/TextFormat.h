// The text formatting lives in text/TextFormat.h; cli/ still includes it by this name.
#pragma once

#include "text/TextFormat.h"
