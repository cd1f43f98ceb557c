// The X server's keyboard, for the one thing the game needs of it: a held
// key repeated as presses alone with one release at its end (XKB's
// detectable auto-repeat), asked for this program's connection. Without it
// the server repeats a held key as release and press pairs, and a release
// whose press has not yet reached Qt's queue (a busy machine) passes as a
// real one: the game would hear the key let go and pressed again.
#pragma once

namespace brakkon {

/// Asks for detectable auto-repeat; true when the server turned it on.
/// False, and nothing done, off X11 (offscreen, Wayland).
bool UseDetectableAutoRepeat();

} // namespace brakkon
