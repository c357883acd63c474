// Leak checking in sanitizer builds: libraries that Qt loads keep some
// memory for the whole process and never free it (the font configuration
// cache, the D-Bus connection of the platform integration). Only those
// libraries are exempt; every leak of the program's own code is reported.

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libdbus-1.so\n";
}
