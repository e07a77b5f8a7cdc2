// The "Transfer..." window: the ten newest readings, a progress bar and Cancel.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QString>
#include <deque>

#include "core/TransferMonitor.h"

class QListWidget;
class QProgressBar;

namespace velkor {

class DlgTransfer : public QDialog, public TransferMonitor {
    Q_OBJECT

  public:
    static constexpr int kShownLines = 10;

    explicit DlgTransfer(QWidget* parent = nullptr);
    ~DlgTransfer() override;

    void addLine(const std::string& progressLine) override;
    void setProgress(std::uint32_t received, std::uint32_t count) override;
    bool cancelled() override;
    void hide() override;

    // The widgets, brought up to date with every line and count given so far.
    QListWidget* list() {
        showPending();
        return list_;
    }
    QProgressBar* progress() {
        showPending();
        return progress_;
    }
    int linesAdded() const { return added_; }

  protected:
    void reject() override;

  private:
    // Lets the window paint and Cancel work, at most every few hundredths of a second;
    // now: at once, after the window is on screen (or half a second has passed).
    void keepPainted(bool now);
    void waitUntilExposed();
    // Lines and counts are given to the widgets only just before the window paints:
    // between paints nobody sees them, and a list or progress bar updated for each
    // reading measures and draws text thousands of times for nothing.
    void showPending();

    QListWidget* list_;
    QProgressBar* progress_;
    QElapsedTimer sincePaint_;
    std::deque<QString> pendingLines_;  // the newest, at most kShownLines
    std::uint32_t received_ = 0;
    std::uint32_t count_ = 0;
    bool progressPending_ = false;
    int added_ = 0;
    bool cancelled_ = false;
};

}  // namespace velkor
