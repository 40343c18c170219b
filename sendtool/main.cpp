// prnfeed: sends a printer script or a binary file to a printer port.
#include "send_job.h"

#include <csignal>

int main(int argc, char** argv) {
    // Nobody may be reading our output (the desk starts us hidden): a closed
    // output pipe must not end a job half printed.
    std::signal(SIGPIPE, SIG_IGN);
    return sendtool::runPrnfeed(argc, argv);
}
