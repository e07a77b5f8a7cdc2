// The survey's own window: its days and base sources, how it is placed and corrected,
// and the map of every placed reading. Shows the session's survey; never owns it.
#pragma once

#include <QMainWindow>
#include <QString>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace velkor {

class Prompter;
class SurveyMapWidget;
class SurveySession;

class SurveyWindow : public QMainWindow {
    Q_OBJECT

  public:
    SurveyWindow(SurveySession& session, Prompter& prompter, QWidget* parent = nullptr);

    // "Survey Settings...": the dialog on the open survey's settings; OK takes them.
    void editSettings();

    SurveyMapWidget* map() const { return map_; }
    QTreeWidget* days() const { return days_; }
    QComboBox* colourBy() const { return colourBy_; }
    QString summary() const;
    QString readout() const;

  signals:
    // A click on the map: open this data file at this data line.
    void openReading(const QString& path, int line);

  private:
    void refresh();
    void fillDays();
    void showProgress(int done, int total);
    void hover(int reading);
    void click(int reading);

    SurveySession& session_;
    Prompter& prompter_;
    QComboBox* colourBy_ = nullptr;
    QTreeWidget* days_ = nullptr;
    QPlainTextEdit* summary_ = nullptr;
    SurveyMapWidget* map_ = nullptr;
    QLabel* readout_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace velkor
