// The print spooler: the system's print queues and raw jobs sent to them (the
// Windows spooler there; on POSIX the CUPS scheduler named by CUPS_SERVER,
// read afresh at every call, else the one of the client configuration).
//
// Every call that fails leaves what the spooler answered in `why` (when not
// null), so the caller can put it in its trace.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace os {

// The spooler's own printer queues (not printers it merely found on the
// network, not saved option sets of a queue), in name order compared without
// case. nullopt when the spooler cannot be asked.
std::optional<std::vector<std::string>> spoolerPrinters(std::string* why);

// The queue a job goes to when the user names none: the user's choice first
// (on POSIX LPDEST, PRINTER, the lpoptions default), then the spooler's own
// default. nullopt when there is none.
std::optional<std::string> spoolerDefaultPrinter(std::string* why);

// One open printer queue, with at most one document (one job) open on it.
// Move-only; the destructor finishes an open document (the job prints) and
// closes the queue.
class SpoolerPrinter {
public:
    SpoolerPrinter();
    SpoolerPrinter(SpoolerPrinter&& other) noexcept;
    SpoolerPrinter& operator=(SpoolerPrinter&& other) noexcept;
    SpoolerPrinter(const SpoolerPrinter&) = delete;
    SpoolerPrinter& operator=(const SpoolerPrinter&) = delete;
    ~SpoolerPrinter();

    // Opens the queue when it exists and takes jobs; empty otherwise.
    static SpoolerPrinter open(const char* name, std::string* why);

    bool isOpen() const;
    // A number that stands for the open queue (the connection to the
    // spooler), -1 while closed.
    intptr_t handle() const;

    // Starts one job with this title and its one document of raw data
    // (passed to the printer unchanged). The job id, 0 on failure.
    int32_t startDocument(const char* title, std::string* why);
    bool documentOpen() const;
    // Adds to the open document. Each call is one request to the spooler:
    // callers gather small writes first.
    bool write(const void* data, size_t length, std::string* why);
    // Ends the document; true when the spooler accepted the whole job. A job
    // that could not be completed is cancelled, so no half job prints; an
    // empty one is withdrawn (the spooler takes none) and counts as done.
    bool endDocument(std::string* why);

    // Finishes an open document, then closes the queue.
    void close();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace os
