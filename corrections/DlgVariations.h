// The "Variations List" dialog: the variations file's name and its samples.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;

namespace velkor {

class Prompter;

class DlgVariations : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kMaxFileText = 100;

    DlgVariations(const std::string& path, const std::vector<std::string>& lines,
                  Prompter& prompter, QWidget* parent = nullptr);

    QLineEdit* fileEdit() const { return file_; }
    QListWidget* list() const { return list_; }
    // Enter closes it unless the file line has grown past 100 characters.
    void accept() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLineEdit* file_;
    QListWidget* list_;
    Prompter& prompter_;
};

}  // namespace velkor
