// The main of a benchmark that paints through Qt: an offscreen application with the
// program's font substitutions, then Google Benchmark. `before` runs once the
// arguments are accepted (data sets, warm-up); `after` once every row has run.
#pragma once

#include "platform/qt/QtDc.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>

namespace bench {

inline int RunQtBenchmarks(int argc, char** argv, const std::function<void()>& before = {},
                           const std::function<void()>& after = {})
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (before) before();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (after) after();
    return 0;
}

} // namespace bench
