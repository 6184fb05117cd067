// What the C++ runtime does when one of its own checks fails, given here
// instead of taken from the static libstdc++.
//
// Nothing in the program catches: a length or range error of a container, a
// call through an empty std::function or a failed allocation inside the
// library ends in std::terminate and then abort(). Linked from the library,
// each of those failures first builds an exception object with a message,
// and that drags in the library's second, copy-on-write string, its
// exception classes, random_device, and the C++ name demangler that the
// default terminate handler uses to print the type to stderr, which a
// window program does not have. Together that is more than 100 KB of the
// shipped exe for a message nobody can see.
//
// Each function here ends the process by the same abort() that the library's
// road reaches, with nothing written before it.
#include <cstdlib>

namespace __gnu_cxx {

// The default terminate handler: the library's own prints the exception's
// demangled type to stderr before it aborts.
[[noreturn]] void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx

namespace std {

[[noreturn]] void __throw_bad_alloc() { std::abort(); }
[[noreturn]] void __throw_bad_array_new_length() { std::abort(); }
[[noreturn]] void __throw_bad_function_call() { std::abort(); }
[[noreturn]] void __throw_length_error(const char*) { std::abort(); }
[[noreturn]] void __throw_logic_error(const char*) { std::abort(); }
[[noreturn]] void __throw_out_of_range(const char*) { std::abort(); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
[[noreturn]] void __throw_invalid_argument(const char*) { std::abort(); }

}  // namespace std
