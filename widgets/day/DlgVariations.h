// The "Variations List" dialog: the variations file's name and its samples.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QListWidget;

namespace velkor {

class BaseCurveView;
class DataSet;
class Prompter;
class VariationSet;

class DlgVariations : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kMaxFileText = 100;

    DlgVariations(const std::string& path, const std::vector<std::string>& lines,
                  Prompter& prompter, QWidget* parent = nullptr);

    QLineEdit* fileEdit() const { return file_; }
    QListWidget* list() const { return list_; }
    // Adds the base-station curve beside the list, one date at a time, with the survey's
    // readings marked; both must outlive the dialog. Nothing without a sample.
    void showCurve(const VariationSet& variations, const DataSet* survey);
    // Null until a curve is shown; the date chooser only when there are several dates.
    BaseCurveView* curve() const { return curve_; }
    QComboBox* dateChooser() const { return dates_; }
    // Enter closes it unless the file line has grown past 100 characters.
    void accept() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLineEdit* file_;
    QListWidget* list_;
    Prompter& prompter_;
    QHBoxLayout* columns_;
    BaseCurveView* curve_ = nullptr;
    QComboBox* dates_ = nullptr;
};

}  // namespace velkor
