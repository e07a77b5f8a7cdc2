// Transfer window.
#include "widgets/day/DlgTransfer.h"

#include <QApplication>
#include <QCursor>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <QWindow>

#include "widgets/shared/DialogFrame.h"

namespace velkor {
namespace {

constexpr qint64 kPaintEveryMs = 40;
// How long the window manager gets to map the window before the first read blocks.
constexpr qint64 kExposeWaitMs = 500;

}  // namespace

DlgTransfer::DlgTransfer(QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)), progress_(new QProgressBar(this)) {
    setWindowTitle("Transfer...");
    QFont courier("Courier New", 10);
    courier.setStyleHint(QFont::TypeWriter);
    courier.setFixedPitch(true);
    setFont(courier);
    auto* header = new QLabel(
        "Reading No.   M  Date        Time     Line  Pos  Field    Err A Dec Grad  Note", this);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    list_->setFocusPolicy(Qt::NoFocus);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &DlgTransfer::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(list_, 1);
    layout->addWidget(progress_);
    layout->addWidget(buttons);
    resize(720, 320);
    setWindowModality(Qt::ApplicationModal);  // only Cancel answers while it runs
    setWhatsThis(
        "Shows the readings as they arrive from the instrument. Cancel stops the transfer.");
    DialogFrame::prepare(*this, "transfer.html");
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    show();
    keepPainted(true);
}

DlgTransfer::~DlgTransfer() {
    QApplication::restoreOverrideCursor();
}

void DlgTransfer::addLine(const std::string& progressLine) {
    QString text = QString::fromLatin1(progressLine.c_str());
    while (text.endsWith('\n') || text.endsWith('\r')) {
        text.chop(1);
    }
    if (pendingLines_.size() >= static_cast<std::size_t>(kShownLines)) {
        pendingLines_.pop_front();
    }
    pendingLines_.push_back(text);
    ++added_;
    keepPainted(false);
}

void DlgTransfer::setProgress(std::uint32_t received, std::uint32_t count) {
    received_ = received;
    count_ = count;
    progressPending_ = true;
    keepPainted(false);
}

void DlgTransfer::showPending() {
    for (const QString& text : pendingLines_) {
        if (list_->count() >= kShownLines) {
            delete list_->takeItem(0);
        }
        list_->addItem(text);
    }
    pendingLines_.clear();
    if (progressPending_) {
        progress_->setRange(0, static_cast<int>(count_ > 0 ? count_ : 1));
        progress_->setValue(static_cast<int>(received_));
        progress_->setFormat(QString("%1 of %2 readings").arg(received_).arg(count_));
        progressPending_ = false;
    }
}

bool DlgTransfer::cancelled() {
    keepPainted(false);
    return cancelled_;
}

void DlgTransfer::hide() {
    showPending();
    QDialog::hide();
}

void DlgTransfer::reject() {
    cancelled_ = true;
}

void DlgTransfer::waitUntilExposed() {
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() != nullptr && windowHandle()->isExposed()) &&
           waited.elapsed() < kExposeWaitMs) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

void DlgTransfer::keepPainted(bool now) {
    if (now) {
        waitUntilExposed();
    }
    if (now || !sincePaint_.isValid() || sincePaint_.elapsed() >= kPaintEveryMs) {
        showPending();
        repaint();
        QApplication::processEvents();
        sincePaint_.restart();
    }
}

}  // namespace velkor
