// Keys pressed on the console, read without waiting for a line.
//
// On a terminal, standard input is switched to non-canonical mode without
// echo only while a prompt or delay line waits (KeyWait), and switched back
// when it ends, also when Ctrl-C or a termination signal ends the program
// during the wait. When standard input is not a terminal (the desk starts
// prnfeed hidden), each byte of it counts as a key, and its end means that
// no key will ever come.
#pragma once

#include <optional>
#include <termios.h>

namespace sendtool {

class ConsoleKeys {
public:
    explicit ConsoleKeys(int fd = 0);

    // A key if one is waiting; never blocks.
    std::optional<unsigned char> pollKey();
    // True once a non-terminal input has ended or failed: no key will come.
    bool exhausted() const { return exhausted_; }
    bool isTerminal() const { return terminal_; }
    int fd() const { return fd_; }

private:
    int fd_;
    bool terminal_;
    bool exhausted_ = false;
};

// Scope of one wait for keys: raw terminal mode inside, the old mode after.
class KeyWait {
public:
    explicit KeyWait(ConsoleKeys& keys);
    ~KeyWait();
    KeyWait(const KeyWait&) = delete;
    KeyWait& operator=(const KeyWait&) = delete;

private:
    bool active_ = false;
};

} // namespace sendtool
