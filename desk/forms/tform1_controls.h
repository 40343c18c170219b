// The settings form's controls (Ui::TForm1) for code outside the forms library.
// Include this rather than "ui_tform1.h": the generated header lives in this
// library's build folder, where other targets' uic step does not look.
#pragma once

#include "ui_tform1.h"
