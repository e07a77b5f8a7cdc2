// The "Transfer..." window: the ten newest readings, a progress bar and Cancel.
#pragma once

#include <QDialog>
#include <QElapsedTimer>

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

    QListWidget* list() const { return list_; }
    QProgressBar* progress() const { return progress_; }
    int linesAdded() const { return added_; }

  protected:
    void reject() override;

  private:
    // Lets the window paint and Cancel work, at most every few hundredths of a second;
    // now: at once, after the window is on screen (or half a second has passed).
    void keepPainted(bool now);
    void waitUntilExposed();

    QListWidget* list_;
    QProgressBar* progress_;
    QElapsedTimer sincePaint_;
    int added_ = 0;
    bool cancelled_ = false;
};

}  // namespace velkor
