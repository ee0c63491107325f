// Default options of AddressSanitizer, LeakSanitizer and
// UndefinedBehaviorSanitizer for every program of a sanitizer build. The
// sanitizers ask for these before main; options in ASAN_OPTIONS, LSAN_OPTIONS
// and UBSAN_OPTIONS still override them.

extern "C" {

__attribute__((visibility("default"), used)) const char* __asan_default_options() {
  return "detect_leaks=1:check_initialization_order=1:strict_init_order=1";
}

// Leaks inside system libraries are suppressed by name in lsan.supp; a leak
// of the project's own code is always reported.
__attribute__((visibility("default"), used)) const char* __lsan_default_options() {
  return "suppressions=" QUILMOR_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

__attribute__((visibility("default"), used)) const char* __ubsan_default_options() {
  return "print_stacktrace=1:halt_on_error=1";
}

}  // extern "C"
