// "Select USB device to communicate with": the magnetometers attached.
#pragma once

#include <QDialog>
#include <QStringList>
#include <cstdint>

class QListWidget;

namespace velkor {

class CUSBDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr std::uint32_t kNoSelection = 0xFFFFFFFFu;  // the list's -1

    explicit CUSBDialog(QWidget* parent = nullptr);

    void setTexts(const QStringList& texts);
    // 100 until OK; then the selected entry, or 0xFFFFFFFF when none is selected.
    std::uint32_t selectionIndex() const { return selection_; }
    QListWidget* list() const { return list_; }
    void accept() override;

  private:
    QListWidget* list_;
    std::uint32_t selection_ = 100;
};

}  // namespace velkor
