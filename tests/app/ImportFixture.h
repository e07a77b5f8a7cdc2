// The whole program for a test that imports: the simulated instrument's downloads land in
// the test's own folder (TMPDIR), which it needs set before the program starts.
#pragma once

#include <stdlib.h>

#include "AppFixture.h"

namespace velkor {

class ImportFixture : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        ::setenv("TMPDIR", dir.dir().c_str(), 1);
    }
    void TearDown() override {
        AppFixture::TearDown();
        ::unsetenv("TMPDIR");
    }
};

}  // namespace velkor
