#pragma once
#include <QString>
#include <QStringList>

// What the program remembers between runs, in the user's settings (QSettings
// under the application's names): the folder last used for each kind of file
// and the roads opened last. Nothing here is needed to compute anything.
namespace vexaline::platform {

// The folder a file of this kind was last opened from or saved to; empty
// when none is remembered. The kind is the first pattern of a file dialog's
// filter ("平面定线文件 (*.vxa)|*.vxa|...": *.vxa).
QString LastFolder(const char* filter);
void RememberFolder(const char* filter, const QString& folder);

// The roads opened or saved last, newest first, at most kRecentRoads; paths
// as Qt shows them.
inline constexpr int kRecentRoads = 8;
QStringList RecentRoads();
// Puts path first, dropping an older entry for the same file and the oldest
// beyond the bound.
void RememberRoad(const QString& path);

}  // namespace vexaline::platform
