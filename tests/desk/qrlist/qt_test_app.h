// One QApplication for the whole test program, on the offscreen platform
// unless the environment chose another.
#pragma once

class QApplication;

QApplication& qtTestApp();
