// The CAP, NUM and SCRL panes of the status bar, where the window system tells the
// state of the keyboard locks (X11); elsewhere they are left out.
#pragma once

#include <QObject>
#include <array>

class QLabel;
class QStatusBar;

namespace velkor {

class LockIndicators : public QObject {
    Q_OBJECT

  public:
    // Adds the panes to the status bar when the lock states can be read.
    explicit LockIndicators(QStatusBar& bar);

    bool available() const { return available_; }
    void refresh();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::array<QLabel*, 3> panes_{};
    bool available_ = false;
};

}  // namespace velkor
