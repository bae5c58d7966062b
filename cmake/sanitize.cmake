# The native build with AddressSanitizer and UndefinedBehaviorSanitizer on
# every target. A finding ends the program at once, so a test program that
# meets one leaves no report and its layer counts as failed.
add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
# An index past a container's size but within its capacity is memory that
# AddressSanitizer sees as valid; the standard library's own checks see it.
add_compile_definitions(_GLIBCXX_ASSERTIONS)
add_link_options(-fsanitize=address,undefined)
set(VEXLO_SANITIZER_ENVIRONMENT
    "ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
    "UBSAN_OPTIONS=print_stacktrace=1")
