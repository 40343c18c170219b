// WWTS: WNDX addressed to the client computer of the remote session the
// program runs in, so a job prints at the user's own desk. An address in
// the target name wins over the session's.
#pragma once

#include "backends/printsvc/ndx.h"

class WWTS : public WNDX {
public:
    // Takes the session client's IPv4 address; without one (no remote
    // session, or a client not on IPv4) the address stays unset and the
    // service is asked on this computer.
    WWTS();
};
