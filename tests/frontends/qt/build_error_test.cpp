// The compiler's first error, as the watch's bar shows it, out of a build's whole output.
#include <gtest/gtest.h>

#include "qt/source_watch.h"

namespace {

TEST(BuildError, TheFirstErrorWithFileLineAndColumnOrTheFirstLineThatSaysSo) {
    struct row {
        const char* name;
        const char* output;
        const char* first;
    };
    const row rows[] = {
        {"compiler",
         "[1/3 0.2s] Building CXX object a.o\nFAILED: a.o\n"
         "../core/a.cpp: In function 'void f()':\n"
         "../core/a.cpp:12:7: warning: unused variable 'x'\n"
         "../core/a.cpp:14:26: error: expected primary-expression before ';' token\n"
         "../core/b.h:3:1: error: second\n",
         "../core/a.cpp:14:26: error: expected primary-expression before ';' token"},
        {"fatal", "x.cpp:1:10: fatal error: nope.h: No such file or directory\n",
         "x.cpp:1:10: fatal error: nope.h: No such file or directory"},
        {"linker",
         "FAILED: frontends/qt/txm9-simulator\n"
         "ld.lld: error: undefined symbol: screen_gone()\n",
         "ld.lld: error: undefined symbol: screen_gone()"},
        {"none", "[1/1 0.1s] Linking CXX executable x\n", ""},
    };
    for (const row& r : rows) {
        EXPECT_EQ(SourceWatch::firstError(QString::fromUtf8(r.output)).toStdString(), r.first)
            << r.name;
    }
}

} // namespace
