#pragma once
// The program's folder: where the parameter files, the diagnostic log and the
// capture files live. It is the per-user data folder ($XDG_DATA_HOME/accelog,
// else ~/.local/share/accelog), the same place Qt's AppDataLocation names for
// an application called "accelog".
#include <string>

namespace accelog {

extern std::string ProgramPath;  // no trailing slash

// The folder the environment names, not yet created.
std::string DefaultProgramFolder();
// Sets ProgramPath (to DefaultProgramFolder() when empty) and creates it.
// Returns false when the folder cannot be created.
bool InitProgramFolder(const std::string& folder = {});
// ProgramPath + "/" + name; initialises ProgramPath on first use.
std::string ProgramFile(const std::string& name);

}  // namespace accelog
