// Leak checking in sanitizer builds: the font configuration library that
// Qt loads keeps a cache for the whole process and never frees it. Only
// that library is exempt; every leak of the program's own code is reported.

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
