// Gridding off the user-interface thread.
#include "widgets/survey/SurveyGridder.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cmath>

#include "gridding/MinimumCurvature.h"
#include "survey/Survey.h"

namespace velkor {

// One request: what the worker reads and what it hands back.
struct SurveyGridder::Job {
    std::vector<GridPoint> points;
    GriddingOptions options;
    SurveyGridding::What what = SurveyGridding::What::Anomaly;
    double interval = 0.0;  // nT between contour levels; 0 the default
    GridStretch::Choice stretch;
    std::atomic<bool> cancel{false};
    std::atomic<int> permille{-1};
    // The grid shown when the request was made: the same readings with new values are
    // gridded from it, in a fraction of the time.
    std::shared_ptr<const SurveyGridding::Result> previous;
    std::shared_ptr<SurveyGridding::Result> result;
    GridLayerPainter painter;  // points into result
};

SurveyGridder::SurveyGridder(QObject* parent) : QObject(parent) {}

SurveyGridder::~SurveyGridder() {
    if (running_) {
        running_->cancel = true;
    }
    for (QThread* t : threads_) {
        t->wait();
    }
}

void SurveyGridder::start(const Survey& survey, const GridStretch::Choice& stretch) {
    if (running_) {
        running_->cancel = true;
    }
    auto job = std::make_shared<Job>();
    const SurveySettings::Gridding& gridding = survey.settings().gridding;
    job->points = SurveyGridding::points(survey, gridding.what);
    // The window's own coarser default cell, so that a season's first grid shows soon.
    job->options = SurveyGridding::withNodeLimit(
        job->points, SurveyGridding::withSurvey(survey, gridding.options()),
        SurveyGridding::kWindowNodes);
    job->what = gridding.what;
    job->interval = gridding.interval.value_or(0.0);
    job->stretch = stretch;
    job->previous = result_;
    stretch_ = stretch;
    running_ = job;
    QThread* thread = QThread::create([this, job] {
        const MinimumCurvature::Progress progress = [this, job](double fraction) {
            const int permille = static_cast<int>(std::lround(fraction * 1000.0));
            if (job->permille.exchange(permille) != permille) {
                QMetaObject::invokeMethod(
                    this,
                    [this, job, permille] {
                        if (job == running_) {
                            emit this->progress(permille);
                        }
                    },
                    Qt::QueuedConnection);
            }
        };
        // The survey's own gridding, from readings taken beforehand.
        auto result = std::make_shared<SurveyGridding::Result>(
            job->previous
                ? SurveyGridding::regrid(*job->previous, job->points, job->what, job->options,
                                         job->interval, job->cancel, progress)
                : SurveyGridding::run(job->points, job->what, job->options, job->interval,
                                      job->cancel, progress));
        if (!result->gridded.grid.lattice.empty() && !job->cancel) {
            job->painter = GridLayerPainter(*result, job->stretch);
        }
        job->result = std::move(result);
    });
    thread->setParent(this);
    threads_.push_back(thread);
    connect(thread, &QThread::finished, this, [this, job, thread] { finish(job, thread); });
    thread->start();
    emit changed();
}

void SurveyGridder::finish(const std::shared_ptr<Job>& job, QThread* thread) {
    threads_.erase(std::remove(threads_.begin(), threads_.end(), thread), threads_.end());
    thread->deleteLater();
    if (job != running_) {
        return;  // superseded or cancelled: its grid is for other settings
    }
    running_.reset();
    if (!job->cancel && job->result && !job->result->gridded.grid.lattice.empty()) {
        result_ = job->result;
        // Coloured anew when the stretch changed while it ran.
        painter_ = job->stretch == stretch_ ? std::move(job->painter)
                                            : GridLayerPainter(*result_, stretch_);
    } else if (!job->cancel) {
        // No grid could be made of these readings: the report says why.
        result_ = job->result;
        painter_ = GridLayerPainter();
    }
    emit changed();
}

void SurveyGridder::cancel() {
    if (!running_) {
        return;
    }
    running_->cancel = true;
    running_.reset();
    result_.reset();
    painter_ = GridLayerPainter();
    emit changed();
}

void SurveyGridder::clear() {
    if (running_) {
        running_->cancel = true;
        running_.reset();
    }
    result_.reset();
    painter_ = GridLayerPainter();
    emit changed();
}

void SurveyGridder::setStretch(const GridStretch::Choice& stretch) {
    stretch_ = stretch;
    if (result_ && !result_->gridded.grid.lattice.empty()) {
        painter_ = GridLayerPainter(*result_, stretch);
    }
    emit changed();
}

void SurveyGridder::wait() {
    while (!threads_.empty()) {
        const std::vector<QThread*> threads = threads_;
        for (QThread* t : threads) {
            t->wait();
        }
        QCoreApplication::sendPostedEvents(this);
    }
}

}  // namespace velkor
