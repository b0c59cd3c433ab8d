# The environment of every sanitised run (tests, the bad-file matrix, fuzzing), sourced by
# their scripts from the top of the checkout.
export LIBGL_ALWAYS_SOFTWARE=1
# The leak checker does not follow the dynamic TLS blocks itself: GCC 12's AddressSanitizer
# (and clang 14's) guesses where such a block starts from the 16 bytes before it, and when
# glibc's malloc puts one 16 bytes past a page boundary it takes an allocator header for the
# block's bounds and its tracer dies scanning from a small address at exit ("Tracer caught
# signal 11 ... LeakSanitizer has encountered a fatal error"), always for the same test in the
# same environment. The blocks stay reachable for the leak checker through glibc's own
# pointers to them.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=0:intercept_tls_get_addr=0"
export LSAN_OPTIONS="suppressions=$(pwd)/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The programs run as on a machine without a sound card, whatever this one has: OpenAL Soft is
# offered no output backend (it ignores unknown names, so "none" leaves the list empty), opening
# a device fails, and the audio layer takes its real fallback, the loopback device, whose mix
# the sound tests read back. The game itself (scripts/play.sh) lets OpenAL Soft pick the device.
export ALSOFT_DRIVERS=none
