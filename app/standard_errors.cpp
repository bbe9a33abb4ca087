// Where the standard library throws one of its errors (a string grown past its
// largest size, a position past its end), it goes through these functions. The
// runtime's own build each error around a reference-counted string of the old
// ABI, which links in a second string implementation and its random-device
// helpers: 32 KB, an eighth of the executable, for errors the program's code
// never provokes. These throw the same kind of error with its message, as an
// exception the component layer catches and shows like any other; nothing of
// the program looks at the error's exact class.
#include <exception>
#include <new>

namespace {

class StandardError : public std::exception {
  public:
    explicit StandardError(const char* what) : what_(what) {}
    const char* what() const noexcept override { return what_; }

  private:
    const char* what_;
};

} // namespace

namespace std {

void __throw_bad_alloc() {
    throw bad_alloc();
}
void __throw_bad_array_new_length() {
    throw bad_array_new_length();
}
void __throw_length_error(const char* what) {
    throw StandardError(what);
}
void __throw_logic_error(const char* what) {
    throw StandardError(what);
}
void __throw_out_of_range(const char* what) {
    throw StandardError(what);
}
// The message's format is kept as it is: its numbers are of no use to a player.
void __throw_out_of_range_fmt(const char* format, ...) {
    throw StandardError(format);
}
void __throw_invalid_argument(const char* what) {
    throw StandardError(what);
}

} // namespace std
