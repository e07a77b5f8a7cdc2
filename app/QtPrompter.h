// The prompter behind the program's windows: message boxes and file dialogs.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "core/Prompter.h"

namespace velkor {

class QtPrompter : public Prompter {
  public:
    void setParentWidget(QWidget* parent) { parent_ = parent; }

    void message(const std::string& text, const std::string& caption) override;
    using Prompter::message;
    Answer askSaveChanges(const std::string& title) override;
    std::optional<std::string> askOpenFile(const std::string& filter,
                                           const std::string& defaultExt) override;
    std::optional<std::string> askSaveFile(const std::string& filter,
                                           const std::string& defaultExt) override;
    std::optional<float> askValue(ValueKind which, float current,
                                  const std::string& surveyDate) override;
    void showVariations(const std::string& path, const std::vector<std::string>& lines) override;
    bool showBaseStation(const VariationSet& variations, const DataSet& survey) override;
    bool pickDevice(const std::vector<std::string>& descriptions, std::uint32_t& index) override;
    std::unique_ptr<TransferMonitor> openTransferWindow() override;
    bool editCommSettings(CommSettings& settings) override;

    // "Name (*.ext)|*.ext||" as a Qt file-dialog filter.
    static QString toQtFilter(const std::string& filter);

  private:
    std::optional<std::string> askFile(bool save, const std::string& filter,
                                       const std::string& defaultExt);

    // What a box or file dialog stands over: the dialog or window the user is in (the
    // survey window, a dialog of its own), else the main window.
    QWidget* owner() const;

    QPointer<QWidget> parent_;
};

}  // namespace velkor
