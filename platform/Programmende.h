#pragma once
// Ending the program at once: no window is unloaded, nothing more runs.
// Tests replace it to see that the program would have ended.
class Programmende {
public:
    virtual ~Programmende() = default;
    virtual void sofort_beenden(int code = 0);
};

Programmende& programmende();
void programmende_ersetzen(Programmende* neu);  // nullptr restores the real one
