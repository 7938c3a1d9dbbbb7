#pragma once
// The running-instance test: a lock file in the program directory, so that
// copies in different program directories (tests side by side) do not see
// each other, and a crashed copy does not leave it blocking.
class Einzelinstanz {
public:
    // True when another process holds the lock. The process that holds it
    // keeps it for its lifetime, so a reload of the frame is no second copy.
    static bool andere_läuft();
};
