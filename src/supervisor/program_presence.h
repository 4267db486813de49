// The program's named objects (win/program_objects.h) for one run. Before it
// touches anything it claims the running mutex, so that a second instance
// ends at once, and it makes the stop event; it waits each cycle's pause on
// that event, and releases the mutex when the run ends.
//
// An object it cannot have is done without: protection goes on, and one
// console line says what is lost. That happens with a token that is not an
// elevated administrator's (a standard user's, or an administrator's that is
// not elevated), which may not make an object owned by Administrators
// (ERROR_INVALID_OWNER) nor open the task's program's (ERROR_ACCESS_DENIED);
// and when the name is held by an object someone else made (its owner is not
// Administrators: error 183, ERROR_ALREADY_EXISTS): the program never trusts
// such an object, so that nobody but an administrator can keep it from
// protecting or stop it.
// Without the mutex a second instance is not refused and `stop` finds no
// program; without the event `stop` cannot reach it.
#pragma once

#include "platform.h"
#include "win/owned_handle.h"

class ProgramPresence {
public:
    enum class Start { Alone, AlreadyRunning };

    ProgramPresence() = default;
    ~ProgramPresence();
    ProgramPresence(const ProgramPresence&) = delete;
    ProgramPresence& operator=(const ProgramPresence&) = delete;

    // Claims the mutex and makes the event. AlreadyRunning when another
    // instance holds the mutex (one owned by Administrators, as every
    // instance makes it); this one then has neither.
    Start Claim();

    // Waits ms, or until the stop event is set: true then. Without the event,
    // or when the wait fails, it sleeps ms.
    bool StopRequestedWithin(DWORD ms) const;

private:
    OwnedHandle running_;
    OwnedHandle stop_;
};
