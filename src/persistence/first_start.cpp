#include "persistence/first_start.h"

#include <QFileInfo>

#include "persistence/config_file.h"

bool IsFirstStart(const QString& programFolder) {
  // exists() follows links: a dangling link of either name is something the
  // player made, not a fresh folder, so it counts as present.
  const auto present = [](const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
  };
  return !present(ConfigFilePath(programFolder)) && !present(programFolder + QStringLiteral("/Pattern"));
}
