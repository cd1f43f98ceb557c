// The main() of a benchmark of the real main window: Qt's offscreen platform
// and SDL's silent audio driver unless the caller chose others.
#pragma once

#include "platform/Fonts.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace brakkon::bench {

inline int RunWindowBenchmarks(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    RegisterFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace brakkon::bench
