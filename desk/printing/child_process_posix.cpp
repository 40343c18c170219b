#include "printing/child_process.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {
// posix_spawn's attribute and file-action objects, released on every path.
struct TSpawnSetup {
    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
    TSpawnSetup() {
        posix_spawnattr_init(&attr);
        posix_spawn_file_actions_init(&actions);
    }
    ~TSpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
    TSpawnSetup(const TSpawnSetup&) = delete;
    TSpawnSetup& operator=(const TSpawnSetup&) = delete;
};
} // namespace

qint64 startchild(const QString& program, const QStringList& arguments, QString& error) {
    std::vector<QByteArray> storage;
    storage.push_back(QFile::encodeName(program));
    for (const QString& a : arguments)
        storage.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    TSpawnSetup setup;
    posix_spawnattr_setflags(&setup.attr, POSIX_SPAWN_SETSID);
    posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);

    pid_t pid = -1;
    // posix_spawnp looks a bare name up in PATH, as a shell would, and
    // reports a program that cannot be executed as its result.
    const int rc = posix_spawnp(&pid, argv[0], &setup.actions, &setup.attr, argv.data(), environ);
    if (rc != 0) {
        error = QString::fromLocal8Bit(std::strerror(rc));
        return -1;
    }
    return pid;
}

std::optional<int> childexit(qint64 pid) {
    if (pid <= 0) return 0;
    int status = 0;
    const pid_t r = ::waitpid(static_cast<pid_t>(pid), &status, WNOHANG);
    if (r == 0) return std::nullopt;
    if (r != pid) return 0; // -1 (ECHILD): collected elsewhere
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 0;
}

void endchild(qint64 pid, bool force) {
    if (pid > 0) ::kill(static_cast<pid_t>(pid), force ? SIGKILL : SIGTERM);
}

bool processexists(qint64 pid) {
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max()) return false;
    // EPERM: it exists, it belongs to somebody else.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}
