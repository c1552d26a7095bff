// A start that finds the instance mutex taken: it shows the running instance's window when
// that instance answers, and otherwise tells the user what is wrong and what to do. It never
// ends without a word while the user cannot see why nothing appears.
#pragma once

#include <windows.h>

// How long the start waits for the running instance's window to appear (it may still be
// starting) and for one answer of it.
struct SECOND_START_TIMES {
  DWORD findMs;
  DWORD answerMs;
  static SECOND_START_TIMES Program() { return {5000, 5000}; }
};

// True when the window was shown; false when the user was told (through the program's
// message-box seam) that the running instance cannot be reached.
bool ShowRunningInstance(const wchar_t* windowClass, const wchar_t* caption, const SECOND_START_TIMES& times);
