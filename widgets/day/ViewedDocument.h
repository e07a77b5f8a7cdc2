// What the views see of the document: its readings, its title and the few things they
// ask of it, so that a view never needs the shell that owns the document.
#pragma once

#include <string>
#include <vector>

#include "pictures/PlanMapGeometry.h"

namespace velkor {

class DataSet;
class Prompter;

class ViewedDocument {
  public:
    virtual const DataSet& data() const = 0;
    virtual const std::string& title() const = 0;
    // The list and the graph show the corrected values (off after every load).
    virtual bool showCorrected() const = 0;
    virtual Prompter& prompter() = 0;
    // Removes the readings shown in the given list rows (row r is data line r + 1).
    virtual void deleteRows(std::vector<int> rows) = 0;
    // The plan map's line spacing and station interval, remembered for the file.
    virtual PlanMapGeometry::Scale mapScale() const = 0;
    virtual void setMapScale(const PlanMapGeometry::Scale& scale) = 0;

  protected:
    ~ViewedDocument() = default;
};

}  // namespace velkor
