#pragma once

#include <QCoreApplication>

// Headless suites that need an event loop share one application object for the whole program.
inline void ensureApp()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "tabulon_tests";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv); // lives as long as the test program
}
