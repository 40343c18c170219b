// prnfeed: sends a printer script or a binary file to a printer port.
#include "send_job.h"

int main(int argc, char** argv) {
    return sendtool::runPrnfeed(argc, argv);
}
