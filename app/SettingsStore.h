// The per-user settings store: communication settings, serial port devices, recent files,
// the field model's last place, the main window's place, the map's scale of each file.
#pragma once

#include <QSettings>
#include <optional>
#include <string>
#include <vector>

#include "app/WindowPlacement.h"
#include "corrections/GeomagneticModel.h"
#include "pictures/PlanMapGeometry.h"
#include "serial/ComPortMap.h"
#include "serial/CommSettings.h"

namespace velkor {

class SettingsStore {
  public:
    static QSettings open();

    // Missing keys read as empty texts and 0.
    static CommSettings readComm();
    static void writeComm(const CommSettings& settings);
    // COM ports mapped to other devices in the section "Serial ports" (key "COM5").
    static ComPortMap portMap();

    static std::vector<std::string> readRecentFiles();
    static void writeRecentFiles(const std::vector<std::string>& files);

    // Nothing until a place has been entered.
    static std::optional<GeomagneticModel::Place> readIgrfPlace();
    static void writeIgrfPlace(const GeomagneticModel::Place& place);

    // Nothing until the window has been closed once, or when a value is not a number.
    static std::optional<WindowPlacement> readWindowPlacement();
    static void writeWindowPlacement(const WindowPlacement& placement);
    // The map's scale of the data file at path; 1 m and 1 m until one has been set.
    static PlanMapGeometry::Scale readMapScale(const std::string& path);
    static void writeMapScale(const std::string& path, const PlanMapGeometry::Scale& scale);
};

}  // namespace velkor
