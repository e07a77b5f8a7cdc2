// The help must name the keys the program really has, and list every one of them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <QTextDocumentFragment>

#include "core/CommandTable.h"
#include "corrections/TemporalCorrection.h"
#include "corrections/VariationSet.h"
#include "data/DataFile.h"
#include "export/ExportFile.h"
#include "pictures/SelectedReadingsPages.h"
#include "serial/PortSearch.h"

namespace velkor {
namespace {

QString page(const QString& name) {
    QFile file(":/help/" + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QSet<QString> tableKeys() {
    QSet<QString> keys;
    for (const Command& c : CommandTable::commands()) {
        if (*c.key != '\0') {
            keys.insert(QString::fromLatin1(c.key));
        }
    }
    return keys;
}

TEST(HelpPages, NameOnlyRealKeysAndListEveryKey) {
    const QSet<QString> keys = tableKeys();
    const QRegularExpression key(R"(\b((?:Ctrl\+|Shift\+)+(?:[A-Z]\b|F1)|F1))");
    const QStringList files = QDir(":/help").entryList({"*.html"});
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        for (auto it = key.globalMatch(page(name)); it.hasNext();) {
            const QString named = it.next().captured(1);
            EXPECT_TRUE(keys.contains(named)) << name.toStdString() << ": " << named.toStdString();
        }
    }
    const QString commands = page("commands.html");
    for (const QString& k : keys) {
        EXPECT_TRUE(commands.contains(k)) << k.toStdString() << " is missing from commands.html";
    }
}

// The page as a reader sees it: entities resolved, tags and line breaks gone.
QString readable(const QString& name) {
    return QTextDocumentFragment::fromHtml(page(name)).toPlainText().simplified();
}

TEST(HelpPages, ExplainEveryMessageOfTheProgram) {
    const QString messages = readable("messages.html");
    ASSERT_FALSE(messages.isEmpty());
    // The fixed texts, and the fixed part of those that name a file, a port or a count.
    const std::vector<std::string> texts = {
        DataFile::kReadError,
        DataFile::kEmpty,
        DataFile::kWriteError,
        DataFile::tooManyLinesMessage(),
        VariationSet::tooManyLinesMessage(),
        TemporalCorrection::kBigGap,
        TemporalCorrection::kUncorrected,
        ExportFile::kNothing,
        PortSearch::kComError,
        PortSearch::kNotFound,
        SelectedReadingsPages::kNothingSelected,
        "Save changes to",
        "No USB device found",
        "The USB device cannot be opened. Check that no other program uses it, then import "
        "again.",
        "The USB device does not accept read and write time-outs, so the transfer cannot start "
        "safely. Nothing was imported. Reconnect the instrument, then import again.",
        "permission denied: add your user to the group that owns the port (usually dialout), "
        "then log in again.",
        "is busy: another program holds it (a modem manager or a terminal program, for "
        "example). Close that program, then import again.",
        "is gone: it was unplugged. Plug the instrument in again, then import again.",
        "which is not a line setting such as 9600,n,8,1; the USB device was not opened.",
        "No Data",
        "No imported data",
        "The instrument does not answer. Check that it is switched on and connected, then "
        "import again. Nothing was imported.",
        "readings (20000 lines); nothing was imported.",
        "Nothing was imported; the readings shown before are unchanged.",
        "The transfer was cancelled. Nothing was imported.",
        "held values too large for their columns and were cut to 84 characters",
        "Error: Can't Find",
        "is not valid!",
        "Enter no more than 100 characters.",
        "Enter a number.",
        "Enter the latitude in degrees, as 55.75 N or -33.9.",
        "Enter the longitude in degrees, as 37.6 E or -70.5.",
        "Enter the height above the ellipsoid in m.",
        "The latitude must lie between -90 and 90 degrees.",
        "The longitude must lie between -180 and 360 degrees.",
        "The height must lie between -1000 and 1000000 m.",
        "The field model IGRF-14 covers the dates from 1900.0 to 2030.0 only.",
        "The document could not be printed. Check the printer and try again.",
        "Communication Time Out!",
        "Check if Kelm is connected...",
        "cannot be used.",
        "Choose a listed speed or type one of these:",
        "Pleas set COM port",
    };
    for (const std::string& text : texts) {
        EXPECT_TRUE(messages.contains(QString::fromStdString(text).simplified()))
            << "messages.html lacks: " << text;
    }
}

}  // namespace
}  // namespace velkor
