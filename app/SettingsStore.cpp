// Settings store access.
#include "app/SettingsStore.h"

#include <QFileInfo>
#include <QUrl>
#include <map>

#include "app/SettingsKeys.h"

namespace velkor {

QSettings SettingsStore::open() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, settings::kOrganization,
                     settings::kApplication);
}

CommSettings SettingsStore::readComm() {
    QSettings s = open();
    s.beginGroup(settings::kCommSection);
    CommSettings c;
    c.comPort = s.value(settings::kComPort, QString()).toString().toStdString();
    c.baudRate = s.value(settings::kBaudRate, QString()).toString().toStdString();
    c.device = s.value(settings::kDevice, 0).toInt();
    return c;
}

void SettingsStore::writeComm(const CommSettings& c) {
    QSettings s = open();
    s.beginGroup(settings::kCommSection);
    s.setValue(settings::kComPort, QString::fromStdString(c.comPort));
    s.setValue(settings::kBaudRate, QString::fromStdString(c.baudRate));
    s.setValue(settings::kDevice, c.device);
}

ComPortMap SettingsStore::portMap() {
    QSettings s = open();
    s.beginGroup(settings::kSerialPortsSection);
    std::map<int, std::string> overrides;
    for (const QString& key : s.childKeys()) {
        const int n = ComPortMap::portNumber(key.toStdString());
        if (key.startsWith("COM") && n >= 1 && n <= ComPortMap::kLastPort) {
            overrides[n] = s.value(key).toString().toStdString();
        }
    }
    return ComPortMap(overrides);
}

std::vector<std::string> SettingsStore::readRecentFiles() {
    QSettings s = open();
    s.beginGroup(settings::kRecentSection);
    std::vector<std::string> entries;
    for (int i = 1; i <= settings::kRecentCount; ++i) {
        entries.push_back(
            s.value(settings::kRecentKeyPrefix + QString::number(i)).toString().toStdString());
    }
    return entries;
}

void SettingsStore::writeRecentFiles(const std::vector<std::string>& files) {
    QSettings s = open();
    s.beginGroup(settings::kRecentSection);
    for (int i = 1; i <= settings::kRecentCount; ++i) {
        const QString key = settings::kRecentKeyPrefix + QString::number(i);
        const std::size_t k = static_cast<std::size_t>(i - 1);
        if (k < files.size()) {
            s.setValue(key, QString::fromStdString(files[k]));
        } else {
            s.remove(key);
        }
    }
}

std::optional<GeomagneticModel::Place> SettingsStore::readIgrfPlace() {
    QSettings s = open();
    s.beginGroup(settings::kIgrfSection);
    bool latOk = false;
    bool lonOk = false;
    bool heightOk = false;
    const GeomagneticModel::Place place{s.value(settings::kLatitude).toDouble(&latOk),
                                        s.value(settings::kLongitude).toDouble(&lonOk),
                                        s.value(settings::kHeight).toDouble(&heightOk)};
    if (!latOk || !lonOk || !heightOk) {
        return std::nullopt;
    }
    return place;
}

void SettingsStore::writeIgrfPlace(const GeomagneticModel::Place& place) {
    QSettings s = open();
    s.beginGroup(settings::kIgrfSection);
    s.setValue(settings::kLatitude, place.latitude);
    s.setValue(settings::kLongitude, place.longitude);
    s.setValue(settings::kHeight, place.height);
}

std::optional<WindowPlacement> SettingsStore::readWindowPlacement() {
    QSettings s = open();
    s.beginGroup(settings::kWindowSection);
    int number[4] = {};
    const char* keys[4] = {settings::kWindowX, settings::kWindowY, settings::kWindowWidth,
                           settings::kWindowHeight};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        number[i] = s.value(keys[i]).toInt(&ok);
        if (!ok) {
            return std::nullopt;
        }
    }
    return WindowPlacement(QRect(number[0], number[1], number[2], number[3]),
                           s.value(settings::kWindowMaximized, false).toBool());
}

void SettingsStore::writeWindowPlacement(const WindowPlacement& placement) {
    QSettings s = open();
    s.beginGroup(settings::kWindowSection);
    const QRect& r = placement.normal();
    s.setValue(settings::kWindowX, r.x());
    s.setValue(settings::kWindowY, r.y());
    s.setValue(settings::kWindowWidth, r.width());
    s.setValue(settings::kWindowHeight, r.height());
    s.setValue(settings::kWindowMaximized, placement.maximized());
}

namespace {

// A file's whole path names one group, encoded: its slashes would otherwise open a group
// per folder.
QString mapScaleGroup(const std::string& path) {
    const QString whole = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    return QString(settings::kMapScaleSection) + "/" +
           QString::fromLatin1(QUrl::toPercentEncoding(whole));
}

}  // namespace

PlanMapGeometry::Scale SettingsStore::readMapScale(const std::string& path) {
    QSettings s = open();
    s.beginGroup(mapScaleGroup(path));
    bool lineOk = false;
    bool stationOk = false;
    const PlanMapGeometry::Scale scale{s.value(settings::kLineSpacing).toDouble(&lineOk),
                                       s.value(settings::kStationInterval).toDouble(&stationOk)};
    return lineOk && stationOk && PlanMapGeometry::validScale(scale) ? scale
                                                                     : PlanMapGeometry::Scale{};
}

void SettingsStore::writeMapScale(const std::string& path, const PlanMapGeometry::Scale& scale) {
    QSettings s = open();
    s.beginGroup(mapScaleGroup(path));
    s.setValue(settings::kLineSpacing, scale.lineSpacing);
    s.setValue(settings::kStationInterval, scale.stationInterval);
}

}  // namespace velkor
