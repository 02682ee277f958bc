#include "show_input.h"

#include <conio.h>

#include <cstdio>

namespace {

int ConsoleKeyWaiting() { return _kbhit(); }

int ConsoleWaitForLine() { return std::getchar(); }

KeyWaitingFunction currentKeyWaiting = ConsoleKeyWaiting;
LineWaitFunction currentWaitForLine = ConsoleWaitForLine;

}  // namespace

int ShowKeyWaiting() { return currentKeyWaiting(); }

int ShowWaitForLine() { return currentWaitForLine(); }

void SetShowInput(KeyWaitingFunction keyWaiting, LineWaitFunction waitForLine)
{
    currentKeyWaiting = keyWaiting != nullptr ? keyWaiting : ConsoleKeyWaiting;
    currentWaitForLine = waitForLine != nullptr ? waitForLine : ConsoleWaitForLine;
}
