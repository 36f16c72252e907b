#include "ui/toolkit/Settings.h"

#include <QFileInfo>
#include <QSettings>

namespace vexaline::platform {
namespace {

QString FolderKey(const char* filter) {
    QString kind = QString::fromUtf8(filter).section(QLatin1Char('|'), 1, 1);
    kind.remove(QLatin1String("*."));
    return QStringLiteral("folders/") + kind.replace(QLatin1Char(';'), QLatin1Char('-'));
}

const QString kRecentKey = QStringLiteral("recentRoads");

}  // namespace

QString LastFolder(const char* filter) { return QSettings().value(FolderKey(filter)).toString(); }

void RememberFolder(const char* filter, const QString& folder) {
    if (!folder.isEmpty()) QSettings().setValue(FolderKey(filter), folder);
}

QStringList RecentRoads() {
    QStringList roads = QSettings().value(kRecentKey).toStringList();
    roads.removeAll(QString());
    return roads.mid(0, kRecentRoads);
}

void RememberRoad(const QString& path) {
    const QString file = QFileInfo(path).absoluteFilePath();
    QStringList roads = RecentRoads();
    roads.removeIf([&file](const QString& road) { return QFileInfo(road).absoluteFilePath() == file; });
    roads.prepend(file);
    QSettings().setValue(kRecentKey, roads.mid(0, kRecentRoads));
}

}  // namespace vexaline::platform
