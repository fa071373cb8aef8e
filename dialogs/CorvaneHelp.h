#pragma once

// "&Corvane2003 help" (F3): the program has no help of its own beyond its
// ReadMe.txt, and says so.
void showCorvaneHelp();
