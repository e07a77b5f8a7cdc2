// Whether two paths name one file: the same path once tidied, or the same file on disk.
#pragma once

#include <string>

namespace velkor {

bool sameFile(const std::string& a, const std::string& b);

}  // namespace velkor
