// The one entry of kirasoe.exe and of its console twin kirasoe.com: the
// program, a second start, or a command from a script.
#pragma once

// `console`: started as kirasoe.com, where no switches start kirasoe.exe
// beside it and give the prompt back.
int KirasoeMain(bool console);
