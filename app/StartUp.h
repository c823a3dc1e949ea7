// The start-up chain: the process entry runs the layer's run time around _Main, which hands the
// layer its exception routine and version, makes the application object (_EarlyStartup,
// _NewAppInstance), starts the layer with _LateStartup as its callback (which opens the splash
// window) and runs the event loop until the program quits.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace mobrigan {

// The process entry: its result is the process's exit status.
std::int32_t main();

// The routines of the chain, in the order they run; each is called only at its place in it.
void _Main();
void _EarlyStartup();
void _InitFileTypes();
void _NewAppInstance();
void _ApplicationAddMenuHandlers();
void _LateStartup();
void _MakeDefaultView();

namespace startup_testing {

// Called with the routine's name ("_Main", "_EarlyStartup", ...) as each routine of the chain
// begins, so that a test can follow the order and make a routine fail by throwing from the hook.
// The program never sets it; an empty function clears it.
void SetStepHook(std::function<void(const std::string& routine)> hook);

}  // namespace startup_testing

}  // namespace mobrigan
