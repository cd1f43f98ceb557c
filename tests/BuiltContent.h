// The "Game.dat" that the build made, loaded once for the content suites.
#pragma once

#include "game/GameData.h"

#include <gtest/gtest.h>

namespace brakkon::test {

inline const GameType& BuiltGame()
{
    static const GameType game = [] {
        GameType g;
        EXPECT_TRUE(LoadGameData(BRAKKON_GAME_DAT, g)) << BRAKKON_GAME_DAT;
        return g;
    }();
    return game;
}

} // namespace brakkon::test
