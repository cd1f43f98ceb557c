#!/bin/sh
# Starts Brakkon from its installed directory, lib/brakkon beside the bin/ or
# games/ folder of this launcher, where the game finds "Game.dat" and the
# other files it reads.
here=$(dirname "$(readlink -f "$0")")
exec "$here/../lib/brakkon/brakkon" "$@"
