// Variations list dialog.
#include "corrections/DlgVariations.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "core/DialogFrame.h"
#include "core/Prompter.h"

namespace velkor {

DlgVariations::DlgVariations(const std::string& path, const std::vector<std::string>& lines,
                             Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      file_(new QLineEdit(this)),
      list_(new QListWidget(this)),
      prompter_(prompter) {
    setWindowTitle("Variations List");
    QFont courier("Courier New", 10);
    courier.setStyleHint(QFont::TypeWriter);
    courier.setFixedPitch(true);
    setFont(courier);

    file_->setText("File   " + QString::fromStdString(path));
    auto* header = new QLabel("  Date       Time     Variations", this);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setUniformItemSizes(true);
    list_->setSortingEnabled(false);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (std::size_t k = 1; k < lines.size(); ++k) {
        list_->addItem(QString::fromLatin1(lines[k].c_str()));
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(file_);
    layout->addWidget(header);
    layout->addWidget(list_, 1);
    resize(340, 420);
    setWhatsThis("The samples of the variations file read last, as they stand in the file.");
    DialogFrame::prepare(*this, "variationslist.html");
}

void DlgVariations::accept() {
    if (file_->text().size() > kMaxFileText) {
        prompter_.message(
            QString("Enter no more than %1 characters.").arg(kMaxFileText).toStdString());
        file_->setFocus();
        return;
    }
    QDialog::accept();
}

void DlgVariations::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace velkor
