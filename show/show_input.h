// The keyboard as the show reads it, from the console input. Tests replace it
// to stand for the user.
#pragma once

using KeyWaitingFunction = int (*)();
using LineWaitFunction = int (*)();

// Non-zero when a key is waiting in the console input; reads nothing.
int ShowKeyWaiting();

// Waits for a line of console input (Enter) and takes one character of it.
int ShowWaitForLine();

// Replaces both; a null one restores its console function.
void SetShowInput(KeyWaitingFunction keyWaiting, LineWaitFunction waitForLine);
