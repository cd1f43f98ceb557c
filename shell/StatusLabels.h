// StatusLabels: what the labels over the field say of the game. The status
// line at the top (the gate number, the play time, each player's level stars
// and reserve tanks), the game's title with its shadow, and the key help
// shown at the start of a new game; all laid out in the field's pixels as
// the window was designed. The labels are children of the field widget,
// which owns them and draws them (OverlayLabel); the texts come from the engine's status rules
// (game/StatusLine.h).
#pragma once

#include "game/Records.h"

#include <QLabel>

#include <array>
#include <filesystem>
#include <string_view>

namespace brakkon {

class OverlayLabel;

class StatusLabels {
public:
    /// Builds the labels on `field`; the status icons are read from `dir`.
    StatusLabels(QWidget* field, const std::filesystem::path& dir, std::string_view title);

    void ShowIndicators(const GateType& gate);
    void ShowGateNo(const GateType& gate);
    void ShowPlayTime(const GateType& gate);
    /// The title labels' text, shown or hidden.
    void SetTitle(std::string_view text, bool shown);
    void ShowTitle(bool shown);
    void ShowKeyHelp(bool shown);

private:
    OverlayLabel* GateNameLabel = nullptr;
    OverlayLabel* TimeLabel = nullptr;
    std::array<QLabel*, 3> Stars1{};   ///< Star11, Star12, Star13
    std::array<QLabel*, 3> Flowers1{}; ///< Flower11, Flower12, Flower13
    std::array<QLabel*, 3> Stars2{};   ///< Star21, Star22, Star23
    std::array<QLabel*, 3> Flowers2{}; ///< Flower21, Flower22, Flower23
    OverlayLabel* GameCaption1 = nullptr; ///< the title's shadow
    OverlayLabel* GameCaption = nullptr;
    std::array<QLabel*, 3> Desc{};     ///< Desc0, Desc1, Desc2: the key help
};

} // namespace brakkon
