// What every dialog of the program sets up alike: its help page for F1, and a width
// that shows its whole title.
#pragma once

#include <QString>

class QDialog;
class QMessageBox;

namespace velkor {

class DialogFrame {
  public:
    // The dialog property that names its help page; the application answers F1 with it.
    static constexpr const char* kHelpPageProperty = "helpPage";

    // Call at the end of the constructor, once the title and the layout are set.
    static void prepare(QDialog& dialog, const QString& helpPage);
    // The width a window needs to show this title whole: the title-bar font's text
    // and room for the frame's icon and buttons.
    static int titleWidth(const QString& title);
    // A message box sizes itself to its text alone; this keeps its title whole too.
    static void fitTitle(QMessageBox& box);
};

}  // namespace velkor
