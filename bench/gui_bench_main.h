// The main() of the painted benchmarks: a Qt application on the offscreen
// platform (unless another is asked for), then the registered benchmarks.
#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace plumix {

inline int RunGuiBenchmarks(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace plumix
