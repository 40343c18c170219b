#include "print_wiring.h"

#include "desk_config.h"
#include "messages.h"
#include "printing/print_error.h"
#include "printing/qr_ticket.h"
#include "tform1.h"
#include "tform1_controls.h"

TPrintSettings printsettings(const DeskConfig& config) {
    return {config.scriptFolder, config.prnfeedPath, config.serviceBase, config.footer()};
}

void connectPrintQr(TForm1& form) {
    form.onPrintQr = [&form] {
        try {
            printqr(form.profile(), form.ui()->cqr->text(), printsettings(form.config()));
        } catch (const TPrintError& e) {
            form.messages().showError(e.message());
        }
    };
}
