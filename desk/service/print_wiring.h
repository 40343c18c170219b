// Ticket printing as the desk configures it, and the settings form's
// "Print QR on POS IP printer " button.
#pragma once

#include "printing/print_settings.h"

struct DeskConfig;
class TForm1;

TPrintSettings printsettings(const DeskConfig& config);

// Button1 prints the QR ticket for the number in the form's "QR number"
// field with the profile as last read; a print that fails shows the standard
// error message box.
void connectPrintQr(TForm1& form);
