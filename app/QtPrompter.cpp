// Message boxes and file dialogs.
#include "app/QtPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>
#include <memory>

#include "app/CursorLift.h"
#include "app/SettingsStore.h"
#include "corrections/VariationSet.h"
#include "serial/SerialLink.h"
#include "widgets/day/CCmSetup.h"
#include "widgets/day/CUSBDialog.h"
#include "widgets/day/DlgTransfer.h"
#include "widgets/day/DlgVariations.h"
#include "widgets/day/ValueDialog.h"
#include "widgets/shared/DialogFrame.h"
#include "widgets/shared/WaitCursor.h"

namespace velkor {

QString QtPrompter::toQtFilter(const std::string& filter) {
    // Pairs of description and pattern, each part ended by '|'.
    const QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(';', ' ');
        out << parts[i].section('(', 0, 0).trimmed() + " (" + pattern + ")";
    }
    if (out.isEmpty() && !parts.isEmpty()) {
        out << parts.front();
    }
    return out.join(";;");
}

QWidget* QtPrompter::owner() const {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    QWidget* active = QApplication::activeWindow();
    return active != nullptr ? active : parent_.data();
}

void QtPrompter::message(const std::string& text, const std::string& caption) {
    const CursorLift lift;
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, owner());
    if (caption == "Error" || caption == "ERROR") {
        box.setIcon(QMessageBox::Warning);
    } else {
        box.setIcon(QMessageBox::Information);
    }
    DialogFrame::fitTitle(box);
    box.exec();
}

Prompter::Answer QtPrompter::askSaveChanges(const std::string& title) {
    const CursorLift lift;
    QMessageBox box(QMessageBox::Question, kAppTitle,
                    QString("Save changes to %1?").arg(QString::fromStdString(title)),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    DialogFrame::fitTitle(box);
    const int answer = box.exec();
    if (answer == QMessageBox::Yes) {
        return Answer::Yes;
    }
    return answer == QMessageBox::No ? Answer::No : Answer::Cancel;
}

std::optional<std::string> QtPrompter::askFile(bool save, const std::string& filter,
                                               const std::string& defaultExt) {
    const CursorLift lift;
    QFileDialog dialog(owner());
    dialog.setNameFilter(toQtFilter(filter));
    dialog.setDefaultSuffix(QString::fromStdString(defaultExt));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setWindowTitle(save ? "Save As" : "Open");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtPrompter::askOpenFile(const std::string& filter,
                                                   const std::string& defaultExt) {
    return askFile(false, filter, defaultExt);
}

std::optional<std::string> QtPrompter::askSaveFile(const std::string& filter,
                                                   const std::string& defaultExt) {
    return askFile(true, filter, defaultExt);
}

std::optional<float> QtPrompter::askValue(ValueKind which, float current,
                                          const std::string& surveyDate) {
    const CursorLift lift;
    if (which == ValueKind::Basis) {
        DlgBasVar dialog(current, *this, parent_);
        return dialog.exec() == QDialog::Accepted ? std::optional<float>(dialog.value())
                                                  : std::nullopt;
    }
    DlgGeomag dialog(current, *this, parent_);
    dialog.setSurvey(surveyDate, SettingsStore::readIgrfPlace());
    const bool ok = dialog.exec() == QDialog::Accepted;
    // The place is remembered once the field model's dialog took it, whatever follows.
    if (const auto place = dialog.placeEntered()) {
        SettingsStore::writeIgrfPlace(*place);
    }
    return ok ? std::optional<float>(dialog.value()) : std::nullopt;
}

void QtPrompter::showVariations(const std::string& path, const std::vector<std::string>& lines) {
    const CursorLift lift;
    DlgVariations dialog(path, lines, *this, parent_);
    dialog.exec();
}

bool QtPrompter::showBaseStation(const VariationSet& variations, const DataSet& survey) {
    const CursorLift lift;
    DlgVariations dialog(variations.path(), variations.lines(), *this, parent_);
    dialog.showCurve(variations, &survey);
    dialog.exec();
    return true;
}

bool QtPrompter::pickDevice(const std::vector<std::string>& descriptions, std::uint32_t& index) {
    const CursorLift lift;
    CUSBDialog dialog(parent_);
    QStringList texts;
    for (const std::string& d : descriptions) {
        texts << QString::fromStdString(d);
    }
    dialog.setTexts(texts);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    index = dialog.selectionIndex();
    return true;
}

std::unique_ptr<TransferMonitor> QtPrompter::openTransferWindow() {
    return std::make_unique<DlgTransfer>(parent_);
}

bool QtPrompter::editCommSettings(CommSettings& settings) {
    const ComPortMap map = SettingsStore::portMap();
    SerialLink link(map, *this);
    std::vector<std::string> ports;
    {
        WaitCursor wait;
        ports = map.openablePorts();
    }
    const CursorLift lift;
    CCmSetup dialog(settings, ports, link, *this, parent_);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    settings = dialog.settings();
    return true;
}

}  // namespace velkor
