#include "console/posix/terminal_modes.hpp"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <pthread.h>
#include <string>

namespace console::posix {

termios raw_mode(const termios& cooked) {
    termios raw = cooked;
    raw.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | ICRNL | INLCR | IGNCR | BRKINT | ISTRIP |
                                          INPCK | PARMRK);
    raw.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | IEXTEN);
    raw.c_lflag |= ISIG;
    raw.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
    raw.c_cflag |= CS8;
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    return raw;
}

RawTerminal::RawTerminal(int in_fd, int out_fd, const termios& found)
    : in_(in_fd), out_(out_fd), found_(found) {
    enter();
}

RawTerminal::~RawTerminal() {
    leave(true);
}

void RawTerminal::enter() {
    const termios raw = raw_mode(found_);
    tcsetattr(in_, TCSANOW, &raw);
    write_all(out_, enter_sequence());
    raw_ = true;
}

void RawTerminal::leave(bool discard_input) {
    if (!raw_)
        return;
    raw_ = false;
    // On Ctrl-Z the shell may take the terminal back before the game gets
    // here (another process of the job stopped first); a process in the
    // background changing the modes would be stopped by SIGTTOU unless it
    // blocks it, and the terminal would stay raw.
    sigset_t ttou;
    sigset_t before;
    sigemptyset(&ttou);
    sigaddset(&ttou, SIGTTOU);
    pthread_sigmask(SIG_BLOCK, &ttou, &before);
    write_all(out_, leave_sequence());
    tcsetattr(in_, discard_input ? TCSAFLUSH : TCSANOW, &found_);
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

} // namespace console::posix
