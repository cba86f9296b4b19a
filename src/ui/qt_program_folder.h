#pragma once
// The Qt programs take the program folder from QStandardPaths.
namespace accelog {
// ProgramPath = AppDataLocation (honours XDG_DATA_HOME), created if missing.
bool InitProgramFolderFromQt();
}  // namespace accelog
