#pragma once

// Resource numbers shared by tessaly.rc and the code. The program icon has the lowest
// number, so the file manager shows it for tessaly.exe.
#define TESSALY_PROGRAM_ICON 1
#define TESSALY_HELP_ICON 2
