// kirasoe.com, the console twin of kirasoe.exe: the same program as a
// console program. For "kirasoe /capture" cmd and PowerShell find it first
// (.COM comes before .EXE in PATHEXT), the prompt waits for it as scripts
// expect, and it prints to the console; it reads and hands over commands as
// kirasoe.exe does, for the same settings file and the same running Kirasoe.
#include "app/entry.h"

int main() { return KirasoeMain(true); }
