// Variations list dialog.
#include "widgets/day/DlgVariations.h"

#include <QComboBox>
#include <QFont>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "core/Prompter.h"
#include "corrections/BaseDay.h"
#include "widgets/day/BaseCurveView.h"
#include "widgets/shared/DialogFrame.h"

namespace velkor {

DlgVariations::DlgVariations(const std::string& path, const std::vector<std::string>& lines,
                             Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      file_(new QLineEdit(this)),
      list_(new QListWidget(this)),
      prompter_(prompter),
      columns_(new QHBoxLayout(this)) {
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

    auto* layout = new QVBoxLayout;
    columns_->addLayout(layout);
    layout->addWidget(file_);
    layout->addWidget(header);
    layout->addWidget(list_, 1);
    resize(340, 420);
    setWhatsThis("The samples of the variations file read last, as they stand in the file.");
    DialogFrame::prepare(*this, "variationslist.html");
}

void DlgVariations::showCurve(const VariationSet& variations, const DataSet* survey) {
    const std::vector<std::string> dates = BaseDay::dates(variations);
    if (dates.empty()) {
        return;
    }
    auto* side = new QVBoxLayout;
    curve_ = new BaseCurveView(this);
    if (dates.size() > 1) {
        dates_ = new QComboBox(this);
        for (const std::string& d : dates) {
            dates_->addItem(QString::fromStdString(d));
        }
        dates_->setCurrentText(QString::fromStdString(BaseDay::firstDate(variations, survey)));
        connect(dates_, &QComboBox::currentTextChanged, this,
                [this, &variations, survey](const QString& date) {
                    curve_->setDay(BaseDay::of(variations, date.toStdString(), survey));
                });
        side->addWidget(dates_, 0, Qt::AlignLeft);
    }
    curve_->setDay(BaseDay::of(variations, BaseDay::firstDate(variations, survey), survey));
    side->addWidget(curve_, 1);
    columns_->addLayout(side, 1);
    resize(1000, 520);
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
