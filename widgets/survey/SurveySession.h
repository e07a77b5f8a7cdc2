// The program's one open survey: its file, the survey itself and the picture of its
// placed readings. Opening and changing run off the user-interface thread, a day at a
// time, and can be cancelled; the survey file is written after every change that works.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/CommandTarget.h"
#include "pictures/SurveyMapPainter.h"
#include "survey/Survey.h"
#include "survey/SurveySettings.h"

class QThread;

namespace velkor {

class Prompter;

class SurveySession : public QObject, public CommandTarget {
    Q_OBJECT

  public:
    static constexpr const char* kFilter = "Velkor2tr surveys (*.vsurvey)|*.vsurvey||";
    static constexpr const char* kDefaultExt = "vsurvey";
    static constexpr const char* kExportFilter =
        "CSV (*.csv)|*.csv|Geosoft XYZ (*.xyz)|*.xyz|GeoPackage (*.gpkg)|*.gpkg|"
        "ESRI Shapefile (*.shp)|*.shp|KML (*.kml)|*.kml||";

    // The day open in the main window, as its saved path (none while it has never been
    // saved): Add Data File to Survey adds it.
    using OpenDay = std::function<std::optional<std::string>()>;

    SurveySession(OpenDay openDay, Prompter& prompter, QObject* parent = nullptr);
    ~SurveySession() override;

    // New Survey, Open Survey, Add Data File to Survey and Export Survey.
    bool onCommand(int id) override;

    // A survey is open and no work is running on it.
    bool ready() const { return survey_ != nullptr && !busy(); }
    bool busy() const { return job_ != nullptr; }
    // Null while nothing is open or while work runs on it.
    const Survey* survey() const { return survey_.get(); }
    const std::string& path() const { return path_; }
    // The placed readings as last computed; still drawn while work runs.
    const SurveyMapPainter& painter() const { return painter_; }

    // Takes these settings for the open survey: the new days and sources opened, every
    // value computed again; false when nothing is open, work is running, or the file was
    // changed outside this window (it is then read again, see changedOutside).
    bool change(const SurveySettings& next);
    // Stops the running work at the next day; the survey stays as it was before.
    void cancel();
    // Blocks until the running work is done and taken (tests, closing).
    void wait();

  signals:
    // The survey or its picture changed: what shows it redraws.
    void changed();
    // done of total steps of the running work.
    void progress(int done, int total);
    // A line for the status bar.
    void status(const QString& text);

  private:
    struct Job;
    void newSurvey();
    void openSurvey();
    void addDataFile();
    void exportSurvey();
    // The survey file is not as this session read or wrote it (the command-line tool or an
    // editor changed it): said so, nothing written over it, and the survey read again
    // from it when it can be. False when it is as left.
    bool changedOutside();
    // read: the survey file's bytes the settings came from.
    void start(std::unique_ptr<Survey> from, std::string path, SurveySettings next,
               std::string read);
    // Writes the survey a finished job made, holding the file from the check that nothing
    // changed it since it was read to the writing; when something had, reads it again.
    void save(const Job& job);
    void run(Job& job);
    void finish();

    OpenDay openDay_;
    Prompter& prompter_;
    std::unique_ptr<Survey> survey_;
    std::string path_;
    std::string known_;  // the survey file's bytes as this session last read or wrote them
    SurveyMapPainter painter_;
    std::shared_ptr<Job> job_;
    QThread* thread_ = nullptr;  // a child of this session while work runs
};

}  // namespace velkor
