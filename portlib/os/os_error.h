// The causes of failed system calls: os::lastError() gives the code, and the
// functions below say what it means, so that code outside the seam never
// names the platform's error values.
#pragma once

namespace os {

// The error code of the calling thread's last failed system call.
int lastError();

// The code a port stores when it gave up waiting itself (a connect that took
// too long), as if the system had reported the time-out.
int timedOutError();
// The code a port stores when it has no address to connect to.
int noAddressError();

// The call would have had to wait (non-blocking descriptor).
bool errorWouldBlock(int error);
// The peer is gone or the connection broke: retrying cannot succeed.
bool errorConnectionLost(int error);
bool errorTimedOut(int error);
// Nothing listens at the address (a TCP reset, or a host answering a datagram
// with "port unreachable").
bool errorConnectionRefused(int error);
// The device behind an open node went away (an unplugged USB printer) or
// reports a hardware fault: permanent for this open.
bool errorDeviceGone(int error);

// Why a device node or file did not open.
bool errorNotFound(int error);
bool errorNoAccess(int error);
// Another process (or another open in this one) holds the device.
bool errorHeldElsewhere(int error);

// The node does not know the control request (a parallel status request on a
// node that is no parallel port).
bool errorRequestUnsupported(int error);
// A read refused because the device has no way back to the host (a USB
// printer without a bulk-in endpoint): nothing will ever arrive.
bool errorNoReadSide(int error);

} // namespace os
