// Fontconfig keeps its configuration until the process ends and Qt never releases it, and the
// D-Bus library keeps a buffer of Qt's tray probe on X; neither is a leak of ours. The sanitizer
// reads this hook once, for every Qt test of the program.
extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libdbus-1.so\n";
}
