#pragma once
#include "application.h"
#include "base/exception.h"

// Every Win32 callback of the layer runs its work through this, so that no C++
// exception crosses the callback frame: it is shown in the application's box and
// the callback returns `fallback()`, as if the message had not been handled.
template <class Work, class Fallback>
auto guardCallback(Work&& work, Fallback&& fallback) noexcept -> decltype(fallback()) {
    try {
        return work();
    } catch (const Exception& e) {
        Application->ShowException(e);
    } catch (const std::exception& e) {
        Application->ShowException(Exception(e.what()));
    } catch (...) {
        Application->ShowException(Exception("An unknown error occurred"));
    }
    try {
        return fallback();
    } catch (...) {
        return {};
    }
}
