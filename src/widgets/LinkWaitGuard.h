#pragma once

// While the link waits for an answer of its own, the program runs its events
// inside that wait. A click, key or shortcut then would send its commands
// across the waiting ones, and a run could end up waiting for a reply that
// went elsewhere. Such input is refused with a beep; a modal window (a
// message the wait itself shows) and the Disconnect item still take theirs.
// Installed once for the whole application; later calls do nothing.
void GuardInputDuringLinkWaits();
