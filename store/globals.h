// Paths and the edition of the help application, set once by installation
// discovery at start and only read afterwards.
#pragma once

#include <string>

extern std::string g_strHelpRoot;    // "c:\zantools\zanhelp", no trailing backslash
extern std::string g_strProgramExe;  // llb3.exe or lzan.exe in the install directory
extern std::string g_strHelpFile;    // the tool's own compiled help file
extern std::string g_strInstallDir;  // ends with a backslash
extern std::string g_strCsvFile;     // machine-specifics.csv
extern std::string g_strMapFile;     // okapi.ini
extern std::string g_strConfigFile;  // lumen-config.ini
extern std::string g_strTextFile;    // lumen-text.ini

// The installed edition is 3.5 (any build and revision).
extern bool g_bVersion35;
