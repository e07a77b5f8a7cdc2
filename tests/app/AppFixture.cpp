// Program fixture for the widget tests.
#include "AppFixture.h"

#include <QSettings>
#include <cstdio>

#include "app/SettingsKeys.h"
#include "core/CommandTable.h"
#include "widgets/survey/SurveySession.h"

namespace velkor {

void AppFixture::SetUp() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, settings::kOrganization,
              settings::kApplication)
        .clear();
    app = std::make_unique<CVelkor1trApp>(prompter);
}

void AppFixture::TearDown() {
    if (app && app->mainFrame()) {
        doc().setModified(false);
    }
    app.reset();
}

bool AppFixture::start(const QStringList& args) {
    return app->initInstance(args);
}

std::string AppFixture::readingLine(int number) {
    char line[96];
    std::snprintf(line, sizeof line,
                  "S 03.07.2026 10:%02d:%02d %5d %5d 48%03d.4  0.7 7 1.5          Base ",
                  number / 60 % 60, number % 60, 1 + number / 100, number, number % 1000);
    return line;
}

std::string AppFixture::surveyFile(const std::string& name, int readings) {
    std::string bytes = "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n";
    for (int i = 1; i <= readings; ++i) {
        bytes += readingLine(i) + "\r\n";
    }
    return dir.write(name, bytes);
}

void AppFixture::openData(const std::string& path) {
    prompter.files.push_back(path);
    frame().dispatch(cmd::OpenData);
}

bool AppFixture::newSurveyWith(const std::string& survey, const std::string& day) {
    prompter.files.push_back(survey);
    frame().dispatch(cmd::NewSurvey);
    openData(day);
    frame().dispatch(cmd::AddToSurvey);
    frame().survey().wait();
    return frame().survey().ready();
}

}  // namespace velkor
