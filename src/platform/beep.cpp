#include "platform/beep.h"

#include <QApplication>

namespace {
int beeps = 0;
}

void zavikBeep() {
    ++beeps;
    QApplication::beep();
}

int beepCount() {
    return beeps;
}
