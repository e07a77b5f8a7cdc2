// The "Positions" box of the survey settings: the survey's position tracks (GNSS logs),
// each with the seconds added to its times, added by file and told apart by content.
#pragma once

#include <QGroupBox>
#include <optional>
#include <string>
#include <vector>

#include "survey/SurveySettings.h"

namespace velkor {

class Prompter;
class SourceFileTable;

class TrackTable : public QGroupBox {
    Q_OBJECT

  public:
    TrackTable(Prompter& prompter, QWidget* parent = nullptr);

    void load(const std::vector<SurveySettings::Track>& tracks);
    // The tracks as the table gives them; nothing and a message when an offset is not a
    // number.
    std::optional<std::vector<SurveySettings::Track>> tracks(std::string& message) const;
    // Asks for a file and adds it when it is a GPX file or an NMEA log; says so when not.
    void add();

  private:
    void addRow(const SurveySettings::Track& t);

    Prompter& prompter_;
    SourceFileTable* table_ = nullptr;
};

}  // namespace velkor
