#pragma once
// An interrupt (Ctrl-C, Ctrl-Break, a hang-up, a polite kill) that comes
// while the program writes down what a session did would otherwise end it
// halfway, with the games lost. A native session answers interrupts itself;
// around it, this holds them until what the program must finish is done. A
// player's second Ctrl-C, or a runner that passes its own on, then costs
// nothing.

namespace console {

// Holds the interrupts from construction to destruction (one at a time);
// afterwards they do what they did before.
class InterruptHold {
  public:
    InterruptHold();
    ~InterruptHold();
    InterruptHold(const InterruptHold&) = delete;
    InterruptHold& operator=(const InterruptHold&) = delete;

    // Whether one came while held and not answered by a session.
    bool interrupted() const;
};

} // namespace console
