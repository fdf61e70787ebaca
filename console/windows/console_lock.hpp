#pragma once
// Drawing runs on the game's thread, while a closed window is handled on a
// thread the console starts; should the game's thread not end the session in
// time, that thread puts the console back itself. Whoever touches the
// console holds this lock, so once the console is put back as it was found,
// no drawing can slip in before the process ends.

namespace console {

class ConsoleLock {
  public:
    ConsoleLock();
    ~ConsoleLock();
    ConsoleLock(const ConsoleLock&) = delete;
    ConsoleLock& operator=(const ConsoleLock&) = delete;
};

} // namespace console
