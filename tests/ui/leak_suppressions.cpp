// Under the leak checker: fontconfig keeps its font patterns until the process
// ends and never frees them; only leaks of the game itself should fail a run.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
