// The open survey and the work on it.
#include "widgets/survey/SurveySession.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/CommandTable.h"
#include "core/Prompter.h"
#include "survey/OutputParts.h"
#include "survey/SurveyEditor.h"
#include "survey/SurveyExport.h"
#include "survey/SurveyFile.h"
#include "survey/SurveyFileLock.h"
#include "text/QuotedText.h"

namespace velkor {

// One piece of work, shared by the worker thread and the session; the worker alone
// touches survey until the thread has finished.
struct SurveySession::Job {
    std::unique_ptr<Survey> survey;  // null: a survey opened anew
    bool fresh = false;
    std::string path;
    SurveySettings old;  // the settings the work started from
    SurveySettings next;
    std::string read;  // the survey file's bytes next came from
    std::atomic<bool> cancel{false};
    bool ok = false;
    bool cancelled = false;
    std::string message;
    SurveyMapPainter painter;
};

SurveySession::SurveySession(OpenDay openDay, Prompter& prompter, QObject* parent)
    : QObject(parent), openDay_(std::move(openDay)), prompter_(prompter) {}

SurveySession::~SurveySession() {
    cancel();
    if (thread_ != nullptr) {
        thread_->wait();
    }
}

namespace {

// The file's bytes; nothing when it cannot be read (gone, never written, or no longer a
// file a survey can be read from).
std::optional<std::string> bytesOf(const std::string& path) {
    std::string ignored;
    return SurveyFile::bytes(path, ignored);
}

}  // namespace

bool SurveySession::onCommand(int id) {
    switch (id) {
        case cmd::NewSurvey:
            newSurvey();
            return true;
        case cmd::OpenSurvey:
            openSurvey();
            return true;
        case cmd::AddToSurvey:
            addDataFile();
            return true;
        case cmd::ExportSurvey:
            exportSurvey();
            return true;
        default:
            return false;
    }
}

void SurveySession::newSurvey() {
    if (busy()) {
        return;
    }
    const std::optional<std::string> path = prompter_.askSaveFile(kFilter, kDefaultExt);
    if (!path) {
        return;
    }
    std::string message;
    std::optional<Survey> survey = Survey::open(SurveySettings{}, message);
    if (!survey || !survey->write(*path, message)) {
        prompter_.message(message);
        return;
    }
    survey_ = std::make_unique<Survey>(std::move(*survey));
    path_ = *path;
    known_ = bytesOf(path_).value_or(std::string());
    painter_ = SurveyMapPainter();
    emit status(QString::fromStdString("New survey " + QuotedText::of(path_)));
    emit changed();
}

void SurveySession::openSurvey() {
    if (busy()) {
        return;
    }
    const std::optional<std::string> path = prompter_.askOpenFile(kFilter, kDefaultExt);
    if (!path) {
        return;
    }
    std::string message;
    std::string read;
    const std::optional<SurveySettings> settings = SurveyFile::read(*path, message, &read);
    if (!settings) {
        prompter_.message(message);
        return;
    }
    start(nullptr, *path, *settings, std::move(read));
}

void SurveySession::addDataFile() {
    if (!ready()) {
        return;
    }
    const std::optional<std::string> day = openDay_();
    if (!day) {
        return;
    }
    if (changedOutside()) {
        return;
    }
    SurveySettings next = survey_->settings();
    next.days.push_back(*day);
    start(std::move(survey_), path_, next, known_);
}

void SurveySession::exportSurvey() {
    if (!ready()) {
        return;
    }
    const std::optional<std::string> path = prompter_.askSaveFile(kExportFilter, "csv");
    if (!path) {
        return;
    }
    const std::optional<SurveyExport::Format> format = SurveyExport::formatOf(*path);
    if (!format) {
        prompter_.message(
            "Name a file ending in .csv, .xyz, .gpkg, .shp or .kml: its ending "
            "chooses the format.");
        return;
    }
    if (const std::string owned =
            OutputParts::ownedBy(survey_->settings(), OutputParts::of(*path, *format), path_);
        !owned.empty()) {
        prompter_.message(SurveySettings::ownFileMessage(owned));
        return;
    }
    SurveyExport::Options options;
    options.name = std::filesystem::path(path_).stem().string();
    std::string message;
    if (!SurveyExport::write(*survey_, *format, *path, options, message)) {
        prompter_.message(message);
        return;
    }
    emit status(QString("Exported %1 readings to %2")
                    .arg(survey_->readingCount())
                    .arg(QString::fromStdString(QuotedText::of(*path))));
}

bool SurveySession::change(const SurveySettings& next) {
    if (!ready() || changedOutside()) {
        return false;
    }
    if (const std::string refused = SurveyEditor::refusal(survey_->settings(), next);
        !refused.empty()) {
        prompter_.message(refused);
        return false;
    }
    start(std::move(survey_), path_, next, known_);
    return true;
}

bool SurveySession::changedOutside() {
    const std::optional<std::string> now = bytesOf(path_);
    if (!now || *now == known_) {
        return false;  // as this window left it, or gone: the next write puts it back
    }
    const std::string name = QuotedText::of(std::filesystem::path(path_).filename().string());
    std::string message;
    std::string read;
    const std::optional<SurveySettings> settings = SurveyFile::read(path_, message, &read);
    if (!settings) {
        prompter_.message(name +
                          " was changed outside this window and cannot be read now: " + message +
                          ". Nothing is written over it; mend it or open another survey.");
        return true;
    }
    prompter_.message(name +
                      " was changed outside this window since it was read here. The survey is "
                      "read again from it; make the change again if it is still wanted.");
    start(nullptr, path_, *settings, std::move(read));
    return true;
}

void SurveySession::cancel() {
    if (job_) {
        job_->cancel = true;
    }
}

void SurveySession::wait() {
    if (thread_ != nullptr) {
        thread_->wait();
        QCoreApplication::sendPostedEvents(this);
    }
}

void SurveySession::start(std::unique_ptr<Survey> from, std::string path, SurveySettings next,
                          std::string read) {
    job_ = std::make_shared<Job>();
    job_->fresh = from == nullptr;
    job_->survey = std::move(from);
    job_->path = std::move(path);
    job_->next = std::move(next);
    job_->read = std::move(read);
    thread_ = QThread::create([this, job = job_] { run(*job); });
    thread_->setParent(this);
    connect(thread_, &QThread::finished, this, &SurveySession::finish);
    emit changed();
    thread_->start();
}

void SurveySession::run(Job& job) {
    if (job.survey) {
        job.old = job.survey->settings();
    }
    const std::unordered_set<std::string> old(job.old.days.begin(), job.old.days.end());
    const auto added = std::count_if(job.next.days.begin(), job.next.days.end(),
                                     [&old](const std::string& d) { return old.count(d) == 0; });
    const int total = static_cast<int>(added) + 1;
    const auto tell = [this, total](int done) {
        QMetaObject::invokeMethod(
            this, [this, done, total] { emit progress(done, total); }, Qt::QueuedConnection);
    };
    // In one change, told a day at a time, so that the bar moves and a cancel is heard
    // between days, and every value is computed once at the end; a change that fails or
    // is stopped leaves the survey as it was.
    const Survey::Progress dayDone = [&job, &tell](int opened, int) {
        tell(opened);
        return !job.cancel;
    };
    if (job.survey) {
        job.ok = job.survey->change(job.next, job.message, dayDone);
    } else if (std::optional<Survey> opened = Survey::open(job.next, job.message, dayDone)) {
        job.survey = std::make_unique<Survey>(std::move(*opened));
        job.ok = true;
    }
    if (!job.ok) {
        job.cancelled = job.cancel;
        return;
    }
    tell(total);
    job.painter = SurveyMapPainter::build(*job.survey);
}

void SurveySession::finish() {
    thread_->deleteLater();
    thread_ = nullptr;
    const std::shared_ptr<Job> job = std::move(job_);
    if (job->ok && job->cancel) {
        // Cancel came as the last step ended: the user still gets the survey as it was.
        if (!job->fresh) {
            std::string ignored;
            job->survey->change(job->old, ignored);
        }
        job->ok = false;
        job->cancelled = true;
    }
    if (job->ok) {
        survey_ = std::move(job->survey);
        path_ = job->path;
        painter_ = std::move(job->painter);
        save(*job);
    } else {
        if (!job->fresh) {
            survey_ = std::move(job->survey);
        }
        if (job->cancelled) {
            emit status("Cancelled: the survey is as it was");
        } else {
            prompter_.message(job->message);
        }
    }
    emit changed();
}

void SurveySession::save(const Job& job) {
    const SurveyFileLock held(path_);
    // Changed by the tool or an editor while the work ran: read again, never written over.
    known_ = job.read;
    if (changedOutside()) {
        return;
    }
    const SurveyEditor::Finished f =
        SurveyEditor::finish(*survey_, path_, job.fresh ? job.next : job.old);
    if (f.written) {
        known_ = bytesOf(path_).value_or(std::string());
    } else {
        prompter_.message(f.message);
    }
    if (!f.dropped.empty()) {
        prompter_.message(f.dropped);
    }
    for (const std::string& line : f.coverage) {
        prompter_.message(line);
    }
    const int days = survey_->dayCount();
    const int readings = survey_->readingCount();
    emit status(QString("Survey: %1 %2, %3 %4")
                    .arg(days)
                    .arg(days == 1 ? "day" : "days")
                    .arg(readings)
                    .arg(readings == 1 ? "reading" : "readings"));
}

}  // namespace velkor
