// Paths and the edition of the help application, set once by installation
// discovery at start and only read afterwards; the names are the layout's.
#pragma once

#include <string>

extern std::string g_strHelpRoot;    // no trailing backslash
extern std::string g_strProgramExe;  // the notebook's or the desktop executable
extern std::string g_strHelpFile;    // the tool's own compiled help file
extern std::string g_strInstallDir;  // ends with a backslash
extern std::string g_strCsvFile;     // the machine table
extern std::string g_strMapFile;     // the map file, below the help root
extern std::string g_strConfigFile;  // the config file
extern std::string g_strTextFile;    // the text file

// The installed edition is 3.5 (any build and revision).
extern bool g_bVersion35;
