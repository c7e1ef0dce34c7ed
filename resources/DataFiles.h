#pragma once

#include <filesystem>
#include <string>

// The pictures the programs show (Banner.bmp, Splash.bmp) are looked for in the working
// directory first, so that a user's own picture wins; then in the installed data folder,
// share/vroview beside the program's bin folder; then beside the program itself, where the
// build tree keeps them. The first file found is the one used, even if it turns out
// unreadable. Empty when there is none.
std::filesystem::path FindDataFile(const std::string& name,
                                   const std::filesystem::path& programFolder);

// The folder of the running program's executable; empty if the system does not tell.
std::filesystem::path ProgramFolder();
