// Grids the open survey off the user-interface thread for the survey window: the readings
// are taken on the calling thread, the gridding, contouring, colouring and shading run on
// a worker that can be cancelled. Only the result of the latest request is ever taken; one
// for settings since changed is dropped.
#pragma once

#include <QObject>
#include <memory>
#include <vector>

#include "pictures/GridLayerPainter.h"
#include "pictures/GridStretch.h"
#include "survey/SurveyGridding.h"

class QThread;

namespace velkor {

class Survey;

class SurveyGridder : public QObject {
    Q_OBJECT

  public:
    explicit SurveyGridder(QObject* parent = nullptr);
    ~SurveyGridder() override;
    SurveyGridder(const SurveyGridder&) = delete;
    SurveyGridder& operator=(const SurveyGridder&) = delete;

    // Grids survey's readings anew as its gridding settings say; work still running is
    // cancelled and its result will be dropped. The grid shown so far stays until the new
    // one is in.
    void start(const Survey& survey, const GridStretch::Choice& stretch);
    // Stops the running work; the grid it would have replaced is dropped too, as it no
    // longer matches what was asked for.
    void cancel();
    // No grid any more (the survey is closed or changed beyond it).
    void clear();
    // Colours the grid anew; no gridding.
    void setStretch(const GridStretch::Choice& stretch);
    // Blocks until every worker is done and the latest result is taken (tests, closing).
    void wait();

    bool busy() const { return running_ != nullptr; }
    // Null while there is no grid.
    const SurveyGridding::Result* result() const { return result_.get(); }
    const GridLayerPainter* painter() const { return result_ ? &painter_ : nullptr; }
    const GridStretch::Choice& stretch() const { return stretch_; }

  signals:
    // Thousandths of the running gridding done.
    void progress(int permille);
    // The grid came in, was dropped, or the work stopped: what shows it redraws.
    void changed();

  private:
    struct Job;
    void finish(const std::shared_ptr<Job>& job, QThread* thread);

    std::shared_ptr<Job> running_;   // the latest request, while it runs
    std::vector<QThread*> threads_;  // children of this object while they run
    std::shared_ptr<const SurveyGridding::Result> result_;
    GridLayerPainter painter_;
    GridStretch::Choice stretch_;
};

}  // namespace velkor
