// Names in the per-user settings store.
#pragma once

namespace velkor::settings {

inline constexpr const char* kOrganization = "Local AppWizard-Generated Applications";
inline constexpr const char* kApplication = "Velkor2tr";

inline constexpr const char* kRecentSection = "Recent File List";
inline constexpr const char* kRecentKeyPrefix = "File";  // File1 to File4
inline constexpr int kRecentCount = 4;

inline constexpr const char* kCommSection = "Comunication setings";
inline constexpr const char* kComPort = "ComPort";
inline constexpr const char* kBaudRate = "BaudRate";
inline constexpr const char* kDevice = "Device";

inline constexpr const char* kSerialPortsSection = "Serial ports";

// The last place the field model was asked about.
inline constexpr const char* kIgrfSection = "IGRF";
inline constexpr const char* kLatitude = "Latitude";    // decimal degrees, north positive
inline constexpr const char* kLongitude = "Longitude";  // decimal degrees, east positive
inline constexpr const char* kHeight = "Height";        // m above the ellipsoid

// The main window's place when it was last closed: its area when not maximized, in
// pixels of the virtual desktop, and whether it was maximized.
inline constexpr const char* kWindowSection = "Window";
inline constexpr const char* kWindowX = "X";
inline constexpr const char* kWindowY = "Y";
inline constexpr const char* kWindowWidth = "Width";
inline constexpr const char* kWindowHeight = "Height";
inline constexpr const char* kWindowMaximized = "Maximized";
// The plan map's scale of each data file: a group per file, named by its path.
inline constexpr const char* kMapScaleSection = "Map scale";
inline constexpr const char* kLineSpacing = "LineSpacing";          // m
inline constexpr const char* kStationInterval = "StationInterval";  // m

}  // namespace velkor::settings
