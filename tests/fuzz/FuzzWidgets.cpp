// The widgets' application without a display, made once before the first
// input by the fuzzer's start-up hook.

#include <QApplication>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int Argc = 1;
    static char Program[] = "fuzz";
    static char* Argv[] = {Program, nullptr};
    static QApplication Application(Argc, Argv);
    return 0;
}
