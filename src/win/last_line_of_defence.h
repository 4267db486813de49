// What an entry point does last: run its body and catch whatever escapes it,
// so that no failure ends the process as an unhandled exception.
#pragma once

#include <exception>
#include <new>

// Returns body's exit status; a failure that escapes it goes to report as one
// line's text ("out of memory", the failure's what(), or "unknown failure"),
// and report's result is the exit status then.
template <typename Body, typename Report>
int RunWithLastLineOfDefence(Body body, Report report) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return report("out of memory");
    } catch (const std::exception& failure) {
        return report(failure.what());
    } catch (...) {
        return report("unknown failure");
    }
}
