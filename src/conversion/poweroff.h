#pragma once
// Powering the computer off at the end of a run.

// Asks systemd-logind on the system bus to power off (not forced, no interactive
// authorisation). Any failure is ignored: the computer then stays on.
void ShutDownComputer();
