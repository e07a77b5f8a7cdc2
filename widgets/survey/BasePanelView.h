// The survey window's base panel: the base sources' curves of one date in a window.
#pragma once

#include <QWidget>

#include "pictures/BasePanel.h"

namespace velkor {

class BasePanelView : public QWidget {
    Q_OBJECT

  public:
    explicit BasePanelView(QWidget* parent = nullptr);

    void setPanel(BasePanel panel);
    const BasePanel& panel() const { return panel_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    BasePanel panel_;
};

}  // namespace velkor
