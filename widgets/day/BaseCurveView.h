// The base-station curve of one date in a window.
#pragma once

#include <QWidget>

#include "corrections/BaseDay.h"

namespace velkor {

class BaseCurveView : public QWidget {
    Q_OBJECT

  public:
    explicit BaseCurveView(QWidget* parent = nullptr);

    void setDay(BaseDay day);
    const BaseDay& day() const { return day_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    BaseDay day_;
};

}  // namespace velkor
