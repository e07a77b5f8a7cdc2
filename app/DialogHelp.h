// F1 inside a dialog: the dialog's own help page, in a help window the dialog does
// not block.
#pragma once

#include <QObject>

class QWidget;

namespace velkor {

class DialogHelp : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

    // Watches every key press of the application.
    void install();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Shows the page in a help window over the dialog; made on first use.
    static void showFor(QWidget& dialog, const QString& page);
};

}  // namespace velkor
