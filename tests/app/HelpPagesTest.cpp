// The help must name the keys the program really has, and list every one of them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include "core/CommandTable.h"

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

}  // namespace
}  // namespace velkor
