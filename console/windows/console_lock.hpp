#pragma once
// Drawing runs on the game's thread, while Ctrl-C, Ctrl-Break and a closed
// window are handled on a thread the console starts. Whoever touches the
// console holds this lock, so once the handler has put the console back as
// it was found, no drawing can slip in before the process ends.

namespace console {

class ConsoleLock {
  public:
    ConsoleLock();
    ~ConsoleLock();
    ConsoleLock(const ConsoleLock&) = delete;
    ConsoleLock& operator=(const ConsoleLock&) = delete;
};

} // namespace console
