#include "store/globals.h"

std::string g_strHelpRoot;
std::string g_strProgramExe;
std::string g_strHelpFile;
std::string g_strInstallDir;
std::string g_strCsvFile;
std::string g_strMapFile;
std::string g_strConfigFile;
std::string g_strTextFile;

bool g_bVersion35 = false;
