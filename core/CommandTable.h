// Every command of the program with its texts, key and enable rule, and the order of
// the menus and the toolbar. Menus, toolbar and keys are all built from this table.
#pragma once

#include <vector>

namespace velkor {

namespace cmd {
enum Id : int {
    ExportGradient = 32781,
    ExportAuto = 32782,
    ExportField = 32783,
    ExportCorrected = 32785,
    DataList = 32773,
    Temporal = 32774,
    Geomagnetic = 32775,
    VariationsList = 32776,
    Import = 32777,
    OpenVariations = 32787,
    OpenData = 32788,
    Graph = 32789,
    Delete = 32791,
    ZoomIn = 32792,
    ZoomOut = 32793,
    CommSetup = 32794,
    CorrectedValues = 32795,
    UndoDelete = 32796,
    Map = 32797,
    NewSurvey = 32798,
    OpenSurvey = 32799,
    AddToSurvey = 32800,
    SurveySettings = 32801,
    ExportSurvey = 32802,
    LineProfiles = 32803,
    Levelling = 32810,
    SaveAs = 57604,
    PrintSetup = 57606,
    Print = 57607,
    PrintDirect = 57608,
    PrintPreview = 57609,
    About = 57664,
    Exit = 57665,
    HelpTopics = 57667,
    ContextHelp = 57669,
    Help = 57670,
    ViewToolbar = 59392,
    ViewStatusBar = 59393,
};
}  // namespace cmd

enum class Rule {
    Always,
    DataLoaded,
    VariationsLoaded,
    DataAndVariations,
    AnyCorrection,
    Print,
    ZoomIn,
    ZoomOut,
    SurveyOpen,
    DataAndSurvey,
};

// What the enable rules read.
struct CommandState {
    bool dataLoaded = false;
    bool variationsLoaded = false;
    bool temporalDone = false;
    bool geomagDone = false;
    bool graphShown = false;
    bool zoomInAllowed = false;
    bool zoomOutAllowed = false;
    // A survey is open and not being worked on.
    bool surveyOpen = false;
};

struct Command {
    int id;
    const char* menuText;  // with '&' and, after a tab, the key shown; empty: no menu item
    const char* key;       // in QKeySequence's portable text; empty: no key
    const char* prompt;    // status-bar prompt, newline, tooltip
    Rule rule;
    bool checkable;
    const char* icon;  // toolbar image name; empty: not on the toolbar
};

struct MenuEntry {
    enum Kind { Menu, EndMenu, Item, Separator };
    Kind kind;
    int id;            // for Item
    const char* text;  // for Menu
};

class CommandTable {
  public:
    static const std::vector<Command>& commands();
    static const Command* find(int id);
    static const std::vector<MenuEntry>& menus();
    // Command ids in toolbar order; 0 is a separator.
    static const std::vector<int>& toolbar();

    static bool enabled(Rule rule, const CommandState& state);
};

}  // namespace velkor
