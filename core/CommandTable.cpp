// The command table.
#include "core/CommandTable.h"

namespace velkor {

const std::vector<Command>& CommandTable::commands() {
    static const std::vector<Command> table{
        {cmd::Import, "&Import...\tCtrl+I", "Ctrl+I", "Import data from the instrument\nImport",
         Rule::Always, false, "import"},
        {cmd::OpenData, "&Open Data...\tCtrl+O", "Ctrl+O", "Open an existing data file\nOpen Data",
         Rule::Always, false, "open"},
        {cmd::OpenVariations, "Open V&ariations\tCtrl+B", "Ctrl+B",
         "Open an existing variations file\nOpen Variations", Rule::Always, false, "variations"},
        {cmd::SaveAs, "&Save As...\tCtrl+S", "Ctrl+S", "Save the data with a new name\nSave As",
         Rule::DataLoaded, false, "save"},
        {cmd::ExportField, "&Field\tCtrl+F", "Ctrl+F",
         "Export line, position, measured field\nExport Field", Rule::DataLoaded, false,
         "export-field"},
        {cmd::ExportGradient, "&Gradient\tCtrl+G", "Ctrl+G",
         "Export line, position, gradient\nExport Gradient", Rule::DataLoaded, false,
         "export-gradient"},
        {cmd::ExportAuto, "&Auto\tCtrl+A", "Ctrl+A",
         "Export date, time, value of the magnetic field variations\nExport Variations",
         Rule::DataLoaded, false, "export-auto"},
        {cmd::ExportCorrected, "&Corrected\tCtrl+C", "Ctrl+C",
         "Export line, position, corrected value of the magnetic field \nExport Corrected Field",
         Rule::AnyCorrection, false, "export-corrected"},
        {cmd::Print, "&Print...\tCtrl+P", "Ctrl+P", "Print the active document\nPrint", Rule::Print,
         false, "print"},
        {cmd::PrintPreview, "Print Pre&view", "", "Display full pages\nPrint Preview", Rule::Always,
         false, ""},
        {cmd::PrintSetup, "P&rint Setup...", "",
         "Change the printer and printing options\nPrint Setup", Rule::Always, false, ""},
        {cmd::Exit, "E&xit", "", "Quit the application; prompts to save documents\nExit",
         Rule::Always, false, ""},
        {cmd::DataList, "&Data List\tCtrl+D", "Ctrl+D", "Show the data list\nData List",
         Rule::DataLoaded, false, "list"},
        {cmd::VariationsList, "&Variations List\tCtrl+V", "Ctrl+V",
         "Show the list of variations recently read\nVariations List", Rule::VariationsLoaded,
         false, "variations-list"},
        {cmd::Graph, "&Graph\tCtrl+L", "Ctrl+L", "Draw a graph of measured values\nDraw Graph",
         Rule::DataLoaded, false, "graph"},
        {cmd::ZoomIn, "Zoom &In", "", "Zoom in\nZoom In", Rule::ZoomIn, false, "zoom-in"},
        {cmd::ZoomOut, "Zoom &Out", "", "Zoom out \nZoom out", Rule::ZoomOut, false, "zoom-out"},
        {cmd::ViewToolbar, "&Toolbar", "", "Show or hide the toolbar\nToggle ToolBar", Rule::Always,
         true, ""},
        {cmd::ViewStatusBar, "&Status Bar", "", "Show or hide the status bar\nToggle StatusBar",
         Rule::Always, true, ""},
        {cmd::Temporal, "&Temporal...\tCtrl+T", "Ctrl+T",
         "Correction for temporal variations\nTemporal variations", Rule::DataAndVariations, false,
         ""},
        {cmd::Geomagnetic, "&Geomagnetic...", "",
         "Correction for spatial variations\nGeomagnetic correction", Rule::DataLoaded, false, ""},
        {cmd::HelpTopics, "&Help Topics", "", "List Help topics\nHelp Topics", Rule::Always, false,
         ""},
        {cmd::About, "&About Velkor2tr...", "",
         "Display program information, version number and copyright\nAbout", Rule::Always, false,
         "about"},
        {cmd::Delete, "", "Delete", "", Rule::Always, false, ""},
        {cmd::Help, "", "F1", "Display help for current task or command\nHelp", Rule::Always, false,
         ""},
        {cmd::ContextHelp, "", "Shift+F1",
         "Display help for clicked on buttons, menus and windows\nHelp", Rule::Always, false,
         "context-help"},
        {cmd::PrintDirect, "", "", "", Rule::Always, false, ""},
        {cmd::CommSetup, "", "Ctrl+Shift+C", "", Rule::Always, false, ""},
        {cmd::CorrectedValues, "&Corrected Values\tCtrl+K", "Ctrl+K",
         "Show the corrected values in the list and the graph\nCorrected Values",
         Rule::AnyCorrection, true, ""},
        {cmd::UndoDelete, "", "Ctrl+Z", "Bring back the readings of the last Delete\nUndo Delete",
         Rule::DataLoaded, false, ""},
        {cmd::Map, "&Map\tCtrl+M", "Ctrl+M", "Show the readings as a map by line and position\nMap",
         Rule::DataLoaded, false, ""},
        {cmd::NewSurvey, "&New Survey...", "", "Start a survey file of several days\nNew Survey",
         Rule::Always, false, ""},
        {cmd::OpenSurvey, "&Open Survey...", "", "Open an existing survey file\nOpen Survey",
         Rule::Always, false, ""},
        {cmd::AddToSurvey, "&Add Data File to Survey...", "",
         "Add the current data file to the survey as a day\nAdd Data File to Survey",
         Rule::DataAndSurvey, false, ""},
        {cmd::SurveySettings, "Survey &Settings...", "",
         "Change the survey's base sources, placement and corrections\nSurvey Settings",
         Rule::SurveyOpen, false, ""},
        {cmd::ExportSurvey, "&Export Survey...", "",
         "Write every placed and corrected reading for GIS and gridding software\nExport Survey",
         Rule::SurveyOpen, false, ""},
        {cmd::LineProfiles, "&Line Profiles...", "",
         "Show the survey lines as profiles, to find and flag spikes\nLine Profiles",
         Rule::SurveyOpen, false, ""},
        {cmd::Levelling, "Le&velling...", "",
         "Level the survey: days, walking directions, lines and stagger\nLevelling",
         Rule::SurveyOpen, false, ""},
    };
    return table;
}

const Command* CommandTable::find(int id) {
    for (const Command& c : commands()) {
        if (c.id == id) {
            return &c;
        }
    }
    return nullptr;
}

const std::vector<MenuEntry>& CommandTable::menus() {
    using E = MenuEntry;
    static const std::vector<MenuEntry> layout{
        {E::Menu, 0, "&File"},
        {E::Item, cmd::Import, nullptr},
        {E::Item, cmd::OpenData, nullptr},
        {E::Item, cmd::OpenVariations, nullptr},
        {E::Separator, 0, nullptr},
        {E::Item, cmd::SaveAs, nullptr},
        {E::Menu, 0, "&Export"},
        {E::Item, cmd::ExportField, nullptr},
        {E::Item, cmd::ExportGradient, nullptr},
        {E::Item, cmd::ExportAuto, nullptr},
        {E::Separator, 0, nullptr},
        {E::Item, cmd::ExportCorrected, nullptr},
        {E::EndMenu, 0, nullptr},
        {E::Separator, 0, nullptr},
        {E::Item, cmd::Print, nullptr},
        {E::Item, cmd::PrintPreview, nullptr},
        {E::Item, cmd::PrintSetup, nullptr},
        {E::Separator, 0, nullptr},
        {E::Item, cmd::Exit, nullptr},
        {E::EndMenu, 0, nullptr},
        {E::Menu, 0, "&View"},
        {E::Item, cmd::DataList, nullptr},
        {E::Item, cmd::VariationsList, nullptr},
        {E::Item, cmd::Graph, nullptr},
        {E::Separator, 0, nullptr},
        {E::Item, cmd::ZoomIn, nullptr},
        {E::Item, cmd::ZoomOut, nullptr},
        {E::Separator, 0, nullptr},
        {E::Item, cmd::ViewToolbar, nullptr},
        {E::Item, cmd::ViewStatusBar, nullptr},
        {E::Separator, 0, nullptr},
        {E::Item, cmd::CorrectedValues, nullptr},
        {E::Item, cmd::Map, nullptr},
        {E::EndMenu, 0, nullptr},
        {E::Menu, 0, "&Correction"},
        {E::Item, cmd::Temporal, nullptr},
        {E::Item, cmd::Geomagnetic, nullptr},
        {E::EndMenu, 0, nullptr},
        {E::Menu, 0, "&Survey"},
        {E::Item, cmd::NewSurvey, nullptr},
        {E::Item, cmd::OpenSurvey, nullptr},
        {E::Separator, 0, nullptr},
        {E::Item, cmd::AddToSurvey, nullptr},
        {E::Item, cmd::SurveySettings, nullptr},
        {E::Item, cmd::ExportSurvey, nullptr},
        {E::Item, cmd::LineProfiles, nullptr},
        {E::Item, cmd::Levelling, nullptr},
        {E::EndMenu, 0, nullptr},
        {E::Menu, 0, "&Help"},
        {E::Item, cmd::HelpTopics, nullptr},
        {E::Separator, 0, nullptr},
        {E::Item, cmd::About, nullptr},
        {E::EndMenu, 0, nullptr},
    };
    return layout;
}

const std::vector<int>& CommandTable::toolbar() {
    static const std::vector<int> buttons{
        cmd::Import,          cmd::OpenData,
        cmd::OpenVariations,  0,
        cmd::SaveAs,          cmd::ExportField,
        cmd::ExportGradient,  cmd::ExportAuto,
        cmd::ExportCorrected, 0,
        cmd::DataList,        cmd::Graph,
        cmd::ZoomIn,          cmd::ZoomOut,
        cmd::VariationsList,  0,
        cmd::Print,           cmd::About,
        cmd::ContextHelp,
    };
    return buttons;
}

bool CommandTable::enabled(Rule rule, const CommandState& s) {
    switch (rule) {
        case Rule::Always:
            return true;
        case Rule::DataLoaded:
            return s.dataLoaded;
        case Rule::VariationsLoaded:
            return s.variationsLoaded;
        case Rule::DataAndVariations:
            return s.dataLoaded && s.variationsLoaded;
        case Rule::AnyCorrection:
            return s.temporalDone || s.geomagDone;
        case Rule::Print:
            return s.graphShown || s.dataLoaded;
        case Rule::ZoomIn:
            return s.graphShown && s.zoomInAllowed;
        case Rule::ZoomOut:
            return s.graphShown && s.zoomOutAllowed;
        case Rule::SurveyOpen:
            return s.surveyOpen;
        case Rule::DataAndSurvey:
            return s.dataLoaded && s.surveyOpen;
    }
    return false;
}

}  // namespace velkor
