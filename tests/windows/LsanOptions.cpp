// Sanitizer builds only: LeakSanitizer takes the suppressions of
// tests/lsan.supp (allocations fontconfig keeps for the life of the process,
// made while Qt lays out text), so that the window tests report our leaks
// only. LSAN_OPTIONS in the environment still overrides this.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_options() {
  return "suppressions=" KOVRA_LSAN_SUPPRESSIONS;
}
