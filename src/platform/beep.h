#pragma once

// The program's beep. It also counts, so that the commands that answer with
// a beep can be checked.
void zavikBeep();
int beepCount();
