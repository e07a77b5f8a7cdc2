// USB device selection dialog.
#include "widgets/day/CUSBDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "widgets/shared/DialogFrame.h"

namespace velkor {

CUSBDialog::CUSBDialog(QWidget* parent) : QDialog(parent), list_(new QListWidget(this)) {
    setWindowTitle("Select USB device to communicate with");
    list_->setSortingEnabled(true);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CUSBDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    setWhatsThis("Choose the instrument to download the readings from, then press OK.");
    DialogFrame::prepare(*this, "usbdevice.html");
}

void CUSBDialog::setTexts(const QStringList& texts) {
    list_->clear();
    list_->addItems(texts);
    if (list_->count() > 0) {
        list_->setCurrentRow(0);
    }
}

void CUSBDialog::accept() {
    // The current row stays after Ctrl+click deselects it: only a selected entry counts.
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    selection_ = selected.isEmpty() ? kNoSelection
                                    : static_cast<std::uint32_t>(list_->row(selected.front()));
    QDialog::accept();
}

}  // namespace velkor
