#pragma once
#include <exception>
#include <string>

// The one exception type of the component layer. The launcher's own code throws
// nothing; the layer throws this when a stored layout or resource does not fit.
class Exception : public std::exception {
  public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

  private:
    std::string message_;
};
