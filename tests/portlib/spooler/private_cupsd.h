// A CUPS scheduler of the tests' own: cupsd started as an ordinary program in
// a fresh temporary folder, listening only on a socket there, with raw
// queues added and changed over IPP as lpadmin, cupsaccept and cupsreject
// would. One per test program; stopped (and its folder removed) on
// destruction.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace spooler_test {

struct QueuedJob {
    int id = 0;
    std::string title;
    int state = 0; // ipp_jstate_t
};

class PrivateCupsd {
public:
    PrivateCupsd() = default;
    PrivateCupsd(const PrivateCupsd&) = delete;
    PrivateCupsd& operator=(const PrivateCupsd&) = delete;
    ~PrivateCupsd();

    // Writes the configuration, starts cupsd and waits (bounded) until it
    // answers. Points this process's CUPS clients at it: CUPS_SERVER, and a
    // client configuration folder and home of its own, so no lpoptions of
    // the machine or the user choose a default; LPDEST and PRINTER unset.
    bool start(std::string* error);
    void stop();

    const std::string& folder() const { return folder_; }
    const std::string& socketPath() const { return socket_; }
    // The environment start() set, for child programs: NAME=value each.
    std::vector<std::string> clientEnvironment() const;

    bool addRawQueue(const std::string& name, const std::string& deviceUri, std::string* error);
    bool deleteQueue(const std::string& name, std::string* error);
    bool setDefault(const std::string& name, std::string* error);
    // The scheduler then has no default printer (it forgets a deleted one).
    bool clearDefault(std::string* error);
    bool setAccepting(const std::string& name, bool accepting, std::string* error);
    bool setStopped(const std::string& name, bool stopped, std::string* error);

    // Every job the queue has had, newest last.
    std::vector<QueuedJob> jobs(const std::string& name);
    // Bounded wait until the job has left the queue as completed.
    bool waitJobCompleted(const std::string& name, int jobId, uint32_t timeoutMs);

private:
    bool adminRequest(int operation, const std::string& name, const std::string& deviceUri,
                      std::string* error);

    std::string folder_;
    std::string socket_;
    pid_t pid_ = -1;
};

} // namespace spooler_test
