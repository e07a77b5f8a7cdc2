// Bytes to and from the instrument, with the D2XX status convention (0 success).
#pragma once

#include "transfer/FtTypes.h"

namespace velkor {

class ByteLink {
  public:
    virtual ~ByteLink() = default;
    virtual FT_STATUS write(const void* bytes, DWORD count, DWORD& written) = 0;
    // Returns when count bytes arrived, the time-out passed (fewer bytes) or on failure.
    virtual FT_STATUS read(void* bytes, DWORD count, DWORD& received) = 0;
};

}  // namespace velkor
