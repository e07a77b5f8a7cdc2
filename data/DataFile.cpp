// Data file load and write.
#include "data/DataFile.h"

#include <utility>

#include "core/Prompter.h"
#include "core/SafeFileWriter.h"
#include "data/LineReader.h"

namespace velkor {

std::string DataFile::tooManyLinesMessage() {
    return "The file has more than " + std::to_string(DataSet::kCapacity) +
           " lines. Velkor2tr holds at most " + std::to_string(DataSet::kCapacity) +
           " lines (header line included); nothing was loaded.";
}

bool DataFile::load(const std::string& path, DataSet& data, Prompter& prompter) {
    auto lines = LineReader::readBufferOrSay(path, DataSet::kCapacity, prompter, kReadError,
                                             tooManyLinesMessage());
    if (!lines) {
        return false;
    }
    if (lines->count() <= 1) {
        prompter.message(kEmpty);
        return false;
    }
    data.replaceLines(std::move(*lines));
    return true;
}

bool DataFile::write(const std::string& path, DataSet& data, Prompter& prompter) {
    SafeFileWriter out(path);
    if (out.open()) {
        for (int k = 0; k < data.lineCount(); ++k) {
            out.writeLine(data.line(k));
        }
    }
    if (!out.commit()) {
        prompter.message(kWriteError);
        return false;
    }
    data.modified = false;
    return true;
}

}  // namespace velkor
