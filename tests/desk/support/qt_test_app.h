// One offscreen QApplication for a whole test program, made on first use.
#pragma once

class QApplication;

QApplication& qtTestApp();
