// Document commands: open, save, delete.
#include "app/CVelkor1trDoc.h"

#include <algorithm>
#include <filesystem>

#include "app/Prompter.h"
#include "app/WaitCursor.h"
#include "data/DataFile.h"

namespace velkor {
namespace {

std::string bareName(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

}  // namespace

CVelkor1trDoc::CVelkor1trDoc(Prompter& prompter, QObject* parent)
    : QObject(parent), prompter_(prompter) {}

bool CVelkor1trDoc::onCommand(int id) {
    switch (id) {
        case cmd::OpenData:
            openData();
            return true;
        case cmd::SaveAs:
            saveAs();
            return true;
        default:
            return false;
    }
}

void CVelkor1trDoc::reset() {
    data_.reset();
}

CommandState CVelkor1trDoc::commandState() const {
    CommandState s;
    s.dataLoaded = data_.dataLoaded;
    s.variationsLoaded = data_.variationsLoaded;
    s.temporalDone = data_.temporalDone;
    s.geomagDone = data_.geomagDone;
    return s;
}

bool CVelkor1trDoc::load(const std::string& path) {
    bool ok = false;
    {
        WaitCursor wait;
        ok = DataFile::load(path, data_, prompter_);
    }
    if (ok) {
        // What is shown now is that file's content, unchanged.
        data_.modified = false;
        emit changed();
    }
    return ok;
}

bool CVelkor1trDoc::write(const std::string& path) {
    return DataFile::write(path, data_, prompter_);
}

void CVelkor1trDoc::setTitle(std::string title) {
    title_ = std::move(title);
    emit titleChanged();
}

bool CVelkor1trDoc::openByName(const std::string& path) {
    if (!load(path)) {
        return false;
    }
    pathName_ = path;
    setTitle(bareName(path));
    emit fileOpened(QString::fromStdString(path));
    return true;
}

bool CVelkor1trDoc::saveModified() {
    if (!data_.modified) {
        return true;
    }
    switch (prompter_.askSaveChanges(title_)) {
        case Prompter::Answer::Cancel:
            return false;
        case Prompter::Answer::No:
            return true;
        case Prompter::Answer::Yes:
            break;
    }
    std::string path = pathName_;
    if (path.empty()) {
        const auto chosen = prompter_.askSaveFile(kDocTypeFilter, DataFile::kDefaultExt);
        if (!chosen) {
            return false;
        }
        path = *chosen;
    }
    if (!write(path)) {
        return false;
    }
    pathName_ = path;
    return true;
}

void CVelkor1trDoc::openData() {
    if (!saveModified()) {
        return;
    }
    const auto path = prompter_.askOpenFile(DataFile::kFilter, DataFile::kDefaultExt);
    if (!path || !load(*path)) {
        return;
    }
    // Open Data names no file to save back to: Yes at the save prompt asks for a name.
    pathName_.clear();
    setTitle(bareName(*path));
}

void CVelkor1trDoc::saveAs() {
    const auto path = prompter_.askSaveFile(DataFile::kFilter, DataFile::kDefaultExt);
    if (!path || !write(*path)) {
        return;
    }
    pathName_ = *path;
    setTitle(*path);
}

void CVelkor1trDoc::deleteRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    WaitCursor wait;
    // From the last row up, so that the earlier rows keep their numbers.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const int line = *it + 1;
        if (line >= 1 && line < data_.lineCount()) {
            data_.deleteReading(line);
            data_.modified = true;
        }
    }
}

}  // namespace velkor
