// Takes every override cursor (the wait cursor) off while a box or dialog asks the
// user something, and puts the same stack back afterwards.
#pragma once

#include <QCursor>
#include <vector>

namespace velkor {

class CursorLift {
  public:
    CursorLift();
    ~CursorLift();
    CursorLift(const CursorLift&) = delete;
    CursorLift& operator=(const CursorLift&) = delete;

  private:
    std::vector<QCursor> lifted_;  // top of the stack first
};

}  // namespace velkor
