#include "ui/qt_program_folder.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include "core/program_folder.h"

namespace accelog {

bool InitProgramFolderFromQt() {
  if (QCoreApplication::applicationName().isEmpty()) QCoreApplication::setApplicationName("accelog");
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  return InitProgramFolder(folder.toStdString());
}

}  // namespace accelog
